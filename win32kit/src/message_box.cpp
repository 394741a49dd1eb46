#include "win32kit/message_box.h"

#include <filesystem>
#include <string>

#include "win32kit/text.h"

namespace win32kit {

namespace {

// The program's file name without its extension, as Windows titles a
// program's plain messages.
std::wstring program_name() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return std::filesystem::path(path).stem().wstring();
}

}  // namespace

void MessageBoxSink::show_message(std::string_view text) {
  MessageBoxW(owner_, widen(text).c_str(), program_name().c_str(), MB_OK);
}

}  // namespace win32kit
