// The level-up and class-select screens: the level the header names with picks owed, the heal
// card's line, the training's locked cards, the boon card's tag and pips, and review pictures of
// both screens in both layouts (QM_PNG_DIR).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "boons/boons.h"
#include "classes/class_select.h"
#include "combat/fx.h"
#include "game/run_start.h"
#include "levelup/levelup.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "profile/profile.h"
#include "screens/screens.h"
#include "screens/unlocks_list.h"
#include "services/toast.h"
#include "support/fb_text.h"
#include "support/png_out.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

struct ProgressScreens : ::testing::Test {
    void SetUp() override {
        layout_set_landscape();
        screen_reset_draw_state();
        screen_clear();
        player_start();
        levelup_clear();
        fx_state.flash_levelup = 0;
        input_lock_timer = 0;
        input_lock_held = 0;
    }
    void TearDown() override { layout_set_landscape(); }

    // Whether `text` in `colour` stands at (x, y) exactly as text_draw puts it there.
    static bool text_at(int x, int y, const char* text, int colour) { return fb_text_at(x, y, text, colour, 1); }
    static void cards(int a, int b, int c, int boon) {
        levelup.picks[0] = a;
        levelup.picks[1] = b;
        levelup.picks[2] = c;
        levelup.boon_offer = boon;
    }
};

TEST_F(ProgressScreens, HeaderNamesTheLevelBeforeThePicksOwed) {
    const ScreenRect& v = screen_layout.view;
    player.level = 5;
    levelup.pending = 1;
    cards(PICK_TOUGHNESS, PICK_PURSE, PICK_SPARE_KEY, BOON_NONE);
    draw_levelup();
    char header[32];
    // The landscape header is short of room for the long form: "LV", one blank.
    std::snprintf(header, sizeof header, "LV 5 HP %d/%d", player.hp, player.max_hp);
    EXPECT_TRUE(text_at(v.x1 - 7 - text_width(header), v.y0 + 5, header, 1));
    player.level = 7;
    levelup.pending = 3;
    screen_clear();
    draw_levelup();
    EXPECT_TRUE(text_at(v.x1 - 7 - text_width(header), v.y0 + 5, header, 1));
}

TEST_F(ProgressScreens, HealCardAndLockedTrainingCards) {
    const ScreenRect& v = screen_layout.view;
    levelup.pending = 1;
    cards(PICK_CATCH_BREATH, PICK_PURSE, PICK_SPARE_KEY, BOON_NONE);
    draw_levelup();
    EXPECT_TRUE(text_at(v.x0 + 14, v.y0 + 19 + 16, "YOU'RE AT FULL HP", 2));
    player.hp = 4;
    screen_clear();
    draw_levelup();
    char line[32];
    std::snprintf(line, sizeof line, "HP 4 -> %d", 4 + player.max_hp / 2);
    EXPECT_TRUE(text_at(v.x0 + 14, v.y0 + 19 + 16, line, 2));
    // A boon card: its name, the tag and one pip per level, the level being taken lit.
    cards(PICK_BOON, PICK_PURSE, PICK_SPARE_KEY, BOON_IRON_SKIN);
    player.boon_ranks[BOON_IRON_SKIN] = 2;
    screen_clear();
    draw_levelup();
    const int y = v.y0 + 19;
    EXPECT_TRUE(text_at(v.x0 + 14, y + 5, "IRON SKIN", 3));
    EXPECT_TRUE(text_at(v.x1 - 13 - text_width("RANK UP"), y + 5, "RANK UP", 3));
    EXPECT_TRUE(text_at(v.x0 + 14, y + 16, "+3 DEF ALWAYS", 2));
    EXPECT_EQ(screen_get(v.x0 + 14 + 1, y + 24 + 1), 2);   // rank held
    EXPECT_EQ(screen_get(v.x0 + 26 + 1, y + 24 + 1), 3);   // the rank taken
    EXPECT_EQ(screen_get(v.x0 + 32 + 1, y + 24 + 1), 0);   // still to come: outlined only
    EXPECT_EQ(screen_get(v.x0 + 32, y + 24), 1);
}

