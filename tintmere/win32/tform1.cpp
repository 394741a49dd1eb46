#include "tform1.h"

#include <array>

#include "tintmere/colour.h"
#include "tintmere/credits.h"
#include "tintmere/tweak_file.h"
#include "tintmere/water_entries.h"

namespace tintmere {

namespace {

using win32kit::handler;
using win32kit::Kind;

// The channel sliders: 0 to 255, Page Up and Page Down move by 16, the value
// shown as the slider moves.
// clang-format off
constexpr win32kit::Component slider(const wchar_t* name, int top, int tab, void (TForm1::*on_change)()) {
  return {.name = name, .kind = Kind::scroll_bar, .left = 64, .top = top, .width = 257, .height = 15, .tab = tab,
          .on_event = handler(on_change), .max = 255, .page = 16, .shows_value = true};
}
// clang-format on

// ListBox1 lies below the client area, hidden: it is never seen nor focused,
// and only holds the water entries.
// clang-format off
const std::array k_components = {
    slider(L"ScrollBar1", 8, 0, &TForm1::ScrollBar1Change),
    win32kit::Component{.name = L"Label1", .left = 8, .top = 8, .width = 38, .height = 13, .text = L"Rouge :",
                        .label_for = L"ScrollBar1"},
    win32kit::Component{.name = L"Label2", .left = 8, .top = 24, .width = 25, .height = 13, .text = L"Vert :",
                        .label_for = L"ScrollBar2"},
    win32kit::Component{.name = L"Label3", .left = 8, .top = 40, .width = 27, .height = 13, .text = L"Bleu :",
                        .label_for = L"ScrollBar3"},
    slider(L"ScrollBar2", 24, 1, &TForm1::ScrollBar2Change),
    slider(L"ScrollBar3", 40, 2, &TForm1::ScrollBar3Change),
    win32kit::Component{.name = L"Edit1", .kind = Kind::edit, .left = 8, .top = 64, .width = 313, .height = 21,
                        .accessible_name = L"Aperçu de la couleur", .tab = 3, .enabled = false, .read_only = true,
                        .background = RGB(0, 0, 0)},
    win32kit::Component{.name = L"Button1", .kind = Kind::button, .left = 0, .top = 88, .width = 289, .height = 22,
                        .text = L"Sauvegarder", .tab = 4, .on_event = handler(&TForm1::Button1Click)},
    win32kit::Component{.name = L"ListBox1", .kind = Kind::list_box, .left = 8, .top = 120, .width = 313, .height = 57,
                        .tab = 5, .visible = false, .items = k_water_entries, .item_height = 13},
    win32kit::Component{.name = L"Button2", .kind = Kind::button, .left = 296, .top = 88, .width = 23, .height = 22,
                        .text = L"?", .description = L"Affiche les crédits du programme", .tab = 6,
                        .on_event = handler(&TForm1::Button2Click)},
};

const win32kit::FormTable k_form1 = {
    .caption = L"Tintmere V1.04", .left = 288, .top = 143, .client_width = 329, .client_height = 118,
    .components = k_components};
// clang-format on

}  // namespace

TForm1::TForm1(messaging::MessageSink* messages) : Form(k_form1, messages) {}

void TForm1::ScrollBar1Change() { show_preview(); }
void TForm1::ScrollBar2Change() { show_preview(); }
void TForm1::ScrollBar3Change() { show_preview(); }

Colour TForm1::colour() const {
  const auto position = [&](const wchar_t* bar) { return GetScrollPos(control(bar), SB_CTL); };
  return slider_colour(position(L"ScrollBar1"), position(L"ScrollBar2"), position(L"ScrollBar3"));
}

// The preview colour is Windows's own colour value: red in the low byte.
void TForm1::show_preview() { set_background(control(L"Edit1"), preview_colour(colour())); }

void TForm1::Button1Click() { generate_tweak_file(colour(), messages()); }

void TForm1::Button2Click() { messages().show_message(k_credits); }

}  // namespace tintmere
