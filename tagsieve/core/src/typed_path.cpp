#include "tagsieve/typed_path.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "tagsieve/display_text.h"

namespace tagsieve {

namespace fs = std::filesystem;

namespace {

using Text = fs::path::string_type;

constexpr std::string_view k_file_scheme = "file:/";

// Whether text starts with "file:/", in any letter case.
bool is_file_address(const Text& text) {
  if (text.size() < k_file_scheme.size()) return false;
  for (std::size_t i = 0; i < k_file_scheme.size(); ++i) {
    const auto c = text[i];
    if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != k_file_scheme[i]) return false;
  }
  return true;
}

// Whether a path holds a NUL, which no file's name does: the system would
// take the name as ending there, at another file.
bool holds_nul(const fs::path& path) { return path.native().find(Text::value_type{}) != Text::npos; }

// Whether text is wholly in `quote` characters.
bool is_quoted(const Text& text, char quote) { return text.size() >= 2 && text.front() == quote && text.back() == quote; }

int hex_digit(char8_t c) {
  if (c >= u8'0' && c <= u8'9') return c - u8'0';
  if (c >= u8'a' && c <= u8'f') return c - u8'a' + 10;
  if (c >= u8'A' && c <= u8'F') return c - u8'A' + 10;
  return -1;
}

// Each %XX as the byte XX; anything else, a stray % too, as it is.
std::u8string percent_decoded(std::u8string_view text) {
  std::u8string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == u8'%' ? hex_digit(text[i + 1]) : -1;
    const int low = high < 0 ? -1 : hex_digit(text[i + 2]);
    if (low < 0) {
      bytes += text[i];
    } else {
      bytes += static_cast<char8_t>(high * 16 + low);
      i += 2;
    }
  }
  return bytes;
}

// The path that a file address names, from what follows "file://": a host
// (none, or localhost, for this machine), then the path itself.
fs::path address_path(std::u8string_view rest) {
  const std::size_t slash = std::min(rest.find(u8'/'), rest.size());
  const std::u8string_view host = rest.substr(0, slash);
  const std::u8string path = percent_decoded(rest.substr(slash));
  if (!host.empty() && host != u8"localhost") return u8"//" + std::u8string(host) + path;
  // A Windows drive's address: file:///C:/Users/...
  const bool drive = path.size() >= 3 && path[0] == u8'/' && path[2] == u8':' &&
                     ((path[1] >= u8'A' && path[1] <= u8'Z') || (path[1] >= u8'a' && path[1] <= u8'z'));
  return drive ? path.substr(1) : path;
}

// What a path typed or pasted means, before any name is tried in another code page.
fs::path meant_path(const fs::path& typed) {
  if (holds_nul(typed)) return {};
  std::error_code error;
  if (fs::exists(typed, error)) return typed;
  Text text = typed.native();
  // Blanks and a line end around a path, as a terminal's copy gives them.
  const auto blank = [](auto c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  text.erase(0, std::find_if_not(text.begin(), text.end(), blank) - text.begin());
  if (is_quoted(text, '"') || is_quoted(text, '\'')) text = text.substr(1, text.size() - 2);
  if (is_file_address(text)) {
    // "file:/path", or "file://" and a host, none for this machine.
    const bool host = text.size() > k_file_scheme.size() && text[k_file_scheme.size()] == '/';
    try {
      const fs::path meant = address_path(fs::path(text.substr(host ? k_file_scheme.size() + 1 : k_file_scheme.size() - 1)).u8string());
      return holds_nul(meant) ? fs::path() : meant;
    } catch (const std::exception&) {
      return typed;  // text that is no Unicode, which no address spells
    }
  }
  const char* home = std::getenv("HOME");
  if (fs::path::preferred_separator == '/' && home != nullptr && text.starts_with(Text{'~', '/'})) {
    return fs::path(home) / text.substr(2);
  }
  return text;
}

// Whether paths are bytes, which Windows-1252 names may be.
constexpr bool k_byte_paths = fs::path::preferred_separator == '/';

}  // namespace

fs::path typed_path(const fs::path& typed) {
  const fs::path meant = meant_path(typed);
  std::error_code error;
  if (!k_byte_paths || meant.empty() || fs::exists(meant, error)) return meant;
  const std::optional<std::string> bytes = to_cp1252(meant.string());
  return bytes && fs::exists(*bytes, error) ? fs::path(*bytes) : meant;
}

GivenPath given_path(const fs::path& path) { return {path, k_byte_paths ? fs::path(display_text(path.string())) : path}; }

fs::path boxed_path(const fs::path& box, const GivenPath& given) {
  return !given.path.empty() && box == given.shown ? given.path : box;
}

}  // namespace tagsieve
