// The bag screen's input: cursor routes in both layouts, pages, the press that opens a card or
// picks an item up, placing, turning, swapping, equipping, dropping, junk marks, and the rule that
// an item in the player's hand is never lost.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "classes/classes.h"
#include "dungeon/map.h"
#include "game/bag_screen.h"
#include "game/shell_calls.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "items/player_fixture.h"
#include "render/screen.h"
#include "runfile/run_file.h"
#include "screens/bag_draw.h"
#include "screens/screens.h"
#include "screens/widgets.h"
#include "support/item_maker.h"
#include "support/temp_save_dir.h"
#include "world/bag_view.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"
#include "world/run_bounds.h"

namespace {

// An open floor with the player at (5, 5), an empty bag and hands, and the bag open over the dungeon.
void bag_world(bool landscape = true) {
    if (landscape)
        layout_set_landscape();
    else
        layout_set_portrait();
    reset_player();
    player.x = player.y = 5;
    floor_items_clear();
    for (int y = 0; y < MAP_H; ++y)
        for (int x = 0; x < MAP_W; ++x)
            gmap[y][x] = (x == 0 || y == 0 || x == MAP_W - 1 || y == MAP_H - 1) ? '#' : '.';
    game_state = STATE_BAG;
    state_under_pause = STATE_DUNGEON;
    message_box_open = 0;
    run_active = 0;
    bag_view_reset();
}

void press(uint8_t b) { update_bag(b, b); }

// Holds A from the first press for `ticks` ticks in all, then lets go.
void hold_a(int ticks) {
    update_bag(BTN_A, BTN_A);
    for (int i = 1; i < ticks; ++i) update_bag(0, BTN_A);
}

void release() { update_bag(0, 0); }

void cursor_at(int zone, int col = 0, int row = 0) {
    bag_view.zone = zone;
    bag_view.col = col;
    bag_view.row = row;
}

void pick_up_at(int col, int row) {
    cursor_at(BAG_ZONE_GRID, col, row);
    hold_a(BAG_PICKUP_TICKS);
}

// Every unit of every item id in the hands, the bag, the player's hand and on the floor.
std::map<uint32_t, int> item_census() {
    std::map<uint32_t, int> n;
    if (player.main_hand.id) n[player.main_hand.id]++;
    if (player.off_hand.id) n[player.off_hand.id]++;
    for (int i = 0; i < player.bag.count; ++i) n[player.bag.entries[i].item.id] += player.bag.entries[i].count;
    if (bag_view.holding) n[bag_view.held.id] += bag_view.held_count;
    for (int i = 0; i < floor_items.count; ++i) n[floor_items.entries[i].item.id]++;
    return n;
}

// Each entry covers exactly its footprint and every cell names a live entry.
void expect_bag_consistent() {
    const Bag& b = player.bag;
    int covered[BAG_MAX_ITEMS] = {};
    for (int r = 0; r < BAG_ROWS; ++r)
        for (int c = 0; c < BAG_COLS; ++c) {
            const int i = b.cells[r][c];
            if (i == BAG_EMPTY) continue;
            ASSERT_GE(i, 0);
            ASSERT_LT(i, b.count);
            covered[i]++;
        }
    for (int i = 0; i < b.count; ++i) {
        int w, h;
        bag_item_size(b.entries[i], &w, &h);
        EXPECT_EQ(covered[i], w * h) << "entry " << i;
        EXPECT_GE(b.entries[i].count, 1);
    }
}

struct Route {
    int zone, col, row;
    uint8_t button;
    int to_zone, to_col, to_row;
};

void check_routes(const Route* routes, int n, bool landscape) {
    for (int i = 0; i < n; ++i) {
        const Route& r = routes[i];
        bag_world(landscape);
        cursor_at(r.zone, r.col, r.row);
        press(r.button);
        EXPECT_EQ(bag_view.page, BAG_PAGE_INVENTORY) << "route " << i;
        EXPECT_EQ(bag_view.zone, r.to_zone) << "route " << i;
        if (r.to_zone == BAG_ZONE_GRID) {
            EXPECT_EQ(bag_view.col, r.to_col) << "route " << i;
            EXPECT_EQ(bag_view.row, r.to_row) << "route " << i;
        }
    }
}

}  // namespace

TEST(BagScreen, LandscapeCursorRoutes) {
    const Route routes[] = {
        {BAG_ZONE_MAIN, 0, 0, BTN_DOWN, BAG_ZONE_OFF, 0, 0},
        {BAG_ZONE_OFF, 0, 0, BTN_UP, BAG_ZONE_MAIN, 0, 0},
        {BAG_ZONE_MAIN, 0, 0, BTN_UP, BAG_ZONE_MAIN, 0, 0},
        {BAG_ZONE_OFF, 0, 0, BTN_DOWN, BAG_ZONE_OFF, 0, 0},
        {BAG_ZONE_MAIN, 3, 4, BTN_RIGHT, BAG_ZONE_GRID, 0, 0},
        {BAG_ZONE_OFF, 3, 4, BTN_RIGHT, BAG_ZONE_GRID, 0, 2},
        {BAG_ZONE_GRID, 0, 1, BTN_LEFT, BAG_ZONE_MAIN, 0, 0},
        {BAG_ZONE_GRID, 0, 2, BTN_LEFT, BAG_ZONE_OFF, 0, 0},
        {BAG_ZONE_GRID, 0, 4, BTN_LEFT, BAG_ZONE_OFF, 0, 0},
        {BAG_ZONE_GRID, 3, 2, BTN_LEFT, BAG_ZONE_GRID, 2, 2},
        {BAG_ZONE_GRID, 3, 0, BTN_UP, BAG_ZONE_GRID, 3, 0},
        {BAG_ZONE_GRID, 3, 4, BTN_DOWN, BAG_ZONE_GRID, 3, 4},
        {BAG_ZONE_GRID, 3, 2, BTN_DOWN, BAG_ZONE_GRID, 3, 3},
        {BAG_ZONE_GRID, 4, 2, BTN_RIGHT, BAG_ZONE_GRID, 5, 2},
    };
    check_routes(routes, sizeof routes / sizeof routes[0], true);
}

