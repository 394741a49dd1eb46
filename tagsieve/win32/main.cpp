#include "tform1.h"
#include "win32kit/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return win32kit::run_program<tagsieve::TForm1>(&tagsieve::TForm1::take_file); }
