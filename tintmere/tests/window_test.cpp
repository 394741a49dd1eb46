#include <gtest/gtest.h>

#include "test_support/files.h"
#include "tform1.h"
#include "window.h"

namespace {

// What the window adds to the core: the keys move the sliders, which the
// focus starts on, and the save, which writes in the current folder, takes
// their colour; Enter clicks nothing, and the window keeps its size.
TEST(ColourWindow, TheSlidersKeysColourTheSave) {
  using test_support::Key;
  tintmere::TForm1 form;
  test_support::Window window(form);
  for (const Key key : {Key::end, Key::tab, Key::page_down, Key::tab, Key::right}) window.press(key);
  test_support::TempDir dir;
  test_support::write_file(dir / "twkdefaut.xml", "<WaterPlaneTweaks name='FE.Water'>\n<Sea a='9'/>\n");
  const auto started_in = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  window.press(Key::enter);
  EXPECT_FALSE(window.resizable() || std::filesystem::exists(dir / "Tweak.xml"));
  window.click("Button1");
  std::filesystem::current_path(started_in);
  EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"), "<WaterPlaneTweaks name='FE.Water'>\r\n      <Sea r='255' g='16' b='1' a='9'/>\r\n");
}

}  // namespace
