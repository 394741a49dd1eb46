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

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
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

std::optional<int> channel(std::string_view text) {
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > 255) return std::nullopt;
  return value;
}

int usage() {
  std::fputs(k_usage.data(), stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The values are bytes: no line feed may become a carriage return and a line feed.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const std::string_view command = argc > 1 ? argv[1] : "";
  StandardError messages;
  if (command == "scan" && (argc == 4 || (argc == 5 && std::strcmp(argv[4], "--all") == 0))) {
    StandardOutput values;
    tagsieve::scan_tag_values(argv[2], argv[3], argc == 4, values, messages);
  } else if (command == "generate" && argc == 5) {
    const auto red = channel(argv[2]);
    const auto green = channel(argv[3]);
    const auto blue = channel(argv[4]);
    if (!red || !green || !blue) return usage();
    tintmere::generate_tweak_file(tintmere::slider_colour(*red, *green, *blue), messages);
  } else {
    return usage();
  }
  return std::fflush(stdout) == 0 && !messages.failed ? 0 : 1;
}
