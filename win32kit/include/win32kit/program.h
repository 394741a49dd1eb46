#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "win32kit/form.h"

namespace win32kit {

// Gives the form's controls the dialog keys (Tab and Shift+Tab, Enter for the
// default button, the arrows); true when message was one and is handled.
[[nodiscard]] bool translate_dialog_key(Form& form, MSG& message);

// Delivers messages, dialog keys first, until the loop is ended.
void run_message_loop(Form& form);

// Builds the window that make_form returns, shows it and runs the message
// loop until it is closed; what escapes is shown through failures, or in a
// message box. Always 0, the exit code.
int run_window(const std::function<std::unique_ptr<Form>()>& make_form, messaging::MessageSink* failures = nullptr);

// A program's whole start: its one window, Form.
template <typename Form>
int run_program() {
  return run_window([] { return std::make_unique<Form>(); });
}

}  // namespace win32kit
