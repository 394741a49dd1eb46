// The forms are driven hidden: they get the same messages, and no window is
// mapped and unmapped on the display for each test.
#include "window.h"

#include <array>

#include "win32kit/program.h"
#include "win32kit/text.h"

namespace test_support {

namespace {

// Delivers what waits in this thread's queue as the program's loop does,
// dialog keys first.
void pump(win32kit::Form& form) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || win32kit::translate_dialog_key(form, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

Window::Window(KitForm& form) : form_(form) {}

std::string Window::text(std::string_view name) const {
  std::string text = win32kit::to_utf8(win32kit::window_text(form_.control(name)));
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

bool Window::has_focus(std::string_view name) const { return GetFocus() == form_.control(name); }

bool Window::resizable() const { return (GetWindowLongW(form_.handle(), GWL_STYLE) & WS_THICKFRAME) != 0; }

void Window::type(std::string_view name, std::string_view utf8) { SetWindowTextW(form_.control(name), win32kit::widen(utf8).c_str()); }

void Window::click(std::string_view name) { SendMessageW(form_.control(name), BM_CLICK, 0, 0); }

void Window::press(Key key) {
  static constexpr std::pair<UINT, bool> k_keys[] = {
      {VK_TAB, false},   {VK_TAB, true},  {VK_RETURN, false}, {VK_RETURN, false}, {VK_ESCAPE, false}, {VK_RIGHT, false}, {VK_DOWN, false},
      {VK_LEFT, false},  {VK_UP, false},  {VK_NEXT, false},   {VK_PRIOR, false},  {VK_HOME, false},   {VK_END, false}};
  const auto [virtual_key, shift] = k_keys[static_cast<int>(key)];
  // The dialog keys read Shift from the thread's keyboard state.
  std::array<BYTE, 256> keys{};
  GetKeyboardState(keys.data());
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys.data());
  const HWND target = GetFocus();
  PostMessageW(target, WM_KEYDOWN, virtual_key, 1);
  pump(form_);
  PostMessageW(target, WM_KEYUP, virtual_key, 1 | 3u << 30);
  pump(form_);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys.data());
}

namespace {

class CountingForm : public win32kit::Form {
 public:
  CountingForm(const formkit::Form& description, std::function<void()> on_event, messaging::MessageSink* messages)
      : Form(description, messages), on_event_(std::move(on_event)) {
    for (const formkit::Component& component : description.components) bind(component.name, win32kit::handler(&CountingForm::Event));
  }
  void Event() { on_event_(); }

 private:
  std::function<void()> on_event_;
};

}  // namespace

std::unique_ptr<KitForm> make_form(const formkit::Form& description, std::function<void()> on_event,
                                   messaging::MessageSink* messages) {
  return std::make_unique<CountingForm>(description, std::move(on_event), messages);
}

}  // namespace test_support
