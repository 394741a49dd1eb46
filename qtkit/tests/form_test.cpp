// What the Qt kit does beyond what both kits do (formkit's tests).
#include "qtkit/form.h"

#include <QAccessible>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_support.h"
#include "tagsieve/form1.h"
#include "tintmere/form1.h"
#include "window.h"

namespace {

using test_support::eventually;

QString text_of(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// The window where the description puts it, moved into the screen's work
// area where it would not fit there (Qt's offscreen screen is 800 by 600,
// smaller than the tag viewer's place allows); each control named and described
// to screen readers as the description says, or by the label that names it.
// Only the anchored control follows the window's size, which stops at the
// smallest the description allows, its outer size less the frame; a fixed
// form keeps its size.
TEST(QtForm, IsPlacedNamedAndSizedAsDescribed) {
  for (const formkit::Form* description : {&tintmere::k_form1, &tagsieve::k_form1}) {
    qtkit::Form form(*description, nullptr, nullptr);
    const test_support::Window shown(form);
    const QRect area = form.screen()->availableGeometry();
    const formkit::Rect placed = formkit::place_on_screen(
        {description->left, description->top, description->resizable ? description->width : description->client_width,
         description->resizable ? description->height : description->client_height},
        {area.x(), area.y(), area.width(), area.height()}, description->resizable, 0, 0);
    EXPECT_EQ(form.pos(), QPoint(placed.left, placed.top));
    std::map<std::string_view, QRect> before;
    std::map<std::string_view, std::string_view> named_by;
    for (const formkit::Component& component : description->components) named_by[component.label_for] = component.text;
    for (const formkit::Component& component : description->components) {
      auto& control = form.control<QWidget>(component.name);
      before[component.name] = control.geometry();
      const std::string_view name = component.accessible_name.empty() ? named_by[component.name] : component.accessible_name;
      if (!name.empty()) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(&control)->text(QAccessible::Name), text_of(name));
      }
      EXPECT_EQ(control.accessibleDescription(), text_of(component.description));
      if (const auto* list = qobject_cast<QListWidget*>(&control)) {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);  // several items at once
      }
      // A background fills the control to its corners, as on Windows.
      if (const auto colour = static_cast<int>(component.background.value_or(0)); component.background) {
        EXPECT_EQ(control.grab().toImage().pixelColor(0, 0), QColor(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16));
      }
    }
    const QSize laid_out = form.size();
    form.resize(laid_out + QSize(100, 50));
    for (const formkit::Component& component : description->components) {
      const int grows = component.anchored ? 1 : 0;
      EXPECT_EQ(form.control<QWidget>(component.name).geometry(), before[component.name].adjusted(0, 0, 100 * grows, 50 * grows));
    }
    form.resize(10, 10);
    const QSize frame(description->width - description->client_width, description->height - description->client_height);
    EXPECT_EQ(form.size(), description->resizable ? QSize(description->min_width, description->min_height) - frame : laid_out);
  }
}

// Enter with Shift held clicks nothing, a slider leaves a key with Ctrl held
// to Qt (which takes Right backwards); a screen reader finds no hidden control.
TEST(QtForm, KeysWithAModifierAreLeftToQt) {
  int clicks = 0;
  const auto form = test_support::make_form(tagsieve::k_form1, [&] { ++clicks; });
  test_support::Window window(*form);
  QTest::keyClick(&form->control<QWidget>("Edit2"), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(clicks, 0);
  qtkit::Form colour(tintmere::k_form1, nullptr, nullptr);
  auto& bar = colour.control<QScrollBar>("ScrollBar1");
  bar.setValue(5);
  QTest::keyClick(&bar, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(bar.value(), 4);
  const auto* list = QAccessible::queryAccessibleInterface(&colour.control<QWidget>("ListBox1"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&colour)->indexOfChild(list), -1);
}

// The slider with the focus has a frame of the highlight colour that nothing
// else changes.
TEST(QtForm, TheFocusedSliderIsMarked) {
  qtkit::Form form(tintmere::k_form1, nullptr, nullptr);
  test_support::Window window(form);
  auto& bar = form.control<QScrollBar>("ScrollBar2");
  const QImage unfocused = bar.grab().toImage();
  bar.setFocus();
  ASSERT_TRUE(eventually([&] { return bar.hasFocus(); }));
  QImage framed = unfocused;
  const QRect inside = framed.rect().adjusted(1, 1, -1, -1);
  for (int x = 0; x < framed.width(); ++x) {
    for (int y = 0; y < framed.height(); ++y) {
      if (!inside.contains(x, y)) framed.setPixelColor(x, y, bar.palette().color(QPalette::Highlight));
    }
  }
  EXPECT_EQ(bar.grab().toImage(), framed);
}

// Qt's own texts, a text box's menu among them, are French.
TEST(QtTexts, AreFrench) { EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), "&Annuler"); }

}  // namespace
