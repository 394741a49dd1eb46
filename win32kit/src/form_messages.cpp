// How a form answers Windows's messages: its scroll bars' steps, its
// handlers, the dialog keys' questions, its colours, focus and size.
#include "win32kit/form.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>

namespace win32kit {

namespace {

constexpr UINT_PTR k_value_tip_timer = 1;
// As long as a tooltip stays up.
constexpr UINT k_value_tip_milliseconds = 10'000;

// The one tool of a form's value tooltip, placed where it is told.
TTTOOLINFOW value_tool(HWND form) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = form;
  tool.uId = 1;
  return tool;
}

// What a scroll bar's request asks for, but a drag of its thumb.
std::optional<formkit::Scroll> scroll_of(int code) {
  using formkit::Scroll;
  switch (code) {
    case SB_LINELEFT:
      return Scroll::line_left;
    case SB_LINERIGHT:
      return Scroll::line_right;
    case SB_PAGELEFT:
      return Scroll::page_left;
    case SB_PAGERIGHT:
      return Scroll::page_right;
    case SB_LEFT:
      return Scroll::to_left;
    case SB_RIGHT:
      return Scroll::to_right;
    default:
      return std::nullopt;
  }
}

}  // namespace

void Form::scroll(Control& bar, int code, int thumb) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(bar.window, SB_CTL, &info);
  int position = std::clamp(thumb, info.nMin, info.nMax);
  if (const std::optional<formkit::Scroll> scroll = scroll_of(code)) {
    position = formkit::scrolled(*scroll, info.nPos, bar.component->page, info.nMax);
  } else if (code != SB_THUMBTRACK && code != SB_THUMBPOSITION) {
    return;
  }
  if (position == info.nPos) return;
  SetScrollPos(bar.window, SB_CTL, position, TRUE);
  if (bar.component->shows_value) show_value(bar, position, info.nMax);
  if (bar.on_event) (this->*bar.on_event)();
}

void Form::show_value(const Control& bar, int position, int max) {
  if (!value_tip_) {
    value_tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                                 0, 0, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!value_tip_) return;  // a help, not a need
    TTTOOLINFOW tool = value_tool(window_);
    SendMessageW(value_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  std::wstring text = std::to_wstring(position);
  TTTOOLINFOW tool = value_tool(window_);
  tool.lpszText = text.data();
  SendMessageW(value_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!IsWindowVisible(window_)) return;
  // Over the thumb and just above the bar, clear of what lies below it.
  RECT place;
  GetWindowRect(bar.window, &place);
  const int x = place.left + (place.right - place.left) * position / (max + 1);
  const int y = std::max(0, int{place.top} - int{place.bottom - place.top} - 4);
  SendMessageW(value_tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
  SendMessageW(value_tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  SetTimer(window_, k_value_tip_timer, k_value_tip_milliseconds, nullptr);
}

void Form::hide_value() {
  if (!value_tip_) return;
  TTTOOLINFOW tool = value_tool(window_);
  SendMessageW(value_tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  KillTimer(window_, k_value_tip_timer);
}

// An anchored control keeps the distances to the four sides that the form
// was laid out with.
void Form::follow_size() {
  RECT client;
  GetClientRect(window_, &client);
  for (const Control& control : controls_) {
    if (!control.component->anchored) continue;
    const formkit::Rect at = formkit::control_rect(*form_, *control.component, client.right, client.bottom, dpi_);
    MoveWindow(control.window, at.left, at.top, at.width, at.height, TRUE);
  }
}

bool Form::on_message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK Form::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    created->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wparam, lparam);
  try {
    return form->handle_message(message, wparam, lparam);
  } catch (...) {
    // Nothing may unwind through Windows's own frames: the user is told, and
    // the program ends as if the window were closed.
    try {
      form->messages_.show_message(messaging::describe_current_exception());
    } catch (...) {
    }
    PostQuitMessage(0);
  }
  return 0;
}

LRESULT Form::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = window_;
  LRESULT result = 0;
  if (on_message(message, wparam, lparam, result)) return result;
  switch (message) {
    case WM_HSCROLL:
      if (Control* bar = find(reinterpret_cast<HWND>(lparam)); bar && bar->component->kind == formkit::Kind::scroll_bar) {
        scroll(*bar, LOWORD(wparam), static_cast<short>(HIWORD(wparam)));
        return 0;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        const Control* clicked = find(reinterpret_cast<HWND>(lparam));
        if (clicked && clicked->on_event) (this->*clicked->on_event)();
        return 0;
      }
      break;
    case DM_GETDEFID:
      // Asked by the dialog keys' handling: the button that Enter clicks.
      for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].component->default_button) return MAKELRESULT(k_first_id + i, DC_HASDEFID);
      }
      return 0;
    case WM_NEXTDLGCTL:
      SetFocus(GetNextDlgTabItem(window_, GetFocus(), wparam != 0));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (const Control* coloured = find(reinterpret_cast<HWND>(lparam)); coloured && coloured->brush) {
        SetBkColor(reinterpret_cast<HDC>(wparam), coloured->colour);
        return reinterpret_cast<LRESULT>(coloured->brush);
      }
      break;
    case WM_TIMER:
      if (wparam != k_value_tip_timer) break;
      hide_value();
      return 0;
    case WM_MOVE:
      hide_value();
      break;
    case WM_ACTIVATE:
      // A window that is no dialog keeps no focus of its own: the control
      // that had it gets it back.
      if (LOWORD(wparam) == WA_INACTIVE) {
        hide_value();
        if (const HWND focus = GetFocus(); focus && IsChild(window_, focus)) focus_ = focus;
      } else if (focus_) {
        SetFocus(focus_);
        return 0;
      }
      break;
    case WM_SIZE:
      follow_size();
      return 0;
    case WM_GETMINMAXINFO:
      if (form_->resizable) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
        limits->ptMinTrackSize = POINT{scaled(form_->min_width), scaled(form_->min_height)};
        return 0;
      }
      break;
    case WM_DPICHANGED:
      // Moved to a screen of other dots per inch: all is laid out anew for it.
      change_dpi(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_DESTROY:
      if (quit_when_closed_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace win32kit
