// The bag in a real run, through the tick: open it from the dungeon with SELECT, move an item,
// equip a weapon, close it, and the view shows the new weapon in hand. Review pictures of the view
// before and after, and of the bag on the way, when QM_PNG_DIR is set.
#include <gtest/gtest.h>

#include <cstring>

#include "game/bag_screen.h"
#include "game/game.h"
#include "game/run_start.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/item.h"
#include "items/item_random.h"
#include "render/screen.h"
#include "screens/transition.h"
#include "support/png_out.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "world/bag_view.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

void tap(uint8_t button) {
    game_tick(button);
    game_tick(0);
}

void hold_a_until_picked_up() {
    for (int i = 0; i < BAG_PICKUP_TICKS; ++i) game_tick(BTN_A);
    game_tick(0);
}

}  // namespace

TEST(BagInPlay, MovingAndEquippingAWeaponShowsItInTheView) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_CLASS_SELECT);
    layout_set_landscape();
    fixed_seed = 0x5EED1234u;
    fixed_seed_runs = 0;
    next_random_state = 1;
    run_start_transition(0);
    for (int i = 0; i < 600 && (transition_active() || game_state != STATE_DUNGEON); ++i) game_tick(0);
    ASSERT_EQ(game_state, STATE_DUNGEON);
    for (int i = 0; i < 60; ++i) game_tick(0);

    // A venom dagger waits in the bag's top row.
    bag_grid_clear(player.bag);
    ASSERT_GE(bag_place_at(player.bag, item_make(ITEM_VENOM_DAGGER), 1, 3, 0, false), 0);
    const Item old_main = player.main_hand;
    draw_frame();
    static uint8_t before[FB_BYTES];
    std::memcpy(before, framebuffer, FB_BYTES);
    png_write_framebuffer("bag_play_view_before.png");

    tap(BTN_SELECT);
    ASSERT_EQ(game_state, STATE_BAG);
    EXPECT_EQ(bag_view.page, BAG_PAGE_INVENTORY);
    // Over to the dagger, pick it up, carry it down and right, put it down.
    for (int i = 0; i < 3; ++i) tap(BTN_RIGHT);
    hold_a_until_picked_up();
    ASSERT_TRUE(bag_view.holding);
    tap(BTN_DOWN);
    tap(BTN_RIGHT);
    draw_frame();
    png_write_framebuffer("bag_play_carrying.png");
    tap(BTN_A);
    ASSERT_FALSE(bag_view.holding);
    ASSERT_EQ(bag_cell(player.bag, 4, 1), 0);

    // Pick it up again and take it to the main hand.
    hold_a_until_picked_up();
    ASSERT_TRUE(bag_view.holding);
    for (int i = 0; i < 4; ++i) tap(BTN_LEFT);
    EXPECT_EQ(bag_view.zone, BAG_ZONE_GRID);
    tap(BTN_LEFT);
    EXPECT_EQ(bag_view.zone, BAG_ZONE_MAIN);
    tap(BTN_A);
    EXPECT_FALSE(bag_view.holding);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_VENOM_DAGGER);
    if (old_main.id != ITEM_NONE) {
        EXPECT_GE(bag_find(old_main.id), 0);
    }
    for (int i = 0; i < 20; ++i) game_tick(0);
    draw_frame();
    png_write_framebuffer("bag_play_equipped.png");

    tap(BTN_B);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    for (int i = 0; i < 30; ++i) game_tick(0);
    draw_frame();
    png_write_framebuffer("bag_play_view_after.png");
    EXPECT_NE(std::memcmp(before, framebuffer, FB_BYTES), 0);
}
