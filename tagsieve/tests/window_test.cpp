#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "tform1.h"
#include "window_support.h"

namespace {

class TagWindow : public testing::Test {
 protected:
  TagWindow() {
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    test_support::write_file(dir / "weaptwk.xml",
                             "<Damage>5</Damage>\r\n<Damage>5</Damage>\r\n<Damage>7</Damage>\r\n"
                             "<Name>\xC3\x89p\xC3\xA9" "e</Name>\r\n<Name>Hache\r\n<Name>\xC9" "cu</Name>\r\n");
  }

  template <typename Widget>
  Widget* child(const char* name) {
    return &test_support::child<Widget>(form, name);
  }

  // Types a path and a tag as a user would, then presses the button.
  void show_values(const QString& path, const QString& tag) {
    child<QLineEdit>("Edit1")->clear();
    QTest::keyClicks(child<QLineEdit>("Edit1"), path);
    child<QLineEdit>("Edit2")->clear();
    QTest::keyClicks(child<QLineEdit>("Edit2"), tag);
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  }

  QString pane() { return child<QPlainTextEdit>("RichEdit1")->toPlainText(); }
  QString sample() { return QString::fromStdString((dir / "weaptwk.xml").string()); }

  test_support::TempDir dir;
  test_support::RecordingMessages messages;
  tagsieve::TForm1 form{&messages};
};

TEST_F(TagWindow, StartsAsLaidOut) {
  EXPECT_EQ(form.windowTitle(), "Tagsieve v1.01 alpha");
  EXPECT_EQ(child<QLineEdit>("Edit1")->text(), "C:\\Program Files\\Ravenholt\\Molegrave\\data\\Tweak\\weaptwk.xml");
  EXPECT_TRUE(child<QLineEdit>("Edit2")->text().isEmpty());
  EXPECT_TRUE(child<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_EQ(child<QCheckBox>("CheckBox1")->text(), "Ne pas réafficher la même valeur");
  EXPECT_TRUE(child<QPlainTextEdit>("RichEdit1")->hasFocus());
  EXPECT_EQ(form.size(), QSize(620, 505));
  EXPECT_EQ(form.minimumSize(), QSize(617, 233));
}

TEST_F(TagWindow, TheInitialPathFindsNoFileHere) {
  QTest::keyClicks(child<QLineEdit>("Edit2"), "Damage");
  QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Impossible de trouver le fichier"});
  EXPECT_TRUE(pane().isEmpty());
}

TEST_F(TagWindow, ListsTheValuesOnceThenWithRepeats) {
  show_values(sample(), "Damage");
  EXPECT_EQ(pane(), "5\n7");
  QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  EXPECT_EQ(pane(), "5\n7");  // the pane is emptied first, not filled twice
  QTest::mouseClick(child<QCheckBox>("CheckBox1"), Qt::LeftButton);
  ASSERT_FALSE(child<QCheckBox>("CheckBox1")->isChecked());
  QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  EXPECT_EQ(pane(), "5\n5\n7");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TagWindow, ShowsUtf8AndWindows1252ValuesAndDropsTheContinuedNewline) {
  show_values(sample(), "Name");
  EXPECT_EQ(pane(), QString::fromUtf8("\xC3\x89p\xC3\xA9" "e\nHache\n\xC3\x89" "cu"));
}

TEST_F(TagWindow, EnterInEitherBoxShowsTheValues) {
  show_values(sample(), "Damage");
  child<QPlainTextEdit>("RichEdit1")->clear();
  QTest::keyClick(child<QLineEdit>("Edit2"), Qt::Key_Return);
  EXPECT_EQ(pane(), "5\n7");
  child<QPlainTextEdit>("RichEdit1")->clear();
  QTest::keyClick(child<QLineEdit>("Edit1"), Qt::Key_Enter);
  EXPECT_EQ(pane(), "5\n7");
}

TEST_F(TagWindow, TabLeavesThePaneInsteadOfTypingATab) {
  auto* pane_edit = child<QPlainTextEdit>("RichEdit1");
  pane_edit->setFocus();
  QTest::keyClick(pane_edit, Qt::Key_Tab);
  EXPECT_TRUE(child<QLineEdit>("Edit1")->hasFocus());
  EXPECT_TRUE(pane().isEmpty());
  QTest::keyClick(child<QLineEdit>("Edit1"), Qt::Key_Tab);
  EXPECT_TRUE(child<QLineEdit>("Edit2")->hasFocus());
  QTest::keyClick(child<QLineEdit>("Edit2"), Qt::Key_Tab);
  EXPECT_TRUE(child<QCheckBox>("CheckBox1")->hasFocus());
}

TEST_F(TagWindow, OnlyThePaneFollowsTheWindowsSize) {
  const QRect label = child<QLabel>("Label1")->geometry();
  const QRect button = child<QPushButton>("Button1")->geometry();
  form.resize(900, 700);
  EXPECT_TRUE(test_support::eventually([&] { return child<QPlainTextEdit>("RichEdit1")->geometry() == QRect(0, 48, 899, 652); }));
  EXPECT_EQ(child<QLabel>("Label1")->geometry(), label);
  EXPECT_EQ(child<QPushButton>("Button1")->geometry(), button);
  form.resize(100, 100);
  EXPECT_TRUE(test_support::eventually([&] { return form.size() == QSize(617, 233); }));
}

TEST_F(TagWindow, ADroppedFileGoesToThePathBox) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(sample())});
  auto* viewport = child<QPlainTextEdit>("RichEdit1")->viewport();
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &drop);
  EXPECT_EQ(child<QLineEdit>("Edit1")->text(), sample());
  EXPECT_TRUE(pane().isEmpty());
}

TEST_F(TagWindow, NoCaptionIsClippedOrOverlapsAControl) { test_support::expect_controls_fit(form); }

}  // namespace