TEST(BagScreen, PortraitCursorRoutes) {
    const Route routes[] = {
        {BAG_ZONE_GRID, 0, 0, BTN_UP, BAG_ZONE_MAIN, 0, 0},
        {BAG_ZONE_GRID, 2, 0, BTN_UP, BAG_ZONE_MAIN, 0, 0},
        {BAG_ZONE_GRID, 3, 0, BTN_UP, BAG_ZONE_OFF, 0, 0},
        {BAG_ZONE_GRID, 5, 0, BTN_UP, BAG_ZONE_OFF, 0, 0},
        {BAG_ZONE_MAIN, 4, 3, BTN_DOWN, BAG_ZONE_GRID, 4, 0},
        {BAG_ZONE_OFF, 1, 3, BTN_DOWN, BAG_ZONE_GRID, 1, 0},
        {BAG_ZONE_MAIN, 0, 0, BTN_RIGHT, BAG_ZONE_OFF, 0, 0},
        {BAG_ZONE_OFF, 0, 0, BTN_LEFT, BAG_ZONE_MAIN, 0, 0},
        {BAG_ZONE_MAIN, 0, 0, BTN_UP, BAG_ZONE_MAIN, 0, 0},
        {BAG_ZONE_GRID, 2, 3, BTN_UP, BAG_ZONE_GRID, 2, 2},
        {BAG_ZONE_GRID, 2, 4, BTN_DOWN, BAG_ZONE_GRID, 2, 4},
        {BAG_ZONE_GRID, 2, 3, BTN_LEFT, BAG_ZONE_GRID, 1, 3},
        {BAG_ZONE_GRID, 2, 3, BTN_RIGHT, BAG_ZONE_GRID, 3, 3},
    };
    check_routes(routes, sizeof routes / sizeof routes[0], false);
}

TEST(BagScreen, PagesTurnFromTheEdgesOfEachLayout) {
    struct Turn {
        bool landscape;
        int zone, col;
        uint8_t button;
        int page;
    };
    const Turn turns[] = {
        {true, BAG_ZONE_MAIN, 0, BTN_LEFT, BAG_PAGE_STATS},   {true, BAG_ZONE_OFF, 0, BTN_LEFT, BAG_PAGE_STATS},
        {true, BAG_ZONE_GRID, 5, BTN_RIGHT, BAG_PAGE_BESTIARY}, {true, BAG_ZONE_GRID, 0, BTN_LEFT, BAG_PAGE_INVENTORY},
        {false, BAG_ZONE_MAIN, 0, BTN_LEFT, BAG_PAGE_STATS},  {false, BAG_ZONE_GRID, 0, BTN_LEFT, BAG_PAGE_STATS},
        {false, BAG_ZONE_OFF, 0, BTN_RIGHT, BAG_PAGE_BESTIARY}, {false, BAG_ZONE_GRID, 5, BTN_RIGHT, BAG_PAGE_BESTIARY},
        {false, BAG_ZONE_OFF, 0, BTN_LEFT, BAG_PAGE_INVENTORY},
    };
    for (const Turn& t : turns) {
        bag_world(t.landscape);
        cursor_at(t.zone, t.col, 0);
        press(t.button);
        EXPECT_EQ(bag_view.page, t.page) << t.landscape << " zone " << t.zone << " col " << t.col;
    }
    // Nothing turns while an item is in hand.
    bag_world(true);
    player.bag.count = 0;
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 5, 0, false);
    pick_up_at(5, 0);
    ASSERT_TRUE(bag_view.holding);
    press(BTN_RIGHT);
    EXPECT_EQ(bag_view.page, BAG_PAGE_INVENTORY);

    // Back from the bestiary by LEFT; RIGHT there does nothing; UP and DOWN wrap over the kinds.
    bag_world(true);
    bag_page_change(+1);
    EXPECT_EQ(bag_view.page, BAG_PAGE_BESTIARY);
    bag_page_change(+1);
    EXPECT_EQ(bag_view.page, BAG_PAGE_BESTIARY);
    press(BTN_RIGHT);
    EXPECT_EQ(bag_view.page, BAG_PAGE_BESTIARY);
    press(BTN_UP);
    EXPECT_EQ(bag_view.bestiary_cursor, 8);
    press(BTN_DOWN);
    press(BTN_DOWN);
    EXPECT_EQ(bag_view.bestiary_cursor, 2);
    press(BTN_LEFT);
    EXPECT_EQ(bag_view.page, BAG_PAGE_INVENTORY);
}

