// The classic fight view of a restored turn-menu fight: the intent line's split and blink, the item
// grid's empty cells, the death screen's lesson line, and a review sheet of every panel variant in
// landscape and portrait (fight_classic_sheet.png into QM_PNG_DIR).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "boons/boons.h"
#include "combat/combat.h"
#include "combat/fx.h"
#include "combat/turn_fight.h"
#include "dungeon/monsters.h"
#include "items/bag.h"
#include "items/item.h"
#include "profile/profile.h"
#include "render/font.h"
#include "world/buttons.h"
#include "render/pictures.h"
#include "render/render_fixture.h"
#include "support/turn_block.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "screens/screens_fixture.h"
#include "world/player.h"

namespace {

// A restored turn-menu fight against `type` with `hp` of `max_hp` and these queued moves.
void classic_fight(int type, int hp, int max_hp, std::initializer_list<int> queue, int floor = 4) {
    screens_run_begin();
    current_floor = floor;
    player.hp = 38;
    player.max_hp = 50;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    monsters_clear();
    monster_add(type, 6, 5);
    ASSERT_TRUE(turn_block_restore(type, hp, max_hp, queue, 6, 5));
    game_state = STATE_COMBAT;
    frame_counter = 64;  // the heavy highlight's lit phase
}

struct FightViewTest : RenderTest {
    Settings saved;
    void SetUp() override {
        RenderTest::SetUp();
        saved = settings;
        settings.monster_art = 0;
    }
    void TearDown() override {
        settings = saved;
        screens_run_end();
        RenderTest::TearDown();
    }
};

int lit_in_rows(int y0, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; y++)
        for (int x = 0; x < screen_layout.width; x++) n += screen_get(x, y) != 0;
    return n;
}

