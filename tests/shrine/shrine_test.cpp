// The shrine hub: the room's object indices, the braziers and milestones, the pedestals' items,
// the cards of every object with their pages and the UP/DOWN rule, the fire's sides and buying,
// the case shelf, walking and leaving; and review pictures of the room and its cards.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "classes/classes.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "game/game.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "render/view.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "services/toast.h"
#include "shrine/shrine.h"
#include "support/png_out.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/glyphs.h"
#include "world/player.h"

namespace {

struct ShrineTest : ::testing::Test {
    Settings saved;
    void SetUp() override {
        saved = settings;
        layout_set_landscape();
        profile = Profile{};
        shrine_enter();
    }
    void TearDown() override {
        settings = saved;
        profile = Profile{};
        shrine.active = 0;
        game_state = STATE_SPLASH;
        layout_set_landscape();
    }
    // Stands on (x, y) facing f (0 north, 1 east, 2 south, 3 west).
    static void stand(int x, int y, int f) {
        player.x = x;
        player.y = y;
        player.facing = f;
        player_view_sync();
    }
    static std::string card_text() {
        ShrineCard card;
        if (!shrine_inspect_card(&card)) return "<none>";
        std::string s;
        for (int i = 0; i < card.count; i++) s += std::string(card.lines[i]) + "|";
        return s;
    }
    static void open_card() {
        update_shrine(BTN_A);
        ASSERT_EQ(shrine.mode, 1);
    }
};

TEST_F(ShrineTest, RoomIndicesAndTheStart) {
    EXPECT_EQ(game_state, STATE_SHRINE);
    EXPECT_TRUE(shrine_active());
    EXPECT_EQ(player.x, 7);
    EXPECT_EQ(player.y, 10);
    EXPECT_EQ(player.facing, 0);
    EXPECT_EQ(gmap[10][7], GLYPH_FLOOR);
    // Statues in reading order: the two classes, then none.
    EXPECT_EQ(shrine_statue_at(4, 1), CLASS_KNIGHT);
    EXPECT_EQ(shrine_statue_at(4, 9), CLASS_BRUTE);
    EXPECT_EQ(shrine_statue_at(5, 10), -1);
    EXPECT_EQ(shrine_statue_at(10, 10), -1);
    EXPECT_EQ(shrine_tile_index(13, 2), 0);
    EXPECT_EQ(shrine_tile_index(13, 8), 3);
    EXPECT_EQ(shrine_tile_index(0, 5), 0);
    EXPECT_EQ(shrine_tile_index(15, 5), 1);
    EXPECT_EQ(shrine_tile_index(11, 5), 0);
    EXPECT_EQ(shrine_tile_index(15, 3), 0);
    EXPECT_EQ(shrine_tile_index(7, 5), -1);  // the fire is no indexed object
    for (int v : {-1, -100, 16, 12}) {
        EXPECT_EQ(shrine_tile_index(v, 5), -1);
        EXPECT_EQ(shrine_tile_index(5, v), -1);
        EXPECT_EQ(shrine_statue_at(v, v), -1);
        EXPECT_EQ(shrine_pedestal_item(v, 5, 0), 0);
    }
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++) EXPECT_TRUE(explored[y][x]);
}

TEST_F(ShrineTest, PedestalsHoldTheirWeapons) {
    const int blades[4] = {ITEM_SHORT_SWORD, ITEM_LONG_SWORD, ITEM_ENCHANTED_SWORD, 0};
    const int armory[4] = {ITEM_DAGGER, ITEM_VENOM_DAGGER, ITEM_SPEAR, ITEM_BATTLE_AXE};
    for (int c = 0; c < 4; c++) {
        EXPECT_EQ(shrine_pedestal_item(0, 5, c), blades[c]);
        EXPECT_EQ(shrine_pedestal_item(15, 5, c), armory[c]);
    }
    EXPECT_EQ(shrine_pedestal_item(0, 5, 4), 0);
    EXPECT_EQ(shrine_pedestal_item(0, 5, -1), 0);
    EXPECT_EQ(shrine_pedestal_item(11, 5, 0), 0);  // the bone wall is no pedestal
}

