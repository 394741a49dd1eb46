#include <gtest/gtest.h>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "tform1.h"
#include "tintmere/credits.h"
#include "window.h"

namespace {

// What the window adds to the core: the sliders' colour in the preview, in
// what a screen reader says of it, and in the save, which writes in the
// current folder, and the credits on "?".
TEST(ColourWindow, TheSlidersColourThePreviewAndTheSave) {
  test_support::RecordingMessages messages;
  tintmere::TForm1 form(&messages);
  test_support::Window window(form);
  EXPECT_EQ(window.background("Edit1"), 0x000000u);
  const std::tuple<const char*, int, std::uint32_t, const char*> moves[] = {
      {"ScrollBar1", 255, 0x0000FF, "Rouge 255, vert 0, bleu 0"},
      {"ScrollBar2", 16, 0x0010FF, "Rouge 255, vert 16, bleu 0"},
      {"ScrollBar3", 0x56, 0x5610FF, "Rouge 255, vert 16, bleu 86"}};
  for (const auto& [bar, position, preview, said] : moves) {
    window.slide(bar, position);
    EXPECT_EQ(std::pair(window.background("Edit1"), window.description("Edit1")), std::pair(preview, std::string(said)));
  }
  test_support::TempDir dir;
  test_support::write_file(dir / "twkdefaut.xml", "<WaterPlaneTweaks name='FE.Water'>\n<Sea a='9'/>\n");
  const auto started_in = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  window.click("Button1");
  std::filesystem::current_path(started_in);
  EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"), "<WaterPlaneTweaks name='FE.Water'>\r\n      <Sea r='255' g='16' b='86' a='9'/>\r\n");
  window.click("Button2");
  EXPECT_EQ(messages.shown, std::vector<std::string>{std::string(tintmere::k_credits)});
}

}  // namespace
