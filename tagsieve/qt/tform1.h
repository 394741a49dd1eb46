#pragma once

#include <filesystem>

#include "pane_lines.h"
#include "qtkit/form.h"
#include "tagsieve/typed_path.h"

namespace tagsieve {

// The tag viewer: a file's path, an element's name and whether repeats are
// shown; "Afficher les valeurs" lists the element's values in the pane, the
// one control that follows the window's size.
class TForm1 : public qtkit::Form {
  Q_OBJECT

 public:
  // Messages go to `messages` when given, to message boxes otherwise.
  explicit TForm1(messaging::MessageSink* messages = nullptr, QWidget* parent = nullptr);

  // A file given on the command line, as a file manager's "Ouvrir avec"
  // gives it, or dropped: in the path box, whatever bytes its name holds.
  void take_file(const std::filesystem::path& file);

 public slots:
  void Button1Click();

 protected:
  // A local file dropped anywhere on the window goes to the path box.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PaneLines pane_;
  GivenPath given_;
};

}  // namespace tagsieve
