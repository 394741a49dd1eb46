#include "qt_support.h"

#include <QAccessible>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

namespace test_support {

testing::AssertionResult eventually(const std::function<bool()>& condition) {
  constexpr int k_timeout_ms = 5000;
  if (QTest::qWaitFor(condition, k_timeout_ms)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the condition still did not hold after " << k_timeout_ms << " ms";
}

void expect_controls_fit(QWidget& form) {
  const QList<QWidget*> controls = form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  for (QWidget* control : controls) {
    if (!control->isVisible()) continue;
    SCOPED_TRACE(control->objectName().toStdString());
    EXPECT_TRUE(form.rect().contains(control->geometry())) << "outside the window";
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 4);
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
      EXPECT_LE(box->sizeHint().width(), box->width());
    }
    for (QWidget* other : controls) {
      if (other != control && other->isVisible()) {
        EXPECT_FALSE(control->geometry().intersects(other->geometry())) << other->objectName().toStdString();
      }
    }
  }
}

std::map<std::string, std::string> accessible_tree(QWidget& form) {
  std::map<std::string, std::string> found;
  QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&form);
  for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
    QAccessibleInterface* child = root->child(i);
    if (child == nullptr || child->object() == nullptr) continue;
    const QString name = child->object()->objectName();
    if (!name.isEmpty() && !name.startsWith("qt_")) {
      std::string said = child->text(QAccessible::Name).toStdString();
      const QString description = child->text(QAccessible::Description);
      if (!description.isEmpty()) said.append("|").append(description.toStdString());
      found[name.toStdString()] = said;
    }
  }
  return found;
}

}  // namespace test_support
