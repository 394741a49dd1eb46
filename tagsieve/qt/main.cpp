#include "qtkit/guarded_application.h"
#include "tform1.h"

int main(int argc, char** argv) {
  return qtkit::run_program<tagsieve::TForm1>(argc, argv, "org.tweaktools.Tagsieve", &tagsieve::TForm1::take_file);
}
