// Scroll mode: where a click falls in the chip's height decides how far the
// board moves.
#pragma once

#include <cstdint>

namespace kn {

// Height of the page-up band at the top and the page-down band at the bottom.
constexpr std::int32_t kScrollBand = 16;

// Moves firstLine for a click at height y in a client area from top to bottom
// (bottom exclusive). From the top down: the top band pages up, the bottom
// band pages down (a page is linesDrawn lines), the first quarter steps up 3,
// the rest of the upper half steps up 1, down to the last quarter steps down
// 1, and everything else, y == top included, steps down 3. Moving down stops
// where the last page ends with lastLine. firstLine never ends up negative.
// Returns whether firstLine changed.
bool ScrollByRegion(std::int32_t& firstLine, std::int32_t lastLine, std::int32_t linesDrawn,
                    std::int32_t top, std::int32_t bottom, std::int32_t y);

}  // namespace kn
