// The forms are driven hidden: they get the same messages, and no window is
// mapped and unmapped on the display for each test.
#include "window.h"

#include <commctrl.h>

#include <array>

#include "win32kit/program.h"
#include "win32kit/text.h"

namespace test_support {

void pump(win32kit::Form& form) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || win32kit::translate_dialog_key(form, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

RECT place(win32kit::Form& form, std::string_view name) {
  RECT rect;
  GetWindowRect(form.control(name), &rect);
  MapWindowPoints(nullptr, form.handle(), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Window::Window(KitForm& form) : form_(form) {}

Seen Window::seen(std::string_view name) const {
  const HWND control = form_.control(name);
  const RECT rect = place(form_, name);
  std::string text = SendMessageW(control, LB_GETCOUNT, 0, 0) > 0 ? "" : win32kit::to_utf8(win32kit::window_text(control));
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, text, (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0,
          IsWindowEnabled(control) != FALSE, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED};
}

bool Window::has_focus(std::string_view name) const { return GetFocus() == form_.control(name); }

int Window::position(std::string_view bar) const { return GetScrollPos(form_.control(bar), SB_CTL); }

std::string Window::description(std::string_view name) const { return form_.description(name); }

std::uint32_t Window::background(std::string_view name) const {
  const HWND control = form_.control(name);
  const HDC context = GetDC(control);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(form_.handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH colour{};
  GetObjectW(brush, sizeof colour, &colour);
  ReleaseDC(control, context);
  return colour.lbColor;
}

std::string Window::tip() const {
  // The tests' forms are the only windows of this program and make one tooltip.
  const HWND tip = FindWindowW(TOOLTIPS_CLASSW, nullptr);
  std::array<wchar_t, 80> text{};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  if (!tip || !SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool))) return {};
  tool.lpszText = text.data();
  SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return win32kit::to_utf8(text.data());
}

void Window::type(std::string_view name, std::string_view utf8) { SetWindowTextW(form_.control(name), win32kit::widen(utf8).c_str()); }

// As a drag of the thumb that ends there.
void Window::slide(std::string_view bar, int position) {
  SendMessageW(form_.handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(form_.control(bar)));
}

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
