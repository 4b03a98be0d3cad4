// Process entry: everything lives in the game library; this only hands over the command line.
#include <SDL.h>

#include "platform/shell.h"

int main(int argc, char** argv) { return shell_main(argc, argv); }
