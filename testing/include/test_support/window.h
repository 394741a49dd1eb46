#pragma once

// A window that a kit built, shown, driven and read as a user would, the same
// whichever kit built it, so that one test serves both. Each kit's test
// support defines it, over its own form, KitForm, before including this.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "formkit/form.h"
#include "messaging/message_sink.h"

namespace test_support {

enum class Key { tab, shift_tab, enter, keypad_enter, escape, right, down, left, up, page_down, page_up, home, end };

class Window {
 public:
  explicit Window(KitForm& form);
  // An edit's text, a caption, a pane's lines each ended by a newline but the last.
  [[nodiscard]] std::string text(std::string_view name) const;
  [[nodiscard]] bool has_focus(std::string_view name) const;
  // Whether the user may resize the window.
  [[nodiscard]] bool resizable() const;
  void type(std::string_view name, std::string_view utf8);
  void click(std::string_view name);
  // To the control with the focus.
  void press(Key key);

 private:
  KitForm& form_;
};

// The kit's form built from a description, on_event run at each click of a
// button and each change of a slider.
[[nodiscard]] std::unique_ptr<KitForm> make_form(const formkit::Form& description, std::function<void()> on_event,
                                                 messaging::MessageSink* messages = nullptr);

}  // namespace test_support
