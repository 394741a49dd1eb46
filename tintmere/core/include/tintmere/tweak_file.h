#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "messaging/message_sink.h"
#include "tintmere/colour.h"

namespace tintmere {

inline constexpr std::string_view k_template_name = "twkdefaut.xml";
inline constexpr std::string_view k_output_name = "Tweak.xml";

inline constexpr std::string_view k_template_missing = "Impossible de trouver le fichier";
inline constexpr std::string_view k_template_unreadable = "Impossible de lire le fichier twkdefaut.xml";
inline constexpr std::string_view k_output_unwritable = "Impossible d'écrire le fichier Tweak.xml";
// Where a write over a Tweak.xml of several names failed midway.
inline constexpr std::string_view k_output_rescued =
    "Tweak.xml n'a pu être écrit qu'en partie : Tweak.xml contient le nouveau fichier en entier, mais ses autres "
    "noms (liens) n'en ont reçu qu'une partie ; copiez Tweak.xml sur eux.";
// Where even Tweak.xml's own name could not take the whole new content.
[[nodiscard]] inline std::string cut_short_message(const std::filesystem::path& whole_copy) {
  return "Tweak.xml n'a pu être écrit qu'en partie et n'en contient qu'une partie : le nouveau fichier en entier est "
         "dans " + messaging::quoted(whole_copy) + " ; copiez-le sur Tweak.xml.";
}

// Writes Tweak.xml from the template twkdefaut.xml, both in `folder`, with the
// colour pieces of every listed water entry set to the colour. On any
// failure one message says what went wrong and an existing Tweak.xml is left
// as it was; success shows nothing.
void generate_tweak_file(Colour colour, messaging::MessageSink& messages, const std::filesystem::path& folder = ".");

}  // namespace tintmere