TEST(BagScreen, PageEasesTowardItsTargetAndSnaps) {
    bag_world(true);
    EXPECT_FLOAT_EQ(bag_view.shown_page, 1.0f);
    bag_page_change(-1);
    bag_screen_ease();
    EXPECT_NEAR(bag_view.shown_page, 0.7f, 1e-5);
    bag_screen_ease();
    EXPECT_NEAR(bag_view.shown_page, 0.49f, 1e-5);
    for (int i = 0; i < 40; ++i) bag_screen_ease();
    EXPECT_EQ(bag_view.shown_page, 0.0f);

    // The cursor eases toward its slot's centre the same way.
    cursor_at(BAG_ZONE_GRID, 0, 0);
    bag_screen_ease();
    float x, y;
    bag_slot_center(bag_view, &x, &y);
    cursor_at(BAG_ZONE_GRID, 1, 0);
    bag_screen_ease();
    EXPECT_NEAR(bag_view.cursor_x, x + 18 * 0.3f, 1e-4);
    for (int i = 0; i < 60; ++i) bag_screen_ease();
    bag_slot_center(bag_view, &x, &y);
    EXPECT_EQ(bag_view.cursor_x, x);

    // Opened from a screen below the game: the first easing puts the cursor on its slot at once.
    bag_view_clear();
    bag_screen_ease();
    bag_slot_center(bag_view, &x, &y);
    EXPECT_EQ(bag_view.cursor_x, x);
    EXPECT_EQ(bag_view.cursor_y, y);
}

TEST(BagScreen, StatsCursorFollowsTheDrawnArrangement) {
    // Landscape: one column of 9 rows (no dodge), boons to the right.
    bag_world(true);
    player.boon_ranks[3] = 1;
    player.boon_ranks[7] = 2;
    player.boon_ranks[20] = 1;
    bag_page_change(-1);
    ASSERT_EQ(bag_view.page, BAG_PAGE_STATS);
    int rows_list[STAT_ROW_COUNT];
    const int rows = bag_tab_list(rows_list);
    ASSERT_EQ(rows, 9);  // no dodge while the chance is 0
    press(BTN_DOWN);
    EXPECT_EQ(bag_view.stats_cursor, 1);
    press(BTN_RIGHT);  // row 0 -> boon 0
    EXPECT_EQ(bag_view.stats_cursor, rows + 1);
    press(BTN_DOWN);
    press(BTN_DOWN);
    press(BTN_DOWN);  // the last boon stays
    EXPECT_EQ(bag_view.stats_cursor, rows + 3);
    press(BTN_LEFT);  // boon 2 -> row 2
    EXPECT_EQ(bag_view.stats_cursor, 3);
    press(BTN_RIGHT);  // row 2 -> boon 2
    EXPECT_EQ(bag_view.stats_cursor, rows + 3);
    bag_view.stats_cursor = 8;  // row 7: no boon 7, so the first boon
    press(BTN_RIGHT);
    EXPECT_EQ(bag_view.stats_cursor, rows + 1);
    press(BTN_UP);  // first boon -> header
    EXPECT_EQ(bag_view.stats_cursor, 0);
    press(BTN_RIGHT);  // header -> first boon
    EXPECT_EQ(bag_view.stats_cursor, rows + 1);
    press(BTN_RIGHT | BTN_DOWN);  // RIGHT wins; from a boon it turns the page
    EXPECT_EQ(bag_view.page, BAG_PAGE_INVENTORY);

    // The stats popup opens with A and closes with B; a stored cursor out of range counts as 0.
    bag_page_change(-1);
    bag_view.stats_cursor = 99;
    press(BTN_DOWN);
    EXPECT_EQ(bag_view.stats_cursor, 1);
    press(BTN_A);
    EXPECT_TRUE(bag_view.stats_popup);
    press(BTN_LEFT);
    EXPECT_TRUE(bag_view.stats_popup);
    press(BTN_B);
    EXPECT_FALSE(bag_view.stats_popup);
    EXPECT_EQ(game_state, STATE_BAG);

    // Portrait: two columns of rows, boons below.
    bag_world(false);
    player.boon_ranks[3] = 1;
    player.boon_ranks[7] = 2;
    bag_page_change(-1);
    press(BTN_DOWN);
    EXPECT_EQ(bag_view.stats_cursor, 1);
    press(BTN_RIGHT);  // left cell -> right cell
    EXPECT_EQ(bag_view.stats_cursor, 2);
    press(BTN_DOWN);
    EXPECT_EQ(bag_view.stats_cursor, 4);
    press(BTN_LEFT);
    EXPECT_EQ(bag_view.stats_cursor, 3);
    press(BTN_UP);
    EXPECT_EQ(bag_view.stats_cursor, 1);
    press(BTN_UP);
    EXPECT_EQ(bag_view.stats_cursor, 0);
    bag_view.stats_cursor = 9;  // row 8, alone on the last line of 9 rows
    press(BTN_DOWN);
    EXPECT_EQ(bag_view.stats_cursor, rows + 1);
    press(BTN_DOWN);
    EXPECT_EQ(bag_view.stats_cursor, rows + 2);
    press(BTN_DOWN);
    EXPECT_EQ(bag_view.stats_cursor, rows + 2);
    press(BTN_UP);
    press(BTN_UP);  // first boon -> row 8
    EXPECT_EQ(bag_view.stats_cursor, 9);
    press(BTN_RIGHT);  // row 8 has no right neighbour: the page turns
    EXPECT_EQ(bag_view.page, BAG_PAGE_INVENTORY);
}

TEST(BagScreen, TapOpensTheCardAndALongHoldPicksUp) {
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_LONG_SWORD), 1, 0, 0, false);
    cursor_at(BAG_ZONE_GRID, 0, 2);  // the sword's lowest cell
    hold_a(BAG_PICKUP_TICKS - 1);
    EXPECT_FALSE(bag_view.holding);
    release();
    EXPECT_TRUE(bag_view.card_open);
    EXPECT_EQ(bag_view.card_entry, 0);
    EXPECT_EQ(bag_view.card_action, 0);
    press(BTN_B);
    EXPECT_FALSE(bag_view.card_open);
    EXPECT_EQ(game_state, STATE_BAG);

    hold_a(BAG_PICKUP_TICKS);
    EXPECT_TRUE(bag_view.holding);
    EXPECT_EQ(bag_view.held.id, (uint32_t)ITEM_LONG_SWORD);
    EXPECT_EQ(player.bag.count, 0);
    EXPECT_EQ(bag_view.press_ticks, 0);  // the ring is gone once it is in hand
    release();
    EXPECT_FALSE(bag_view.card_open);

    // A press on an empty cell or an empty hand does nothing.
    bag_world(true);
    hold_a(BAG_PICKUP_TICKS);
    release();
    EXPECT_FALSE(bag_view.holding);
    EXPECT_FALSE(bag_view.card_open);
    cursor_at(BAG_ZONE_MAIN);
    hold_a(BAG_PICKUP_TICKS);
    EXPECT_FALSE(bag_view.holding);
}

