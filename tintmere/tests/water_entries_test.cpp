#include "tintmere/water_entries.h"

#include <gtest/gtest.h>

namespace {

TEST(WaterEntries, AreMatchedWholeIgnoringAsciiCase) {
  EXPECT_TRUE(tintmere::is_water_entry("FE.PS2Water"));
  EXPECT_TRUE(tintmere::is_water_entry("Water.WILDWEST.NIGHT"));
  EXPECT_TRUE(tintmere::is_water_entry("water.camelot.day"));
  for (const char* other : {"Water.CAMELOT", "Water.CAMELOT.DAY ", "", "W\xC3\xA0ter.CAMELOT.DAY"}) {
    EXPECT_FALSE(tintmere::is_water_entry(other)) << other;
  }
}

}  // namespace