TEST_F(ProgressScreens, ReviewPictures) {
    // One row per look: the landscape picture, then the portrait one beside it.
    PngSheet sheet(312 + 144 + 12, 5 * 316);
    for (int look = 0; look < 5; look++) {
        levelup_clear();
        levelup.pending = 1;
        player.hp = 9;
        if (look == 0) cards(PICK_TOUGHNESS, PICK_CATCH_BREATH, PICK_REPAIR, BOON_NONE);
        if (look == 1) {
            cards(PICK_BOON, PICK_STRENGTH, PICK_PURSE, BOON_VAMPIRIC);
            player.boon_ranks[BOON_VAMPIRIC] = 1;
            levelup.cursor = 1;
            fx_state.flash_levelup = 14;  // the burst, half run down
        }
        if (look == 2) cards(PICK_BOON, PICK_SPARE_KEY, PICK_CATCH_BREATH, BOON_BLOOD_PACT);
        if (look == 4) {
            // The fight's two-line toast as the screen opens, between the third card and the footer.
            cards(PICK_TOUGHNESS, PICK_PURSE, PICK_SPARE_KEY, BOON_NONE);
            toast_show2("LEVEL UP! NOW LVL 2", "GOT A KEY");
        }
        game_state = look == 4 ? STATE_LEVELUP : STATE_TITLE;  // the toast shows on the level-up itself
        for (int portrait = 0; portrait < 2; portrait++) {
            portrait ? layout_set_portrait() : layout_set_landscape();
            screen_clear();
            if (look == 3) {
                class_cursor = portrait;
                draw_class_select();
            } else {
                draw_levelup();
                draw_levelup_toast();
            }
            EXPECT_EQ(screen_get(screen_layout.view.x0 + 1, screen_layout.view.y0 + 1), 1);  // the frame
            sheet.paste(0, 0, screen_layout.width, screen_layout.height, portrait ? 312 + 8 : 0, look * 316, 1);
        }
    }
    toast_timer = 0;
    sheet.write("progress_screens.png");
}

// The unlocks list: owned, affordable and unaffordable rows, upgrade pips, "MAX" and "OFF", the
// cursor kept in the middle of a long list, and the message in place of the description.
TEST_F(ProgressScreens, UnlocksRowsPricesAndMessage) {
    profile = Profile{};
    profile.souls = 70;
    unlock_set(12);  // GB GREEN owned
    profile.upgrade_ranks[UPGRADE_VITALITY] = 3;  // all ranks: MAX
    profile.upgrade_ranks[UPGRADE_FORAGER] = 1;
    profile.upgrade_off_mask = 1u << UPGRADE_FORAGER;  // switched off: OFF
    for (uint8_t& c : unlocks_collapsed) c = 0;
    unlocks_message.timer = 0;
    int32_t rows[UNLOCK_LIST_MAX];
    const int count = unlock_rows_build(rows);
    ASSERT_GT(count, 12);
    const ScreenRect& v = screen_layout.view;
    // Every row once under the cursor: the picture always holds the cursor's ">" and the frame.
    PngSheet sheet(2 * 316, ((count + 1) / 2) * 148);
    for (int i = 0; i < count; i++) {
        unlocks_cursor = i;
        screen_clear();
        draw_unlocks();
        EXPECT_EQ(screen_get(v.x0 + 1, v.y0 + 1), 1);
        sheet.paste(0, 0, screen_layout.width, screen_layout.height, (i % 2) * 316, (i / 2) * 148, 1);
    }
    sheet.write("unlocks_list.png");
    // A message replaces the description line for as long as it runs.
    unlocks_cursor = 0;
    std::snprintf(unlocks_message.text, sizeof unlocks_message.text, "NOT ENOUGH SOULS");
    unlocks_message.timer = 90;
    screen_clear();
    draw_unlocks();
    EXPECT_TRUE(text_at(v.x0 + 8, v.y1 - 22, "NOT ENOUGH SOULS", 3));
    unlocks_message.timer = 0;
    layout_set_portrait();
    screen_clear();
    draw_unlocks();
    png_write_framebuffer("unlocks_list_portrait.png", 2);
    profile = Profile{};
}

}  // namespace
