#include "app/Shell.h"

int main() { return RunGame(); }
