// Placeholder until the camp pages land: nothing is drawn.
#include "screens/screens.h"

void draw_camp() {}
