#include "guarded_application.h"

int main(int argc, char** argv) { return tagsieve::run_tagsieve(argc, argv); }
