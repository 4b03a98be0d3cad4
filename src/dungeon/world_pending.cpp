// Placeholder until monster wandering lands: drawn positions are not eased yet.
#include "game/links_pending.h"

void monsters_ease_draw() {}
