#pragma once

#include "win32kit/form.h"

namespace test_support {
using KitForm = win32kit::Form;
}  // namespace test_support

#include "test_support/window.h"

namespace test_support {

// Delivers what waits in this thread's queue as the program's loop does,
// dialog keys first.
void pump(win32kit::Form& form);

// A control's place within the form's client area.
[[nodiscard]] RECT place(win32kit::Form& form, std::string_view name);

}  // namespace test_support
