#include "slider_keys.h"

#include <QAbstractSlider>
#include <QKeyEvent>

namespace tintmere {

namespace {

QAbstractSlider::SliderAction action_for(int key) {
  switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
      return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_Left:
    case Qt::Key_Up:
      return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_PageDown:
      return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_PageUp:
      return QAbstractSlider::SliderPageStepSub;
    case Qt::Key_Home:
      return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End:
      return QAbstractSlider::SliderToMaximum;
    default:
      return QAbstractSlider::SliderNoAction;
  }
}

}  // namespace

bool SliderKeys::eventFilter(QObject* watched, QEvent* event) {
  auto* slider = qobject_cast<QAbstractSlider*>(watched);
  if (slider == nullptr || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  const QAbstractSlider::SliderAction action = action_for(key->key());
  if (action == QAbstractSlider::SliderNoAction) return false;
  slider->triggerAction(action);
  return true;
}

}  // namespace tintmere
