// Times the Windows tag viewer's scan and pane filling for N distinct values:
//   win32_pane_fill N
// writes a file of N one-line elements, each a value of its own, into the
// system's temporary folder, runs Button1Click on a hidden form over it, and
// prints the seconds it took and the lines the pane then holds; and, apart,
// the seconds of the same scan with the text made but given to no control.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tagsieve/display_text.h"
#include "tagsieve/tag_scan.h"
#include "tform1.h"
#include "win32kit/text.h"

namespace {

class PrintedMessages final : public messaging::MessageSink {
 public:
  void show_message(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
};

// The pane's text made as the window makes it, then dropped.
class TextOnly final : public tagsieve::LineList {
 public:
  void clear() override {}
  void append(std::span<const std::string_view> lines) override {
    size = win32kit::widen(tagsieve::pane_text(lines, "\r\n")).size();
  }
  std::size_t size = 0;
};

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: win32_pane_fill N\n", stderr);
    return 2;
  }
  const long values = std::strtol(argv[1], nullptr, 10);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "win32_pane_fill.xml";
  {
    std::ofstream out(file, std::ios::binary);
    for (long i = 0; i < values; ++i) out << "<V>value " << i << "</V>\r\n";
  }
  PrintedMessages messages;
  tagsieve::TForm1 form(&messages);
  SetWindowTextW(form.control("Edit1"), file.wstring().c_str());
  SetWindowTextW(form.control("Edit2"), L"V");
  auto start = std::chrono::steady_clock::now();
  form.Button1Click();
  std::printf("%ld values: %.2f s, %ld lines in the pane\n", values, seconds_since(start),
              static_cast<long>(SendMessageW(form.control("RichEdit1"), EM_GETLINECOUNT, 0, 0)));
  TextOnly text;
  start = std::chrono::steady_clock::now();
  tagsieve::scan_tag_values(file, "V", true, text, messages);
  std::printf("the scan and the text alone: %.2f s\n", seconds_since(start));
  std::filesystem::remove(file);
  return 0;
}
