// PNG files through the platform's imaging component (WIC).
#pragma once

#include <string>

#include "picture.h"

namespace kn::host {

using driver::Picture;

// Writes the picture as a 24-bit PNG, replacing the file. On failure returns
// false and says why in `error`.
bool WritePng(const std::wstring& path, const Picture& picture, std::string& error);

// Reads any PNG into a picture. On failure returns false and says why.
bool ReadPng(const std::wstring& path, Picture& picture, std::string& error);

}  // namespace kn::host
