#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "tintmere/credits.h"
#include "tform1.h"
#include "qt_support.h"

namespace {

using Messages = std::vector<std::string>;
using test_support::child;

class ColourWindow : public testing::Test {
 protected:
  ColourWindow() {
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  QScrollBar& bar(int n) { return child<QScrollBar>(form, ("ScrollBar" + std::to_string(n)).c_str()); }
  QColor preview() { return child<QLineEdit>(form, "Edit1").palette().color(QPalette::Disabled, QPalette::Base); }

  test_support::RecordingMessages messages;
  tintmere::TForm1 form{&messages};
};

// What the form says (captions, places, ranges) comes from its Designer file
// as it is; this is what the window adds.
TEST_F(ColourWindow, StartsBlackAtZeroFixedInSizeWithTheEntryListHidden) {
  EXPECT_EQ(form.pos(), QPoint(288, 143));
  EXPECT_EQ(preview(), QColor(0, 0, 0));
  EXPECT_TRUE(bar(1).hasFocus());
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
  const auto& list = child<QListWidget>(form, "ListBox1");
  EXPECT_FALSE(list.isVisible());
  ASSERT_EQ(list.count(), 17);
  EXPECT_EQ(list.item(0)->text(), "FE.PS2Water");
  EXPECT_EQ(list.item(16)->text(), "Water.WILDWEST.NIGHT");
  test_support::expect_controls_fit(form);
}

// The keys are the value slider's own; here, that they reach the preview.
TEST_F(ColourWindow, TheSlidersColourThePreviewAndTabGoesThroughThem) {
  QTest::keyClick(&bar(1), Qt::Key_End);
  EXPECT_EQ(preview(), QColor(255, 0, 0));
  bar(2).setValue(0x34);
  EXPECT_EQ(preview(), QColor(255, 0x34, 0));
  bar(3).setValue(0x56);
  EXPECT_EQ(preview(), QColor(255, 0x34, 0x56));
  for (const char* next : {"ScrollBar2", "ScrollBar3", "Button1", "Button2"}) {
    QTest::keyClick(&form, Qt::Key_Tab);
    EXPECT_TRUE(child<QWidget>(form, next).hasFocus()) << next;
  }
}

// What the save writes and says is the core's; here, that it gets the
// sliders' colour and the current folder.
TEST_F(ColourWindow, SauvegarderSavesTheSlidersColourAndQuestionMarkShowsTheCredits) {
  test_support::TempDir dir;
  const test_support::ScopedCurrentDir in_dir(dir.path());
  test_support::write_file(dir / "twkdefaut.xml", "<WaterPlaneTweaks name='FE.Water'>\n<Sea a='9'/>\n");
  bar(1).setValue(10);
  bar(2).setValue(20);
  bar(3).setValue(30);
  QTest::mouseClick(&child<QPushButton>(form, "Button1"), Qt::LeftButton);
  EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"),
            "<WaterPlaneTweaks name='FE.Water'>\r\n      <Sea r='10' g='20' b='30' a='9'/>\r\n");
  QTest::mouseClick(&child<QPushButton>(form, "Button2"), Qt::LeftButton);
  EXPECT_EQ(messages.shown, Messages{std::string(tintmere::k_credits)});
}

// A screen reader names each control by its label, the preview box and "?"
// by what they are, and finds no hidden list.
TEST_F(ColourWindow, EveryControlHasItsAccessibleName) {
  EXPECT_EQ(test_support::accessible_tree(form), (std::map<std::string, std::string>{
                                                     {"Button1", "Sauvegarder"},
                                                     {"Button2", "?|Affiche les crédits du programme"},
                                                     {"Edit1", "Aperçu de la couleur"},
                                                     {"Label1", "Rouge :"},
                                                     {"Label2", "Vert :"},
                                                     {"Label3", "Bleu :"},
                                                     {"ScrollBar1", "Rouge :"},
                                                     {"ScrollBar2", "Vert :"},
                                                     {"ScrollBar3", "Bleu :"},
                                                 }));
}

}  // namespace
