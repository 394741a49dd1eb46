#pragma once

#include "tintmere/colour.h"
#include "win32kit/form.h"

namespace tintmere {

// The colour editor on Windows: three sliders set the colour shown in the
// preview box, "Sauvegarder" writes Tweak.xml in the current folder, "?" shows
// the credits.
class TForm1 : public win32kit::Form {
 public:
  // Messages go to `messages` when given, to message boxes otherwise.
  explicit TForm1(messaging::MessageSink* messages = nullptr);

  void ScrollBar1Change();
  void ScrollBar2Change();
  void ScrollBar3Change();
  void Button1Click();
  void Button2Click();

 private:
  void show_preview();
  [[nodiscard]] Colour colour() const;
};

}  // namespace tintmere
