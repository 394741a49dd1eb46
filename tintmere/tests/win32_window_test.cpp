#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <vector>

#include "win32kit/text.h"

namespace {

// Explorer's Properties and Task Manager say what the program is, in French.
TEST(Program, SaysWhatItIs) {
  const std::filesystem::path program = PROGRAM_FILE;
  const std::string name = "tintmere";
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(program.c_str(), &ignored));
  ASSERT_TRUE(!block.empty() && GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  // In French, in UTF-16.
  const std::pair<const wchar_t*, std::string> texts[] = {
      {L"CompanyName", "Les développeurs de tweak-tools"}, {L"FileDescription", "Tintmere : choisit la couleur de l'eau et écrit Tweak.xml"},
      {L"FileVersion", PROJECT_VERSION},  {L"InternalName", name}, {L"OriginalFilename", name + ".exe"},
      {L"ProductName", "Tweak tools"}, {L"ProductVersion", PROJECT_VERSION}};
  for (const auto& [key, expected] : texts) {
    wchar_t* value = nullptr;
    UINT size = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040C04B0\\") + key;
    EXPECT_TRUE(VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size));
    EXPECT_EQ(value && size ? win32kit::to_utf8(value) : "", expected) << win32kit::to_utf8(key);
  }
}

}  // namespace
