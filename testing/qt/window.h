#pragma once

#include "qtkit/form.h"

namespace test_support {
using KitForm = qtkit::Form;
}  // namespace test_support

#include "test_support/window.h"