TEST_F(FightViewTest, AWideIntentSplitsOntoTwoLinesAndAHeavyOneSitsInABlinkingBox) {
    classic_fight(M_SKELETON, 20, 25, {MOVE_SMASH, 0});
    screen_clear();
    draw_enemy_intent(10, 40, 300);
    EXPECT_GT(lit_in_rows(40, 46), 0);
    EXPECT_EQ(lit_in_rows(49, 55), 0);  // one line when it fits
    EXPECT_EQ(screen_get(10 + (300 - text_width("SKELETON HEAVY SMASH") + 1) / 2 - 2, 40), 3);  // lit box
    screen_clear();
    draw_enemy_intent(10, 40, 60);
    EXPECT_GT(lit_in_rows(49, 55), 0);  // the label under the name
    frame_counter = 16;
    screen_clear();
    draw_enemy_intent(10, 40, 300);
    EXPECT_EQ(screen_get(10 + (300 - text_width("SKELETON HEAVY SMASH") + 1) / 2 - 2, 40), 2);
    // Nothing while the queue is empty.
    combat.queued = 0;
    screen_clear();
    draw_enemy_intent(10, 40, 300);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(FightViewTest, TheItemGridLeavesEmptyOutlinesAndThePanelEmptiesWithTheBag) {
    classic_fight(M_RAT, 8, 8, {0, 0});
    ASSERT_TRUE(bag_add_new(ITEM_HEALING_POTION, 2));
    combat.item_menu = 1;
    screen_clear();
    draw_item_grid(10, 10, 100, 60, 2);
    // The fourth cell (bottom right) is only an outline of colour 1.
    const int cw = (100 - 3) / 2, ch = (60 - 3) / 2;
    EXPECT_EQ(screen_get(10 + cw + 3, 10 + ch + 3), 1);
    EXPECT_EQ(screen_get(10 + cw + 3 + cw / 2, 10 + ch + 3 + ch / 2), 0);
    screen_clear();
    draw_action_info_panel(0, 0, 140, 3);
    EXPECT_GT(drawn(), 0);
    bag_remove(player.bag, bag_find(ITEM_HEALING_POTION));
    screen_clear();
    draw_action_info_panel(0, 0, 140, 3);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(FightViewTest, TheDeathTipNamesLeftPotionsThenTheLessonThenAGeneralLine) {
    classic_fight(M_ORC, 20, 27, {0, 0});
    ASSERT_TRUE(bag_add_new(ITEM_HEALING_POTION, 1));
    ASSERT_TRUE(bag_add_new(ITEM_GREATER_POTION, 2));
    EXPECT_STREQ(death_tip(), "YOU STILL HAD 3 POTIONS. DRINK ONE BETWEEN FIGHTS TO HEAL.");
    bag_remove(player.bag, bag_find(ITEM_GREATER_POTION));
    EXPECT_STREQ(death_tip(), "YOU STILL HAD 1 POTION. DRINK ONE BETWEEN FIGHTS TO HEAL.");
    bag_remove(player.bag, bag_find(ITEM_HEALING_POTION));
    combat.hurt_reason = HURT_STATUS;
    combat.death_status = ST_BURN;
    EXPECT_STREQ(death_tip(), "THE BURN KEPT HURTING YOU. LET IT WEAR OFF BEFORE A FIGHT.");
    combat.death_status = ST_POISON;
    EXPECT_STREQ(death_tip(), "POISON KEPT HURTING YOU. DRINK AN ANTIDOTE TO CURE IT.");
    combat.hurt_reason = HURT_WRONG_WAY;
    EXPECT_STREQ(death_tip(), "YOU DODGED THE WRONG WAY. MOVE TOWARD THE ARROWS.");
    combat.hurt_reason = HURT_NONE;
    const char* general[3] = {"POTIONS HEAL", "TAKE THE BOON", "YOUR SOULS"};
    EXPECT_EQ(std::strncmp(death_tip(), general[profile_runs() % 3], std::strlen(general[profile_runs() % 3])), 0);
}

TEST_F(FightViewTest, RandomRestoredFightsPlayAndDrawWithinTheirRanges) {
    std::mt19937 rng(26);
    for (int round = 0; round < 60; round++) {
        const int type = 1 + (int)(rng() % 8);
        const int max_hp = 1 + (int)(rng() % 90);
        classic_fight(type, (int)(rng() % (max_hp + 1)), max_hp,
                      {(int)(rng() % 29), (int)(rng() % 29), (int)(rng() % 29), (int)(rng() % 29)}, (int)(rng() % 25));
        player.hp = player.max_hp = 30 + (int)(rng() % 200);
        player.gold = (int)(rng() % 100);
        combat.guard_break_due = rng() & 1;
        combat.fire_turns = (int)(rng() % 4);
        combat.fire_dose = (int)(rng() % 5) - 1;
        combat.hurt_popup_kind = (int)(rng() % 6);
        combat.hurt_popup_timer = (int)(rng() % 60);
        combat.monster_flash_timer = (int)(rng() % 60);
        combat.hit_popup_value = (int)(rng() % 500);
        if (rng() & 1) bag_add_new(ITEM_HEALING_POTION, 1 + (int)(rng() % 3));
        static const uint8_t KEYS[] = {BTN_A, BTN_B, BTN_UP, BTN_DOWN, BTN_LEFT, BTN_RIGHT, 0, 0};
        for (int t = 0; t < 400 && game_state == STATE_COMBAT; t++) {
            combat_tick();
            if (game_state == STATE_COMBAT) combat_player_input(KEYS[rng() % 8]);
            ASSERT_GE(combat.hp, 0);
            ASSERT_LE(combat.hp, combat.max_hp);
            ASSERT_GE(combat.queued, 0);
            ASSERT_LE(combat.queued, MOVE_QUEUE_CAP);
            ASSERT_LE(player.hp, player.max_hp);
            if (t % 50 == 0 && game_state == STATE_COMBAT) {
                (rng() & 1) ? layout_set_portrait() : layout_set_landscape();
                screen_clear();
                draw_fight();
                screen_reset_draw_state();
            }
        }
        layout_set_landscape();
    }
}

// One row of the review sheet: the scene set up, then drawn in landscape and portrait.
struct Scene {
    const char* what;
    std::function<void()> setup;
};

TEST_F(FightViewTest, ReviewSheetOfTheClassicView) {
    const std::vector<Scene> scenes = {
        {"attack: one hit, hp left", [] { classic_fight(M_GOBLIN, 14, 17, {MOVE_HIT, MOVE_HIT}); }},
        {"attack: kill line, keen crit chance",
         [] {
             classic_fight(M_RAT, 3, 8, {MOVE_DOUBLE_BITE, MOVE_HIT});
             player.main_hand.enchant = ENCHANT_KEEN;
         }},
        {"attack: hardening, statuses",
         [] {
             classic_fight(M_SLIME, 20, 29, {MOVE_HARDEN, MOVE_SPIT});
             player.status[ST_BURN] = 2;
             combat.monster_status[ST_POISON] = 4;
         }},
        {"attack: a flit, two blows",
         [] {
             classic_fight(M_BAT, 9, 11, {MOVE_FLIT, MOVE_HIT});
             player.main_hand = item_make(ITEM_DAGGER);
         }},
        {"attack: a ward", [] { classic_fight(M_SKELETON, 25, 25, {MOVE_WARD, MOVE_HIT}); }},
        {"defend: heavy, shield stops it",
         [] {
             classic_fight(M_SKELETON, 25, 25, {MOVE_SMASH, MOVE_HIT});
             combat.action_cursor = TURN_DEFEND;
         }},
        {"defend: heavy, axe may parry",
         [] {
             classic_fight(M_ORC, 27, 27, {MOVE_SMASH, MOVE_HIT});
             combat.elite = 1;
             player.main_hand = item_make(ITEM_BATTLE_AXE);
             player.off_hand = Item{};
             combat.action_cursor = TURN_DEFEND;
         }},
        {"defend: venom, acid, drain",
         [] {
             classic_fight(M_RAT, 8, 8, {MOVE_VENOM_BITE, MOVE_HIT});
             combat.action_cursor = TURN_DEFEND;
         }},
        {"defend: drain with dodge", [] {
             classic_fight(M_GOBLIN, 17, 17, {MOVE_DRAIN, MOVE_HIT});
             player.boon_ranks[BOON_SIDESTEP] = 2;
             combat.action_cursor = TURN_DEFEND;
         }},
        {"defend: nothing to brace for",
         [] {
             classic_fight(M_ORC, 27, 27, {MOVE_ROAR, MOVE_HIT});
             combat.buff = 1;
             combat.action_cursor = TURN_DEFEND;
         }},
        {"item action", [] {
             classic_fight(M_GOBLIN, 17, 17, {MOVE_HIT, MOVE_HIT});
             bag_add_new(ITEM_HEALING_POTION, 2);
             bag_add_new(ITEM_ANTIDOTE, 1);
             combat.action_cursor = TURN_ITEM;
         }},
        {"item grid open: potion",
         [] {
             classic_fight(M_GOBLIN, 17, 17, {MOVE_HIT, MOVE_HIT});
             bag_add_new(ITEM_HEALING_POTION, 2);
             bag_add_new(ITEM_ANTIDOTE, 1);
             combat.action_cursor = TURN_ITEM;
             combat.item_menu = 1;
         }},
        {"item grid open: antidote",
         [] {
             classic_fight(M_GOBLIN, 17, 17, {MOVE_HIT, MOVE_HIT});
             bag_add_new(ITEM_HEALING_POTION, 2);
             bag_add_new(ITEM_ANTIDOTE, 1);
             combat.action_cursor = TURN_ITEM;
             combat.item_menu = 1;
             combat.item_cursor = 1;
         }},
        {"run", [] {
             classic_fight(M_MIMIC, 30, 34, {MOVE_DROOL, MOVE_CHOMP});
             combat.action_cursor = TURN_RUN;
         }},
        {"monster acting: log, popups",
         [] {
             classic_fight(M_GOBLIN, 9, 17, {MOVE_HIT, MOVE_HIT});
             combat_log_push("You hit 4");
             combat_log_push("GOBLIN hits 3");
             combat.monster_delay = 12;
             combat.hit_popup_value = 4;
             combat.hit_popup_kind = POPUP_CRIT;
             combat.monster_flash_timer = 40;
             combat.hurt_popup_value = 3;
             combat.hurt_popup_kind = HURT_KIND_HURT;
             combat.hurt_popup_timer = 45;
             combat.heal_shown = 5;
             combat.heal_timer = 44;
         }},
        {"dragon in its box", [] { classic_fight(M_DRAGON, 70, 102, {MOVE_INHALE, MOVE_BREATH}); }},
        {"death screen", [] {
             classic_fight(M_GOBLIN, 17, 17, {MOVE_HIT, MOVE_HIT});
             bag_add_new(ITEM_HEALING_POTION, 2);
             killer_type = M_GOBLIN;
             player.hp = 0;
             screen_snapshot_drop();  // the screen itself, not the replay of the last view
             game_state = STATE_DEATH;
         }},
        {"monster acting: a heavy blow, hurt vignette",
         [] {
             classic_fight(M_ORC, 27, 27, {MOVE_SMASH, MOVE_HIT});
             player.hp = 23;
             combat_log_push("ORC smashes 15");
             combat.monster_delay = 12;
             combat.hurt_popup_value = 15;
             combat.hurt_popup_kind = HURT_KIND_HURT;
             combat.hurt_popup_timer = 46;
             fx_hurt_from_damage(15);  // 30 % of 50
         }},
    };
    // The lesson lines themselves, a word-wrapped list drawn here (the death screen wraps its tip
    // with the shared text widgets).
    auto draw_tips = [] {
        screen_clear();
        const int w = screen_view_width() - 8;
        int y = screen_layout.view.y0 + 4;
        for (int reason = -1; reason <= HURT_STATUS + 1; reason++) {
            classic_fight(M_GOBLIN, 17, 17, {MOVE_HIT});
            if (reason < 0) bag_add_new(ITEM_HEALING_POTION, 2);
            combat.hurt_reason = reason > HURT_STATUS ? HURT_STATUS : (reason < 0 ? HURT_NONE : reason);
            combat.death_status = reason > HURT_STATUS ? ST_BURN : ST_POISON;
            char tip[128];
            std::snprintf(tip, sizeof tip, "%s", death_tip());
            char line[64] = "";
            for (char* word = std::strtok(tip, " "); word; word = std::strtok(nullptr, " ")) {
                char next[64];
                std::snprintf(next, sizeof next, "%s%s%s", line, line[0] ? " " : "", word);
                if (text_width(next) > w && line[0]) {
                    text_draw(screen_layout.view.x0 + 4, y, line, 3);
                    y += 9;
                    std::snprintf(line, sizeof line, "%s", word);
                } else {
                    std::snprintf(line, sizeof line, "%s", next);
                }
            }
            text_draw(screen_layout.view.x0 + 4, y, line, 3);
            y += 12;
        }
    };
    const int k = 2, cell_w = k * (FB_LONG + FB_SHORT + 4), cell_h = k * FB_LONG + 4;
    const int per_row = 3;
    const int rows = ((int)scenes.size() + 1 + per_row - 1) / per_row;
    PngSheet sheet(per_row * cell_w, rows * cell_h);
    for (size_t i = 0; i < scenes.size(); i++) {
        const int ox = (int)(i % per_row) * cell_w, oy = (int)(i / per_row) * cell_h;
        for (int land = 1; land >= 0; land--) {
            scenes[i].setup();
            if (land)
                layout_set_landscape();
            else
                layout_set_portrait();
            draw_frame();
            EXPECT_GT(drawn(), 0) << scenes[i].what;
            sheet.paste(0, 0, screen_layout.width, screen_layout.height, ox + (land ? 0 : k * (FB_LONG + 2)), oy, k);
            PngSheet one(3 * screen_layout.width, 3 * screen_layout.height);
            one.paste(0, 0, screen_layout.width, screen_layout.height, 0, 0, 3);
            char name[48];
            std::snprintf(name, sizeof name, "fight_classic_%02d_%s.png", (int)i, land ? "land" : "port");
            one.write(name);
        }
        sheet.label(ox, oy + k * FB_SHORT + 6, scenes[i].what, k);
        layout_set_landscape();
    }
    const int i = (int)scenes.size();
    for (int land = 1; land >= 0; land--) {
        if (land)
            layout_set_landscape();
        else
            layout_set_portrait();
        draw_tips();
        sheet.paste(0, 0, screen_layout.width, screen_layout.height,
                    (i % per_row) * cell_w + (land ? 0 : k * (FB_LONG + 2)), (i / per_row) * cell_h, k);
    }
    sheet.label((i % per_row) * cell_w, (i / per_row) * cell_h + k * FB_SHORT + 6, "death tips", k);
    layout_set_landscape();
    sheet.write("fight_classic_sheet.png");
}

}  // namespace
