#include "win32kit/text.h"

#include <climits>
#include <new>

namespace win32kit {

namespace {

// Windows counts text in int: longer text could not be shown anyway, and is
// treated as memory running out.
int checked_length(std::size_t length) {
  if (length > INT_MAX) throw std::bad_alloc();
  return static_cast<int>(length);
}

std::string narrow(std::wstring_view text, UINT code_page) {
  if (text.empty()) return {};
  const int length = checked_length(text.size());
  const int narrow_length = WideCharToMultiByte(code_page, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(narrow_length), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), length, bytes.data(), narrow_length, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = checked_length(utf8.size());
  const int wide_length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), wide_length);
  return wide;
}

std::string to_ansi(std::wstring_view text) { return narrow(text, CP_ACP); }

std::string to_utf8(std::wstring_view text) { return narrow(text, CP_UTF8); }

std::wstring window_text(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace win32kit
