#include "host_commands.h"

#include <windows.h>

#include <cstdio>

namespace kn::host {

std::wstring DefaultDllPath() {
  std::wstring path(MAX_PATH * 4, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n < path.size() ? n : 0);
  const std::size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + L"kaleidonote.dll";
}

void ReportError(const std::string& message) {
  std::fprintf(stderr, "kn-host: %s\n", message.c_str());
}

}  // namespace kn::host
