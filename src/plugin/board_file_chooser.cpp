#include "plugin/board_file_chooser.h"

#include <cstring>
#include <string>

#include "plugin/host_texts.h"

namespace kn {
namespace {

// A block of the host's memory that is freed unless release() hands it on.
class OwnedHostBlock {
 public:
  OwnedHostBlock(HostMemory& memory, BlockHandle block) : memory_(memory), block_(block) {}
  ~OwnedHostBlock() { memory_.Free(block_); }
  OwnedHostBlock(const OwnedHostBlock&) = delete;
  OwnedHostBlock& operator=(const OwnedHostBlock&) = delete;

  BlockHandle get() const { return block_; }
  BlockHandle release() {
    BlockHandle block = block_;
    block_ = nullptr;
    return block;
  }

 private:
  HostMemory& memory_;
  BlockHandle block_;
};

OpenFileRequest BoardFileRequest() {
  OpenFileRequest request;
  request.filters = {{kFileFilter, "*.txt"}, {kFileFilterAll, "*.*"}};
  request.title = kChooserTitle;
  request.defaultExtension = "txt";
  return request;
}

// A new block holding the line.
bool AppendToNewBlock(HostMemory& memory, EditRequest& request, const std::string& line) {
  OwnedHostBlock block(memory, memory.Allocate(line.size() + 2));
  if (!block.get()) return false;
  {
    BlockLock lock(memory, block.get());
    if (!lock) return false;
    std::memcpy(lock.get(), line.c_str(), line.size() + 1);
  }
  request.text = block.release();
  request.length = request.lengthAgain = static_cast<std::int32_t>(line.size());
  return true;
}

bool AppendToExistingBlock(HostMemory& memory, EditRequest& request, const std::string& line) {
  // A discarded (zero-byte) block cannot be locked: it is left as it was.
  const std::size_t size = memory.Size(request.text);
  if (size == 0) return false;
  // Growing keeps the old contents; a failure leaves the host's block as it was.
  BlockHandle grown = memory.Resize(request.text, size + line.size() + 1, false);
  if (!grown) return false;
  request.text = grown;
  BlockLock lock(memory, grown);
  if (!lock) return false;
  char* text = lock.as<char>();
  const std::size_t used = strnlen(text, size);
  std::memcpy(text + used, line.c_str(), line.size() + 1);
  request.length = request.lengthAgain = static_cast<std::int32_t>(used + line.size());
  return true;
}

}  // namespace

int ChooseBoardFile(Desktop& desktop, HostMemory& memory, EditRequest* request) {
  if (!request) return kFileNotAppended;
  const std::string path = desktop.AskForFileToOpen(BoardFileRequest());
  if (path.empty()) return kFileNotAppended;
  const std::string line = path + "\r\n";
  const bool appended = request->text ? AppendToExistingBlock(memory, *request, line)
                                      : AppendToNewBlock(memory, *request, line);
  return appended ? kFileAppended : kFileNotAppended;
}

}  // namespace kn