TEST_F(ShrineTest, BraziersAndMilestones) {
    for (int b = 0; b < SHRINE_BRAZIERS; b++) EXPECT_FALSE(shrine_brazier_lit_index(b));
    for (int m = 0; m < SHRINE_MILESTONES; m++) EXPECT_FALSE(milestone_done(m));
    profile.runs_won = 1;
    profile.first_win = {3, CLASS_KNIGHT};
    EXPECT_TRUE(shrine_brazier_lit(13, 2));
    profile.first_dragon_stretch[0] = {4, CLASS_BRUTE};
    EXPECT_TRUE(shrine_brazier_lit(13, 4));
    EXPECT_FALSE(shrine_brazier_lit(13, 6));
    profile.first_win_heat[0] = {5, 0};  // heat 0 does not count
    EXPECT_FALSE(shrine_brazier_lit(13, 6));
    profile.first_dragon_heat[2] = {6, 0};
    EXPECT_TRUE(shrine_brazier_lit(13, 6));
    profile.deepest_floor = 9;
    EXPECT_FALSE(shrine_brazier_lit(13, 8));
    EXPECT_FALSE(milestone_done(3));
    profile.deepest_floor = 10;
    EXPECT_TRUE(shrine_brazier_lit(13, 8));
    EXPECT_TRUE(milestone_done(3));
    EXPECT_FALSE(shrine_brazier_lit(12, 8));

    unlock_set(0);
    EXPECT_TRUE(milestone_done(0));
    profile.met = 0x1FE;
    EXPECT_TRUE(milestone_done(2));
    for (int id : {1, 2, 3, 4, 9, 10}) profile.items[id].first_run = 1;
    EXPECT_FALSE(milestone_done(1));
    profile.items[ITEM_VENOM_DAGGER].first_run = 2;
    EXPECT_TRUE(milestone_done(1));

    // Announced once: the lowest banner on the next entry, none on the one after.
    shrine_enter();
    EXPECT_STREQ(shrine.banner, "THE BANNERS UNFURL!");
    EXPECT_EQ(shrine.banner_timer, 200);
    EXPECT_EQ(profile.milestones, 0xFu);
    shrine_enter();
    EXPECT_EQ(shrine.banner_timer, 0);
}

