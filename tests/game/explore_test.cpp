// Exploration driven through update_dungeon with new presses: what each glyph does to a step,
// pickups and chests, encounters, the way-out dialog, the stairs and status ticks.
#include <gtest/gtest.h>

#include <string>

#include "explore_fixture.h"
#include "boons/boons.h"
#include "camp/camp.h"
#include "combat/loot.h"
#include "game/bag_screen.h"
#include "world/bag_view.h"
#include "items/bag.h"
#include "items/item_random.h"
#include "levelup/levelup.h"
#include "platform/input.h"
#include "profile/profile.h"
#include "support/temp_save_dir.h"
#include "support/unwritable_save_dir.h"

namespace {

// Row 5 is the test corridor: the player at (3, 5) facing east (1) toward column 4.
const char* corridor(char ahead, char behind = '.') {
    static char row[MAP_W + 1];
    std::string r = "#.............##";
    r[2] = behind;
    r[3] = '@';
    r[4] = ahead;
    for (int i = 0; i <= MAP_W; ++i) row[i] = i < MAP_W ? r[i] : '\0';
    return row;
}

void corridor_world(char ahead, char behind = '.', int floor = 0) {
    const char* rows[MAP_H] = {
        "################", "#..............#", "#..............#", "#..............#", "#..............#",
        corridor(ahead, behind), "#..............#", "#..............#", "#..............#", "#..............#",
        "#..............#", "################",
    };
    explore_world(rows, 1, floor);
}

void press(uint8_t buttons) { update_dungeon(buttons); }

std::string toast() { return toast_line1; }

TEST(ExploreStep, TheFreezeSwitchHoldsEveryMonster) {
    corridor_world('.');
    ASSERT_TRUE(monster_add(M_RAT, 10, 3));
    EXPECT_FALSE(explore_monsters_frozen());
    cheat_flags[CHEAT_FREEZE_MONSTERS] = 1;
    EXPECT_TRUE(explore_monsters_frozen());
    for (int i = 0; i < 20; ++i) press(BTN_A);  // waiting lets monsters move
    EXPECT_EQ(monsters.list[0].x, 10);
    EXPECT_EQ(monsters.list[0].y, 3);
    cheat_flags[CHEAT_FREEZE_MONSTERS] = 0;
}

TEST(ExploreStep, WallsAndDoors) {
    corridor_world('#');
    press(BTN_UP);
    EXPECT_EQ(player.x, 3);

    corridor_world('+');
    press(BTN_UP);
    EXPECT_EQ(toast(), "Locked! Need a key.");
    EXPECT_EQ(gmap[5][4], '+');

    // A door opens from either side, costs one key and leaves the player where they stood.
    corridor_world('.', '+');
    player.keys = 2;
    press(BTN_DOWN);
    EXPECT_EQ(toast(), "The door creaks open.");
    EXPECT_EQ(gmap[5][2], '.');
    EXPECT_EQ(player.keys, 1);
    EXPECT_EQ(player.x, 3);
    press(BTN_DOWN);
    EXPECT_EQ(player.x, 2);
    EXPECT_EQ(player.facing, 1);
}

TEST(ExploreStep, ChestOpensWithItsItemAndBonusPotion) {
    corridor_world('C');
    frame_counter = 100;
    press(BTN_UP);
    EXPECT_EQ(toast(), "LOCKED: NEED A KEY");
    EXPECT_EQ(gmap[5][4], 'C');

    player.keys = 1;
    Item sword = item_make(ITEM_LONG_SWORD);
    sword.quality = QUALITY_FINE;
    floor_item_add(4, 5, sword, FLOOR_SRC_CHEST);
    press(BTN_UP);
    EXPECT_EQ(toast(), "CHEST OPENED!");
    EXPECT_STREQ(toast_line2, "Fine Long Sword");
    EXPECT_EQ(toast_timer, TOAST2_TICKS);
    EXPECT_EQ(gmap[5][4], 'c');
    EXPECT_EQ(player.keys, 0);
    EXPECT_EQ(player.x, 3);
    EXPECT_EQ(floor_item_find(4, 5), -1);
    ASSERT_EQ(player.bag.count, 1);
    EXPECT_EQ(player.bag.entries[0].item.id, (uint32_t)ITEM_LONG_SWORD);
    // At full hp the chest's potion becomes 25 gold.
    EXPECT_EQ(player.gold, 25);
    EXPECT_EQ(chest_open_ticks(4, 5), 0);
    frame_counter = 130;
    EXPECT_EQ(chest_open_ticks(4, 5), 30);
    EXPECT_EQ(chest_open_ticks(5, 5), -1);
    current_floor = 1;
    EXPECT_EQ(chest_open_ticks(4, 5), -1);
    current_floor = 0;

    press(BTN_UP);
    EXPECT_EQ(toast(), "THE CHEST IS EMPTY");

    // Hurt, the bonus potion heals instead of paying.
    corridor_world('C');
    player.keys = 1;
    player.hp = 10;
    press(BTN_UP);
    EXPECT_GT(player.hp, 10);
    EXPECT_EQ(player.gold, 0);
}

TEST(ExploreStep, FullBagKeepsChestClosedAndKey) {
    corridor_world('C');
    player.keys = 1;
    for (int i = 0; i < 15; ++i) bag_add(player.bag, item_make(ITEM_WOODEN_SHIELD), 1);
    for (int i = 0; bag_add(player.bag, item_make(ITEM_DAGGER), 1) >= 0 && i < 30; ++i) {
    }
    floor_item_add(4, 5, item_make(ITEM_IRON_SHIELD), FLOOR_SRC_CHEST);
    press(BTN_UP);
    EXPECT_EQ(toast(), "BAG IS FULL");
    EXPECT_EQ(gmap[5][4], 'C');
    EXPECT_EQ(player.keys, 1);
    EXPECT_GE(floor_item_find(4, 5), 0);
}

// A gain that a stack at its bound, or the purse at its, cannot hold whole would be counted
// nowhere: it is refused as a full bag refuses it, and the item stays where it was.
TEST(ExploreStep, GainsPastAStackOrThePursesBoundAreRefusedAsAFullBagIs) {
    const Item antidote = item_make(ITEM_ANTIDOTE);
    corridor_world('a');
    const int stack = bag_add(player.bag, antidote, RUN_STACK_MAX);
    press(BTN_UP);
    EXPECT_EQ(toast(), "Bag is full!");
    EXPECT_EQ(gmap[5][4], 'a');
    EXPECT_EQ(player.bag.entries[stack].count, RUN_STACK_MAX);

    corridor_world('C');
    player.keys = 1;
    bag_add(player.bag, antidote, RUN_STACK_MAX);
    floor_item_add(4, 5, antidote, FLOOR_SRC_CHEST);
    press(BTN_UP);
    EXPECT_EQ(toast(), "BAG IS FULL");
    EXPECT_EQ(gmap[5][4], 'C');
    EXPECT_EQ(player.keys, 1);

    // Several units of which only some would fit: none are taken, and the boon pays instead.
    corridor_world('.');
    const int potions = bag_add(player.bag, item_make(ITEM_HEALING_POTION), RUN_STACK_MAX - 2);
    boon_apply(BOON_SUPPLIES);
    EXPECT_EQ(toast(), "BAG FULL: +20 GOLD");
    EXPECT_EQ(player.bag.entries[potions].count, RUN_STACK_MAX - 2);
    // A held stack laid on an equal one stays in hand.
    bag_view = BagView{};
    bag_view.holding = 1;
    bag_view.held = item_make(ITEM_HEALING_POTION);
    bag_view.held_count = 3;
    bag_view.col = player.bag.entries[potions].col;
    bag_view.row = player.bag.entries[potions].row;
    EXPECT_FALSE(inv_swap_into_bag());
    EXPECT_EQ(bag_view.held_count, 3);
    EXPECT_EQ(player.bag.entries[potions].count, RUN_STACK_MAX - 2);
    bag_view = BagView{};

    // At the camp, a sale the purse cannot take keeps the item, one unit or all the junk.
    current_floor = 3;
    camp_enter();
    player.gold = RUN_GOLD_MAX;
    Item dagger = item_make(ITEM_DAGGER);
    dagger.junk = 1;
    bag_add(player.bag, dagger, 1);
    const int bag_count = player.bag.count;
    camp_page = CAMP_PAGE_SELL;
    for (const int32_t row : {0, 1}) {
        camp.cursor = row;
        toast_line1[0] = '\0';
        update_camp(BTN_A);
        EXPECT_EQ(toast(), "PURSE IS FULL") << row;
    }
    EXPECT_EQ(player.bag.count, bag_count);
    EXPECT_EQ(player.gold, RUN_GOLD_MAX);
    EXPECT_EQ(camp.buy_back_count, 0);
    game_state = STATE_DUNGEON;
}

// Gold or keys the purse or the keyring cannot take whole: on the floor they stay where they lie;
// anywhere else what fits is taken. Either way the player is told the purse or the keyring is full,
// and no toast or line tells of a gain that was not made.
TEST(ExploreStep, GoldAndKeysPastTheBoundAreToldAsAFullPurseOrKeyring) {
    corridor_world('g');
    player.gold = RUN_GOLD_MAX - 1;
    press(BTN_UP);
    EXPECT_EQ(toast(), PURSE_FULL_TEXT);
    EXPECT_EQ(player.gold, RUN_GOLD_MAX - 1);
    EXPECT_EQ(gmap[5][4], 'g');
    EXPECT_EQ(player.x, 4);  // the player steps onto it, as onto an item a full bag leaves

    corridor_world('k');
    player.keys = RUN_KEYS_MAX;
    press(BTN_UP);
    EXPECT_EQ(toast(), KEYRING_FULL_TEXT);
    EXPECT_EQ(player.keys, RUN_KEYS_MAX);
    EXPECT_EQ(gmap[5][4], 'k');

    // The chest still opens; the gold its potion becomes at full hp is told not to fit.
    corridor_world('C');
    player.keys = 1;
    player.gold = RUN_GOLD_MAX - 1;
    floor_item_add(4, 5, item_make(ITEM_DAGGER), FLOOR_SRC_CHEST);
    press(BTN_UP);
    EXPECT_EQ(gmap[5][4], 'c');
    EXPECT_EQ(player.gold, RUN_GOLD_MAX);
    EXPECT_EQ(toast(), PURSE_FULL_TEXT);
    EXPECT_STREQ(toast_line2, "Dagger");

    // The level-up's cards: PURSE at 9,999,998 takes 1, SPARE KEY at the most keys none, and a
    // FLASK the bag cannot take (its potion stack is full) pays what still fits.
    corridor_world('.');
    const int potions = bag_add(player.bag, item_make(ITEM_HEALING_POTION), RUN_STACK_MAX);
    auto take = [](int id) {
        toast_line1[0] = '\0';
        levelup.pending = 1;
        levelup.picks[0] = id;
        levelup.cursor = 0;
        game_state = STATE_LEVELUP;
        update_levelup(BTN_A, LevelupMode{false});
        return toast();
    };
    player.gold = RUN_GOLD_MAX - 1;
    EXPECT_EQ(take(PICK_PURSE), PURSE_FULL_TEXT);
    EXPECT_EQ(player.gold, RUN_GOLD_MAX);
    player.keys = RUN_KEYS_MAX;
    EXPECT_EQ(take(PICK_SPARE_KEY), KEYRING_FULL_TEXT);
    EXPECT_EQ(player.keys, RUN_KEYS_MAX);
    player.gold = RUN_GOLD_MAX - 3;
    EXPECT_EQ(take(PICK_FLASK), BAG_AND_PURSE_FULL_TEXT);
    EXPECT_EQ(player.gold, RUN_GOLD_MAX);
    EXPECT_EQ(player.bag.entries[potions].count, RUN_STACK_MAX);

    // Boons: CACHE and KEYRING, and SUPPLIES' gold in place of potions the bag cannot take.
    player.gold = RUN_GOLD_MAX - 10;
    boon_apply(BOON_CACHE);
    EXPECT_EQ(toast(), PURSE_FULL_TEXT);
    EXPECT_EQ(player.gold, RUN_GOLD_MAX);
    player.keys = RUN_KEYS_MAX - 1;
    boon_apply(BOON_KEYRING);
    EXPECT_EQ(toast(), KEYRING_FULL_TEXT);
    EXPECT_EQ(player.keys, RUN_KEYS_MAX);
    player.gold = RUN_GOLD_MAX;
    boon_apply(BOON_SUPPLIES);
    EXPECT_EQ(toast(), BAG_AND_PURSE_FULL_TEXT);
    EXPECT_EQ(player.gold, RUN_GOLD_MAX);

    // A slain monster's gold and keys: an elite always drops, so a few drops show both.
    game_state = STATE_DUNGEON;
    player.gold = RUN_GOLD_MAX - 1;
    player.keys = RUN_KEYS_MAX;
    int told_gold = 0, told_key = 0;
    for (int i = 0; i < 40; ++i) {
        char line[28];
        gmap[5][4] = '.';
        floor_items_clear();
        loot_drop(M_GOBLIN, 4, 5, 0, true, line, sizeof line);
        const std::string said = line;
        told_gold += said == PURSE_FULL_TEXT;
        told_key += said == KEYRING_FULL_TEXT;
        EXPECT_EQ(said.find("GOLD"), std::string::npos) << said;
        EXPECT_EQ(said.find("KEY!"), std::string::npos) << said;
    }
    EXPECT_GT(told_gold, 0);
    EXPECT_GT(told_key, 0);
    EXPECT_EQ(player.gold, RUN_GOLD_MAX);
    EXPECT_EQ(player.keys, RUN_KEYS_MAX);
    floor_items_clear();
}

TEST(ExploreStep, GoldKeysAndItemsAreTakenOnTheWay) {
    corridor_world('g');
    press(BTN_UP);
    EXPECT_EQ(toast(), "Gold! (10 total)");
    EXPECT_EQ(player.x, 4);
    EXPECT_EQ(gmap[5][4], '.');

    corridor_world('k');
    press(BTN_UP);
    EXPECT_EQ(toast(), "Found a key! (x1)");
    EXPECT_EQ(player.keys, 1);

    corridor_world('s');
    press(BTN_UP);
    EXPECT_EQ(toast(), "Found Wooden Shield");
    EXPECT_EQ(gmap[5][4], '.');
    EXPECT_EQ(player.bag.count, 1);

    // A second antidote stacks and says how many.
    corridor_world('a');
    bag_add(player.bag, item_make(ITEM_ANTIDOTE), 1);
    press(BTN_UP);
    EXPECT_EQ(toast(), "Found Antidote (x2)");

    // A long name is cut to the quality word and the short name.
    corridor_world('w');
    Item sword = item_make(ITEM_ENCHANTED_SWORD);
    sword.quality = QUALITY_RARE;
    floor_item_add(4, 5, sword, FLOOR_SRC_MONSTER);
    press(BTN_UP);
    EXPECT_EQ(toast(), "Found Rare EnchSwd");
    EXPECT_EQ(floor_item_find(4, 5), -1);
}

TEST(ExploreStep, PotionsAreDrunkWhereTheyLie) {
    corridor_world('p');
    press(BTN_UP);
    EXPECT_EQ(toast(), "FULL HP: LEFT IT");
    EXPECT_EQ(gmap[5][4], 'p');
    EXPECT_EQ(player.x, 4);
    EXPECT_EQ(player.bag.count, 0);

    corridor_world('p');
    player.hp = 20;
    press(BTN_UP);
    EXPECT_EQ(toast(), "Potion: +6 HP");
    EXPECT_EQ(player.hp, 26);
    EXPECT_EQ(gmap[5][4], '.');
}

TEST(ExploreStep, FullBagLeavesTheItem) {
    corridor_world('s');
    for (int i = 0; i < 15; ++i) bag_add(player.bag, item_make(ITEM_WOODEN_SHIELD), 1);
    press(BTN_UP);
    EXPECT_EQ(toast(), "Bag is full!");
    EXPECT_EQ(gmap[5][4], 's');
}

TEST(ExploreStep, HollowWallsAndUrnsOnlyAnswerAForwardStep) {
    TempSaveDir saves;  // the profile counts the secret room
    profile = Profile{};
    corridor_world('%', '%');
    press(BTN_DOWN);
    EXPECT_EQ(gmap[5][2], '%');
    EXPECT_EQ(toast(), "");
    press(BTN_UP);
    EXPECT_EQ(toast(), "THE WALL SOUNDS HOLLOW");
    EXPECT_EQ(gmap[5][4], '&');
    press(BTN_UP);
    EXPECT_EQ(toast(), "A SECRET ROOM!");
    EXPECT_EQ(profile.secrets, 1);
    EXPECT_EQ(gmap[5][4], '.');
    EXPECT_EQ(player.x, 3);

    corridor_world('b', 'b', 9);
    press(BTN_DOWN);
    EXPECT_EQ(gmap[5][2], 'b');
    press(BTN_UP);
    EXPECT_NE(gmap[5][4], 'b');
    EXPECT_EQ(player.x, 3);
}

TEST(ExploreStep, StairsLeadToTheNextFloor) {
    corridor_world('.', '>', 4);
    press(BTN_DOWN);
    EXPECT_FALSE(transition_active());

    corridor_world('>', '.', 4);
    player.status[ST_POISON] = 3;
    press(BTN_UP);
    ASSERT_TRUE(transition_active());
    EXPECT_STREQ(transition.title, "FLOOR 6");
    EXPECT_EQ(player.status[ST_POISON], 2);
    while (transition.phase == 1) transition_step();
    EXPECT_EQ(current_floor, 5);
    EXPECT_EQ(gmap[player.y][player.x], '.');

    corridor_world('>', '.', 8);
    press(BTN_UP);
    EXPECT_STREQ(transition.subtitle, "THE DRAGON'S LAIR");
    corridor_world('>', '.', 9);
    press(BTN_UP);
    EXPECT_STREQ(transition.subtitle, "THE CATACOMBS");
}

TEST(ExploreStep, ExitOpensTheWayOutOnceTheDragonIsGone) {
    corridor_world('X', '.', 9);
    monster_add(M_DRAGON, 10, 2);
    press(BTN_UP);
    EXPECT_EQ(toast(), "THE DRAGON BARS THE WAY");
    EXPECT_EQ(way_out_open, 0);
    monsters_clear();
    press(BTN_DOWN | BTN_UP);  // up wins over down in the same tick
    ASSERT_EQ(way_out_open, 1);
    EXPECT_EQ(way_out_cursor, 0);
    press(BTN_UP);
    EXPECT_EQ(way_out_cursor, 3);
    press(BTN_DOWN);
    press(BTN_DOWN);
    EXPECT_EQ(way_out_cursor, 1);
    // "not yet" closes the dialog and leaves the player standing.
    press(BTN_B);
    EXPECT_EQ(way_out_open, 0);
    EXPECT_EQ(game_state, STATE_DUNGEON);

    // "continue" takes the stairs.
    press(BTN_UP);
    press(BTN_A);
    EXPECT_TRUE(transition_active());

    // "save & quit" loads the next floor first; with the save failing the player stays.
    UnwritableSaveDir blocked;
    corridor_world('X', '.', 9);
    run_active = 1;
    press(BTN_UP);
    press(BTN_DOWN);
    press(BTN_DOWN);
    press(BTN_A);
    EXPECT_EQ(current_floor, 10);
    EXPECT_EQ(message_box_open, 1);
    EXPECT_STREQ(message_box_text, "SAVE FAILED!");
    message_box_open = 0;
    EXPECT_EQ(game_state, STATE_DUNGEON);
}

TEST(ExploreStep, LastFloorWayOutSkipsContinue) {
    TempSaveDir saves;  // escaping ends the run in the profile
    profile = Profile{};
    corridor_world('X', '.', 19);
    press(BTN_UP);
    ASSERT_EQ(way_out_open, 1);
    EXPECT_EQ(way_out_cursor, 1);
    press(BTN_UP);
    EXPECT_EQ(way_out_cursor, 3);
    press(BTN_DOWN);
    EXPECT_EQ(way_out_cursor, 1);
    // Even with the cursor forced onto "continue", nothing above is refused and the dialog stays.
    way_out_cursor = 0;
    press(BTN_A);
    EXPECT_EQ(way_out_open, 1);
    EXPECT_EQ(current_floor, 19);
    way_out_cursor = 1;
    press(BTN_A);
    EXPECT_EQ(way_out_open, 0);
    EXPECT_EQ(game_state, STATE_ESCAPED);
    EXPECT_EQ(profile.runs_won, 1);
    EXPECT_EQ(profile.souls, 19 + 5 + 5 + 1);  // floor, its stretch, the escape, and one
}

// Runs the tick's world animation and the update, as one game tick in the dungeon does.
void tick_world(uint8_t presses = 0) {
    world_animate();
    update_dungeon(presses);
}

TEST(ExploreEncounter, BackingIntoAMonsterTurnsFirstThenWaitsThreeTicks) {
    corridor_world('.', 'R');
    int rat = monster_at(2, 5);
    ASSERT_GE(rat, 0);
    press(BTN_DOWN);
    EXPECT_EQ(player.facing, 3);
    EXPECT_EQ(player.x, 3);
    ASSERT_TRUE(encounter_is_armed());
    EXPECT_EQ(encounter.ticks, 3);
    int ticks = 0;
    while (view_pos.angle != view_pos.angle_target && ticks < 100) {
        tick_world(BTN_UP);  // presses wait while the encounter is armed
        ++ticks;
    }
    // The tick whose animation finished the turn counts first.
    EXPECT_EQ(player.x, 3);
    EXPECT_EQ(encounter.ticks, 2);
    tick_world();
    EXPECT_TRUE(encounter_is_armed());
    tick_world();
    EXPECT_FALSE(encounter_is_armed());
}

TEST(ExploreEncounter, AMonsterAheadFightsAtOnceAndAMimicShowsItselfFirst) {
    corridor_world('G');
    press(BTN_UP);
    EXPECT_FALSE(encounter_is_armed());
    EXPECT_EQ(player.x, 3);

    corridor_world('M');
    int mimic = monster_at(4, 5);
    press(BTN_UP);
    ASSERT_TRUE(encounter_is_armed());
    EXPECT_EQ(encounter_roar_ticks(mimic), -1);
    frame_counter = 500;
    tick_world();
    EXPECT_TRUE(mimic_is_revealed(monsters.list[mimic]));
    EXPECT_EQ(mimic_revealing, mimic);
    EXPECT_EQ(encounter.ticks, 62);
    frame_counter = 510;
    EXPECT_EQ(encounter_roar_ticks(mimic), 10);
    EXPECT_EQ(encounter_roar_ticks(mimic + 1), -1);
    for (int i = 0; i < 61; ++i) tick_world();
    EXPECT_TRUE(encounter_is_armed());
    tick_world();
    EXPECT_FALSE(encounter_is_armed());
    EXPECT_EQ(mimic_revealing, -1);
}

TEST(ExploreEncounter, AMimicBehindTurnsTheViewThenShowsItselfThenFights) {
    corridor_world('.', 'M');
    int mimic = monster_at(2, 5);
    ASSERT_GE(mimic, 0);
    press(BTN_DOWN);
    EXPECT_EQ(player.facing, 3);
    ASSERT_TRUE(encounter_is_armed());
    EXPECT_EQ(encounter.ticks, 3);
    EXPECT_FALSE(mimic_is_revealed(monsters.list[mimic]));
    int ticks = 0;
    while (view_pos.angle != view_pos.angle_target && ticks < 100) {
        tick_world();
        ++ticks;
    }
    tick_world();
    EXPECT_FALSE(mimic_is_revealed(monsters.list[mimic]));
    tick_world();
    // The countdown ran out on a chest that is a monster: it shows itself before the fight.
    EXPECT_TRUE(mimic_is_revealed(monsters.list[mimic]));
    EXPECT_EQ(mimic_revealing, mimic);
    EXPECT_EQ(encounter.ticks, 62);
    for (int i = 0; i < 62; ++i) tick_world(BTN_UP);
    EXPECT_FALSE(encounter_is_armed());
    EXPECT_EQ(player.x, 3);
}

TEST(ExploreStep, NoBannerPastTheLastFloor) {
    corridor_world('.', '.', MAX_FLOOR);
    floor_banner();
    EXPECT_FALSE(transition_active());
    EXPECT_EQ(current_floor, MAX_FLOOR);
}

TEST(ExploreStatus, TicksOncePerStepAndNeverTakeTheLastHitPoint) {
    corridor_world('.');
    player.hp = 2;
    player.status[ST_BURN] = 5;
    player.status[ST_POISON] = 1;
    press(BTN_UP);
    EXPECT_EQ(player.hp, 1);
    EXPECT_EQ(player.status[ST_BURN], 4);
    EXPECT_EQ(player.status[ST_POISON], 0);
    EXPECT_EQ(toast(), "POISON wore off");
    press(BTN_UP);
    EXPECT_EQ(player.hp, 1);

    // A bump does not count as a step.
    gmap[4][5] = '#';
    press(BTN_LEFT);
    press(BTN_UP);
    EXPECT_EQ(player.status[ST_BURN], 3);

    corridor_world('.');
    player.hp = 39;
    player.status[ST_REGEN] = 2;
    press(BTN_UP);
    press(BTN_DOWN);
    EXPECT_EQ(player.hp, 40);
    EXPECT_EQ(toast(), "REGEN wore off");
}

TEST(ExploreInput, TurnsWaitsAndMenus) {
    corridor_world('.');
    float target = view_pos.angle_target;
    press(BTN_LEFT);
    EXPECT_EQ(player.facing, 0);
    EXPECT_EQ(view_pos.angle_target, target - VIEW_QUARTER_TURN);
    press(BTN_RIGHT);
    press(BTN_RIGHT);
    EXPECT_EQ(player.facing, 2);

    // A wait lets a rat move while the player stands.
    corridor_world('.');
    monster_add(M_RAT, 10, 9);
    int moved = 0;
    for (int i = 0; i < 10; ++i) {
        int x = monsters.list[0].x, y = monsters.list[0].y;
        press(BTN_A);
        moved += monsters.list[0].x != x || monsters.list[0].y != y;
    }
    EXPECT_GT(moved, 0);
    EXPECT_EQ(player.x, 3);

    press(BTN_START);
    EXPECT_EQ(game_state, STATE_PAUSE);
    EXPECT_EQ(state_under_pause, STATE_DUNGEON);
    game_state = STATE_DUNGEON;
    press(BTN_SELECT);
    EXPECT_EQ(game_state, STATE_BAG);
}

}  // namespace
