// Stand-ins until the tick and the picture look-ups land: the counter stays at 0 and no item has
// a picture yet, so fitted item icons draw nothing.
#include "render/pictures.h"

int32_t frame_counter = 0;

const Image* item_sprite(int32_t) { return nullptr; }