// The training's spotlight is handed the real cursor: the entry under it, then the card's entry,
// whose first action the card marks under that entry for the spotlight to find.
TEST(BagScreen, TheSpotlightIsToldWhereTheCursorAndTheCardAre) {
    bag_world(true);
    ASSERT_NE(bag_place_at(player.bag, item_make(ITEM_LONG_SWORD), 1, 0, 0, false), BAG_EMPTY);
    ASSERT_NE(bag_place_at(player.bag, item_make(ITEM_ANTIDOTE), 1, 3, 1, false), BAG_EMPTY);
    const int antidote = bag_find(ITEM_ANTIDOTE);
    ASSERT_EQ(antidote, 1);
    BagCursorView c = bag_cursor_view();
    EXPECT_EQ(c.page, 0);
    EXPECT_EQ(c.item, 0);
    EXPECT_EQ(c.card_open, 0);
    cursor_at(BAG_ZONE_GRID, 5, 4);
    EXPECT_EQ(bag_cursor_view().item, -1);
    cursor_at(BAG_ZONE_MAIN);
    EXPECT_EQ(bag_cursor_view().item, -1);
    cursor_at(BAG_ZONE_GRID, 3, 1);
    EXPECT_EQ(bag_cursor_view().item, antidote);

    press(BTN_A);
    release();
    ASSERT_TRUE(bag_view.card_open);
    c = bag_cursor_view();
    EXPECT_EQ(c.item, antidote);
    EXPECT_EQ(c.card_open, 1);
    hit_regions_clear();
    draw_item_info_panel();
    int x, y, w, h;
    EXPECT_TRUE(hit_region_find(SPOT_PANEL_ACTION, antidote, &x, &y, &w, &h));

    press(BTN_B);
    bag_page_change(+1);
    EXPECT_NE(bag_cursor_view().page, 0);
}

TEST(BagScreen, PutBackGoesToTheHandThenTheOriginThenAnywhere) {
    bag_world(true);
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    cursor_at(BAG_ZONE_MAIN);
    hold_a(BAG_PICKUP_TICKS);
    ASSERT_TRUE(bag_view.holding);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_NONE);
    cursor_at(BAG_ZONE_GRID, 3, 3);
    press(BTN_B);
    EXPECT_FALSE(bag_view.holding);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_EQ(game_state, STATE_BAG);

    // From the grid, turned: back at its origin with its turn.
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_LONG_SWORD), 1, 2, 3, true);
    pick_up_at(3, 3);
    ASSERT_TRUE(bag_view.holding);
    cursor_at(BAG_ZONE_GRID, 0, 0);
    press(BTN_SELECT);  // turns it upright in hand
    EXPECT_FALSE(bag_view.held_rotated);
    press(BTN_B);
    ASSERT_EQ(player.bag.count, 1);
    EXPECT_EQ(player.bag.entries[0].col, 2);
    EXPECT_EQ(player.bag.entries[0].row, 3);
    EXPECT_TRUE(player.bag.entries[0].rotated);

    // A square item: SELECT puts it back instead of turning it.
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_IRON_SHIELD), 1, 4, 3, false);
    pick_up_at(4, 3);
    ASSERT_TRUE(bag_view.holding);
    press(BTN_SELECT);
    EXPECT_FALSE(bag_view.holding);
    EXPECT_EQ(player.bag.count, 1);

    // With nothing in hand, B leaves the bag for the state underneath.
    press(BTN_B);
    EXPECT_EQ(game_state, STATE_DUNGEON);
}

TEST(BagScreen, PlacingMergingAndRefusedPlacements) {
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_HEALING_POTION), 2, 0, 0, false);
    bag_place_at(player.bag, item_make(ITEM_HEALING_POTION), 3, 5, 4, false);
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 1, 0, false);
    // A held potion onto an equal stack merges.
    pick_up_at(5, 4);
    ASSERT_EQ(bag_view.held_count, 3);
    cursor_at(BAG_ZONE_GRID, 0, 0);
    press(BTN_A);
    EXPECT_FALSE(bag_view.holding);
    ASSERT_EQ(player.bag.count, 2);
    EXPECT_EQ(player.bag.entries[bag_cell(player.bag, 0, 0)].count, 5);

    // A turned long sword laid over the potion and the dagger covers two entries: refused.
    bag_place_at(player.bag, item_make(ITEM_LONG_SWORD), 1, 4, 0, false);
    pick_up_at(4, 1);
    ASSERT_TRUE(bag_view.holding);
    cursor_at(BAG_ZONE_GRID, 0, 0);
    press(BTN_SELECT);
    ASSERT_TRUE(bag_view.held_rotated);
    const auto before = item_census();
    press(BTN_A);
    EXPECT_TRUE(bag_view.holding);
    EXPECT_EQ(bag_view.shake_timer, BAG_SHAKE_TICKS);
    EXPECT_EQ(item_census(), before);
    // Past the grid's edge: refused.
    cursor_at(BAG_ZONE_GRID, 4, 4);
    press(BTN_A);
    EXPECT_TRUE(bag_view.holding);
    // On free cells it goes down turned.
    cursor_at(BAG_ZONE_GRID, 2, 3);
    press(BTN_A);
    EXPECT_FALSE(bag_view.holding);
    const int idx = bag_cell(player.bag, 4, 3);
    ASSERT_GE(idx, 0);
    EXPECT_EQ(player.bag.entries[idx].item.id, (uint32_t)ITEM_LONG_SWORD);
    EXPECT_TRUE(player.bag.entries[idx].rotated);
    expect_bag_consistent();
}

