#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "tform1.h"
#include "window_support.h"

namespace {

class ColourWindow : public testing::Test {
 protected:
  ColourWindow() {
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  template <typename Widget>
  Widget* child(const char* name) {
    return &test_support::child<Widget>(form, name);
  }

  QColor preview() { return child<QLineEdit>("Edit1")->palette().color(QPalette::Disabled, QPalette::Base); }

  test_support::RecordingMessages messages;
  tintmere::TForm1 form{&messages};
};

TEST_F(ColourWindow, StartsBlackWithTheSlidersAtZeroAndTheFirstFocused) {
  EXPECT_EQ(preview(), QColor(0, 0, 0));
  for (const char* name : {"ScrollBar1", "ScrollBar2", "ScrollBar3"}) {
    SCOPED_TRACE(name);
    const auto* bar = child<QScrollBar>(name);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 255);
  }
  EXPECT_TRUE(child<QScrollBar>("ScrollBar1")->hasFocus());
  EXPECT_EQ(form.windowTitle(), "Tintmere V1.04");
}

TEST_F(ColourWindow, TheSlidersColourThePreviewRedGreenBlue) {
  child<QScrollBar>("ScrollBar3")->setValue(255);
  EXPECT_EQ(preview(), QColor(0, 0, 255));
  child<QScrollBar>("ScrollBar3")->setValue(0);
  child<QScrollBar>("ScrollBar1")->setValue(255);
  EXPECT_EQ(preview(), QColor(255, 0, 0));
  child<QScrollBar>("ScrollBar2")->setValue(0x34);
  child<QScrollBar>("ScrollBar3")->setValue(0x56);
  EXPECT_EQ(preview(), QColor(255, 0x34, 0x56));
  EXPECT_EQ(child<QScrollBar>("ScrollBar3")->toolTip(), "86");
}

TEST_F(ColourWindow, KeysStepTheFocusedSlider) {
  auto* red = child<QScrollBar>("ScrollBar1");
  struct Step {
    Qt::Key key;
    int expected;
  };
  constexpr Step k_steps[] = {{Qt::Key_Right, 1}, {Qt::Key_Down, 2},    {Qt::Key_Left, 1},   {Qt::Key_PageDown, 17},
                              {Qt::Key_Up, 16},   {Qt::Key_PageUp, 0},  {Qt::Key_Left, 0},   {Qt::Key_End, 255},
                              {Qt::Key_Right, 255}, {Qt::Key_Home, 0}};
  for (const Step& step : k_steps) {
    QTest::keyClick(red, step.key);
    EXPECT_EQ(red->value(), step.expected) << QTest::toString(step.key);
  }
  QTest::keyClick(red, Qt::Key_End);
  EXPECT_EQ(preview(), QColor(255, 0, 0));

  QTest::keyClick(&form, Qt::Key_Tab);
  EXPECT_TRUE(child<QScrollBar>("ScrollBar2")->hasFocus());
  QTest::keyClick(&form, Qt::Key_Tab);
  QTest::keyClick(&form, Qt::Key_Tab);
  EXPECT_TRUE(child<QPushButton>("Button1")->hasFocus());
  QTest::keyClick(&form, Qt::Key_Tab);
  EXPECT_TRUE(child<QPushButton>("Button2")->hasFocus());
}

TEST_F(ColourWindow, SauvegarderWritesTweakXmlFromTheSliderPositions) {
  test_support::TempDir dir;
  test_support::write_file(dir / "twkdefaut.xml", "<WaterPlaneTweaks name='FE.Water'>\n<Sea r='1' g='1' b='1' a='9'/>\n");
  const test_support::ScopedCurrentDir in_dir(dir.path());
  child<QScrollBar>("ScrollBar1")->setValue(10);
  child<QScrollBar>("ScrollBar2")->setValue(20);
  child<QScrollBar>("ScrollBar3")->setValue(30);
  QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"),
            "<WaterPlaneTweaks name='FE.Water'>\r\n      <Sea r='10' g='20' b='30' a='9'/>\r\n");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ColourWindow, SauvegarderWithoutATemplateSaysSo) {
  test_support::TempDir dir;
  const test_support::ScopedCurrentDir in_dir(dir.path());
  QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Impossible de trouver le fichier"});
  EXPECT_TRUE(test_support::list_tree(dir.path()).empty());
}

TEST_F(ColourWindow, QuestionMarkShowsTheCredits) {
  QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Tintmere V1.04\nProgrammé par Orvane sur une idée de Belsquith"});
}

TEST_F(ColourWindow, IsFixedInSizeAndHidesTheEntryList) {
  EXPECT_EQ(form.minimumSize(), QSize(329, 118));
  EXPECT_EQ(form.maximumSize(), QSize(329, 118));
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
  const auto* list = child<QListWidget>("ListBox1");
  EXPECT_FALSE(list->isVisible());
  ASSERT_EQ(list->count(), 17);
  EXPECT_EQ(list->item(0)->text(), "FE.PS2Water");
  EXPECT_EQ(list->item(16)->text(), "Water.WILDWEST.NIGHT");
}

TEST_F(ColourWindow, NoCaptionIsClippedOrOverlapsAControl) { test_support::expect_controls_fit(form); }

}  // namespace
