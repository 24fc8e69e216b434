// Reads the import and export directories of a 32-bit PE file from its bytes,
// without loading it, so the checks see exactly what the linker wrote.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace kn::wine {

class PeImage {
 public:
  explicit PeImage(const char* path) {
    std::ifstream file(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    valid_ = ParseHeaders();
  }

  bool valid() const { return valid_; }

  // Names of the DLLs in the import directory, then those in the delay-load
  // directory, as written in the file.
  std::vector<std::string> ImportedDlls() const {
    std::vector<std::string> names;
    AppendImportNames(IMAGE_DIRECTORY_ENTRY_IMPORT, sizeof(IMAGE_IMPORT_DESCRIPTOR),
                      offsetof(IMAGE_IMPORT_DESCRIPTOR, Name), names);
    AppendImportNames(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT, 32, 4, names);
    return names;
  }

  // Names in the export directory's name table.
  std::vector<std::string> ExportNames() const {
    std::vector<std::string> names;
    const IMAGE_DATA_DIRECTORY dir = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    IMAGE_EXPORT_DIRECTORY exports;
    if (dir.VirtualAddress == 0 || !Read(dir.VirtualAddress, exports)) return names;
    for (DWORD i = 0; i < exports.NumberOfNames; ++i) {
      DWORD nameRva = 0;
      if (!Read(exports.AddressOfNames + i * 4, nameRva)) break;
      if (auto name = StringAt(nameRva)) names.push_back(*name);
    }
    return names;
  }

 private:
  bool ParseHeaders() {
    IMAGE_DOS_HEADER dos;
    if (!ReadFile(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return false;
    IMAGE_NT_HEADERS32 nt;
    if (!ReadFile(static_cast<std::size_t>(dos.e_lfanew), nt)) return false;
    if (nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
      return false;
    optional_ = nt.OptionalHeader;
    std::size_t at = static_cast<std::size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                     nt.FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i, at += sizeof(IMAGE_SECTION_HEADER)) {
      IMAGE_SECTION_HEADER section;
      if (!ReadFile(at, section)) return false;
      sections_.push_back(section);
    }
    return true;
  }

  IMAGE_DATA_DIRECTORY Directory(int index) const {
    if (!valid_ || static_cast<DWORD>(index) >= optional_.NumberOfRvaAndSizes) return {0, 0};
    return optional_.DataDirectory[index];
  }

  // Walks a table of fixed-size descriptors ending in an all-zero name field.
  void AppendImportNames(int directory, std::size_t entrySize, std::size_t nameField,
                         std::vector<std::string>& names) const {
    const IMAGE_DATA_DIRECTORY dir = Directory(directory);
    if (dir.VirtualAddress == 0) return;
    for (DWORD rva = dir.VirtualAddress;; rva += static_cast<DWORD>(entrySize)) {
      DWORD nameRva = 0;
      if (!Read(rva + static_cast<DWORD>(nameField), nameRva) || nameRva == 0) return;
      if (auto name = StringAt(nameRva)) names.push_back(*name);
      else return;
    }
  }

  std::optional<std::size_t> FileOffset(DWORD rva) const {
    for (const IMAGE_SECTION_HEADER& s : sections_) {
      const DWORD size = s.Misc.VirtualSize ? s.Misc.VirtualSize : s.SizeOfRawData;
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + size)
        return static_cast<std::size_t>(rva - s.VirtualAddress) + s.PointerToRawData;
    }
    return std::nullopt;
  }

  template <typename T>
  bool ReadFile(std::size_t offset, T& out) const {
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) return false;
    std::memcpy(&out, bytes_.data() + offset, sizeof(T));
    return true;
  }

  template <typename T>
  bool Read(DWORD rva, T& out) const {
    auto offset = FileOffset(rva);
    return offset && ReadFile(*offset, out);
  }

  std::optional<std::string> StringAt(DWORD rva) const {
    auto offset = FileOffset(rva);
    if (!offset) return std::nullopt;
    std::string text;
    for (std::size_t i = *offset; i < bytes_.size(); ++i) {
      if (bytes_[i] == 0) return text;
      text += bytes_[i];
    }
    return std::nullopt;
  }

  std::vector<char> bytes_;
  bool valid_ = false;
  IMAGE_OPTIONAL_HEADER32 optional_{};
  std::vector<IMAGE_SECTION_HEADER> sections_;
};

}  // namespace kn::wine
