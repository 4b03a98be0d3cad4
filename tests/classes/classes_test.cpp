// The classes: KNIGHT and BRUTE starts (hit points, gear, perk), the gear each may use, the class
// select's moves, and a locked class that starts nothing.
#include <gtest/gtest.h>

#include "boons/boons.h"
#include "classes/class_select.h"
#include "classes/classes.h"
#include "game/run_start.h"
#include "items/item.h"
#include "profile/profile.h"
#include "services/toast.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

TEST(Classes, KnightAndBruteStarts) {
    player_start();
    class_apply(CLASS_KNIGHT);
    EXPECT_EQ(player.cls, CLASS_KNIGHT);
    EXPECT_EQ(player.max_hp, 15);
    EXPECT_EQ(player.hp, 15);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_WOODEN_SHIELD);
    EXPECT_EQ(player.boon_ranks[BOON_BLOODTHIRST], 0);

    player_start();
    player.hp = 4;
    class_apply(CLASS_BRUTE);
    EXPECT_EQ(player.cls, CLASS_BRUTE);
    EXPECT_EQ(player.max_hp, 17);
    EXPECT_EQ(player.hp, 17);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_BATTLE_AXE);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_NONE);
    EXPECT_EQ(player.boon_ranks[BOON_BLOODTHIRST], 1);

    // A BRUTE who already has BLOODTHIRST keeps its level.
    player_start();
    player.boon_ranks[BOON_BLOODTHIRST] = 3;
    class_apply(CLASS_BRUTE);
    EXPECT_EQ(player.boon_ranks[BOON_BLOODTHIRST], 3);

    // Out of range: reported, played as a KNIGHT; hit points never below 1.
    player_start();
    player.max_hp = -10;
    class_apply(7);
    EXPECT_EQ(player.cls, CLASS_KNIGHT);
    EXPECT_EQ(player.max_hp, 1);
    EXPECT_EQ(player.hp, 1);
}

TEST(Classes, GearEachClassMayUse) {
    player_start();
    player.cls = CLASS_KNIGHT;
    for (int id = 1; id < ITEM_COUNT; id++)
        EXPECT_EQ(class_can_use(item_make((uint32_t)id)), !item_def((uint32_t)id).two_handed) << id;
    player.cls = CLASS_BRUTE;
    for (int id = 1; id < ITEM_COUNT; id++)
        EXPECT_EQ(class_can_use(item_make((uint32_t)id)), item_def((uint32_t)id).kind != ITEM_KIND_SHIELD) << id;
}

TEST(Classes, TextsCostsAndLookUps) {
    EXPECT_STREQ(class_info(CLASS_KNIGHT).name, "KNIGHT");
    EXPECT_STREQ(class_info(CLASS_BRUTE).restriction, "NO SHIELDS");
    EXPECT_STREQ(class_info(-1).name, "KNIGHT");
    EXPECT_STREQ(class_info(2).name, "KNIGHT");
    EXPECT_EQ(class_unlock_cost(CLASS_BRUTE), 60);
    EXPECT_EQ(class_unlock_cost(CLASS_KNIGHT), 0);
    EXPECT_EQ(class_hook_zero(), 0);
}

TEST(ClassSelect, MovesBacksOutAndBegins) {
    game_state = STATE_CLASS_SELECT;
    class_cursor = 0;
    EXPECT_EQ(update_class_select(BTN_DOWN), CLASS_SELECT_STAY);
    EXPECT_EQ(class_cursor, 1);
    EXPECT_EQ(update_class_select(BTN_UP), CLASS_SELECT_STAY);
    EXPECT_EQ(class_cursor, 0);
    EXPECT_EQ(update_class_select(BTN_DOWN), CLASS_SELECT_STAY);
    EXPECT_EQ(update_class_select(BTN_DOWN), CLASS_SELECT_STAY);
    EXPECT_EQ(class_cursor, 0);  // wraps over two
    EXPECT_EQ(update_class_select(BTN_LEFT | BTN_RIGHT), CLASS_SELECT_STAY);
    EXPECT_EQ(class_cursor, 0);
    EXPECT_EQ(update_class_select(BTN_A), CLASS_KNIGHT);
    EXPECT_EQ(update_class_select(BTN_START), CLASS_KNIGHT);
    EXPECT_EQ(update_class_select(BTN_B), CLASS_SELECT_STAY);
    EXPECT_EQ(game_state, STATE_TITLE);
}

}  // namespace

namespace {

// The BRUTE waits for its 60 souls: choosing it starts nothing until the unlock is bought.
TEST(ClassSelect, BruteIsLockedUntilBought) {
    profile = Profile{};
    EXPECT_TRUE(class_locked(CLASS_BRUTE));
    EXPECT_FALSE(class_locked(CLASS_KNIGHT));
    game_state = STATE_CLASS_SELECT;
    class_cursor = CLASS_BRUTE;
    toast_line1[0] = '\0';
    EXPECT_EQ(update_class_select(BTN_A), CLASS_SELECT_STAY);
    EXPECT_STREQ(toast_line1, "UNLOCK IT WITH SOULS");
    unlock_set(0);  // the BRUTE row
    EXPECT_FALSE(class_locked(CLASS_BRUTE));
    EXPECT_EQ(update_class_select(BTN_A), CLASS_BRUTE);
    profile = Profile{};
    game_state = STATE_SPLASH;
}

}  // namespace
