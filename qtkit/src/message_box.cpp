#include "qtkit/message_box.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace qtkit {

void MessageBoxSink::show_message(std::string_view text) {
  // A message may come in the middle of a long operation: the user answers it
  // with the ordinary pointer, and the wait cursor comes back after.
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, parent_);
  box.exec();
  QGuiApplication::restoreOverrideCursor();
}

}  // namespace qtkit
