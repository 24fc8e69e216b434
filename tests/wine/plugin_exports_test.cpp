// The DLL's boundary as a host meets it: every entry point under its plain
// and its underscore name, nothing else exported, only system DLLs imported.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

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

TEST(ExportTable, NamesExactlyTheThirtyEightEntryPoints) {
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

bool IsSystemDll(const std::string& name) {
  static const std::set<std::string> system = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                               "shell32.dll",  "comdlg32.dll", "msvcrt.dll",
                                               "advapi32.dll", "ole32.dll"};
  const std::string lower = Lower(name);
  return system.count(lower) == 1 || lower.rfind("api-ms-win-", 0) == 0;
}

TEST(ImportTable, HoldsOnlySystemDlls) {
  PeImage image(PluginPath());
  ASSERT_TRUE(image.valid()) << PluginPath() << " is not a 32-bit PE file";
  const auto dlls = image.ImportedDlls();
  ASSERT_FALSE(dlls.empty()) << "no import directory found";
  bool hasKernel = false;
  for (const std::string& dll : dlls) {
    EXPECT_TRUE(IsSystemDll(dll)) << dll << " is not a system DLL";
    hasKernel = hasKernel || Lower(dll) == "kernel32.dll";
  }
  EXPECT_TRUE(hasKernel) << "the reader found no kernel32.dll import";
}

}  // namespace
}  // namespace kn::wine
