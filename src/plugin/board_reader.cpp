#include "plugin/board_reader.h"

#include <new>
#include <utility>

#include "board/board_loader.h"

namespace kn {
namespace {

// The board's text as one string, room made ahead for each file.
class StringBoardOutput final : public BoardOutput {
 public:
  explicit StringBoardOutput(std::string& text) : text_(text) {}
  void Append(std::string_view bytes) override { text_.append(bytes); }
  void Expect(std::size_t bytes) override { text_.reserve(text_.size() + bytes); }

 private:
  std::string& text_;
};

}  // namespace

// Shared by the chip's reader and the thread. The thread writes `result`
// and `complete` before it publishes `finished`; the reader looks at them
// only after it has seen `finished`.
class BoardRead {
 public:
  BoardRead(std::string memo, BoardFingerprint shown, std::unique_ptr<DoneSignal> done)
      : memo_(std::move(memo)), shown_(std::move(shown)), done_(std::move(done)) {}

  void Run(FileSystem& files, Cp932Encoder& encoder) noexcept {
    try {
      result_.unchanged = IsBoardAsBuilt(memo_, files, encoder, shown_, result_.newest);
      if (!result_.unchanged) {
        StringBoardOutput out(result_.text);
        LoadBoardInto(memo_, files, encoder, result_.newest, out, nullptr, &result_.fingerprint);
      }
      complete_ = true;
    } catch (...) {
      // Out of memory: the read gives nothing; a later tick reads again.
      result_ = BoardReadResult{};
    }
    finished_.store(true, std::memory_order_release);
    done_->Set();
  }

  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  bool Complete() const { return complete_; }
  DoneSignal& Done() { return *done_; }
  const BoardReadResult& Result() const { return result_; }
  // The memo back from a read that never started.
  std::string TakeMemo() { return std::move(memo_); }

  void Hold() { holders_.fetch_add(1, std::memory_order_relaxed); }
  void Release() {
    if (holders_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

 private:
  std::string memo_;
  const BoardFingerprint shown_;  // the board shown when the read was started
  const std::unique_ptr<DoneSignal> done_;
  BoardReadResult result_;
  bool complete_ = false;
  std::atomic<bool> finished_{false};
  std::atomic<int> holders_{1};
};

namespace {

// The thread's reference to its read, given up when the task ends.
class ThreadsReference {
 public:
  explicit ThreadsReference(BoardRead* read) : read_(read) { read_->Hold(); }
  ThreadsReference(const ThreadsReference& other) : read_(other.read_) { read_->Hold(); }
  ThreadsReference& operator=(const ThreadsReference&) = delete;
  ~ThreadsReference() { read_->Release(); }
  void operator()(FileSystem& files, Cp932Encoder& encoder) const { read_->Run(files, encoder); }

 private:
  BoardRead* read_;
};

}  // namespace

ChipReader::~ChipReader() { ReleaseRunning(); }

void ChipReader::Ask(std::string_view memo) {
  Drop();
  asked_.emplace(memo);
}

void ChipReader::Drop() {
  asked_.reset();
  runningIsAsked_ = false;
}

void ChipReader::ReleaseRunning() {
  if (running_ != nullptr) running_->Release();
  running_ = nullptr;
  runningIsAsked_ = false;
}

bool ChipReader::StartAsked(ReadingThreads& threads) {
  if (!thread_) thread_ = threads.MakeThread();
  std::unique_ptr<DoneSignal> done = thread_ ? threads.MakeSignal() : nullptr;
  if (!done) return false;
  // The asked memo moves into the read: a tick's read copies it once.
  auto* read = new BoardRead(std::move(*asked_), shownBoard, std::move(done));
  bool started = false;
  try {
    started = thread_->Run(ThreadsReference(read));
  } catch (...) {
    asked_ = read->TakeMemo();
    read->Release();
    throw;
  }
  if (!started) {
    asked_ = read->TakeMemo();
    read->Release();
    return false;  // still asked: a later call tries again
  }
  running_ = read;
  runningIsAsked_ = true;
  asked_.reset();
  return true;
}

void ChipReader::Collect() {
  if (running_ != nullptr && !runningIsAsked_ && running_->Finished()) ReleaseRunning();
}

const BoardReadResult* ChipReader::Poll(ReadingThreads& threads) {
  Collect();
  const bool startedNow = running_ == nullptr && asked_.has_value() && StartAsked(threads);
  if (running_ == nullptr || !runningIsAsked_) return nullptr;
  if (!running_->Finished() && !(startedNow && threads.AwaitRead(running_->Done()) && running_->Finished())) {
    return nullptr;
  }
  if (!running_->Complete()) {
    ReleaseRunning();
    return nullptr;
  }
  return &running_->Result();
}

void ChipReader::Take() { ReleaseRunning(); }

}  // namespace kn
