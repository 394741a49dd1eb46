#include "savefile/steps.h"

#ifdef _WIN32
#include <windows.h>
// Windows's own name for its ANSI function, not this file's subject.
#undef ReplaceFile
#include <sddl.h>
#endif

#include <gtest/gtest.h>


#include "test_support/files.h"

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
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

// A new version, hidden until then as a name starting with a dot hides it
// elsewhere, takes the old one's place with its attributes and its access
// list: here, the owner alone may do anything with the target, where a new
// file would let everyone read it.
TEST(ReplaceFile, TheNewFileKeepsTheTargetsAttributesAndAccessList) {
  for (const DWORD attributes : {DWORD{0}, DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_HIDDEN}}) {
    test_support::TempDir dir;
    if (attributes != 0) {
      test_support::write_file(dir / "target", "old");
      ASSERT_TRUE(::SetFileAttributesW((dir / "target").c_str(), attributes));
      PSECURITY_DESCRIPTOR owner_only = nullptr;
      ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;OW)", SDDL_REVISION_1, &owner_only, nullptr));
      ASSERT_TRUE(::SetFileSecurityW((dir / "target").c_str(), DACL_SECURITY_INFORMATION, owner_only));
      ::LocalFree(owner_only);
    }
    const DWORD before = attributes == 0 ? 0 : ::GetFileAttributesW((dir / "target").c_str()) & FILE_ATTRIBUTE_HIDDEN;
    const std::wstring list = attributes == 0 ? L"" : access_list(dir / "target");
    fs::path made;
    std::error_code error;
    linescan::File file = savefile::create_unique_file(dir.path(), ".t.", made, error);
    ASSERT_TRUE(file) << error.message();
    EXPECT_EQ(::GetFileAttributesW(made.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
    ASSERT_FALSE(file.close());
    EXPECT_FALSE(savefile::replace_file(made, dir / "target"));
    EXPECT_EQ(::GetFileAttributesW((dir / "target").c_str()) & FILE_ATTRIBUTE_HIDDEN, before);
    EXPECT_EQ(attributes == 0 ? L"" : access_list(dir / "target"), list);
  }
}

// While another program holds the target, the new version waits between
// tries hidden, as it was made, and stays so once they run out.
TEST(ReplaceFile, WaitsHiddenWhileTheTargetIsHeld) {
  test_support::TempDir dir;
  test_support::write_file(dir / "target", "old");
  fs::path made;
  std::error_code error;
  // No dot, which wine would show as hidden whatever the attributes say.
  ASSERT_FALSE(savefile::create_unique_file(dir.path(), "t.", made, error).close());
  const HANDLE held = ::CreateFileW((dir / "target").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  std::vector<DWORD> hidden;
  const auto look = [&] { hidden.push_back(::GetFileAttributesW(made.c_str()) & FILE_ATTRIBUTE_HIDDEN); };
  EXPECT_TRUE(savefile::replace_file(made, dir / "target", savefile::Existing::replace, look));
  ::CloseHandle(held);
  look();
  EXPECT_EQ(hidden, std::vector<DWORD>(10, FILE_ATTRIBUTE_HIDDEN));  // after each of 9 tries, and the last
}
#endif

}  // namespace
