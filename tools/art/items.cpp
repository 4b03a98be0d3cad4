#include "paint.h"
const ArtEntry ART_ITEMS[] = {{nullptr, nullptr}};
