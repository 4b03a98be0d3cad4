// Stand-in until the picture look-ups land: no item has a picture yet, so fitted item icons draw
// nothing.
#include "render/pictures.h"

const Image* item_sprite(int32_t) { return nullptr; }
