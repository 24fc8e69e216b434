#include <gtest/gtest.h>

#include "plugin_library.h"

namespace kn::driver {
namespace {

// The tests run in the build folder, beside the DLL.
const std::wstring kDllBesideTheTests = L"kaleidonote.dll";

TEST(PluginLibrary, ResolvesAllEntryPointsUnderBothNames) {
  PluginLibrary library(kDllBesideTheTests);
  ASSERT_TRUE(library.ready()) << library.error();
  EntryPoints underscored;
  std::string missing;
  ASSERT_TRUE(library.Resolve("_", underscored, &missing)) << missing;
  // Each underscore name is the same function as its plain name.
  const auto* plain = reinterpret_cast<const void* const*>(&library.api());
  const auto* other = reinterpret_cast<const void* const*>(&underscored);
  static_assert(sizeof(EntryPoints) == kEntryPointCount * sizeof(void*), "one pointer each");
  for (int i = 0; i < kEntryPointCount; ++i) {
    SCOPED_TRACE("entry point " + std::to_string(i));
    EXPECT_NE(plain[i], nullptr);
    EXPECT_EQ(plain[i], other[i]);
  }
}

TEST(PluginLibrary, NamesTheFirstMissingExport) {
  PluginLibrary library(kDllBesideTheTests);
  ASSERT_TRUE(library.ready()) << library.error();
  EntryPoints entries;
  std::string missing;
  EXPECT_FALSE(library.Resolve("__", entries, &missing));
  EXPECT_EQ(missing, "__DrawExSpecification");
  EXPECT_EQ(library.Find("NoSuchExport"), nullptr);
}

TEST(PluginLibrary, RelativePathWithForwardSlashesLoads) {
  // The tests run in the build folder, beside the DLL.
  PluginLibrary library(L"./kaleidonote.dll");
  EXPECT_TRUE(library.ready()) << library.error();
  EXPECT_EQ(library.path().find(L'/'), std::wstring::npos);
}

TEST(PluginLibrary, FailureToLoadIsReported) {
  PluginLibrary library(L"C:\\no-such-folder-kn\\kaleidonote.dll");
  EXPECT_FALSE(library.ready());
  EXPECT_EQ(library.module(), nullptr);
  EXPECT_NE(library.error().find("cannot load the DLL"), std::string::npos);
}

}  // namespace
}  // namespace kn::driver
