#include "test_support/scripted_io.h"

#include <algorithm>

#include "linescan/piece_reader.h"

namespace test_support {

ScriptedSource::ScriptedSource(std::string_view bytes, std::size_t chunk, std::optional<std::size_t> fail_after)
    : bytes_(bytes), chunk_(std::max<std::size_t>(chunk, 1)),
      limit_(std::min(fail_after.value_or(bytes_.size()), bytes_.size())), fails_(fail_after.has_value()) {}

std::ptrdiff_t ScriptedSource::read_some(std::span<char> buffer) {
  const std::size_t count = std::min({buffer.size(), chunk_, limit_ - offset_});
  if (count == 0) return fails_ ? -1 : 0;
  std::copy_n(bytes_.data() + offset_, count, buffer.data());
  offset_ += count;
  return static_cast<std::ptrdiff_t>(count);
}

std::ptrdiff_t ScriptedSink::write_some(std::span<const char> bytes) {
  const std::size_t room = fail_after_ ? *fail_after_ - std::min(*fail_after_, taken_) : bytes.size();
  const std::size_t count = std::min({bytes.size(), chunk_, room});
  if (count == 0) return -1;
  if (keep_ == Keep::all) written.append(bytes.data(), count);
  taken_ += count;
  return static_cast<std::ptrdiff_t>(count);
}

std::vector<std::string> pieces_of(std::string_view bytes, std::size_t block_size, std::size_t chunk) {
  ScriptedSource source(bytes, chunk);
  linescan::PieceReader reader(source, block_size);
  std::vector<std::string> pieces;
  for (linescan::Piece piece; linescan::read_piece(reader, piece);) pieces.emplace_back(piece);
  return pieces;
}

}  // namespace test_support
