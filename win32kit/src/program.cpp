#include "win32kit/program.h"

#include <objbase.h>
#include <shellapi.h>

namespace win32kit {

namespace {

// File-name completion in an edit needs COM in the window's thread.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace

bool translate_dialog_key(Form& form, MSG& message) {
  // Escape does nothing in these windows; a multi-line edit would otherwise
  // close the window, as it closes a dialog.
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) return true;
  return form.handle() && IsDialogMessageW(form.handle(), &message);
}

void run_message_loop(Form& form) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (translate_dialog_key(form, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::filesystem::path first_argument() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return {};
  std::filesystem::path file = count > 1 ? std::filesystem::path(arguments[1]) : std::filesystem::path();
  LocalFree(arguments);
  return file;
}

int run_window(const std::function<std::unique_ptr<Form>()>& make_form, messaging::MessageSink* failures) {
  MessageBoxSink message_boxes;
  try {
    const ComApartment com;
    const std::unique_ptr<Form> form = make_form();
    form->quit_when_closed();
    ShowWindow(form->handle(), SW_SHOWDEFAULT);
    UpdateWindow(form->handle());
    run_message_loop(*form);
  } catch (...) {
    try {
      (failures ? *failures : message_boxes).show_message(messaging::describe_current_exception());
    } catch (...) {
    }
  }
  return 0;
}

}  // namespace win32kit
