#include <gtest/gtest.h>

#include <cstring>

#include "png_writer.h"
#include "test_files.h"

namespace kn::host {
namespace {

using driver::ScratchFile;

// Every pixel distinct in each channel, so a swapped channel, a row stride
// off by padding or a flipped image shows up.
Picture Pattern(int width, int height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t r = static_cast<std::uint32_t>(x * 37 + y) & 0xFF;
      const std::uint32_t g = static_cast<std::uint32_t>(y * 53 + 7) & 0xFF;
      const std::uint32_t b = static_cast<std::uint32_t>(x * 11 + y * 3 + 128) & 0xFF;
      picture.pixels.push_back((r << 16) | (g << 8) | b);
    }
  }
  return picture;
}

struct Shape {
  int width;
  int height;
};

class PngRoundTrip : public ::testing::TestWithParam<Shape> {};

TEST_P(PngRoundTrip, ReadsBackEveryPixel) {
  const Picture written = Pattern(GetParam().width, GetParam().height);
  ScratchFile file(L"round-trip.png");
  std::string error;
  ASSERT_TRUE(WritePng(file.path(), written, error)) << error;
  Picture read;
  ASSERT_TRUE(ReadPng(file.path(), read, error)) << error;
  ASSERT_EQ(read.width, written.width);
  ASSERT_EQ(read.height, written.height);
  for (int y = 0; y < written.height; ++y) {
    for (int x = 0; x < written.width; ++x) {
      ASSERT_EQ(read.At(x, y), written.At(x, y)) << "pixel " << x << "," << y;
    }
  }
}

// Widths whose 24-bit rows need 0 to 3 padding bytes.
INSTANTIATE_TEST_SUITE_P(Shapes, PngRoundTrip,
                         ::testing::Values(Shape{1, 1}, Shape{3, 2}, Shape{4, 5}, Shape{5, 3},
                                           Shape{238, 118}),
                         [](const ::testing::TestParamInfo<Shape>& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

TEST(PngWriter, IgnoresThePaddingByte) {
  Picture picture = Pattern(2, 2);
  const std::uint32_t plain = picture.pixels[0];
  picture.pixels[0] |= 0xFF000000u;  // GDI leaves this byte as it likes
  ScratchFile file(L"padding.png");
  std::string error;
  ASSERT_TRUE(WritePng(file.path(), picture, error)) << error;
  Picture read;
  ASSERT_TRUE(ReadPng(file.path(), read, error)) << error;
  EXPECT_EQ(read.At(0, 0), plain);
}

TEST(PngWriter, WritesAPngSignature) {
  ScratchFile file(L"signature.png");
  std::string error;
  ASSERT_TRUE(WritePng(file.path(), Pattern(3, 3), error)) << error;
  HANDLE handle = CreateFileW(file.path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  unsigned char head[8] = {};
  DWORD read = 0;
  ReadFile(handle, head, sizeof head, &read, nullptr);
  CloseHandle(handle);
  const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_EQ(read, 8u);
  EXPECT_EQ(0, std::memcmp(head, signature, 8));
}

TEST(PngWriter, RejectsAPictureWhosePixelsDoNotFit) {
  Picture picture = Pattern(4, 4);
  picture.pixels.pop_back();
  ScratchFile file(L"short.png");
  std::string error;
  EXPECT_FALSE(WritePng(file.path(), picture, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(GetFileAttributesW(file.path().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(PngWriter, ReportsAFolderThatDoesNotExist) {
  std::string error;
  EXPECT_FALSE(WritePng(L"C:\\no-such-folder-kn\\x.png", Pattern(2, 2), error));
  EXPECT_NE(error.find("opening the file"), std::string::npos) << error;
}

TEST(PngReader, ReportsAFileThatIsNotAPicture) {
  ScratchFile file(L"not-a-picture.png");
  ASSERT_TRUE(file.Write("plain text, not a picture"));
  Picture picture;
  std::string error;
  EXPECT_FALSE(ReadPng(file.path(), picture, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kn::host
