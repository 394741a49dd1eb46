#pragma once

#include "win32kit/form.h"

namespace test_support {
using KitForm = win32kit::Form;
}  // namespace test_support

#include "test_support/window.h"
