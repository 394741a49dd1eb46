#include "tform1.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <array>
#include <filesystem>
#include <string>

#include "tagsieve/tag_scan.h"
#include "win32kit/text.h"

namespace tagsieve {

namespace {

using win32kit::Component;
using win32kit::handler;
using win32kit::Kind;

// Enter in either box, or on the check box, clicks Button1; the pane takes
// Enter as a new line.
// clang-format off
const std::array k_components = {
    Component{.name = L"RichEdit1", .kind = Kind::memo, .left = 0, .top = 48, .width = 619, .height = 457,
              .accessible_name = L"Valeurs trouvées", .tab = 0, .anchored = true},
    Component{.name = L"Label1", .left = 8, .top = 0, .width = 151, .height = 13,
              .text = L"Emplacement et nom du fichier :", .label_for = L"Edit1"},
    Component{.name = L"Edit1", .kind = Kind::edit, .left = 168, .top = 0, .width = 449, .height = 21,
              .text = L"C:\\Program Files\\Ravenholt\\Molegrave\\data\\Tweak\\weaptwk.xml", .tab = 1},
    Component{.name = L"Label2", .left = 8, .top = 24, .width = 84, .height = 13, .text = L"Nom de la balise :",
              .label_for = L"Edit2"},
    Component{.name = L"Edit2", .kind = Kind::edit, .left = 168, .top = 24, .width = 137, .height = 21, .tab = 2},
    Component{.name = L"CheckBox1", .kind = Kind::check_box, .left = 312, .top = 24, .width = 185, .height = 17,
              .text = L"Ne pas réafficher la même valeur", .tab = 3, .checked = true},
    Component{.name = L"Button1", .kind = Kind::button, .left = 504, .top = 24, .width = 113, .height = 17,
              .text = L"Afficher les valeurs", .tab = 4, .on_event = handler(&TForm1::Button1Click),
              .default_button = true},
};

// The pane keeps its distances to the sides of the 620 by 505 client area
// that the form was laid out in.
const win32kit::FormTable k_form1 = {
    .caption = L"Tagsieve v1.01 alpha", .left = 272, .top = 178, .client_width = 620, .client_height = 505,
    .resizable = true, .width = 628, .height = 532, .min_width = 625, .min_height = 260, .components = k_components};
// clang-format on

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

TForm1::TForm1(messaging::MessageSink* messages) : Form(k_form1, messages), pane_(control(L"RichEdit1")) {
  // Completion is a help, not a need: without it the box still takes a path.
  SHAutoComplete(control(L"Edit1"), SHACF_FILESYSTEM);
  DragAcceptFiles(handle(), TRUE);
}

void TForm1::Button1Click() {
  const WaitCursor busy;
  // The path goes from the box's UTF-16 to a wide path.
  scan_tag_values(std::filesystem::path(win32kit::window_text(control(L"Edit1"))),
                  win32kit::to_utf8(win32kit::window_text(control(L"Edit2"))),
                  SendMessageW(control(L"CheckBox1"), BM_GETCHECK, 0, 0) == BST_CHECKED, pane_, messages());
}

bool TForm1::on_message(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
  if (message != WM_DROPFILES) return false;
  const auto drop = reinterpret_cast<HDROP>(wparam);
  std::wstring file(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
  file.resize(DragQueryFileW(drop, 0, file.data(), static_cast<UINT>(file.size())));
  DragFinish(drop);
  if (!file.empty()) SetWindowTextW(control(L"Edit1"), file.c_str());
  result = 0;
  return true;
}

}  // namespace tagsieve
