#pragma once

#include <QObject>

namespace tintmere {

// Gives the sliders it watches the keys of a channel slider: Right and Down
// raise the value by one, Left and Up lower it, Page Down and Page Up move by a
// page, Home and End go to the minimum and the maximum.
class SliderKeys : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tintmere
