// The DLL's boundary as a host meets it: every entry point under its plain
// and its underscore name, nothing else exported, and the DLLs it imports
// read from the file's own import directories (delay-loaded ones included):
// exactly those of the pinned list.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <string>

#include "dll_imports.h"
#include "wine/harness/pe_image.h"
#include "wine/harness/plugin_module.h"

namespace kn::wine {
namespace {

class EntryPointExport : public testing::TestWithParam<const char*> {};

TEST_P(EntryPointExport, PlainAndUnderscoreNamesResolveToOneFunction) {
  ASSERT_NE(Plugin().module(), nullptr) << PluginPath() << ": " << Plugin().error();
  const std::string name = GetParam();
  FARPROC plain = Plugin().Find(name.c_str());
  FARPROC underscored = Plugin().Find(("_" + name).c_str());
  ASSERT_NE(plain, nullptr) << name;
  ASSERT_NE(underscored, nullptr) << "_" << name;
  EXPECT_EQ(reinterpret_cast<void*>(plain), reinterpret_cast<void*>(underscored)) << name;
}

INSTANTIATE_TEST_SUITE_P(AllEntryPoints, EntryPointExport, testing::ValuesIn(EntryPointNames()),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST(ExportTable, NamesEveryEntryPointTwiceAndNothingElse) {
  PeImage image(PluginPath());
  ASSERT_TRUE(image.valid()) << PluginPath() << " is not a 32-bit PE file";
  std::set<std::string> expected;
  for (const char* name : EntryPointNames()) {
    expected.insert(name);
    expected.insert(std::string("_") + name);
  }
  const auto names = image.ExportNames();
  const std::set<std::string> exported(names.begin(), names.end());
  EXPECT_EQ(names.size(), exported.size()) << "a name is exported twice";
  for (const std::string& name : expected) EXPECT_EQ(exported.count(name), 1u) << "missing " << name;
  for (const std::string& name : exported) EXPECT_EQ(expected.count(name), 1u) << "unexpected " << name;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The DLLs of the pinned import list (its first word on each line that is
// not a comment), in lower case.
std::set<std::string> PinnedDlls() {
  std::set<std::string> dlls;
  std::istringstream list(kPinnedImports);
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    dlls.insert(Lower(line.substr(0, line.find(' '))));
  }
  return dlls;
}

TEST(ImportTable, HoldsExactlyThePinnedDlls) {
  PeImage image(PluginPath());
  ASSERT_TRUE(image.valid()) << PluginPath() << " is not a 32-bit PE file";
  const auto dlls = image.ImportedDlls();
  ASSERT_FALSE(dlls.empty()) << "no import directory found";
  const std::set<std::string> pinned = PinnedDlls();
  ASSERT_EQ(pinned.count("kernel32.dll"), 1u) << "the pinned list was not read";
  std::set<std::string> imported;
  for (const std::string& dll : dlls) {
    imported.insert(Lower(dll));
    EXPECT_EQ(pinned.count(Lower(dll)), 1u) << dll << " is not in tests/dll_imports.txt";
  }
  for (const std::string& dll : pinned) EXPECT_EQ(imported.count(dll), 1u) << dll << " is no longer imported";
}

}  // namespace
}  // namespace kn::wine
