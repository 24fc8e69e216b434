// Reads a board file in segments of whole lines and hands their pieces
// over: a Shift-JIS or ASCII file passes through one reused buffer about a
// segment large, however large the file; only a file that may be mark-less
// UTF-8 (no ill-formed byte yet) or that has a mark is held whole, since
// only its end decides how it is read.
#pragma once

#include "board/board_file.h"
#include "board/board_pieces.h"
#include "system/cp932_encoder.h"
#include "system/file_system.h"

namespace kn {

// Every piece of the file, decoded, in order; the encoding it was read in.
// A 0x1A byte in the ASCII before any other byte ends the reading there:
// what comes before it reads the same in every encoding, and the file is
// then reported as Shift-JIS, whatever follows.
BoardEncoding ReadBoardPieces(FileReader& file, Cp932Encoder& encoder, BoardPieceVisitor& visitor,
                              BoardConversionWatcher* watcher = nullptr);

}  // namespace kn
