// A stand-in program for links to launch: it records how it was started
// (its command line, its arguments and its current directory) in the file
// named by the environment variable KN_RECORDER_OUT, then exits.
//
// Output, one item per line: "cmd:" command line, "cwd:" current directory,
// then "arg:" for each argument after the program name. The file is written
// under another name and renamed when complete, so a test polling for it
// never reads half a record.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string CurrentDirectory() {
  char buffer[MAX_PATH * 4] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string Record(int argc, char** argv) {
  std::string record = "cmd:" + std::string(GetCommandLineA()) + "\n";
  record += "cwd:" + CurrentDirectory() + "\n";
  for (int i = 1; i < argc; ++i) record += "arg:" + std::string(argv[i]) + "\n";
  return record;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  char out[MAX_PATH * 4] = {};
  const DWORD n = GetEnvironmentVariableA("KN_RECORDER_OUT", out, sizeof out);
  if (n == 0 || n >= sizeof out) return 2;
  const std::string target(out, n);
  const std::string partial = target + ".part";
  if (!WriteWhole(partial, Record(argc, argv))) return 3;
  return MoveFileExA(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
