#include "qtkit/form.h"

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

}  // namespace qtkit
