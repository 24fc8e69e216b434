// A chip flashes by showing itself inverted a few times in a row. Portable.
#pragma once

namespace kn::desk {

class FlashSequence {
 public:
  static constexpr int kSteps = 6;  // three flashes: inverted, plain, inverted, ...

  // Starts (or restarts) the sequence; the first step shows the chip inverted.
  void Start() { remaining_ = kSteps; }
  // Moves on by one step; false once the sequence is over.
  bool Step() {
    if (remaining_ > 0) --remaining_;
    return remaining_ > 0;
  }
  bool active() const { return remaining_ > 0; }
  bool inverted() const { return remaining_ % 2 == 0 && remaining_ > 0; }

 private:
  int remaining_ = 0;
};

}  // namespace kn::desk
