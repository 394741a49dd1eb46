#include "message_box.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace tintmere {

void MessageBoxSink::show_message(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace tintmere