TEST(BagScreen, SwappingTakesUpTheItemUnderneath) {
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_IRON_SHIELD), 1, 0, 0, false);
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 5, 4, false);
    pick_up_at(5, 4);
    cursor_at(BAG_ZONE_GRID, 1, 1);
    press(BTN_A);
    ASSERT_TRUE(bag_view.holding);
    EXPECT_EQ(bag_view.held.id, (uint32_t)ITEM_IRON_SHIELD);
    EXPECT_EQ(bag_view.origin_col, 0);
    EXPECT_EQ(bag_view.origin_row, 0);
    EXPECT_EQ(player.bag.entries[bag_cell(player.bag, 1, 1)].item.id, (uint32_t)ITEM_DAGGER);
    // B puts the shield back where it can: its origin is partly taken, so anywhere.
    press(BTN_B);
    EXPECT_FALSE(bag_view.holding);
    EXPECT_EQ(player.bag.count, 2);
    expect_bag_consistent();

    // Potions that differ in any field do not merge: they swap.
    bag_world(true);
    Item rare = item_make(ITEM_HEALING_POTION);
    rare.quality = QUALITY_RARE;
    bag_place_at(player.bag, item_make(ITEM_HEALING_POTION), 2, 0, 0, false);
    bag_place_at(player.bag, rare, 1, 3, 0, false);
    pick_up_at(3, 0);
    cursor_at(BAG_ZONE_GRID, 0, 0);
    press(BTN_A);
    ASSERT_TRUE(bag_view.holding);
    EXPECT_EQ(bag_view.held_count, 2);
    EXPECT_EQ(bag_view.held.quality, QUALITY_PLAIN);

    // The swap with nothing under it is no swap.
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 0, 0, false);
    pick_up_at(0, 0);
    cursor_at(BAG_ZONE_GRID, 3, 3);
    EXPECT_FALSE(inv_swap_into_bag());
    EXPECT_TRUE(bag_view.holding);
}

TEST(BagScreen, EquippingTheHeldItemIntoEachHand) {
    // A two-hander into the main hand: the off hand goes to the bag first, the main hand last.
    bag_world(true);
    player.cls = CLASS_BRUTE;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    bag_place_at(player.bag, item_make(ITEM_BATTLE_AXE), 1, 5, 0, false);
    pick_up_at(5, 0);
    cursor_at(BAG_ZONE_MAIN);
    press(BTN_A);
    EXPECT_FALSE(bag_view.holding);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_BATTLE_AXE);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_NONE);
    ASSERT_EQ(player.bag.count, 2);
    EXPECT_EQ(player.bag.entries[0].item.id, (uint32_t)ITEM_WOODEN_SHIELD);
    EXPECT_EQ(player.bag.entries[1].item.id, (uint32_t)ITEM_SHORT_SWORD);

    // A shield into the off hand beside a two-hander sends the two-hander to the bag.
    player.cls = CLASS_KNIGHT;
    pick_up_at(player.bag.entries[0].col, player.bag.entries[0].row);
    ASSERT_EQ(bag_view.held.id, (uint32_t)ITEM_WOODEN_SHIELD);
    cursor_at(BAG_ZONE_OFF);
    press(BTN_A);
    EXPECT_FALSE(bag_view.holding);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_WOODEN_SHIELD);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_NONE);
    EXPECT_GE(bag_find(ITEM_BATTLE_AXE), 0);

    // An either-hand weapon goes into the off hand; a two-hander or a potion does not; a shield
    // does not go into the main hand.
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 0, 0, false);
    pick_up_at(0, 0);
    cursor_at(BAG_ZONE_OFF);
    press(BTN_A);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_DAGGER);
    struct Refusal {
        uint32_t id;
        int zone;
    };
    const Refusal refusals[] = {{ITEM_SPEAR, BAG_ZONE_OFF}, {ITEM_HEALING_POTION, BAG_ZONE_MAIN},
                                {ITEM_TOWER_SHIELD, BAG_ZONE_MAIN}};
    for (const Refusal& r : refusals) {
        bag_world(true);
        bag_place_at(player.bag, item_make(r.id), 1, 0, 0, false);
        pick_up_at(0, 0);
        cursor_at(r.zone);
        press(BTN_A);
        EXPECT_TRUE(bag_view.holding) << r.id;
        EXPECT_EQ(bag_view.shake_timer, BAG_SHAKE_TICKS);
        EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_NONE);
        EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_NONE);
    }
}

