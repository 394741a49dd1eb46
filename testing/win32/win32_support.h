#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "win32kit/form.h"

// The forms are driven hidden: they get the same messages, and no window
// is mapped and unmapped on the display for each test.
namespace test_support {

// Delivers what waits in this thread's queue as the program's loop does,
// dialog keys first.
void pump(win32kit::Form& form);

// Presses and releases a key on the control that has the focus, Shift held
// down when asked.
void press(win32kit::Form& form, UINT key, bool shift = false);

// Moves a scroll bar's thumb to position, as a drag ending there does.
void drag_thumb(win32kit::Form& form, std::wstring_view bar, int position);

// The colour that the form gives a control's background.
[[nodiscard]] COLORREF background(win32kit::Form& form, std::wstring_view name);

// A control's place within the form's client area.
[[nodiscard]] RECT place(win32kit::Form& form, std::wstring_view name);

// Whether the control of that name has the focus.
[[nodiscard]] bool has_focus(win32kit::Form& form, std::wstring_view name);

// The text of the tooltip in which a form shows a scroll bar's value; empty
// before it has shown one.
[[nodiscard]] std::string value_tip();

// A window's text as UTF-8, which the tests' expectations are written in.
[[nodiscard]] std::string text_of(HWND window);

// Checks the texts of a program's version resource, which Explorer's
// Properties and Task Manager show: the program's name and description, the
// version, the product's and its makers' names.
void expect_version(const std::filesystem::path& program, const std::string& name, const std::string& description,
                    const std::string& version);

// Checks, field by field, that a form's table describes the form that the Qt
// Designer file ui_file describes: caption, client size and sizing, and for
// every control its name, kind, geometry, text, tab place, range, page step,
// visibility, state, background, the control a label names, accessible
// name and description, and default button. The two must never drift apart.
void expect_table_matches_ui(const win32kit::FormTable& table, const std::filesystem::path& ui_file);

}  // namespace test_support
