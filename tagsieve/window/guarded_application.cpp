#include "guarded_application.h"

#include <cstdio>
#include <new>
#include <string>

#include "tform1.h"

namespace tagsieve {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    fail("Mémoire insuffisante : l'opération a été abandonnée.");
  } catch (const std::exception& error) {
    fail(std::string("Erreur inattendue : ") + error.what());
  } catch (...) {
    fail("Erreur inattendue.");
  }
  return false;
}

void GuardedApplication::fail(std::string_view what) {
  failures_->show_message(what);
  exit(0);
}

int run_tagsieve(int argc, char** argv) {
  try {
    GuardedApplication application(argc, argv);
    TForm1 form;
    form.show();
    application.exec();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tagsieve : %s\n", error.what());
  }
  return 0;
}

}  // namespace tagsieve
