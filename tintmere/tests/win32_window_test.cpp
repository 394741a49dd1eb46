#include <gtest/gtest.h>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "tintmere/credits.h"
#include "tform1.h"
#include "win32_support.h"

namespace {

using Messages = std::vector<std::string>;
using test_support::has_focus;

class ColourWindow : public testing::Test {
 protected:
  void click(const wchar_t* button) { SendMessageW(form.control(button), BM_CLICK, 0, 0); }

  test_support::RecordingMessages messages;
  tintmere::TForm1 form{&messages};
};

// What the form says (captions, places) is checked against its Designer file
// once, in Form1.TheTableDescribesTheQtForm; this is what the window makes of it.
TEST_F(ColourWindow, StartsBlackOnTheFirstSliderFixedInSizeWithTheEntryListHidden) {
  RECT client;
  GetClientRect(form.handle(), &client);
  EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(LONG{form.table().client_width}, LONG{form.table().client_height}));
  const LONG_PTR style = GetWindowLongPtrW(form.handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), WS_MINIMIZEBOX);
  EXPECT_EQ(test_support::background(form, L"Edit1"), RGB(0, 0, 0));
  EXPECT_TRUE(has_focus(form, L"ScrollBar1"));
  const HWND list = form.control(L"ListBox1");
  EXPECT_FALSE(IsWindowVisible(list));
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 17);
  wchar_t last[32] = {};
  SendMessageW(list, LB_GETTEXT, 16, reinterpret_cast<LPARAM>(last));
  EXPECT_STREQ(last, L"Water.WILDWEST.NIGHT");
}

// The keys are win32kit's, the colour the core's; here, that the sliders
// reach the preview and the save, and the buttons their handlers.
TEST_F(ColourWindow, TheSlidersColourThePreviewAndTheSave) {
  test_support::press(form, VK_END);
  test_support::press(form, VK_TAB);
  test_support::press(form, VK_NEXT);
  test_support::drag_thumb(form, L"ScrollBar3", 0x56);
  EXPECT_EQ(test_support::background(form, L"Edit1"), RGB(255, 16, 0x56));
  for (const wchar_t* next : {L"ScrollBar3", L"Button1", L"Button2", L"ScrollBar1"}) {
    test_support::press(form, VK_TAB);
    EXPECT_TRUE(has_focus(form, next)) << test_support::text_of(form.control(next));
  }
  test_support::TempDir dir;
  const test_support::ScopedCurrentDir in_dir(dir.path());
  test_support::write_file(dir / "twkdefaut.xml", "<WaterPlaneTweaks name='FE.Water'>\n<Sea a='9'/>\n");
  click(L"Button1");
  EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"),
            "<WaterPlaneTweaks name='FE.Water'>\r\n      <Sea r='255' g='16' b='86' a='9'/>\r\n");
  click(L"Button2");
  EXPECT_EQ(messages.shown, Messages{std::string(tintmere::k_credits)});
}

// The Win32 form and the Qt one are described twice, as a table and as a
// Designer file: they must say the same.
TEST(Form1, TheTableDescribesTheQtForm) {
  tintmere::TForm1 form;
  test_support::expect_table_matches_ui(form.table(), UI_FILE);
}

// Explorer's Properties and Task Manager say what the program is.
TEST(Program, SaysWhatItIs) {
  test_support::expect_version(PROGRAM_FILE, "tintmere", "Tintmere : choisit la couleur de l'eau et écrit Tweak.xml", PROJECT_VERSION);
}

}  // namespace