TEST(BagScreen, ClassesRefuseTheGearTheyCannotUse) {
    struct Case {
        int cls;
        uint32_t id;
        int zone;
        const char* message;
    };
    const Case cases[] = {{CLASS_KNIGHT, ITEM_LONG_SWORD, BAG_ZONE_MAIN, "A KNIGHT CAN'T USE IT"},
                          {CLASS_BRUTE, ITEM_IRON_SHIELD, BAG_ZONE_OFF, "A BRUTE CAN'T USE IT"}};
    for (const Case& c : cases) {
        // Held over a hand: refused, still held.
        bag_world(true);
        player.cls = (uint8_t)c.cls;
        bag_place_at(player.bag, item_make(c.id), 1, 0, 0, false);
        pick_up_at(0, 0);
        cursor_at(c.zone);
        press(BTN_A);
        EXPECT_TRUE(bag_view.holding) << c.message;
        EXPECT_STREQ(bag_view.message, c.message);
        EXPECT_EQ(bag_view.shake_timer, BAG_SHAKE_TICKS);
        // From the card: refused, the card stays open.
        bag_world(true);
        player.cls = (uint8_t)c.cls;
        bag_place_at(player.bag, item_make(c.id), 1, 0, 0, false);
        hold_a(2);
        release();
        press(BTN_A);
        EXPECT_TRUE(bag_view.card_open);
        EXPECT_STREQ(bag_view.message, c.message);
        EXPECT_EQ(player.bag.count, 1);
    }
}

TEST(BagScreen, EquippingWithoutRoomChangesNothing) {
    bag_world(true);
    player.cls = CLASS_BRUTE;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_IRON_SHIELD);
    // Fill the bag with daggers but one cell, then hold the axe taken from a column of three.
    bag_place_at(player.bag, item_make(ITEM_BATTLE_AXE), 1, 0, 0, false);
    for (int r = 0; r < BAG_ROWS; ++r)
        for (int c = 1; c < BAG_COLS; ++c)
            if (!(r == 4 && c == 5)) bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, c, r, false);
    for (int r = 3; r < BAG_ROWS; ++r) bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 0, r, false);
    pick_up_at(0, 0);
    ASSERT_TRUE(bag_view.holding);
    // The shield needs 2 x 2 and the sword 1 x 2: neither fits once the axe's column is filled.
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 0, 0, false);
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 0, 1, false);
    const BagSnapshot before = bag_snapshot_take();
    const auto census = item_census();
    cursor_at(BAG_ZONE_MAIN);
    press(BTN_A);
    EXPECT_TRUE(bag_view.holding);
    EXPECT_EQ(bag_view.held.id, (uint32_t)ITEM_BATTLE_AXE);
    EXPECT_EQ(std::memcmp(&before.bag, &player.bag, sizeof(Bag)), 0);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_IRON_SHIELD);
    EXPECT_EQ(item_census(), census);
}

TEST(BagScreen, CardActionsUseEquipJunkAndDrop) {
    bag_world(true);
    player.cls = CLASS_BRUTE;
    bag_place_at(player.bag, item_make(ITEM_LONG_SWORD), 1, 0, 0, false);
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    hold_a(2);
    release();
    ASSERT_TRUE(bag_view.card_open);
    EXPECT_EQ(bag_card_action_count(), 3);
    // JUNK, then KEEP.
    press(BTN_RIGHT);
    press(BTN_A);
    EXPECT_TRUE(player.bag.entries[0].item.junk);
    EXPECT_STREQ(bag_view.message, "MARKED AS JUNK");
    EXPECT_TRUE(bag_sel_is_junk());
    press(BTN_A);
    EXPECT_FALSE(player.bag.entries[0].item.junk);
    EXPECT_STREQ(bag_view.message, "KEPT");
    // EQUIP swaps it with the main hand's sword.
    press(BTN_LEFT);
    press(BTN_A);
    EXPECT_FALSE(bag_view.card_open);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_LONG_SWORD);
    EXPECT_STREQ(bag_view.message, "Equipped LongSwd");
    EXPECT_EQ(player.bag.entries[0].item.id, (uint32_t)ITEM_SHORT_SWORD);

    // A potion's card has USE and DROP; at full health the message box says why.
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_HEALING_POTION), 3, 0, 0, false);
    hold_a(2);
    release();
    EXPECT_EQ(bag_card_action_count(), 2);
    press(BTN_A);
    EXPECT_TRUE(message_box_open);
    EXPECT_STREQ(message_box_text, "Already at full HP!");
    message_box_open = 0;
    player.hp = 10;
    press(BTN_A);
    EXPECT_FALSE(bag_view.card_open);
    EXPECT_EQ(player.bag.entries[0].count, 2);
    EXPECT_GT(player.hp, 10);
    EXPECT_EQ(std::strncmp(bag_view.message, "Healed", 6), 0);

    // A hand's card: EQUIPPED only closes it.
    bag_world(true);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    cursor_at(BAG_ZONE_OFF);
    hold_a(3);
    release();
    ASSERT_TRUE(bag_view.card_open);
    EXPECT_TRUE(bag_view.card_on_hand);
    EXPECT_EQ(bag_card_action_count(), 2);
    press(BTN_A);
    EXPECT_FALSE(bag_view.card_open);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_WOODEN_SHIELD);
}

