#include "formkit/guarded_application.h"

#include <new>
#include <string>

namespace formkit {

namespace {

// What the exception being handled means to the user.
std::string describe_current_exception() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return std::string(k_out_of_memory);
  } catch (const std::exception& error) {
    return std::string("Erreur inattendue : ") + error.what();
  } catch (...) {
    return "Erreur inattendue.";
  }
}

}  // namespace

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
  failures_->show_message(describe_current_exception());
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

}  // namespace formkit
