#include "tform1.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <filesystem>
#include <string>

#include "tagsieve/form1.h"
#include "tagsieve/tag_scan.h"
#include "win32kit/text.h"

namespace tagsieve {

namespace {

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace

TForm1::TForm1(messaging::MessageSink* messages) : Form(k_form1, messages), pane_(control("RichEdit1")) {
  bind("Button1", win32kit::handler(&TForm1::Button1Click));
  // Completion is a help, not a need: without it the box still takes a path.
  SHAutoComplete(control("Edit1"), SHACF_FILESYSTEM);
  DragAcceptFiles(handle(), TRUE);
}

void TForm1::take_file(const std::filesystem::path& file) {
  given_ = given_path(file);
  SetWindowTextW(control("Edit1"), given_.shown.c_str());
}

void TForm1::Button1Click() {
  const WaitCursor busy;
  // The path goes from the box's UTF-16 to a wide path.
  scan_tag_values(boxed_path(std::filesystem::path(win32kit::window_text(control("Edit1"))), given_),
                  win32kit::to_utf8(win32kit::window_text(control("Edit2"))),
                  SendMessageW(control("CheckBox1"), BM_GETCHECK, 0, 0) == BST_CHECKED, pane_, messages());
}

bool TForm1::on_message(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
  if (message != WM_DROPFILES) return false;
  const auto drop = reinterpret_cast<HDROP>(wparam);
  std::wstring file(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
  file.resize(DragQueryFileW(drop, 0, file.data(), static_cast<UINT>(file.size())));
  DragFinish(drop);
  if (!file.empty()) take_file(file);
  result = 0;
  return true;
}

}  // namespace tagsieve