TEST(BagScreen, DroppingLaysOneItemOnTheFloorWhereItMay) {
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_HEALING_POTION), 3, 0, 0, false);
    hold_a(2);
    release();
    press(BTN_RIGHT);  // DROP
    press(BTN_A);
    EXPECT_EQ(player.bag.entries[0].count, 2);
    ASSERT_EQ(floor_items.count, 1);
    EXPECT_EQ(floor_items.entries[0].x, 5);
    EXPECT_EQ(floor_items.source[0], FLOOR_SRC_DROPPED);
    EXPECT_EQ(gmap[5][5], item_glyph(ITEM_HEALING_POTION));
    EXPECT_STREQ(bag_view.message, "Dropped Potion");
    // The cell now holds it: no room for another.
    press(BTN_A);
    EXPECT_STREQ(bag_view.message, "No room to drop here!");
    EXPECT_EQ(bag_view.shake_timer, BAG_SHAKE_TICKS);
    EXPECT_EQ(player.bag.entries[0].count, 2);

    // The last of a stack removes the entry; a hand's item leaves the hand.
    bag_world(true);
    player.main_hand = item_make(ITEM_DAGGER);
    cursor_at(BAG_ZONE_MAIN);
    hold_a(2);
    release();
    press(BTN_RIGHT);
    press(BTN_A);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_NONE);
    EXPECT_EQ(floor_items.count, 1);

    // At the camp the trader takes it instead.
    bag_world(true);
    state_under_pause = STATE_CAMP;
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 0, 0, false);
    hold_a(2);
    release();
    press(BTN_RIGHT);
    press(BTN_RIGHT);
    press(BTN_A);
    EXPECT_STREQ(bag_view.message, "Camp: sell it at TRADE");
    EXPECT_EQ(player.bag.count, 1);
    EXPECT_EQ(floor_items.count, 0);

    // A full floor list refuses too.
    bag_world(true);
    for (int i = 0; i < FLOOR_ITEMS_MAX; ++i) floor_item_add(1, 1, item_make(ITEM_DAGGER), FLOOR_SRC_FLOOR);
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 0, 0, false);
    hold_a(2);
    release();
    press(BTN_RIGHT);
    press(BTN_RIGHT);
    press(BTN_A);
    EXPECT_STREQ(bag_view.message, "No room to drop here!");
    EXPECT_EQ(player.bag.count, 1);
    EXPECT_EQ(gmap[5][5], '.');
}

TEST(BagScreen, DroppingTheLastUnitClosesTheCardOnTheEntryThatMovedIn) {
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, 0, 0, false);
    bag_place_at(player.bag, item_make(ITEM_HEALING_POTION), 2, 3, 0, false);
    cursor_at(BAG_ZONE_GRID, 0, 0);
    hold_a(2);
    release();
    ASSERT_TRUE(bag_view.card_open);
    press(BTN_RIGHT);
    press(BTN_RIGHT);  // DROP
    press(BTN_A);
    ASSERT_EQ(player.bag.count, 1);  // the potions moved into the dagger's index
    EXPECT_FALSE(bag_view.card_open);
    press(BTN_A);
    EXPECT_EQ(player.bag.entries[0].count, 2);  // no action reached the potions
}

TEST(BagScreen, SlotCentresOfBothLayouts) {
    bag_world(true);
    const ScreenRect r = screen_layout.view;
    BagView v{};
    float x, y;
    bag_slot_center(v, &x, &y);
    EXPECT_EQ(x, (float)(r.x0 + 65));
    EXPECT_EQ(y, (float)(r.y0 + 45));
    v.zone = BAG_ZONE_OFF;
    bag_slot_center(v, &x, nullptr);
    EXPECT_EQ(x, (float)(r.x0 + 32));
    bag_slot_center(v, nullptr, nullptr);
    EXPECT_TRUE(bag_layout.valid);

    bag_world(false);
    const ScreenRect p = screen_layout.view;
    v = BagView{};
    bag_slot_center(v, &x, &y);
    EXPECT_EQ(x, (float)(p.x0 + 22));
    EXPECT_EQ(y, (float)(p.y0 + 88));
    v.zone = BAG_ZONE_MAIN;
    bag_slot_center(v, nullptr, &y);
    EXPECT_EQ(y, (float)(p.y0 + 42 + 11));
}

// --- An item in the player's hand is never lost ----------------------------------------------------

TEST(BagHeldItem, StowPutsItBackInTheHandOrTheBag) {
    bag_world(true);
    player.off_hand = item_make(ITEM_IRON_SHIELD);
    cursor_at(BAG_ZONE_OFF);
    hold_a(BAG_PICKUP_TICKS);
    ASSERT_TRUE(bag_view.holding);
    EXPECT_TRUE(bag_stow_held());
    EXPECT_FALSE(bag_view.holding);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_IRON_SHIELD);

    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_SPEAR), 1, 3, 1, false);
    pick_up_at(3, 1);
    cursor_at(BAG_ZONE_GRID, 0, 0);
    EXPECT_TRUE(bag_stow_held());
    ASSERT_EQ(player.bag.count, 1);
    EXPECT_EQ(player.bag.entries[0].col, 3);
    EXPECT_EQ(player.bag.entries[0].row, 1);
}

TEST(BagHeldItem, WithNoCellLeftItLandsOnTheFloorNearThePlayer) {
    // A full bag of daggers; the held long sword was swapped out for a dagger so nothing fits it.
    bag_world(true);
    for (int r = 0; r < BAG_ROWS; ++r)
        for (int c = 0; c < BAG_COLS; ++c) bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, c, r, false);
    bag_view.holding = 1;
    bag_view.held = item_make(ITEM_LONG_SWORD);
    bag_view.held_count = 1;
    bag_view.origin_col = 0;
    bag_view.origin_row = 0;
    const auto census = item_census();
    EXPECT_TRUE(bag_stow_held());
    EXPECT_FALSE(bag_view.holding);
    EXPECT_EQ(item_census(), census);
    ASSERT_EQ(floor_items.count, 1);
    EXPECT_EQ(floor_items.entries[0].x, 5);
    EXPECT_EQ(floor_items.entries[0].y, 5);
    EXPECT_EQ(gmap[5][5], item_glyph(ITEM_LONG_SWORD));

    // A stack held over a full bag: one floor item for each, on the nearest bare cells.
    bag_view.holding = 1;
    bag_view.held = item_make(ITEM_ANTIDOTE);
    bag_view.held_count = 3;
    const auto census2 = item_census();
    EXPECT_TRUE(bag_stow_held());
    EXPECT_EQ(item_census(), census2);
    EXPECT_EQ(floor_items.count, 4);

    // Standing on the stairs with walls round: the item stays in hand, reported, not lost.
    bag_world(true);
    for (int r = 0; r < BAG_ROWS; ++r)
        for (int c = 0; c < BAG_COLS; ++c) bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, c, r, false);
    for (int y = 0; y < MAP_H; ++y)
        for (int x = 0; x < MAP_W; ++x) gmap[y][x] = '#';
    gmap[5][5] = '>';
    bag_view.holding = 1;
    bag_view.held = item_make(ITEM_SPEAR);
    bag_view.held_count = 1;
    EXPECT_FALSE(bag_stow_held());
    EXPECT_TRUE(bag_view.holding);
    EXPECT_EQ(bag_view.held.id, (uint32_t)ITEM_SPEAR);
}

