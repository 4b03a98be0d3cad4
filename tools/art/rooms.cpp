#include "paint.h"
const ArtEntry ART_ROOMS[] = {{nullptr, nullptr}};
