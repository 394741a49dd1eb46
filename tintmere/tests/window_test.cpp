#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "guarded_application.h"
#include "tform1.h"
#include "test_support.h"

namespace {

class ColourWindow : public testing::Test {
 protected:
  ColourWindow() {
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  template <typename Widget>
  Widget* child(const char* name) {
    auto* widget = form.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
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
  EXPECT_TRUE(test_support::list_dir(dir.path()).empty());
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

TEST_F(ColourWindow, NoCaptionIsClippedOrOverlapsAControl) {
  const QList<QWidget*> controls = form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  for (QWidget* control : controls) {
    if (!control->isVisible()) continue;
    SCOPED_TRACE(control->objectName().toStdString());
    EXPECT_TRUE(form.rect().contains(control->geometry())) << "outside the window";
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4);
    }
    for (QWidget* other : controls) {
      if (other != control && other->isVisible()) {
        EXPECT_FALSE(control->geometry().intersects(other->geometry())) << other->objectName().toStdString();
      }
    }
  }
}

// Throws from its event handler, as a handler that runs out of memory would.
class Thrower : public QObject {
 public:
  explicit Thrower(std::function<void()> raise) : raise_(std::move(raise)) {}

 protected:
  bool event(QEvent*) override {
    raise_();
    return true;
  }

 private:
  std::function<void()> raise_;
};

TEST(GuardedApplication, ShowsAnEscapingExceptionInsteadOfAborting) {
  auto* application = qobject_cast<tintmere::GuardedApplication*>(QCoreApplication::instance());
  ASSERT_NE(application, nullptr);
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { throw std::bad_alloc(); }, "Mémoire insuffisante : l'opération a été abandonnée."},
      {[] { throw std::runtime_error("disque absent"); }, "Erreur inattendue : disque absent"},
      {[] { throw 42; }, "Erreur inattendue."},
  };
  // Outlives the test: the application keeps pointing at it.
  static test_support::RecordingMessages failures;
  application->set_failure_sink(failures);
  for (const auto& [raise, message] : cases) {
    failures.shown.clear();
    Thrower thrower(raise);
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
    EXPECT_EQ(failures.shown, std::vector<std::string>{message});
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Listing the tests happens outside CTest's environment; it needs no display either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  tintmere::GuardedApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
