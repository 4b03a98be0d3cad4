// Placeholder until the front-end screens land: nothing is drawn yet.
#include "render/big_text.h"

void draw_big_text(int, int, const char*, int, int) {}
