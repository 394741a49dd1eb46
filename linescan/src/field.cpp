#include "linescan/field.h"

#include <algorithm>

namespace linescan {

void extract_field(std::string_view piece, Field& field, char open, char close) {
  const std::size_t start = piece.starts_with('\n') ? std::string_view::npos : piece.find(open);
  if (start == std::string_view::npos) {
    field.clear();
    return;
  }
  std::string_view rest = piece.substr(start + 1);
  rest = rest.substr(0, std::min(rest.find(close), Field::capacity));
  field.assign(rest);
}

}  // namespace linescan
