#pragma once

#include <windows.h>

#include <filesystem>
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

// The command line's first argument, as a file manager's "Ouvrir avec" or a
// drop on the program gives the file: empty where there is none.
[[nodiscard]] std::filesystem::path first_argument();

// A program's whole start: its one window, Form, given the command line's
// first argument as a file where it takes one (take_file).
template <typename Form>
int run_program(void (Form::*take_file)(const std::filesystem::path&) = nullptr) {
  return run_window([take_file] {
    auto form = std::make_unique<Form>();
    if (const std::filesystem::path file = first_argument(); take_file != nullptr && !file.empty()) ((*form).*take_file)(file);
    return form;
  });
}

}  // namespace win32kit
