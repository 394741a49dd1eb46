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
  void set(int red, int green, int blue) {
    test_support::drag_thumb(form, L"ScrollBar1", red);
    test_support::drag_thumb(form, L"ScrollBar2", green);
    test_support::drag_thumb(form, L"ScrollBar3", blue);
  }
  void click(const wchar_t* button) { SendMessageW(form.control(button), BM_CLICK, 0, 0); }

  test_support::RecordingMessages messages;
  tintmere::TForm1 form{&messages};
};

// What the form says (captions, places) is checked against its Designer file
// once, in Form1.TheTableDescribesTheQtForm; this is what the window makes of it.
TEST_F(ColourWindow, StartsBlackOnTheFirstSliderFixedInSizeWithTheEntryListHidden) {
  RECT client;
  GetClientRect(form.handle(), &client);
  EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(329L, 118L));
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

TEST_F(ColourWindow, TheSlidersColourThePreviewRedInTheLowByte) {
  const struct {
    int red, green, blue;
    COLORREF shown;
  } cases[] = {
      {0, 0, 255, 0xFF0000},
      {255, 0, 0, 0x0000FF},
      {255, 255, 255, 0xFFFFFF},
      {255, 0x34, 0x56, 0x5634FF},
  };
  for (const auto& c : cases) {
    set(c.red, c.green, c.blue);
    EXPECT_EQ(test_support::background(form, L"Edit1"), c.shown) << c.red << ' ' << c.green << ' ' << c.blue;
  }
  EXPECT_EQ(test_support::value_tip(form), "86");  // the blue slider's, moved last
}

TEST_F(ColourWindow, KeysMoveTheFocusedSliderAndTabGoesThroughTheSlidersAndButtons) {
  test_support::press(form, VK_END);
  test_support::press(form, VK_TAB);
  test_support::press(form, VK_NEXT);
  EXPECT_EQ(test_support::background(form, L"Edit1"), RGB(255, 16, 0));
  for (const wchar_t* next : {L"ScrollBar3", L"Button1", L"Button2", L"ScrollBar1"}) {
    test_support::press(form, VK_TAB);
    EXPECT_TRUE(has_focus(form, next)) << test_support::text_of(form.control(next));
  }
}

TEST_F(ColourWindow, SauvegarderWritesTweakXmlAndQuestionMarkShowsTheCredits) {
  test_support::TempDir dir;
  const test_support::ScopedCurrentDir in_dir(dir.path());
  click(L"Button1");
  EXPECT_EQ(messages.shown, Messages{"Impossible de trouver le fichier"});
  EXPECT_TRUE(test_support::list_tree(dir.path()).empty());

  test_support::write_file(dir / "twkdefaut.xml",
                           "<WaterPlaneTweaks name='FE.Water'>\n<Sea r='1' g='1' b='1' a='9'/>\n");
  set(10, 20, 30);
  click(L"Button1");
  EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"),
            "<WaterPlaneTweaks name='FE.Water'>\r\n      <Sea r='10' g='20' b='30' a='9'/>\r\n");
  click(L"Button2");
  EXPECT_EQ(messages.shown, (Messages{"Impossible de trouver le fichier",
                                      std::string(tintmere::k_credits)}));
}

// A screen reader names each control that a label names by the label just
// before it in the window order; the others carry their own names, which the
// table and the Designer file agree on.
TEST_F(ColourWindow, EveryControlHasItsAccessibleName) {
  EXPECT_EQ(test_support::labels_by_window_order(form), (std::map<std::string, std::string>{
      {"Button1", ""}, {"Button2", ""}, {"Edit1", ""},
      {"ScrollBar1", "Rouge :"}, {"ScrollBar2", "Vert :"}, {"ScrollBar3", "Bleu :"},
  }));
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
