#include "qtkit/form.h"

#include <QKeyEvent>
#include <QPushButton>

namespace qtkit {

void Form::anchor(QWidget& widget) {
  const QRect laid_out = widget.geometry();
  anchored_ = &widget;
  anchored_margins_ = QMargins(laid_out.left(), laid_out.top(), width() - laid_out.right() - 1,
                               height() - laid_out.bottom() - 1);
}

void Form::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (anchored_ != nullptr) anchored_->setGeometry(rect().marginsRemoved(anchored_margins_));
}

void Form::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button == nullptr) {
      for (QPushButton* candidate : findChildren<QPushButton*>()) {
        if (candidate->isDefault()) button = candidate;
      }
    }
    if (button != nullptr && button->isEnabled()) {
      button->click();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

}  // namespace qtkit
