#include "tintmere/tweak_file.h"

#include "linescan/piece_reader.h"
#include "linescan/regular_file.h"
#include "linescan/text_writer.h"
#include "tintmere/file_replacement.h"
#include "tintmere/recolour.h"

namespace tintmere {

void generate_tweak_file(int red, int green, int blue, linescan::MessageSink& messages,
                         const std::filesystem::path& folder) {
  // The template is opened first, so that a missing one leaves Tweak.xml alone.
  const linescan::UniqueFd template_fd = linescan::open_regular_file(folder / k_template_name);
  if (!template_fd) {
    messages.show_message(k_template_missing);
    return;
  }
  std::optional<FileReplacement> output = FileReplacement::begin(folder / k_output_name);
  if (!output) {
    messages.show_message(k_output_unwritable);
    return;
  }

  linescan::FdSource source(template_fd.get());
  linescan::PieceReader template_file(source);
  linescan::FdSink sink(output->fd());
  linescan::TextWriter writer(sink);
  const RecolourResult result = recolour_template(template_file, writer, Colour{red, green, blue});
  if (result == RecolourResult::read_failed) {
    messages.show_message(k_template_unreadable);
    return;
  }
  if (result == RecolourResult::write_failed || !writer.flush() || !output->commit()) {
    messages.show_message(k_output_unwritable);
  }
}

}  // namespace tintmere
