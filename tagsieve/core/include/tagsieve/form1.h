#pragma once

#include <array>

#include "formkit/form.h"

namespace tagsieve {

namespace form1 {

using formkit::Component;
using formkit::Kind;

// clang-format off
// Enter in either box, or on the check box, clicks Button1; the pane takes
// Enter as a new line.
inline constexpr std::array k_components = {
    Component{.name = "RichEdit1", .kind = Kind::memo, .left = 0, .top = 48, .width = 619, .height = 457,
              .accessible_name = "Valeurs trouvées", .tab = 0, .anchored = true},
    Component{.name = "Label1", .left = 8, .top = 0, .width = 151, .height = 13,
              .text = "Emplacement et nom du fichier :", .label_for = "Edit1"},
    Component{.name = "Edit1", .kind = Kind::edit, .left = 168, .top = 0, .width = 449, .height = 21,
              .text = "C:\\Program Files\\Ravenholt\\Molegrave\\data\\Tweak\\weaptwk.xml", .tab = 1},
    Component{.name = "Label2", .left = 8, .top = 24, .width = 84, .height = 13, .text = "Nom de la balise :",
              .label_for = "Edit2"},
    Component{.name = "Edit2", .kind = Kind::edit, .left = 168, .top = 24, .width = 137, .height = 21, .tab = 2},
    Component{.name = "CheckBox1", .kind = Kind::check_box, .left = 312, .top = 24, .width = 185, .height = 17,
              .text = "Ne pas réafficher la même valeur", .tab = 3, .checked = true},
    Component{.name = "Button1", .kind = Kind::button, .left = 504, .top = 24, .width = 113, .height = 17,
              .text = "Afficher les valeurs", .tab = 4, .default_button = true},
};
// clang-format on

}  // namespace form1

// The tag viewer's window: the pane keeps its distances to the sides of the 620
// by 505 client area it was laid out in, within a window of 628 by 532 that can
// be made no smaller than 625 by 260.
inline constexpr formkit::Form k_form1 = {
    .caption = "Tagsieve v1.01 alpha", .left = 272, .top = 178, .client_width = 620, .client_height = 505,
    .resizable = true, .width = 628, .height = 532, .min_width = 625, .min_height = 260,
    .components = form1::k_components};

}  // namespace tagsieve
