#include "tintmere/tweak_file.h"

#include "linescan/byte_stream.h"
#include "linescan/file.h"
#include "savefile/file_replacement.h"
#include "linescan/piece_reader.h"
#include "linescan/text_writer.h"
#include "tintmere/recolour.h"

namespace tintmere {

namespace {

// What a save comes to, and so which message, if any, it shows.
std::string save(Colour colour, const std::filesystem::path& folder) {
  // The template is opened first, so that a missing one leaves Tweak.xml alone.
  std::error_code error;
  linescan::File template_file = linescan::open_regular_file(folder / k_template_name, error);
  if (error) return std::string(linescan::is_missing(error) ? k_template_missing : k_template_unreadable);
  // A Tweak.xml that is the template itself, through a link, would take the
  // template's place: the user's template would be gone.
  if (template_file.is_same_file(folder / k_output_name)) return std::string(k_output_unwritable);
  std::optional<savefile::FileReplacement> output = savefile::FileReplacement::begin(folder / k_output_name);
  if (!output) return std::string(k_output_unwritable);

  linescan::FileSource source(template_file);
  linescan::PieceReader pieces(source);
  linescan::TextWriter writer(output->sink());
  const RecolourResult result = recolour_template(pieces, writer, colour);
  if (result == RecolourResult::read_failed) return std::string(k_template_unreadable);
  if (result == RecolourResult::write_failed || !writer.flush()) return std::string(k_output_unwritable);
  const savefile::Outcome outcome = output->commit();
  switch (outcome.kind) {
    case savefile::Outcome::Kind::saved: return {};
    case savefile::Outcome::Kind::unchanged: return std::string(k_output_unwritable);
    case savefile::Outcome::Kind::rescued: return std::string(k_output_rescued);
    case savefile::Outcome::Kind::cut_short: break;
  }
  return cut_short_message(outcome.whole_copy);
}

}  // namespace

void generate_tweak_file(Colour colour, messaging::MessageSink& messages, const std::filesystem::path& folder) {
  // The message comes once the save's files are closed and its temporary
  // file is gone: on a full disk, it holds no space while the message is up.
  const std::string message = save(colour, folder);
  if (!message.empty()) messages.show_message(message);
}

}  // namespace tintmere