TEST_F(ShrineTest, CardsOfEveryObject) {
    // The BRUTE's statue, shrouded, then unlocked and played.
    stand(4, 8, 2);
    EXPECT_STREQ(shrine_object_name(), "A SHROUDED STATUE");
    open_card();
    EXPECT_EQ(card_text(), "BRUTE|SHROUDED|HEAVIES CHARGE FAST|UNLOCK: 60 SOULS|");
    update_shrine(BTN_B);
    EXPECT_EQ(shrine.mode, 0);
    unlock_set(0);
    EXPECT_STREQ(shrine_object_name(), "BRUTE");
    open_card();
    EXPECT_EQ(card_text(), "BRUTE|NOT YET PLAYED|");
    ProfileClass& c = profile.classes[CLASS_BRUTE];
    c.first_run = 2;
    c.runs = 4;
    c.wins = 1;
    c.deepest = 12;
    c.best_heat_won = 1;
    c.fastest_win = 754;
    c.streak = 1;
    c.best_streak = 1;
    c.kills = 99;
    c.deaths_by[M_ORC] = 2;
    c.deaths_by[M_RAT] = 2;  // a tie goes to the lower kind
    EXPECT_EQ(card_text(), "BRUTE|FIRST RUN #2|RUNS 4  WINS 1 (25%)|DEEPEST FLOOR 12|HEAT WON 0|FASTEST WIN 12:34|"
                           "STREAK 1  BEST 1|KILLS 99|BANE: " + std::string(MONSTER_TYPES[M_RAT].name) + " X2|");
    ShrineCard card;
    shrine_inspect_card(&card);
    EXPECT_FALSE(card.pinned);
    EXPECT_EQ(card.pages, 1);
    EXPECT_EQ(inspect_card_height(card), card.count * 9 + 6);
    update_shrine(BTN_RIGHT);  // a single page does not turn
    EXPECT_EQ(shrine.page, 0);
    update_shrine(BTN_B);

    // The blades: three pages; the armory: four.
    stand(1, 5, 3);
    EXPECT_STREQ(shrine_object_name(), "THE BLADES");
    open_card();
    shrine_inspect_card(&card);
    EXPECT_EQ(card.pages, 3);
    EXPECT_TRUE(card.pinned);
    EXPECT_EQ(inspect_card_height(card), (card.count + 1) * 9 + 6);
    EXPECT_EQ(card_text(), "???|NOT YET FOUND|");
    profile.items[ITEM_SHORT_SWORD] = ProfileItem{.first_run = 1, .runs = 1, .wins = 0, .kills = 7, .deepest = 3,
                                                  .best_hit = 9, .best_heat_won = 0};
    EXPECT_EQ(card_text(), "SHORT SWORD|FOUND RUN #1|WIELDED 1 RUN|WON 0  KILLS 7|BEST HIT 9|DEEPEST FLOOR 3|");
    update_shrine(BTN_LEFT);
    EXPECT_EQ(shrine.page, 2);  // wraps
    update_shrine(BTN_B);
    stand(14, 5, 1);
    EXPECT_STREQ(shrine_object_name(), "THE ARMORY");
    open_card();
    shrine_inspect_card(&card);
    EXPECT_EQ(card.pages, 4);
    update_shrine(BTN_RIGHT);
    EXPECT_EQ(card_text(), "???|UNLOCK: 80 SOULS|");  // the locked venom dagger
    update_shrine(BTN_B);

    // The bone wall: eight kinds.
    stand(10, 5, 1);
    EXPECT_STREQ(shrine_object_name(), "THE BONE WALL");
    open_card();
    shrine_inspect_card(&card);
    EXPECT_EQ(card.pages, 8);
    EXPECT_EQ(card_text(), "???|NOT YET MET|");
    profile.met |= 1u << 1;
    profile.codex[1] = ProfileCodex{2, 3, 2};
    profile.slain[1] = 5;
    EXPECT_EQ(card_text(), std::string(MONSTER_TYPES[1].name) + "|MET RUN #2, FLOOR 3|FIRST SLAIN RUN #2|SLAIN 5|KILLED YOU 0|");
    update_shrine(BTN_B);

    // The braziers: one page, six pages (the dragons, the heats), one page.
    const int pages[4] = {1, 6, 6, 1};
    const int rows[4] = {2, 4, 6, 8};
    for (int b = 0; b < 4; b++) {
        stand(12, rows[b], 1);
        open_card();
        shrine_inspect_card(&card);
        EXPECT_EQ(card.pages, pages[b]) << b;
        update_shrine(BTN_B);
    }
    stand(12, 8, 1);
    open_card();
    EXPECT_EQ(card_text(), "THE DEEPEST|NO RUNS YET|LIT PAST FLOOR 10|");
    update_shrine(BTN_B);
    stand(12, 6, 1);
    open_card();
    update_shrine(BTN_RIGHT);
    EXPECT_EQ(card_text(), "THE HEAT|HEAT 1||DRAGON: -|WON: -|");
    update_shrine(BTN_B);
}

