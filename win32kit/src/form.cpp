#include "win32kit/form.h"

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>
#include <system_error>

#include "win32kit/text.h"

namespace win32kit {

namespace {

using formkit::Component;
using formkit::Kind;

constexpr wchar_t k_class_name[] = L"TForm1";
// A check box's box and the gap before its caption.
constexpr int k_check_mark_width = 20;

[[noreturn]] void throw_last_error(const char* what) {
  throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

struct Creation {
  const wchar_t* window_class;
  long style;  // as Windows's headers spell the style bits
  long ex_style;
};

Creation creation_of(const Component& component) {
  switch (component.kind) {
    case Kind::label:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::scroll_bar:
      return {L"SCROLLBAR", SBS_HORZ, 0};
    case Kind::edit:
      return {L"EDIT", ES_AUTOHSCROLL | (component.read_only ? ES_READONLY : 0), WS_EX_CLIENTEDGE};
    case Kind::memo:
      return {L"EDIT",
              ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL | WS_HSCROLL | WS_VSCROLL |
                  (component.read_only ? ES_READONLY : 0),
              WS_EX_CLIENTEDGE};
    case Kind::button:
      return {L"BUTTON", component.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 0};
    case Kind::check_box:
      return {L"BUTTON", BS_AUTOCHECKBOX, 0};
    case Kind::list_box:
      return {L"LISTBOX", LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  throw std::invalid_argument("unknown control kind");
}

// Tells screen readers what to call a control (PROPID_ACC_NAME), where no
// label does, or what to say of it after its name (PROPID_ACC_DESCRIPTION).
// A help, not a need: without the accessibility services nothing is said.
void annotate(HWND window, MSAAPROPID property, std::string_view text) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&services)))) {
    return;
  }
  services->SetHwndPropStr(window, OBJID_CLIENT, CHILDID_SELF, property, widen(text).c_str());
  services->Release();
}

// The width that a caption takes in the form's font.
int text_width(HWND window, HFONT font, std::string_view utf8) {
  const std::wstring text = widen(utf8);
  const HDC context = GetDC(window);
  const HGDIOBJ previous = SelectObject(context, font);
  SIZE size{};
  GetTextExtentPoint32W(context, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(context, previous);
  ReleaseDC(window, context);
  return size.cx;
}

// The font the forms were laid out in, 8 points: 11 pixels at 96 dpi.
HFONT make_form_font(int dpi) {
  return CreateFontW(-MulDiv(11, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}

}  // namespace

Form::Form(const formkit::Form& form, messaging::MessageSink* messages)
    : messages_(messages ? *messages : message_boxes_), form_(&form) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  static const ATOM registered = [instance] {
    // The common controls' window classes, the tooltip's among them.
    INITCOMMONCONTROLSEX common{sizeof common, ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSEXW form_class{};
    form_class.cbSize = sizeof form_class;
    form_class.lpfnWndProc = window_procedure;
    form_class.hInstance = instance;
    form_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    form_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form_class.lpszClassName = k_class_name;
    return RegisterClassExW(&form_class);
  }();
  if (!registered) throw_last_error("RegisterClassExW");

  const DWORD style = WS_CLIPCHILDREN |
                      (form.resizable ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  const std::wstring caption = widen(form.caption);
  if (!CreateWindowExW(0, k_class_name, caption.c_str(), style, form.left, form.top, form.width, form.height,
                       nullptr, nullptr, instance, this)) {
    throw_last_error("CreateWindowExW");
  }
  // Sized for its screen once it is on one.
  dpi_ = static_cast<int>(GetDpiForWindow(window_));
  RECT outer{0, 0, scaled(form.width), scaled(form.height)};
  if (!form.resizable) {
    outer = {0, 0, scaled(form.client_width), scaled(form.client_height)};
    AdjustWindowRectExForDpi(&outer, style, FALSE, 0, static_cast<UINT>(dpi_));
  }
  // Wholly in the work area of the screen it opens on: moved in, and a
  // resizable form shrunk, where it would not fit there.
  formkit::Rect placed{form.left, form.top, outer.right - outer.left, outer.bottom - outer.top};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    placed = formkit::place_on_screen(placed, {work.left, work.top, work.right - work.left, work.bottom - work.top},
                                      form.resizable, scaled(form.min_width), scaled(form.min_height));
  }
  SetWindowPos(window_, nullptr, placed.left, placed.top, placed.width, placed.height, SWP_NOZORDER | SWP_NOACTIVATE);
  font_ = make_form_font(dpi_);
  message_boxes_.set_owner(window_);
  try {
    create_controls(form);
  } catch (...) {
    release();
    throw;
  }
  lay_out();
}

Form::~Form() { release(); }

void Form::release() {
  if (window_) DestroyWindow(window_);
  for (const Control& control : controls_) {
    if (control.brush) DeleteObject(control.brush);
  }
  controls_.clear();
  if (font_) DeleteObject(font_);
  font_ = nullptr;
}

void Form::create_controls(const formkit::Form& form) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Windows moves the focus in the order the controls were made: the tab
  // order first, then those that take no focus; and a label goes just
  // before the control it names, where screen readers look for its name.
  const auto named = [&](std::size_t i) {
    const std::string_view target = form.components[i].label_for;
    if (target.empty()) return i;
    for (std::size_t j = 0; j < form.components.size(); ++j) {
      if (form.components[j].name == target) return j;
    }
    return i;
  };
  const auto place = [&](std::size_t i) {
    const Component& component = form.components[named(i)];
    return std::pair(component.tab < 0 ? INT_MAX : component.tab, named(i) == i);
  };
  std::vector<std::size_t> order(form.components.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return place(a) < place(b); });

  controls_.resize(form.components.size());
  for (const std::size_t i : order) {
    const Component& control = form.components[i];
    const Creation how = creation_of(control);
    const auto style = static_cast<DWORD>(WS_CHILD | (control.visible ? WS_VISIBLE : 0) | how.style |
                                          (control.tab >= 0 ? WS_TABSTOP : 0) | (control.enabled ? 0 : WS_DISABLED));
    const std::wstring text = widen(control.text);
    const HWND window = CreateWindowExW(static_cast<DWORD>(how.ex_style), how.window_class, text.c_str(), style, 0, 0,
                                        0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(k_first_id + i)),
                                        instance, nullptr);
    if (!window) throw_last_error("CreateWindowExW");
    controls_[i].component = &control;
    controls_[i].window = window;

    switch (control.kind) {
      case Kind::scroll_bar: {
        SCROLLINFO range{sizeof range, SIF_RANGE | SIF_POS | SIF_PAGE, 0, control.max, 0, 0, 0};
        SetScrollInfo(window, SB_CTL, &range, FALSE);
        break;
      }
      case Kind::memo:
      case Kind::edit:
        // As much text as memory holds, not the default 32 K characters.
        SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
        break;
      case Kind::check_box:
        SendMessageW(window, BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case Kind::list_box:
        for (const std::string_view item : control.items) {
          SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
        }
        break;
      default:
        break;
    }
    if (control.background) set_background(window, static_cast<COLORREF>(*control.background));
    if (!control.accessible_name.empty()) annotate(window, PROPID_ACC_NAME, control.accessible_name);
    if (!control.description.empty()) describe(window, control.description);
  }
  const auto first = std::find_if(order.begin(), order.end(), [&](std::size_t i) { return form.components[i].tab >= 0; });
  if (first != order.end()) {
    focus_ = controls_[*first].window;
    SetFocus(focus_);
  }
}

