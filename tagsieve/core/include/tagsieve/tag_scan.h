#pragma once

#include <filesystem>
#include <string_view>

#include "messaging/message_sink.h"
#include "linescan/piece_reader.h"
#include "tagsieve/line_list.h"

namespace tagsieve {

inline constexpr std::string_view k_file_missing = "Impossible de trouver le fichier";
inline constexpr std::string_view k_file_unreadable = "Impossible de lire le fichier";

// Empties pane, then fills it with the values that the element `tag` takes on
// the one-line elements of the file at `path`, read as typed_path() reads a
// typed path (tagsieve/typed_path.h), in file order: for every piece
// whose text between its first '<' and the next '>' is exactly the tag, the
// text after that '>' up to the next '<', without its newline. The tag is
// typed text, UTF-8: it matches the element's name whether the file spells it
// in UTF-8 or in Windows-1252, the game's code page. Empty values are left
// out, and with suppress_repeats so is a value already listed. A path that
// names no regular file is reported as missing; a file that is there but may
// not be opened, or whose reading fails, as unreadable; on a read error the
// values found before it stay listed. A scan that memory cannot hold, in the
// scan or in the pane, leaves the pane empty and says so.
void scan_tag_values(const std::filesystem::path& path, std::string_view tag, bool suppress_repeats, LineList& pane,
                     messaging::MessageSink& messages);

// The same scan over pieces already open, appending to pane.
void scan_pieces(linescan::PieceReader& reader, std::string_view tag, bool suppress_repeats, LineList& pane,
                 messaging::MessageSink& messages);

}  // namespace tagsieve
