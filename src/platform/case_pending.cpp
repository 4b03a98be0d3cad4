// Placeholders until the case recolouring lands, and the shell's open-URL hook is installed.
#include "game/links_pending.h"

void case_set_color(int) {}
void case_set_swap_ab(int) {}
int (*open_url_fn)(const char* url) = nullptr;
