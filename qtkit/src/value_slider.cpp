#include "qtkit/value_slider.h"

#include <QAbstractSlider>
#include <QKeyEvent>
#include <QToolTip>

#include <optional>

#include "formkit/form.h"

namespace qtkit {

namespace {

// What a key does to a scroll bar, as a Windows scroll bar takes it.
std::optional<formkit::Scroll> scroll_for(int key) {
  using formkit::Scroll;
  switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
      return Scroll::line_right;
    case Qt::Key_Left:
    case Qt::Key_Up:
      return Scroll::line_left;
    case Qt::Key_PageDown:
      return Scroll::page_right;
    case Qt::Key_PageUp:
      return Scroll::page_left;
    case Qt::Key_Home:
      return Scroll::to_left;
    case Qt::Key_End:
      return Scroll::to_right;
    default:
      return std::nullopt;
  }
}

// The keys of a value slider, for the sliders it watches.
class SliderKeys : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The value over the thumb and above the bar, clear of what the slider sets
// below it; a tooltip shows a little below the point it is given.
void show_value(QAbstractSlider& slider) {
  const QString value = QString::number(slider.value());
  slider.setToolTip(value);
  const int thumb_x = slider.width() * (slider.value() - slider.minimum()) / (slider.maximum() - slider.minimum() + 1);
  if (slider.isVisible()) QToolTip::showText(slider.mapToGlobal(QPoint(thumb_x, -2 * slider.height())), value, &slider);
}

}  // namespace

bool SliderKeys::eventFilter(QObject* watched, QEvent* event) {
  auto* slider = qobject_cast<QAbstractSlider*>(watched);
  if (slider == nullptr || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & ~Qt::KeypadModifier) return false;
  const std::optional<formkit::Scroll> scroll = scroll_for(key->key());
  if (!scroll) return false;
  slider->setValue(formkit::scrolled(*scroll, slider->value(), slider->pageStep(), slider->maximum()));
  return true;
}

void make_value_slider(QAbstractSlider& slider) {
  slider.installEventFilter(new SliderKeys(&slider));
  QObject::connect(&slider, &QAbstractSlider::valueChanged, &slider, [&slider] { show_value(slider); });
}

}  // namespace qtkit
