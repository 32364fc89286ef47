#include "follow.h"

int main(int argc, char** argv) { return follow_main(argc, argv); }
