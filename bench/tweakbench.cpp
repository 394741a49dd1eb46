// tweakbench: the tools' two operations as a process, for benchmarks and for
// comparing builds. Not installed; the tools themselves take no command line.
//
//   tweakbench scan FILE TAG [--all]    the values the pane would list, each
//                                       followed by a line feed, as raw bytes
//   tweakbench generate RED GREEN BLUE  Tweak.xml from twkdefaut.xml, in the
//                                       current folder
//
// Exit code 0 on success; 1 after a failure, whose message goes to stderr as
// the window would show it; 2 with a usage line for bad arguments.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#else
#include <csignal>
#endif

#include "tagsieve/tag_scan.h"
#include "tintmere/tweak_file.h"

namespace {

constexpr std::string_view k_usage = "usage: tweakbench scan FILE TAG [--all] | generate RED GREEN BLUE\n";

class StandardOutput final : public tagsieve::LineList {
 public:
  void clear() override {}
  void append(std::span<const std::string_view> lines) override {
    for (const std::string_view line : lines) {
      std::fwrite(line.data(), 1, line.size(), stdout);
      std::fputc('\n', stdout);
    }
  }
};

class StandardError final : public messaging::MessageSink {
 public:
  void show_message(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    failed = true;
  }
  bool failed = false;
};

// A channel is written in plain decimal, 0 to 255: no sign, no leading zero.
std::optional<int> channel(std::string_view text) {
  if (text.empty() || text.size() > 3 || (text.size() > 1 && text.front() == '0')) return std::nullopt;
  int value = 0;
  for (const char digit : text) {
    if (digit < '0' || digit > '9') return std::nullopt;
    value = value * 10 + (digit - '0');
  }
  if (value > 255) return std::nullopt;
  return value;
}

#ifdef _WIN32
// The command line's words in UTF-8, as the windows take a typed tag, read
// from Windows's own UTF-16: the ANSI code page cannot spell every name.
std::vector<std::string> command_words(int, char**) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> words;
  for (int i = 0; wide != nullptr && i < count; ++i) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string word(static_cast<std::size_t>(std::max(size, 1)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, word.data(), size, nullptr, nullptr);
    word.resize(word.size() - 1);
    words.push_back(std::move(word));
  }
  ::LocalFree(wide);
  return words;
}

std::filesystem::path path_of(const std::string& word) { return std::u8string(word.begin(), word.end()); }
#else
// The command line's words as they came: a path in the file system's bytes.
std::vector<std::string> command_words(int argc, char** argv) { return {argv, argv + argc}; }

std::filesystem::path path_of(const std::string& word) { return word; }
#endif

int usage() {
  std::fputs(k_usage.data(), stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The values are bytes: no line feed may become a carriage return and a line feed.
  _setmode(_fileno(stdout), _O_BINARY);
#else
  // A write past the file-size limit fails and is said, as the windows say it.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  const std::vector<std::string> words = command_words(argc, argv);
  const std::size_t count = words.size();
  const std::string command = count > 1 ? words[1] : "";
  StandardError messages;
  if (command == "scan" && (count == 4 || (count == 5 && words[4] == "--all"))) {
    StandardOutput values;
    tagsieve::scan_tag_values(path_of(words[2]), words[3], count == 4, values, messages);
  } else if (command == "generate" && count == 5) {
    const auto red = channel(words[2]);
    const auto green = channel(words[3]);
    const auto blue = channel(words[4]);
    if (!red || !green || !blue) return usage();
    tintmere::generate_tweak_file(tintmere::slider_colour(*red, *green, *blue), messages);
  } else {
    return usage();
  }
  return std::fflush(stdout) == 0 && !messages.failed ? 0 : 1;
}
