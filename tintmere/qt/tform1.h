#pragma once

#include "qtkit/form.h"
#include "tintmere/colour.h"

namespace tintmere {

// The colour editor: three sliders set the colour shown in the preview box,
// "Sauvegarder" writes Tweak.xml in the current folder, "?" shows the credits.
class TForm1 : public qtkit::Form {
  Q_OBJECT

 public:
  // Messages go to `messages` when given, to message boxes otherwise.
  explicit TForm1(messaging::MessageSink* messages = nullptr, QWidget* parent = nullptr);

 public slots:
  void ScrollBar1Change();
  void ScrollBar2Change();
  void ScrollBar3Change();
  void Button1Click();
  void Button2Click();

 private:
  [[nodiscard]] Colour colour() const;
  void show_preview();
};

}  // namespace tintmere
