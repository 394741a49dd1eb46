#include "qtkit/form_font.h"

#include <algorithm>

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QWidget>

namespace qtkit {

void apply_form_font(QWidget& form) {
  QFont font = form.font();
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  font.setPixelSize(11);
  form.setFont(font);
  for (QLabel* label : form.findChildren<QLabel*>()) label->resize(label->sizeHint());
  for (QCheckBox* box : form.findChildren<QCheckBox*>()) {
    box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
  }
}

}  // namespace qtkit
