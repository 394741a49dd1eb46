#pragma once

#include <filesystem>
#include <string_view>

#include "messaging/message_sink.h"
#include "tintmere/colour.h"

namespace tintmere {

inline constexpr std::string_view k_template_name = "twkdefaut.xml";
inline constexpr std::string_view k_output_name = "Tweak.xml";

inline constexpr std::string_view k_template_missing = "Impossible de trouver le fichier";
inline constexpr std::string_view k_template_unreadable = "Impossible de lire le fichier twkdefaut.xml";
inline constexpr std::string_view k_output_unwritable = "Impossible d'écrire le fichier Tweak.xml";

// Writes Tweak.xml from the template twkdefaut.xml, both in `folder`, with the
// colour pieces of every listed water entry set to the colour. On any
// failure one message says what went wrong and an existing Tweak.xml is left
// as it was; success shows nothing.
void generate_tweak_file(Colour colour, messaging::MessageSink& messages, const std::filesystem::path& folder = ".");

}  // namespace tintmere
