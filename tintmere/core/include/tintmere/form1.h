#pragma once

#include <array>

#include "formkit/form.h"
#include "tintmere/water_entries.h"

namespace tintmere {

namespace form1 {

using formkit::Component;
using formkit::Kind;

// A channel slider: 0 to 255, Page Up and Page Down move by 16, the value
// shown as the slider moves. Screen readers call it by its channel's name,
// without the label's colon.
constexpr Component slider(std::string_view name, std::string_view channel, int top, int tab) {
  return {.name = name, .kind = Kind::scroll_bar, .left = 64, .top = top, .width = 257, .height = 15,
          .accessible_name = channel, .tab = tab, .max = 255, .page = 16, .shows_value = true};
}

// clang-format off
// ListBox1 lies below the client area, hidden: it is never seen nor focused,
// and only holds the water entries.
inline constexpr std::array k_components = {
    slider("ScrollBar1", "Rouge", 8, 0),
    Component{.name = "Label1", .left = 8, .top = 8, .width = 38, .height = 13, .text = "Rouge :",
              .label_for = "ScrollBar1"},
    Component{.name = "Label2", .left = 8, .top = 24, .width = 25, .height = 13, .text = "Vert :",
              .label_for = "ScrollBar2"},
    Component{.name = "Label3", .left = 8, .top = 40, .width = 27, .height = 13, .text = "Bleu :",
              .label_for = "ScrollBar3"},
    slider("ScrollBar2", "Vert", 24, 1),
    slider("ScrollBar3", "Bleu", 40, 2),
    Component{.name = "Edit1", .kind = Kind::edit, .left = 8, .top = 64, .width = 313, .height = 21,
              .accessible_name = "Aperçu de la couleur", .description = "Rouge 0, vert 0, bleu 0", .tab = 3, .enabled = false, .read_only = true,
              .background = 0x000000},
    Component{.name = "Button1", .kind = Kind::button, .left = 0, .top = 88, .width = 289, .height = 22,
              .text = "Sauvegarder", .tab = 4},
    Component{.name = "ListBox1", .kind = Kind::list_box, .left = 8, .top = 120, .width = 313, .height = 57, .tab = 5,
              .visible = false, .items = k_water_entries, .item_height = 13},
    Component{.name = "Button2", .kind = Kind::button, .left = 296, .top = 88, .width = 23, .height = 22, .text = "?",
              .accessible_name = "Crédits", .description = "Affiche les crédits du programme", .tab = 6},
};
// clang-format on

}  // namespace form1

// The colour editor's window: a fixed frame around a 329 by 118 client area.
inline constexpr formkit::Form k_form1 = {.caption = "Tintmere V1.04", .left = 288, .top = 143, .client_width = 329,
                                          .client_height = 118, .components = form1::k_components};

}  // namespace tintmere
