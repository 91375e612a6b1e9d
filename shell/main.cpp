#include "shell/Shell.h"

int main(int argc, char** argv) { return RunTafu({argv + 1, argv + argc}); }
