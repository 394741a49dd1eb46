#include "qtkit/guarded_application.h"

namespace qtkit {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    report_failure();
  }
  return false;
}

void GuardedApplication::report_failure() {
  failures_->show_message(messaging::describe_current_exception());
  exit(0);
}

int run_window(GuardedApplication& application, const std::function<std::unique_ptr<QWidget>()>& make_form) {
  try {
    const std::unique_ptr<QWidget> form = make_form();
    form->show();
    application.exec();
  } catch (...) {
    application.report_failure();
  }
  return 0;
}

}  // namespace qtkit
