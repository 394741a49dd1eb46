#include "savefile/steps.h"

#ifdef _WIN32
#include <windows.h>
// Windows's own name for its ANSI function, not this file's subject.
#undef ReplaceFile
#include <sddl.h>
#endif

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "test_support/files.h"

namespace {

namespace fs = std::filesystem;
using test_support::k_on_windows;

#ifdef _WIN32
// A new version takes the old one's place with its attributes; until then,
// it is hidden, as a name starting with a dot hides it elsewhere.
TEST(ReplaceFile, TheNewFileKeepsTheTargetsAttributesAndHidesUntilThen) {
  constexpr DWORD k_hidden = FILE_ATTRIBUTE_HIDDEN;
  constexpr DWORD k_unindexed = FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  constexpr DWORD k_shown = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const struct {
    const char* name;
    std::optional<DWORD> target;  // nothing: no target yet
  } cases[] = {
      {"no target", std::nullopt},
      {"a plain target", FILE_ATTRIBUTE_NORMAL},
      {"a hidden target", k_hidden},
      {"hidden and not indexed", k_hidden | k_unindexed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test_support::TempDir dir;
    // What the target has, of what it was given: wine keeps no "not indexed".
    DWORD before = 0;
    if (c.target) {
      test_support::write_file(dir / "target", "old");
      ASSERT_TRUE(::SetFileAttributesW((dir / "target").c_str(), *c.target));
      before = ::GetFileAttributesW((dir / "target").c_str()) & k_shown;
      EXPECT_EQ(before & k_hidden, *c.target & k_hidden);
    }
    fs::path made;
    std::error_code error;
    linescan::File file = savefile::create_unique_file(dir.path(), ".t.", made, error);
    ASSERT_TRUE(file) << error.message();
    EXPECT_EQ(::GetFileAttributesW(made.c_str()) & k_hidden, k_hidden);
    ASSERT_FALSE(file.close());
    EXPECT_FALSE(savefile::replace_file(made, dir / "target"));
    EXPECT_EQ(::GetFileAttributesW((dir / "target").c_str()) & k_shown, before);
  }
}

// The access list as text, "D:(A;;FA;;;OW)" and the like.
std::wstring access_list(const fs::path& path) {
  DWORD size = 0;
  ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<char> descriptor(size);
  wchar_t* text = nullptr;
  if (size == 0 || !::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
      !::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                             DACL_SECURITY_INFORMATION, &text, nullptr)) {
    return {};
  }
  std::wstring result = text;
  ::LocalFree(text);
  return result;
}

// Who may do what with the file stays as it was: here, the owner alone may
// do anything with the target, where a new file would let everyone read it.
TEST(ReplaceFile, TheNewFileKeepsTheTargetsAccessList) {
  test_support::TempDir dir;
  test_support::write_file(dir / "target", "old");
  test_support::write_file(dir / "new", "new");
  PSECURITY_DESCRIPTOR owner_only = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;OW)", SDDL_REVISION_1, &owner_only,
                                                                    nullptr));
  ASSERT_TRUE(::SetFileSecurityW((dir / "target").c_str(), DACL_SECURITY_INFORMATION, owner_only));
  ::LocalFree(owner_only);
  const std::wstring before = access_list(dir / "target");
  ASSERT_FALSE(before.empty());
  ASSERT_NE(access_list(dir / "new"), before);
  EXPECT_FALSE(savefile::replace_file(dir / "new", dir / "target"));
  const std::wstring after = access_list(dir / "target");
  EXPECT_EQ(after, before) << std::string(after.begin(), after.end()) << " against "
                           << std::string(before.begin(), before.end());
  EXPECT_EQ(test_support::read_file(dir / "target"), "new");
}
#endif

TEST(ReplaceFile, WaitsForAProgramThatHoldsTheTargetOpen) {
  test_support::TempDir dir;
  // Another program reads the target meanwhile: Windows refuses to replace
  // it until it is let go; elsewhere nothing stops the replacement.
  for (const int let_go_after : {3, 100}) {
    SCOPED_TRACE(let_go_after);
    test_support::write_file(dir / "new", "new");
    test_support::write_file(dir / "target", "old");
    auto reader = std::make_unique<std::ifstream>(dir / "target");
    int pauses = 0;
    const std::error_code error = savefile::replace_file(dir / "new", dir / "target", [&] {
      if (++pauses == let_go_after) reader.reset();
    });
    const bool replaced = !k_on_windows || let_go_after == 3;
    EXPECT_EQ(!error, replaced) << error.message();
    EXPECT_EQ(pauses, k_on_windows ? std::min(let_go_after, 9) : 0);
    EXPECT_EQ(test_support::read_file(dir / "target"), replaced ? "new" : "old");
  }
}

TEST(CreateUniqueFile, NeverReplacesAFile) {
  test_support::TempDir dir;
  std::vector<fs::path> made(20);
  for (fs::path& path : made) {
    std::error_code error;
    EXPECT_TRUE(savefile::create_unique_file(dir.path(), ".t.", path, error)) << error.message();
    EXPECT_EQ(path.parent_path(), dir.path());
    EXPECT_TRUE(path.filename().string().starts_with(".t."));
  }
  EXPECT_EQ(test_support::list_tree(dir.path()).size(), made.size());
}

}  // namespace