TEST_F(ShrineTest, UpAndDownGoToTheNearestCompartment) {
    // The armory's compartments: two side by side at the top, then two full-width rows.
    stand(14, 5, 1);
    open_card();
    EXPECT_EQ(shrine.page, 0);
    update_shrine(BTN_UP);
    EXPECT_EQ(shrine.page, 0);  // nothing above
    update_shrine(BTN_DOWN);
    EXPECT_EQ(shrine.page, 2);
    update_shrine(BTN_DOWN);
    EXPECT_EQ(shrine.page, 3);
    update_shrine(BTN_UP);
    EXPECT_EQ(shrine.page, 2);
    // From the wide row up: the two top compartments are as near as each other; the one nearer
    // across wins, the first on a tie.
    update_shrine(BTN_UP);
    EXPECT_EQ(shrine.page, 0);
    update_shrine(BTN_RIGHT);
    EXPECT_EQ(shrine.page, 1);
    update_shrine(BTN_DOWN);
    EXPECT_EQ(shrine.page, 2);
    update_shrine(BTN_B);
    // The bone wall: rows of four; down from the first goes to the one below it.
    stand(10, 5, 1);
    open_card();
    update_shrine(BTN_RIGHT);
    update_shrine(BTN_DOWN);
    EXPECT_EQ(shrine.page, 5);
    update_shrine(BTN_DOWN);
    EXPECT_EQ(shrine.page, 5);  // no kinds on the weapons' row
}

TEST_F(ShrineTest, TheFireBySideAndBuying) {
    // West of the centre (7, 5): VITALITY; east: FORAGER; north: EMBERS; south: nothing.
    stand(5, 5, 1);
    EXPECT_EQ(shrine_fire_choice(), UPGRADE_VITALITY);
    stand(9, 5, 3);
    EXPECT_EQ(shrine_fire_choice(), UPGRADE_FORAGER);
    stand(7, 3, 2);
    EXPECT_EQ(shrine_fire_choice(), UPGRADE_EMBERS);
    stand(7, 7, 0);
    EXPECT_EQ(shrine_fire_choice(), -1);
    stand(7, 9, 0);  // facing floor
    EXPECT_EQ(shrine_fire_choice(), -1);

    stand(5, 5, 1);
    profile.souls = 7;
    update_shrine(BTN_A);
    EXPECT_STREQ(shrine.banner, "NOT ENOUGH SOULS");
    EXPECT_EQ(upgrade_rank(UPGRADE_VITALITY), 0);
    EXPECT_EQ(profile.souls, 7);
    profile.souls = 68;
    for (int i = 0; i < 3; i++) {
        update_shrine(BTN_A);
        EXPECT_STREQ(shrine.banner, "IT BURNS BRIGHTER!");
    }
    EXPECT_EQ(upgrade_rank(UPGRADE_VITALITY), 3);
    EXPECT_EQ(profile.souls, 0);
    EXPECT_EQ(shrine_bought_upgrade(), UPGRADE_VITALITY);
    update_shrine(BTN_A);
    EXPECT_STREQ(shrine.banner, "FULLY LIT");
    stand(7, 3, 2);
    profile.souls = 60;
    update_shrine(BTN_A);
    EXPECT_EQ(upgrade_rank(UPGRADE_EMBERS), 1);
    stand(9, 5, 3);
    profile.souls = 95;
    update_shrine(BTN_A);
    update_shrine(BTN_A);
    EXPECT_EQ(upgrade_rank(UPGRADE_FORAGER), 2);
    EXPECT_EQ(profile.souls, 0);
}

