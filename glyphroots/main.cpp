#include "glyphroots.h"

int main(int argc, char** argv) { return glyphroots_main(argc, argv); }
