#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "host_commands.h"
#include "plugin_library.h"
#include "wide_text.h"

namespace kn::host {
namespace {

constexpr unsigned char kUntouched = 0xCD;

// The record sits at the start of a larger zone so that writes past its end
// show up.
struct DescriptionZone {
  ChipDescription record;
  unsigned char beyond[184];
};

void PrintDescription(const driver::EntryPoints& api) {
  DescriptionZone zone;
  std::memset(&zone, kUntouched, sizeof zone);
  const int result = api.DrawExSpecification(&zone.record);
  const ChipDescription& record = zone.record;
  const std::string title(record.title, strnlen(record.title, sizeof record.title));
  std::printf("DrawExSpecification returned %d\n", result);
  std::printf("  offset  0: %ld\n  offset  4: %ld\n", static_cast<long>(record.value0),
              static_cast<long>(record.value4));
  std::printf("  offset  8: \"%s\"%s\n", ShiftJisToUtf8(title).c_str(),
              title.size() == sizeof record.title ? " (not terminated)" : "");
  std::printf("  offset 60: %ld\n  offset 64: %ld\n  offset 68: %ld\n",
              static_cast<long>(record.value60), static_cast<long>(record.value64),
              static_cast<long>(record.value68));
  std::size_t written = 0;
  for (unsigned char byte : zone.beyond) written += byte != kUntouched;
  std::printf("  bytes from offset 72 on: %s\n", written ? "CHANGED" : "untouched");
}

// Prints how many entry points resolve under the prefix and names the first
// missing one.
bool PrintExports(const driver::PluginLibrary& library, const char* prefix) {
  driver::EntryPoints entries;
  std::string missing;
  const bool all = library.Resolve(prefix, entries, &missing);
  std::printf("exports with prefix \"%s\": %s\n", prefix,
              all ? "all 19" : ("missing " + missing).c_str());
  return all;
}

// Prints the version in the DLL's own version resource, the one a release is
// named after: major.minor.patch, and the fourth part when it is not zero.
void PrintVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::vector<unsigned char> block(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixedSize < sizeof *fixed) {
    std::printf("version: none\n");
    return;
  }
  const unsigned parts[] = {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                            HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
  std::printf("version: %u.%u.%u", parts[0], parts[1], parts[2]);
  if (parts[3] != 0) std::printf(".%u", parts[3]);
  std::printf("\n");
}

}  // namespace

int RunInfo(const HostOptions& options) {
  const std::wstring path = options.dllPath.empty() ? DefaultDllPath() : options.dllPath;
  driver::PluginLibrary library(path);
  if (!library.module()) {
    ReportError(WideToUtf8(path) + ": " + library.error());
    return kExitFailed;
  }
  std::printf("%s\n", WideToUtf8(library.path()).c_str());
  PrintVersion(library.path());
  const bool plain = PrintExports(library, "");
  const bool underscored = PrintExports(library, "_");
  if (library.api().DrawExSpecification) PrintDescription(library.api());
  return plain && underscored ? kExitDone : kExitFailed;
}

}  // namespace kn::host
