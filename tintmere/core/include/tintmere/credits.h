#pragma once

#include <string_view>

namespace tintmere {

// What "?" shows: the program and who made it, on two lines.
inline constexpr std::string_view k_credits = "Tintmere V1.04\nProgrammé par Orvane sur une idée de Belsquith";

}  // namespace tintmere
