// The player's status ticks: floors under a loss, deep poison, regeneration's cap.
#include <gtest/gtest.h>

#include "combat/status.h"
#include "dungeon/map.h"
#include "world/player.h"

namespace {

void hurt_player(int hp, int max_hp) {
    player = Player{};
    player.hp = hp;
    player.max_hp = max_hp;
}

TEST(StatusTick, LossesStopAtTheFloorAndDeepPoisonBitesHarder) {
    current_floor = 0;
    hurt_player(10, 40);
    player.status[ST_POISON] = 2;
    EXPECT_EQ(status_tick_player(ST_POISON, 1), -1);
    EXPECT_EQ(player.hp, 9);
    EXPECT_EQ(player.status[ST_POISON], 1);

    // Burn takes two, but not through the floor; already below it, hp stays.
    hurt_player(2, 40);
    player.status[ST_BURN] = 3;
    EXPECT_EQ(status_tick_player(ST_BURN, 1), -1);
    EXPECT_EQ(player.hp, 1);
    hurt_player(0, 40);
    player.status[ST_BURN] = 3;
    EXPECT_EQ(status_tick_player(ST_BURN, 1), 0);
    EXPECT_EQ(player.hp, 0);
    EXPECT_EQ(player.status[ST_BURN], 2);

    // Below floor 12 poison takes one more, unless that crosses the floor.
    current_floor = 11;
    hurt_player(10, 40);
    player.status[ST_POISON] = 1;
    EXPECT_EQ(status_tick_player(ST_POISON, 1), -1);
    current_floor = 12;
    hurt_player(10, 40);
    player.status[ST_POISON] = 1;
    EXPECT_EQ(status_tick_player(ST_POISON, 1), -2);
    hurt_player(2, 40);
    player.status[ST_POISON] = 1;
    EXPECT_EQ(status_tick_player(ST_POISON, 1), -1);
    EXPECT_EQ(player.hp, 1);
    current_floor = 0;
}

TEST(StatusTick, RegenerationIsCappedAndIdleCountersDoNothing) {
    hurt_player(40, 40);
    player.status[ST_REGEN] = 2;
    EXPECT_EQ(status_tick_player(ST_REGEN, 1), 0);
    EXPECT_EQ(player.status[ST_REGEN], 1);
    // Above max (a lost max-hp bonus), regeneration neither heals nor takes away.
    hurt_player(45, 40);
    player.status[ST_REGEN] = 1;
    EXPECT_EQ(status_tick_player(ST_REGEN, 1), 0);
    EXPECT_EQ(player.hp, 45);

    hurt_player(10, 40);
    EXPECT_EQ(status_tick_player(ST_POISON, 1), 0);
    EXPECT_EQ(status_tick_player(-1, 1), 0);
    EXPECT_EQ(status_tick_player(ST_COUNT, 1), 0);
    EXPECT_EQ(player.hp, 10);
}

}  // namespace
