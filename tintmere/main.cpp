#include "guarded_application.h"

int main(int argc, char** argv) { return tintmere::run_tintmere(argc, argv); }