TEST_F(ShrineTest, TheCaseShelf) {
    settings.case_color = 9;
    stand(14, 3, 1);
    EXPECT_STREQ(shrine_object_name(), "THE CASES");
    open_card();
    EXPECT_EQ(shrine.page, 0);  // the page of the worn colour
    ShrineCard card;
    shrine_inspect_card(&card);
    EXPECT_EQ(card.pages, 4);
    EXPECT_STREQ(card.lines[0], "THE CASES  1 OWNED");
    EXPECT_STREQ(card.lines[2], "WORN");
    update_shrine(BTN_RIGHT);
    shrine_inspect_card(&card);
    EXPECT_STREQ(card.lines[2], "LOCKED: 75 SOULS");
    update_shrine(BTN_A);  // locked: nothing changes
    EXPECT_EQ(settings.case_color, 9);
    EXPECT_EQ(shrine.mode, 1);
    unlock_set(8);
    shrine_inspect_card(&card);
    EXPECT_STREQ(card.lines[2], "{A}: WEAR IT");
    update_shrine(BTN_A);
    EXPECT_EQ(settings.case_color, 12);
    shrine_inspect_card(&card);
    EXPECT_STREQ(card.lines[2], "WORN");
    update_shrine(BTN_B);
    EXPECT_EQ(shrine.mode, 0);
}

TEST_F(ShrineTest, WalkingTurningAndLeaving) {
    update_shrine(BTN_UP);
    EXPECT_EQ(player.y, 9);
    update_shrine(BTN_DOWN);
    EXPECT_EQ(player.y, 10);
    update_shrine(BTN_DOWN);  // the wall behind
    EXPECT_EQ(player.y, 10);
    const float angle = view_pos.angle_target;
    update_shrine(BTN_RIGHT);
    EXPECT_EQ(player.facing, 1);
    EXPECT_FLOAT_EQ(view_pos.angle_target, angle + VIEW_QUARTER_TURN);
    stand(12, 2, 1);
    update_shrine(BTN_UP);  // a brazier is not walked into
    EXPECT_EQ(player.x, 12);
    update_shrine(BTN_B);
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_FALSE(shrine_active());
}

// Review pictures: the room from several spots with what each shows at the bottom, and an open
// card on every kind of object, in both layouts.
TEST_F(ShrineTest, ReviewPictures) {
    profile.souls = 30;
    profile.runs_won = 1;
    profile.first_win = {2, CLASS_KNIGHT};
    profile.deepest_floor = 14;
    profile.deepest_run = 3;
    // A well-played KNIGHT: its card's tally line is too wide for the portrait card as it stands.
    ProfileClass& knight = profile.classes[CLASS_KNIGHT];
    knight.first_run = 1;
    knight.runs = 120;
    knight.wins = 15;
    knight.deepest = 19;
    knight.fastest_win = 1754;
    knight.streak = 2;
    knight.best_streak = 14;
    knight.kills = 4321;
    struct Spot {
        int x, y, f;
        bool card;
    };
    const Spot spots[] = {{7, 10, 0, false}, {7, 7, 0, false}, {5, 5, 1, false}, {12, 4, 1, false},
                          {4, 2, 0, true},   {1, 5, 3, true},  {10, 5, 1, true}, {12, 2, 1, true},
                          {14, 3, 1, true},  {14, 5, 1, true}};
    const int n = (int)(sizeof spots / sizeof spots[0]);
    for (int portrait = 0; portrait < 2; portrait++) {
        portrait ? layout_set_portrait() : layout_set_landscape();
        const int w = screen_layout.width, h = screen_layout.height;
        PngSheet sheet(2 * (w + 4), ((n + 1) / 2) * (h + 4));
        for (int i = 0; i < n; i++) {
            shrine.mode = 0;
            stand(spots[i].x, spots[i].y, spots[i].f);
            if (spots[i].card) open_card();
            screen_clear();
            draw_frame();
            EXPECT_GT(screen_get(screen_layout.view.x0 + 5, screen_layout.view.y0 + 5) +
                          screen_get(screen_layout.view.x0 + 10, screen_layout.view.y0 + 6),
                      0);  // the header's title
            sheet.paste(0, 0, w, h, (i % 2) * (w + 4), (i / 2) * (h + 4), 1);
        }
        sheet.write(portrait ? "shrine_portrait.png" : "shrine_landscape.png");
    }
}

}  // namespace
