// What the Win32 kit does beyond what both kits do (formkit's tests).
#include <gtest/gtest.h>

#include <stdexcept>

#include "tagsieve/form1.h"
#include "test_support/recording.h"
#include "tintmere/form1.h"
#include "window.h"
#include "win32kit/program.h"
#include "win32kit/text.h"

namespace {

using test_support::place;

// Each form's window, outer or client size as described; each label at
// least as wide as its caption and just before the control it names, where
// screen readers look. Moved to a screen of 144 dpi, the form lays itself out
// anew at one and a half times the description's pixels, its font too; an
// anchored control keeps its distances to the sides, and a resizable window
// stops at its smallest size, scaled the same.
TEST(Win32Form, IsSizedAndScaledAsDescribed) {
  for (const formkit::Form* description : {&tintmere::k_form1, &tagsieve::k_form1}) {
    const auto form = test_support::make_form(*description, [] {});
    RECT outer;
    RECT client;
    GetWindowRect(form->handle(), &outer);
    GetClientRect(form->handle(), &client);
    EXPECT_EQ(description->resizable ? std::pair(outer.right - outer.left, outer.bottom - outer.top) : std::pair(client.right, client.bottom),
              std::pair(LONG{description->resizable ? description->width : description->client_width},
                        LONG{description->resizable ? description->height : description->client_height}));
    for (const formkit::Component& component : description->components) {
      if (component.label_for.empty()) continue;
      const HWND label = form->control(component.name);
      EXPECT_EQ(GetWindow(form->control(component.label_for), GW_HWNDPREV), label);
      SIZE caption{};
      const HDC context = GetDC(label);
      SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
      const std::wstring text = win32kit::widen(component.text);
      GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &caption);
      ReleaseDC(label, context);
      EXPECT_GE(place(*form, component.name).right - component.left, caption.cx) << component.name;
    }
    RECT suggested{0, 0, 900, 800};
    SendMessageW(form->handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetClientRect(form->handle(), &client);
    for (const formkit::Component& component : description->components) {
      const RECT at = place(*form, component.name);
      EXPECT_EQ(std::pair(at.left, at.top), std::pair(LONG{MulDiv(component.left, 3, 2)}, LONG{MulDiv(component.top, 3, 2)}));
      if (!component.anchored) continue;
      EXPECT_EQ(std::pair(client.right - at.right, client.bottom - at.bottom),
                std::pair(LONG{MulDiv(description->client_width - component.left - component.width, 3, 2)},
                          LONG{MulDiv(description->client_height - component.top - component.height, 3, 2)}));
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->control("Label1"), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -17);
    if (!description->resizable) continue;
    SetWindowPos(form->handle(), nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(form->handle(), &outer);
    EXPECT_EQ(std::pair(outer.right - outer.left, outer.bottom - outer.top),
              std::pair(LONG{MulDiv(description->min_width, 3, 2)}, LONG{MulDiv(description->min_height, 3, 2)}));
  }
}

// What the message says of each kind of exception is the messaging library's;
// here, that it reaches the user, from a handler (the loop then ends) or from
// the building of the window (the exit code is 0).
TEST(Win32Form, AnExceptionIsShownAndEndsTheLoop) {
  test_support::RecordingMessages messages;
  const auto form = test_support::make_form(tagsieve::k_form1, [] { throw std::runtime_error("en panne"); }, &messages);
  PostMessageW(form->control("Button1"), BM_CLICK, 0, 0);
  win32kit::run_message_loop(*form);  // returns only once the loop is ended
  const int code = win32kit::run_window([]() -> std::unique_ptr<win32kit::Form> { throw std::runtime_error("pas de fenêtre"); }, &messages);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"Erreur inattendue : en panne", "Erreur inattendue : pas de fenêtre"}));
}

}  // namespace
