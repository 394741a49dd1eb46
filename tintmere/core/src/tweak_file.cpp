#include "tintmere/tweak_file.h"

#include "linescan/byte_stream.h"
#include "linescan/file.h"
#include "linescan/piece_reader.h"
#include "linescan/text_writer.h"
#include "tintmere/file_replacement.h"
#include "tintmere/recolour.h"

namespace tintmere {

void generate_tweak_file(int red, int green, int blue, linescan::MessageSink& messages,
                         const std::filesystem::path& folder) {
  // The template is opened first, so that a missing one leaves Tweak.xml alone.
  std::error_code error;
  linescan::File template_file = linescan::open_regular_file(folder / k_template_name, error);
  if (error) {
    messages.show_message(k_template_missing);
    return;
  }
  std::optional<FileReplacement> output = FileReplacement::begin(folder / k_output_name);
  if (!output) {
    messages.show_message(k_output_unwritable);
    return;
  }

  linescan::FileSource source(template_file);
  linescan::PieceReader pieces(source);
  linescan::FileSink sink(output->file());
  linescan::TextWriter writer(sink);
  const RecolourResult result = recolour_template(pieces, writer, Colour{red, green, blue});
  if (result == RecolourResult::read_failed) {
    messages.show_message(k_template_unreadable);
    return;
  }
  if (result == RecolourResult::write_failed || !writer.flush() || !output->commit()) {
    messages.show_message(k_output_unwritable);
  }
}

}  // namespace tintmere
