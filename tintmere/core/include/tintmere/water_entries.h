#pragma once

#include <array>
#include <string_view>

namespace tintmere {

// The water entries whose colours a save rewrites, in the order the window
// lists them.
inline constexpr std::array<std::string_view, 17> k_water_entries = {
    "FE.PS2Water",
    "FE.Water",
    "Water.ARABIAN.DAY",
    "Water.ARABIAN.EVENING",
    "Water.ARABIAN.NIGHT",
    "Water.BUILDING.DAY",
    "Water.BUILDING.EVENING",
    "Water.BUILDING.NIGHT",
    "Water.CAMELOT.DAY",
    "Water.CAMELOT.EVENING",
    "Water.CAMELOT.NIGHT",
    "Water.PREHISTORIC.DAY",
    "Water.PREHISTORIC.EVENING",
    "Water.PREHISTORIC.NIGHT",
    "Water.WILDWEST.DAY",
    "Water.WILDWEST.EVENING",
    "Water.WILDWEST.NIGHT",
};

// Whether name is one of k_water_entries, ignoring ASCII letter case.
[[nodiscard]] bool is_water_entry(std::string_view name);

}  // namespace tintmere
