// The bag screen's view record; written by the bag input, read by the bag drawing.
#include "world/bag_view.h"

BagView bag_view{};

void bag_view_clear() {
    bag_view = BagView{};
    bag_view.page = BAG_PAGE_INVENTORY;
    bag_view.shown_page = (float)BAG_PAGE_INVENTORY;
    bag_view.bestiary_cursor = 1;
    bag_view.zone = BAG_ZONE_GRID;
    bag_view.cursor_snap = 1;
}
