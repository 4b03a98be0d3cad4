// The unlocks list: its rows and folding, the cursor, buying unlocks and upgrade ranks, trying on
// and putting on looks, leaving, and the queries the other screens ask.
#include <gtest/gtest.h>

#include <string>

#include "platform/compose.h"
#include "profile/profile.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "screens/unlocks_list.h"
#include "support/temp_save_dir.h"
#include "world/buttons.h"
#include "world/game_state.h"

namespace {

struct UnlocksListTest : ::testing::Test {
    TempSaveDir tmp;
    Settings kept_settings;
    void SetUp() override {
        kept_settings = settings;
        profile = Profile{};
        for (uint8_t& c : unlocks_collapsed) c = 0;
        unlocks_cursor = 0;
        unlocks_message = UnlocksMessage{};
        settings.case_color = 9;
        settings.palette = 0;
        settings.monster_art = 0;
        game_state = STATE_UNLOCKS;
    }
    void TearDown() override {
        profile = Profile{};
        settings = kept_settings;
        screen_palette = 0;
    }
    // Puts the cursor on row and presses the buttons.
    void press_on(int32_t row, uint8_t bits) {
        unlocks_reveal_row(row);
        update_unlocks(bits);
    }
    std::string message() const { return unlocks_message.text; }
};

TEST_F(UnlocksListTest, RowsFoldingAndTheCursor) {
    int32_t list[UNLOCK_LIST_MAX];
    ASSERT_EQ(unlock_rows_build(list), 25);
    EXPECT_EQ(list[0], -7);
    EXPECT_EQ(list[1], 1000);
    EXPECT_EQ(list[3], 1002);
    EXPECT_EQ(list[4], -1);
    EXPECT_EQ(list[5], 0);
    EXPECT_EQ(list[6], -2);
    EXPECT_EQ(list[24], 14);
    EXPECT_EQ(unlock_count(), 15);

    unlocks_cursor = 24;
    update_unlocks(BTN_DOWN);
    EXPECT_EQ(unlocks_cursor, 0);
    update_unlocks(BTN_UP);
    EXPECT_EQ(unlocks_cursor, 24);

    // A on a header folds its section; the cursor keeps its value until the next rebuild.
    unlocks_cursor = 0;
    update_unlocks(BTN_A);
    EXPECT_EQ(unlock_section_collapsed(UNLOCK_SECTION_PERKS), 1);
    EXPECT_EQ(unlock_rows_build(list), 22);
    EXPECT_EQ(list[1], -1);
    unlocks_cursor = 24;
    EXPECT_EQ(unlocks_cursor_row(), 14);
    EXPECT_EQ(unlocks_cursor, 21);
    update_unlocks(BTN_A);  // on the row, not a header: nothing folds
    update_unlocks(0);
    unlocks_cursor = 0;
    update_unlocks(BTN_A);
    EXPECT_EQ(unlock_section_collapsed(UNLOCK_SECTION_PERKS), 0);

    // Revealing a row opens its section and puts the cursor on it.
    unlocks_collapsed[3] = 1;
    unlocks_reveal_row(9);
    EXPECT_EQ(unlocks_collapsed[3], 0);
    EXPECT_EQ(unlocks_cursor_row(), 9);
}

TEST_F(UnlocksListTest, BuyingAndTooPoorToBuy) {
    profile.souls = 69;
    press_on(1, BTN_A);  // the Spear costs 70
    EXPECT_EQ(message(), "NOT ENOUGH SOULS");
    EXPECT_EQ(unlocks_message.timer, 90);
    EXPECT_FALSE(unlock_owned(1));
    EXPECT_EQ(profile.souls, 69);

    profile.souls = 70;
    update_unlocks(BTN_A);
    EXPECT_EQ(message(), "UNLOCKED!");
    EXPECT_TRUE(unlock_owned(1));
    EXPECT_EQ(profile.souls, 0);
    EXPECT_EQ(profile.souls_spent, 70);
    update_unlocks(BTN_A);
    EXPECT_EQ(message(), "ALREADY YOURS");
    EXPECT_EQ(unlocks_message.timer, 90);
    update_unlocks(0);
    EXPECT_EQ(unlocks_message.timer, 89);

    // The class: its record dates from the next run.
    profile.souls = 100;
    profile.runs = 6;
    press_on(0, BTN_A);
    EXPECT_FALSE(class_locked(1));
    EXPECT_EQ(profile.classes[1].first_run, 7);
    EXPECT_EQ(profile.souls, 40);

    // Bought on disk too.
    const Profile held = profile;
    ASSERT_EQ(profile_load(), PROFILE_LOADED);
    EXPECT_EQ(profile.unlocks[0], held.unlocks[0]);
}

TEST_F(UnlocksListTest, LooksAreTriedOnAndPutOn) {
    // A on the free beige case puts it on; it is never "bought".
    settings.case_color = 12;
    press_on(7, BTN_A);
    EXPECT_EQ(message(), "PUT ON!");
    EXPECT_EQ(settings.case_color, 9);
    EXPECT_TRUE(cosmetic_equipped(7));

    // Resting on an unowned palette shows it; leaving shows the settings' palette again.
    press_on(12, 0);
    EXPECT_EQ(screen_palette, 1);
    update_unlocks(BTN_DOWN);
    EXPECT_EQ(screen_palette, 2);
    update_unlocks(BTN_DOWN);  // the monsters header
    EXPECT_EQ(screen_palette, 0);
    press_on(13, BTN_B);
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_EQ(screen_palette, 0);

    // Buying a look puts it on and saves the settings.
    game_state = STATE_UNLOCKS;
    profile.souls = 75;
    press_on(8, BTN_A);
    EXPECT_EQ(message(), "UNLOCKED!");
    EXPECT_EQ(settings.case_color, 12);
    EXPECT_TRUE(cosmetic_equipped(8));
    EXPECT_FALSE(cosmetic_equipped(7));
    settings.case_color = 0;
    ASSERT_TRUE(settings_load());
    EXPECT_EQ(settings.case_color, 12);
    EXPECT_TRUE(cosmetic_equipped(11));
    EXPECT_TRUE(cosmetic_equipped(14));
    EXPECT_FALSE(cosmetic_equipped(0));
}

TEST_F(UnlocksListTest, PerksAreBoughtAndSwitched) {
    press_on(1000, BTN_SELECT);
    EXPECT_EQ(message(), "NOT BOUGHT YET");
    EXPECT_EQ(profile.upgrade_off_mask, 0u);
    update_unlocks(BTN_A);
    EXPECT_EQ(message(), "NOT ENOUGH SOULS");
    profile.souls = 28;
    update_unlocks(BTN_A);
    EXPECT_EQ(message(), "VITALITY 1!");
    update_unlocks(BTN_A);
    EXPECT_EQ(message(), "VITALITY 2!");
    EXPECT_EQ(profile.souls, 0);
    EXPECT_EQ(profile.souls_spent, 28);
    update_unlocks(BTN_SELECT);
    EXPECT_EQ(message(), "SWITCHED OFF");
    EXPECT_EQ(upgrade_active_rank(UPGRADE_VITALITY), 0);
    update_unlocks(BTN_SELECT);
    EXPECT_EQ(message(), "SWITCHED ON");
    EXPECT_EQ(upgrade_active_rank(UPGRADE_VITALITY), 2);

    profile.souls = 60;
    press_on(1001, BTN_A);
    EXPECT_EQ(message(), "EMBERS 1!");
    update_unlocks(BTN_A);
    EXPECT_EQ(message(), "ALL RANKS BOUGHT");
    int total = 0;
    EXPECT_EQ(unlock_section_owned(UNLOCK_SECTION_PERKS, &total), 3);
    EXPECT_EQ(total, 6);
}

TEST_F(UnlocksListTest, QueriesForTheOtherScreens) {
    EXPECT_STREQ(unlock_row_name(0), "BRUTE");
    EXPECT_STREQ(unlock_row_name(1), "Spear");
    EXPECT_STREQ(unlock_row_name(5), "VETERAN");
    EXPECT_STREQ(unlock_row_name(6), "LAST STAND");
    EXPECT_STREQ(unlock_row_name(9), "SOLID GREEN");
    EXPECT_STREQ(unlock_row_name(12), "GB GREEN");
    EXPECT_STREQ(unlock_row_name(14), "HAND-DRAWN MONSTERS");
    EXPECT_STREQ(unlock_kind_name(0), "CLASS");
    EXPECT_STREQ(unlock_kind_name(13), "SCREEN");
    EXPECT_STREQ(unlock_kind_name(14), "MONSTERS");
    EXPECT_STREQ(unlock_row_description(0), "HEAVIES CHARGE FAST");
    EXPECT_STREQ(unlock_row_description(7), "THE CLASSIC: SOLID PLASTIC");
    EXPECT_STREQ(unlock_row_description(10), "SOLID PLASTIC");
    EXPECT_STREQ(unlock_row_description(13), "AMBER MONOCHROME");
    EXPECT_STREQ(unlock_row_description(14), "EVERY PIXEL PLACED BY HAND");
    EXPECT_STRNE(unlock_row_description(5), "");
    EXPECT_STREQ(unlock_section_title(4), "SCREENS");
    for (int row : {-1, -5, 15, 1000}) {
        EXPECT_FALSE(unlock_owned(row)) << row;
        EXPECT_EQ(unlock_price(row), 0) << row;
        EXPECT_STREQ(unlock_kind_name(row), "") << row;
        EXPECT_STREQ(unlock_row_name(row), "") << row;
        EXPECT_STREQ(unlock_row_description(row), "") << row;
        EXPECT_FALSE(cosmetic_equipped(row)) << row;
    }
    for (int n : {-1, 7, 100}) {
        int total = 5;
        EXPECT_EQ(unlock_section_owned(n, &total), 0);
        EXPECT_EQ(total, 0);
        EXPECT_STREQ(unlock_section_title(n), "");
        EXPECT_EQ(unlock_section_collapsed(n), 0);
    }

    int owned = -1, total = -1;
    unlocks_owned_count(&owned, &total);
    EXPECT_EQ(owned, 0);
    EXPECT_EQ(total, 12);
    EXPECT_FLOAT_EQ(unlocks_completion(), 0.0f);
    EXPECT_EQ(unlock_section_owned(3, &total), 1);  // the free beige case
    EXPECT_EQ(total, 4);

    // The next goal: gameplay rows first, the cheapest, ties to the lower row.
    EXPECT_EQ(unlock_next_goal(), 5);
    for (int r = 0; r <= 6; r++) unlock_set(r);
    EXPECT_EQ(unlock_next_goal(), 12);
    profile_unlock_all();
    EXPECT_EQ(unlock_next_goal(), -1);
    EXPECT_FLOAT_EQ(unlocks_completion(), 1.0f);
}

}  // namespace