void Form::lay_out() {
  RECT client;
  GetClientRect(window_, &client);
  for (const Control& control : controls_) {
    const Component& component = *control.component;
    const formkit::Rect at = formkit::control_rect(*form_, component, client.right, client.bottom, dpi_);
    SetWindowPos(control.window, nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    if (component.item_height > 0) SendMessageW(control.window, LB_SETITEMHEIGHT, 0, scaled(component.item_height));
    fit_caption(control);
  }
}

void Form::change_dpi(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  const HFONT previous = font_;
  font_ = make_form_font(dpi_);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  lay_out();
  if (previous) DeleteObject(previous);
}

// A label is as wide as its caption, and a check box widens to hold its own:
// where the font is not the one the form was laid out in, no caption is cut.
void Form::fit_caption(const Control& control) {
  const Component& component = *control.component;
  int wanted = 0;
  if (component.kind == Kind::label) wanted = text_width(control.window, font_, component.text);
  if (component.kind == Kind::check_box)
    wanted = text_width(control.window, font_, component.text) + scaled(k_check_mark_width);
  if (wanted > scaled(component.width))
    SetWindowPos(control.window, nullptr, 0, 0, wanted, scaled(component.height), SWP_NOMOVE | SWP_NOZORDER);
}

Form::Control& Form::named(std::string_view name) {
  for (Control& control : controls_) {
    if (control.component->name == name) return control;
  }
  throw std::out_of_range("no control of that name on the form");
}

HWND Form::control(std::string_view name) const { return const_cast<Form*>(this)->named(name).window; }

void Form::bind(std::string_view name, Handler on_event) { named(name).on_event = on_event; }

void Form::describe(HWND window, std::string_view utf8) {
  Control* control = find(window);
  if (!control || control->description == utf8) return;
  control->description = utf8;
  annotate(window, PROPID_ACC_DESCRIPTION, utf8);
  NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

Form::Control* Form::find(HWND window) {
  for (Control& control : controls_) {
    if (control.window == window) return &control;
  }
  return nullptr;
}

void Form::set_background(HWND window, COLORREF colour) {
  Control* control = find(window);
  if (!control) return;
  const HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) throw_last_error("CreateSolidBrush");
  if (control->brush) DeleteObject(control->brush);
  control->brush = brush;
  control->colour = colour;
  // Shown at once, not at the next time Windows happens to paint it.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

}  // namespace win32kit
