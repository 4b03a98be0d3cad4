// The bag screen's view record; written by the bag input, read by the bag drawing.
#include "world/bag_view.h"

BagView bag_view{};
