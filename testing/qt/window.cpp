#include "window.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace test_support {

namespace {

// Processes events until condition holds, for at most a few seconds; the
// result fails an EXPECT_TRUE when it never does.
testing::AssertionResult eventually(const std::function<bool()>& condition) {
  constexpr int k_timeout_ms = 5000;
  if (QTest::qWaitFor(condition, k_timeout_ms)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the condition still did not hold after " << k_timeout_ms << " ms";
}

QString qt_text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

Window::Window(KitForm& form) : form_(form) {
  form_.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&form_));
  EXPECT_TRUE(eventually([] { return QApplication::focusWidget() != nullptr; }));
}

std::string Window::text(std::string_view name) const {
  auto& control = form_.control<QWidget>(name);
  const auto* pane = qobject_cast<QPlainTextEdit*>(&control);
  return (pane ? pane->toPlainText() : control.property("text").toString()).toStdString();
}

bool Window::has_focus(std::string_view name) const { return QApplication::focusWidget() == &form_.control<QWidget>(name); }

bool Window::resizable() const { return form_.minimumSize() != form_.maximumSize(); }

void Window::type(std::string_view name, std::string_view utf8) { form_.control<QLineEdit>(name).setText(qt_text(utf8)); }

void Window::click(std::string_view name) { form_.control<QAbstractButton>(name).click(); }

void Window::press(Key key) {
  static constexpr std::pair<Qt::Key, Qt::KeyboardModifiers> k_keys[] = {
      {Qt::Key_Tab, {}}, {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Return, {}}, {Qt::Key_Enter, Qt::KeypadModifier},
      {Qt::Key_Escape, {}}, {Qt::Key_Right, {}}, {Qt::Key_Down, {}}, {Qt::Key_Left, {}},
      {Qt::Key_Up, {}}, {Qt::Key_PageDown, {}}, {Qt::Key_PageUp, {}}, {Qt::Key_Home, {}}, {Qt::Key_End, {}}};
  const auto [qt_key, held] = k_keys[static_cast<int>(key)];
  QTest::keyClick(QApplication::focusWidget(), qt_key, held);
}

std::unique_ptr<KitForm> make_form(const formkit::Form& description, std::function<void()> on_event,
                                   messaging::MessageSink* messages) {
  auto form = std::make_unique<KitForm>(description, messages, nullptr);
  for (auto* button : form->findChildren<QAbstractButton*>()) QObject::connect(button, &QAbstractButton::clicked, on_event);
  for (auto* slider : form->findChildren<QAbstractSlider*>()) QObject::connect(slider, &QAbstractSlider::valueChanged, on_event);
  return form;
}

}  // namespace test_support
