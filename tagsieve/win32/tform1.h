#pragma once

#include <filesystem>

#include "pane_lines.h"
#include "tagsieve/typed_path.h"
#include "win32kit/form.h"

namespace tagsieve {

// The tag viewer on Windows: a file's path, an element's name and whether
// repeats are shown; "Afficher les valeurs" lists the element's values in the
// pane, the one control that follows the window's size.
class TForm1 : public win32kit::Form {
 public:
  // Messages go to `messages` when given, to message boxes otherwise.
  explicit TForm1(messaging::MessageSink* messages = nullptr);

  // A file given on the command line, as "Ouvrir avec" or a drop on the
  // program gives it, or dropped on the window: in the path box.
  void take_file(const std::filesystem::path& file);

  void Button1Click();

 protected:
  // A file dropped anywhere on the window goes to the path box.
  bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  PaneLines pane_;
  GivenPath given_;
};

}  // namespace tagsieve
