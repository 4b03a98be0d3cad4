// The fight overlay that the feedback record does not keep yet: the hurt vignette's width.
// The status border reads it; the fight feedback will write it.
#pragma once
#include <cstdint>

// Thickness in pixels of the hurt vignette; 0 draws none.
int32_t fx_hurt_width();
