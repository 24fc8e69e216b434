#include "markup/byte_order_marks.h"

namespace kn {

ByteOrderMark DetectByteOrderMark(std::string_view bytes) {
  for (const ByteOrderMarkSpelling& spelling : kByteOrderMarks) {
    if (bytes.substr(0, spelling.bytes.size()) == spelling.bytes) return spelling.mark;
  }
  return ByteOrderMark::kNone;
}

std::string_view ByteOrderMarkBytes(ByteOrderMark mark) {
  for (const ByteOrderMarkSpelling& spelling : kByteOrderMarks) {
    if (spelling.mark == mark) return spelling.bytes;
  }
  return {};
}

std::string_view WithoutByteOrderMark(std::string_view bytes) {
  return bytes.substr(ByteOrderMarkBytes(DetectByteOrderMark(bytes)).size());
}

}  // namespace kn
