#include "qtkit/form.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_support.h"
#include "qtkit/form_font.h"
#include "qtkit/value_slider.h"

namespace {

// A form with a default button and a control of each kind that Enter meets.
class Probe : public qtkit::Form {
 public:
  Probe() : Form(nullptr, nullptr) {
    for (QPushButton* button : {&plain, &chosen}) {
      connect(button, &QPushButton::clicked, this, [this, button] { clicked.push_back(button->objectName().toStdString()); });
    }
    chosen.setDefault(true);
    int top = 0;
    for (QWidget* control : std::initializer_list<QWidget*>{&plain, &chosen, &box, &line, &pane, &bar}) {
      control->setGeometry(0, top, 200, 20);
      top += 24;
    }
    qtkit::make_value_slider(bar);
    resize(220, 160);
  }

  QPushButton plain{"Plain", this};
  QPushButton chosen{"Chosen", this};
  QCheckBox box{"Box", this};
  QLineEdit line{this};
  QPlainTextEdit pane{this};
  QScrollBar bar{Qt::Horizontal, this};
  std::vector<std::string> clicked;
};

class QtForm : public testing::Test {
 protected:
  QtForm() {
    form.plain.setObjectName("plain");
    form.chosen.setObjectName("chosen");
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  }
  Probe form;
};

// As in a Windows dialog: Enter, on the keypad too, presses the focused
// button, or else the enabled default one, but a multi-line pane takes it as
// a new line, and with Ctrl or Shift held it is no click.
TEST_F(QtForm, EnterPressesTheFocusedButtonOrTheDefaultOne) {
  const struct {
    QWidget* focused;
    std::vector<std::string> clicked;
    Qt::Key key = Qt::Key_Return;
    Qt::KeyboardModifiers held = {};
    bool default_enabled = true;
  } cases[] = {
      {&form.plain, {"plain"}},
      {&form.chosen, {"chosen"}},
      {&form.box, {"chosen"}},
      {&form.line, {"chosen"}},
      {&form.bar, {"chosen"}},
      {&form.line, {"chosen"}, Qt::Key_Enter, Qt::KeypadModifier},
      {&form.line, {}, Qt::Key_Return, Qt::ShiftModifier},
      {&form.line, {}, Qt::Key_Return, {}, false},
      {&form.pane, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.focused->metaObject()->className() << " "
                                    << QKeySequence(c.key).toString().toStdString());
    form.clicked.clear();
    form.chosen.setEnabled(c.default_enabled);
    c.focused->setFocus();
    ASSERT_TRUE(test_support::eventually([&] { return c.focused->hasFocus(); }));
    QTest::keyClick(c.focused, c.key, c.held);
    EXPECT_EQ(form.clicked, c.clicked);
  }
  EXPECT_EQ(form.pane.toPlainText(), "\n");
}

// The slider the keys move shows it: Fusion itself draws no mark.
TEST_F(QtForm, TheFocusedSliderIsMarked) {
  form.line.setFocus();
  ASSERT_TRUE(test_support::eventually([&] { return form.line.hasFocus(); }));
  const QImage unfocused = form.bar.grab().toImage();
  form.bar.setFocus();
  ASSERT_TRUE(test_support::eventually([&] { return form.bar.hasFocus(); }));
  const QImage focused = form.bar.grab().toImage();
  EXPECT_NE(focused, unfocused);
  // A frame of the highlight colour, on the bar's outermost pixels.
  const QRect all = focused.rect();
  int outside_the_frame = 0;
  for (int x = 0; x < all.width(); ++x) {
    for (int y = 0; y < all.height(); ++y) {
      const bool edge = x == 0 || y == 0 || x == all.width() - 1 || y == all.height() - 1;
      if (edge && focused.pixelColor(x, y) != form.bar.palette().color(QPalette::Highlight)) ++outside_the_frame;
    }
  }
  EXPECT_EQ(outside_the_frame, 0);
  EXPECT_EQ(focused.copy(all.adjusted(1, 1, -1, -1)), unfocused.copy(all.adjusted(1, 1, -1, -1))) << "only a frame";
}

// A value slider's keys are a Windows scroll bar's, and its value shows as
// it changes; with Ctrl, Shift or Alt held, a key is left to Qt.
TEST_F(QtForm, KeysStepAValueSliderAsOnWindows) {
  form.bar.setRange(0, 255);
  form.bar.setPageStep(16);
  form.bar.setFocus();
  ASSERT_TRUE(test_support::eventually([&] { return form.bar.hasFocus(); }));
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers held;
    int from;
    int to;
  } cases[] = {
      {Qt::Key_Right, {}, 0, 1},          {Qt::Key_Down, {}, 0, 1},      {Qt::Key_Left, {}, 5, 4},
      {Qt::Key_Up, {}, 5, 4},             {Qt::Key_PageDown, {}, 0, 16}, {Qt::Key_PageUp, {}, 20, 4},
      {Qt::Key_PageUp, {}, 3, 0},         {Qt::Key_End, {}, 0, 255},     {Qt::Key_Home, {}, 200, 0},
      {Qt::Key_Right, {}, 255, 255},      {Qt::Key_Up, Qt::KeypadModifier, 5, 4},
      {Qt::Key_Right, Qt::ControlModifier, 5, 4},  // Qt's own step, which a scroll bar takes backwards
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << QKeySequence(c.key).toString().toStdString() << " from " << c.from);
    form.bar.setValue(c.from);
    QTest::keyClick(&form.bar, c.key, c.held);
    EXPECT_EQ(form.bar.value(), c.to);
    EXPECT_EQ(form.bar.toolTip(), QString::number(c.to));
  }
}

// The forms' font, as on Windows: MS Sans Serif where there is one, else a
// font of the same measures, at 11 pixels; labels and check boxes then take
// the room their captions need.
TEST_F(QtForm, TheFormsFontSizesTheCaptions) {
  QLabel label("Une étiquette assez longue", &form);
  label.setGeometry(0, 150, 2, 13);
  form.box.setText("Une case à cocher assez longue");
  form.box.resize(10, 20);
  qtkit::apply_form_font(form);
  const QStringList families = {"MS Sans Serif", "Liberation Sans", "Arial"};
  EXPECT_TRUE(families.contains(QFontInfo(label.font()).family())) << QFontInfo(label.font()).family().toStdString();
  EXPECT_EQ(label.font().pixelSize(), 11);
  EXPECT_EQ(label.size(), label.sizeHint());
  EXPECT_EQ(form.box.width(), form.box.sizeHint().width());
}

// The value shows over the thumb: at the bar's far end at its maximum,
// whatever its minimum, on a bar of two positions too.
TEST_F(QtForm, AValueSliderShowsItsValueOverTheThumb) {
  form.bar.setRange(0, 1);
  form.bar.setValue(1);
  form.bar.setRange(100, 355);
  form.bar.setValue(355);
  QWidget* tip = nullptr;
  ASSERT_TRUE(test_support::eventually([&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->inherits("QTipLabel") && widget->isVisible()) tip = widget;
    }
    return tip != nullptr;
  }));
  const int bar_left = form.bar.mapToGlobal(QPoint(0, 0)).x();
  EXPECT_GT(tip->x(), bar_left + form.bar.width() * 3 / 4);
}

// Qt's own texts, a text box's menu among them, are French.
TEST(QtTexts, AreFrench) { EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), "&Annuler"); }

}  // namespace
