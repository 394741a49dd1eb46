#include "tform1.h"

#include "tintmere/colour.h"
#include "tintmere/credits.h"
#include "tintmere/form1.h"
#include "tintmere/tweak_file.h"

namespace tintmere {

using win32kit::handler;

TForm1::TForm1(messaging::MessageSink* messages) : Form(k_form1, messages) {
  bind("ScrollBar1", handler(&TForm1::ScrollBar1Change));
  bind("ScrollBar2", handler(&TForm1::ScrollBar2Change));
  bind("ScrollBar3", handler(&TForm1::ScrollBar3Change));
  bind("Button1", handler(&TForm1::Button1Click));
  bind("Button2", handler(&TForm1::Button2Click));
}

void TForm1::ScrollBar1Change() { show_preview(); }
void TForm1::ScrollBar2Change() { show_preview(); }
void TForm1::ScrollBar3Change() { show_preview(); }

Colour TForm1::colour() const {
  const auto position = [&](std::string_view bar) { return GetScrollPos(control(bar), SB_CTL); };
  return slider_colour(position("ScrollBar1"), position("ScrollBar2"), position("ScrollBar3"));
}

// The preview colour is Windows's own colour value: red in the low byte.
void TForm1::show_preview() {
  set_background(control("Edit1"), preview_colour(colour()));
  describe(control("Edit1"), colour_description(colour()));
}

void TForm1::Button1Click() { generate_tweak_file(colour(), messages()); }

void TForm1::Button2Click() { messages().show_message(k_credits); }

}  // namespace tintmere
