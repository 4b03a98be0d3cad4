// Stand-in until the tick lands: the animation counter stays at 0.
#include "render/pictures.h"

int32_t frame_counter = 0;
