// Placeholder until the fight feedback keeps a hurt vignette: there is none to draw.
#include "combat/fx_overlays.h"

int32_t fx_hurt_width() { return 0; }
