#include <QLineEdit>

#include "qtkit/guarded_application.h"
#include "tform1.h"

namespace {

// A file given on the command line, as a file manager's "Ouvrir avec" gives
// it, is in the path box.
void take_file(tagsieve::TForm1& form, const QStringList& arguments) {
  if (arguments.size() > 1) form.control<QLineEdit>("Edit1").setText(arguments[1]);
}

}  // namespace

int main(int argc, char** argv) {
  return qtkit::run_program<tagsieve::TForm1>(argc, argv, "org.tweaktools.Tagsieve", take_file);
}