TEST(BagHeldItem, SavingWhileHoldingStowsFirst) {
    bag_world(true);
    bag_place_at(player.bag, item_make(ITEM_BATTLE_AXE), 1, 2, 0, false);
    pick_up_at(2, 0);
    ASSERT_TRUE(bag_view.holding);
    run_active = 1;
    save_on_exit();
    EXPECT_FALSE(bag_view.holding);
    EXPECT_GE(bag_find(ITEM_BATTLE_AXE), 0);
    run_active = 0;
}

TEST(BagHeldItem, AStackSwappedOutOfAFullBagIsSavedWhole) {
    // The bag full but for the cell under a stack of 999 antidotes: the sword lifted from the main
    // hand and laid over the stack leaves the stack in hand with no cell, and far more units than
    // the floor around the player can take.
    TempSaveDir tmp;
    bag_world(true);
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    bag_place_at(player.bag, item_make(ITEM_ANTIDOTE), RUN_STACK_MAX, 0, 0, false);
    for (int r = 0; r < BAG_ROWS; ++r)
        for (int c = 0; c < BAG_COLS; ++c)
            if (c != 0 || r > 1) bag_place_at(player.bag, item_make(ITEM_DAGGER), 1, c, r, false);
    const auto census = item_census();
    cursor_at(BAG_ZONE_MAIN);
    hold_a(BAG_PICKUP_TICKS);
    release();
    cursor_at(BAG_ZONE_GRID, 0, 0);
    press(BTN_A);
    ASSERT_TRUE(bag_view.holding);
    ASSERT_EQ(bag_view.held.id, (uint32_t)ITEM_ANTIDOTE);
    ASSERT_EQ(bag_view.held_count, RUN_STACK_MAX);

    run_active = 1;
    EXPECT_TRUE(save_on_exit());
    EXPECT_EQ(message_box_open, 0);
    // What the saved run holds, read back into a game that had none of it.
    reset_player();
    floor_items_clear();
    bag_view_reset();
    ASSERT_TRUE(load_run());
    EXPECT_EQ(item_census(), census);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_SHORT_SWORD);
    run_active = 0;
}

TEST(BagHeldItem, NoItemIsLostUnderRandomInput) {
    // Thousands of ticks of random presses and holds over a crowded bag, with stows at random
    // moments: every unit of every item stays somewhere, and the grid stays whole.
    uint32_t seed = 0x9E3779B9u;
    auto next = [&seed]() {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed;
    };
    for (int round = 0; round < 8; ++round) {
        bag_world(round % 2 == 0);
        player.hp = player.max_hp;  // potions are refused, so none is drunk
        player.main_hand = item_make(ITEM_SHORT_SWORD);
        player.off_hand = item_make(ITEM_WOODEN_SHIELD);
        const uint32_t ids[] = {ITEM_LONG_SWORD, ITEM_DAGGER,       ITEM_IRON_SHIELD,   ITEM_HEALING_POTION,
                                ITEM_SPEAR,      ITEM_TOWER_SHIELD, ITEM_VENOM_DAGGER,  ITEM_HEALING_POTION,
                                ITEM_BATTLE_AXE, ITEM_DAGGER,       ITEM_GREATER_POTION, ITEM_WOODEN_SHIELD};
        for (uint32_t id : ids) bag_add(player.bag, item_make(id), item_id_is_stackable(id) ? 1 + (int)(next() % 3) : 1);
        const auto census = item_census();
        int holding_ticks = 0;
        // One tick with `now` held; every unit is still somewhere afterwards.
        uint8_t held = 0;
        auto step = [&](uint8_t now) {
            if (game_state != STATE_BAG) {
                game_state = STATE_BAG;
                bag_view_reset();
            }
            message_box_open = 0;
            update_bag(now & (uint8_t)~held, now);
            held = now;
            bag_screen_ease();
            bag_screen_timers_tick();
            holding_ticks += bag_view.holding;
            ASSERT_EQ(item_census(), census) << "round " << round;
            expect_bag_consistent();
        };
        for (int action = 0; action < 600; ++action) {
            const uint32_t r = next();
            const int kind = (int)(r % 10);
            if (kind < 4) {  // a d-pad tap
                step((uint8_t)(1u << kind));
                step(0);
            } else if (kind < 6) {  // a tap of A
                step(BTN_A);
                step(0);
            } else if (kind < 8) {  // a long hold of A
                for (int t = 0; t < BAG_PICKUP_TICKS + 2; ++t) step(BTN_A);
                step(0);
            } else if (kind == 8) {  // SELECT, or now and then B
                step((r >> 8) % 3 == 0 ? BTN_B : BTN_SELECT);
                step(0);
            } else {  // the run is saved at an awkward moment
                bag_stow_held();
                ASSERT_EQ(item_census(), census);
            }
            if (::testing::Test::HasFatalFailure()) return;
        }
        EXPECT_GT(holding_ticks, 100) << "round " << round;
        bag_stow_held();
        EXPECT_FALSE(bag_view.holding);
        EXPECT_EQ(item_census(), census);
    }
}
