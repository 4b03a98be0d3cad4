// The pause, controls and stats screens: the statistics' value texts, the controls' key lists,
// scrolling, rebinding prompt and footers, the stats hint on a short screen, and review pictures
// of each in landscape and portrait (QM_PNG_DIR).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dungeon/monsters.h"
#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/controls.h"
#include "screens/screens.h"
#include "screens/stats.h"
#include "support/png_out.h"
#include "support/temp_save_dir.h"
#include "world/buttons.h"
#include "world/game_state.h"

namespace {

// Key names as the platform gives them for the default bindings.
const char* fake_key(int code) {
    switch (code) {
    case 82: return "UP";
    case 81: return "DOWN";
    case 80: return "LEFT";
    case 79: return "RIGHT";
    case 26: return "W";
    case 22: return "S";
    case 4: return "A";
    case 7: return "D";
    case 40: return "RETURN";
    case 44: return "SPACE";
    case 88: return "RETURN";  // the keypad's Enter shares the name
    case 224: case 228: return "CTRL";
    case 5: return "B";
    case 42: return "BACKSPACE";
    case 225: case 229: return "SHIFT";
    case 100: return "VERYLONGKEYNAME";
    default: return "";
    }
}
const char* fake_bound(uint8_t bit, int32_t device) {
    static const char* const PAD[8] = {"UP", "DOWN", "LEFT", "RIGHT", "A", "B", "MENU", "VIEW"};
    static const char* const TOUCH[8] = {"UP", "DOWN", "LEFT", "RIGHT", "A", "B", "START", "SELECT"};
    int i = 0;
    while (i < 7 && !(bit & (1u << i))) i++;
    return device == INPUT_DEVICE_PAD ? PAD[i] : TOUCH[i];
}
// "{X}" becomes the bound name of X on the device.
void fake_expand(const char* text, char* out, int size, int32_t device) {
    static const char* const TOKENS[8] = {"{UP}", "{DOWN}", "{LEFT}", "{RIGHT}", "{A}", "{B}", "{START}", "{SELECT}"};
    std::string s;
    for (const char* p = text; *p;) {
        bool hit = false;
        for (int i = 0; i < 8 && !hit; i++)
            if (std::strncmp(p, TOKENS[i], std::strlen(TOKENS[i])) == 0) {
                s += device == INPUT_DEVICE_KEYBOARD ? (i == 6 ? "ESC" : fake_key(settings.key_binds[i][0]))
                                                 : fake_bound((uint8_t)(1u << i), device);
                p += std::strlen(TOKENS[i]);
                hit = true;
            }
        if (!hit) s += *p++;
    }
    std::snprintf(out, (size_t)size, "%s", s.c_str());
}
const ControlsNames FAKE_NAMES = {fake_key, fake_bound, fake_expand, controls_row_changeable};

// The rows the controls list gives for a device, as the bindings' own list orders them.
std::vector<ControlsRow> rows_for(int device) {
    std::vector<ControlsRow> r;
    if (device == INPUT_DEVICE_PAD) r.push_back({CONTROLS_INFO, 0, "MOVE", "D-PAD/STICK"});
    if (device == INPUT_DEVICE_TOUCH) r.push_back({CONTROLS_INFO, 0, "MOVE", "PAD"});
    static const char* const NAMES[8] = {"UP", "DOWN", "LEFT", "RIGHT", "A", "B", "START", "SELECT"};
    static const int KEY_ORDER[8] = {0, 1, 2, 3, 4, 5, 7, 6};
    for (int k : KEY_ORDER)
        if (device == INPUT_DEVICE_KEYBOARD || k >= 4) r.push_back({CONTROLS_BIND, k, NAMES[k], nullptr});
    r.push_back({CONTROLS_SWAP, 0, "SWAP A/B", nullptr});
    if (device != INPUT_DEVICE_TOUCH) r.push_back({CONTROLS_RESET, 0, "RESET", nullptr});
    r.push_back({CONTROLS_INFO, 0, "STEP", "{UP}/{DOWN}"});
    r.push_back({CONTROLS_INFO, 0, "TURN", "{LEFT}/{RIGHT}"});
    r.push_back({CONTROLS_INFO, 0, "OK, JAB", "{A}"});
    r.push_back({CONTROLS_INFO, 0, "HEAVY", "HOLD {A}"});
    r.push_back({CONTROLS_INFO, 0, "BACK", "{B}"});
    r.push_back({CONTROLS_INFO, 0, "GUARD", "HOLD {B}"});
    r.push_back({CONTROLS_INFO, 0, "DODGE", "{LEFT}/{RIGHT}"});
    r.push_back({CONTROLS_INFO, 0, "BAG", "{SELECT}"});
    r.push_back({CONTROLS_INFO, 0, "PAUSE", "{START}"});
    r.push_back({CONTROLS_INFO, 0, "MOVE ITEM", "HOLD {A}"});
    r.push_back({CONTROLS_INFO, 0, "PAGES", "OFF BAG'S EDGE"});
    if (device == INPUT_DEVICE_KEYBOARD) {
        r.push_back({CONTROLS_INFO, 0, "FULLSCREEN", "F8"});
        r.push_back({CONTROLS_INFO, 0, "ROTATE", "F3"});
    }
    return r;
}

// The controls view the review pictures draw.
ControlsView shown = {INPUT_DEVICE_KEYBOARD, 0, 0, -1};

struct MenuScreens : ::testing::Test {
    Profile kept = profile;
    Settings kept_settings = settings;
    void SetUp() override {
        layout_set_landscape();
        screen_reset_draw_state();
        screen_clear();
        profile = Profile{};
        std::memcpy(settings.key_binds, DEFAULT_KEY_BINDS, sizeof settings.key_binds);
        settings.swap_ab = 0;
        shown = {INPUT_DEVICE_KEYBOARD, 0, 0, -1};
        frame_counter = 0;
    }
    void TearDown() override {
        profile = kept;
        settings = kept_settings;
        layout_set_landscape();
    }
    static bool any_colour_in(int x, int y, int w, int h, int colour) {
        for (int r = 0; r < h; r++)
            for (int c = 0; c < w; c++)
                if (screen_get(x + c, y + r) == colour) return true;
        return false;
    }
    static std::string value(int row) {
        char out[STATS_VALUE_BYTES];
        stats_value(row, out);
        return out;
    }
    void fill_profile() {
        profile.runs = 37;
        profile.runs_won = 4;
        profile.runs_lost = 33;
        profile.slain[M_GOBLIN] = 120;
        profile.slain[M_RAT] = 88;
        profile.slain[M_DRAGON] = 3;
        profile.slain[M_SKELETON] = 120;
        profile.killed_by[M_ORC] = 9;
        profile.killed_by[M_DRAGON] = 2;
        profile.floors_reached = 212;
        profile.best_level = 14;
        profile.most_kills = 41;
        profile.souls_earned = 1530;
        profile.souls_spent = 1210;
        profile.gold_gained = 48211;
        profile.secrets = 17;
        profile.seconds = 3 * 3600 + 25 * 60 + 12;
        profile.best_combo = 23;
        profile.class_runs[0] = 20;
        profile.class_runs[1] = 17;
    }
};

}  // namespace

TEST_F(MenuScreens, StatsValuesReadTheProfile) {
    TempSaveDir dir;
    EXPECT_EQ(value(STATS_FAVORITE_CLASS), "-");
    EXPECT_EQ(value(STATS_SLAIN_MOST), "-");
    EXPECT_EQ(value(STATS_SLAIN_MOST_BY), "-");
    EXPECT_EQ(value(STATS_BEST_FLOOR), "0");
    fill_profile();
    EXPECT_EQ(value(STATS_MONSTERS), "331");
    EXPECT_EQ(value(STATS_DRAGONS), "3");
    EXPECT_EQ(value(STATS_SOULS_SPENT), "1210");
    EXPECT_EQ(value(STATS_TIME), "3H 25M");
    EXPECT_EQ(value(STATS_SLAIN_MOST), "GOBLIN");  // tied with the skeletons: the lower kind
    EXPECT_EQ(value(STATS_SLAIN_MOST_BY), "ORC");
    EXPECT_EQ(value(STATS_FAVORITE_CLASS), "KNIGHT");
    profile.class_runs[1] = 20;  // a tie goes to the knight
    EXPECT_EQ(value(STATS_FAVORITE_CLASS), "KNIGHT");
    profile.class_runs[1] = 21;
    EXPECT_EQ(value(STATS_FAVORITE_CLASS), "BRUTE");
    profile.class_runs[0] = 0;
    profile.class_runs[1] = 1;
    EXPECT_EQ(value(STATS_FAVORITE_CLASS), "BRUTE");
    ASSERT_TRUE(best_floor_save(12));
    EXPECT_EQ(value(STATS_BEST_FLOOR), "12");
}

TEST(StatsTime, MinutesThenHoursAndMinutesThenHours) {
    char out[STATS_VALUE_BYTES];
    stats_time_text(3599, out);
    EXPECT_STREQ(out, "59M");
    stats_time_text(3600, out);
    EXPECT_STREQ(out, "1H 00M");
    stats_time_text(359999, out);
    EXPECT_STREQ(out, "99H 59M");
    stats_time_text(360000, out);
    EXPECT_STREQ(out, "100H");
    stats_time_text(-5, out);
    EXPECT_STREQ(out, "0M");
}

TEST_F(MenuScreens, StatsHintIsLeftOutWhereThePortraitRowsReachTooLow) {
    TempSaveDir dir;
    layout_set_portrait();
    draw_stats();
    const ScreenRect v = screen_layout.view;
    // The full portrait view has room for "{B}: BACK" under the rows.
    EXPECT_TRUE(any_colour_in(v.x0 + 6, v.y1 - 11, v.x1 - v.x0 - 12, 7, 1));
    screen_clear();
    screen_layout.view.y1 = 190;  // (h - 23) mod 20 < 12: the last row comes too close
    draw_stats();
    EXPECT_FALSE(any_colour_in(v.x0 + 6, 190 - 11, v.x1 - v.x0 - 12, 7, 1));
}

TEST(ControlsKeys, EachNameOnceEscFirstForStartAndADashForNone) {
    char out[CONTROLS_VALUE_MAX + 1];
    const int16_t enter[4] = {40, 44, 88, 40};  // RETURN twice by name, once bound twice
    controls_keys_text(false, enter, fake_key, out);
    EXPECT_STREQ(out, "RETURN/SPACE");
    const int16_t none[4] = {0, 0, -1, 0};
    controls_keys_text(false, none, fake_key, out);
    EXPECT_STREQ(out, "-");
    controls_keys_text(true, none, fake_key, out);
    EXPECT_STREQ(out, "ESC");
    const int16_t start[4] = {5, 0, 0, 0};
    controls_keys_text(true, start, fake_key, out);
    EXPECT_STREQ(out, "ESC/B");
    // Names stop before the text would pass 39 characters.
    const int16_t long_names[4] = {100, 42, 40, 44};
    controls_keys_text(false, long_names, fake_key, out);
    EXPECT_STREQ(out, "VERYLONGKEYNAME/BACKSPACE/RETURN/SPACE");
    const int16_t too_long[4] = {42, 100, 40, 44};
    controls_keys_text(true, too_long, fake_key, out);
    EXPECT_STREQ(out, "ESC/BACKSPACE/VERYLONGKEYNAME/RETURN");
    EXPECT_LE(std::strlen(out), (size_t)CONTROLS_VALUE_MAX);
}

TEST(ControlsRows, TheTestRowsAreTheBindingsOwnList) {
    for (int32_t d = 0; d < CONTROLS_DEVICE_COUNT; d++) {
        ControlsRow real[CONTROLS_ROW_MAX];
        const int n = controls_list(d, real);
        const std::vector<ControlsRow> mine = rows_for(d);
        ASSERT_EQ(n, (int)mine.size()) << d;
        for (int i = 0; i < n; i++) {
            EXPECT_EQ(real[i].kind, mine[i].kind) << d << " " << i;
            EXPECT_STREQ(real[i].label, mine[i].label) << d << " " << i;
            if (real[i].kind == CONTROLS_BIND) {
                EXPECT_EQ(real[i].action, mine[i].action) << d << " " << i;
            }
        }
    }
}

TEST_F(MenuScreens, ControlsRowsValuesFollowTheDeviceAndTheSwap) {
    const std::vector<ControlsRow> rows = rows_for(INPUT_DEVICE_KEYBOARD);
    char out[CONTROLS_VALUE_MAX + 1];
    const int32_t keys = INPUT_DEVICE_KEYBOARD, pads = INPUT_DEVICE_PAD;
    controls_value_text(rows[4], keys, FAKE_NAMES, out);  // A
    EXPECT_STREQ(out, "RETURN/SPACE");
    settings.swap_ab = 1;
    controls_value_text(rows[4], keys, FAKE_NAMES, out);
    EXPECT_STREQ(out, "CTRL/B/BACKSPACE");
    controls_value_text(rows[8], keys, FAKE_NAMES, out);  // SWAP A/B
    EXPECT_STREQ(out, "ON");
    const std::vector<ControlsRow> pad = rows_for(INPUT_DEVICE_PAD);
    controls_value_text(pad[4], pads, FAKE_NAMES, out);  // START
    EXPECT_STREQ(out, "MENU");
    controls_value_text(pad[8], pads, FAKE_NAMES, out);  // TURN, expanded for the controller
    EXPECT_STREQ(out, "LEFT/RIGHT");
    controls_value_text(pad[14], pads, FAKE_NAMES, out);  // BAG
    EXPECT_STREQ(out, "VIEW");
}

TEST_F(MenuScreens, ControlsScrollMarksAndValueColumn) {
    // A short list fits: no marks, values end 4 pixels inside the panel.
    std::vector<ControlsRow> few = {{CONTROLS_SWAP, 0, "SWAP A/B", nullptr}, {CONTROLS_RESET, 0, "RESET", nullptr}};
    const ScreenRect v = screen_layout.view;
    const int pw = v.x1 - v.x0 - 7, t = v.y0 + 2;
    controls_draw(shown, few.data(), (int)few.size(), FAKE_NAMES);
    EXPECT_FALSE(any_colour_in(v.x0 + pw - 8, t + 30, 5, 7, 1));
    const int off_w = text_width("OFF");
    EXPECT_TRUE(any_colour_in(v.x0 + pw - 4 - off_w, t + 30, off_w, 7, 3));  // the cursor row's value
    // The keyboard list is longer than the landscape panel: the marks show and values move in.
    screen_clear();
    std::vector<ControlsRow> rows = rows_for(INPUT_DEVICE_KEYBOARD);
    shown.cursor = 20;
    const int fit = (v.y1 - v.y0 - 5 - 44) / 9;
    EXPECT_EQ(controls_draw(shown, rows.data(), (int)rows.size(), FAKE_NAMES), 20 - fit + 1);
    EXPECT_TRUE(any_colour_in(v.x0 + pw - 8, t + 30, 5, 7, 1));  // "^"
    shown.cursor = 99;  // shown on the last row
    EXPECT_EQ(controls_draw(shown, rows.data(), (int)rows.size(), FAKE_NAMES), (int)rows.size() - fit);
    shown = {INPUT_DEVICE_KEYBOARD, 2, 7, -1};  // a cursor above the scroll brings it back up
    EXPECT_EQ(controls_draw(shown, rows.data(), (int)rows.size(), FAKE_NAMES), 2);
}

TEST_F(MenuScreens, ControlsRebindPromptBlinksOnTheRowBeingBound) {
    std::vector<ControlsRow> rows = rows_for(INPUT_DEVICE_KEYBOARD);
    const ScreenRect v = screen_layout.view;
    const int pw = v.x1 - v.x0 - 7, t = v.y0 + 2;
    shown = {INPUT_DEVICE_KEYBOARD, 4, 0, 4};
    const int w = text_width("PRESS A KEY");
    const int right = v.x0 + pw - 12, y = t + 30 + 9 * 4;
    frame_counter = 0;
    controls_draw(shown, rows.data(), (int)rows.size(), FAKE_NAMES);
    EXPECT_TRUE(any_colour_in(right - w, y, 6, 7, 3));  // the prompt reaches far left of "RETURN/SPACE"
    screen_clear();
    frame_counter = 20;  // hidden every other 20 frames
    controls_draw(shown, rows.data(), (int)rows.size(), FAKE_NAMES);
    EXPECT_FALSE(any_colour_in(right - 100, y, 100, 7, 3));
}

TEST_F(MenuScreens, PauseMarksTheCursorRow) {
    for (int c = 0; c < 3; c++) {
        screen_clear();
        draw_pause(c);
        const ScreenRect v = screen_layout.view;
        const int w = v.x1 - v.x0, h = v.y1 - v.y0, bw = (w + 1) * 70 / 100;
        const int x = v.x0 + (w - bw + 1) / 2, y = v.y0 + (h - 71) / 2;
        EXPECT_EQ(screen_get(x + 1, y + 1), 3);
        for (int r = 0; r < 3; r++)
            EXPECT_EQ(any_colour_in(x + 10, y + 26 + 14 * r, 5, 7, 2), r == c) << c << " " << r;
    }
}

// Review pictures: landscape at the top, portrait beneath, three times enlarged.
TEST_F(MenuScreens, ReviewPictures) {
    TempSaveDir dir;
    fill_profile();
    best_floor_save(23);
    struct Shot {
        const char* name;
        void (*draw)();
    };
    auto sheet_of = [](const char* name, auto&& draw) {
        PngSheet sheet(3 * FB_LONG + 3 * FB_SHORT + 6, 3 * FB_LONG);
        layout_set_landscape();
        screen_clear();
        draw();
        sheet.paste(0, 0, FB_LONG, FB_SHORT, 0, 0, 3);
        layout_set_portrait();
        screen_clear();
        draw();
        sheet.paste(0, 0, FB_SHORT, FB_LONG, 3 * FB_LONG + 6, 0, 3);
        layout_set_landscape();
        sheet.write(name);
    };
    sheet_of("menu_pause.png", [] {
        // A stand-in scene under the dimmed pause box.
        const ScreenRect& v = screen_layout.view;
        for (int y = v.y0; y <= v.y1; y++)
            for (int x = v.x0; x <= v.x1; x++) screen_pixel(x, y, ((x / 6 + y / 6) & 1) ? 1 : 0);
        draw_pause(1);
    });
    sheet_of("menu_stats.png", [] { draw_stats(); });
    static const char* const DEVICE_FILES[3] = {"menu_controls_keyboard.png", "menu_controls_controller.png",
                                                "menu_controls_touch.png"};
    for (int d = 0; d < 3; d++) {
        shown = {d, d == 0 ? 4 : 2, 0, -1};
        sheet_of(DEVICE_FILES[d], [] {
            const std::vector<ControlsRow> rows = rows_for(shown.device);
            controls_draw(shown, rows.data(), (int)rows.size(), FAKE_NAMES);
        });
    }
    shown = {INPUT_DEVICE_KEYBOARD, 5, 0, 5};
    frame_counter = 0;
    sheet_of("menu_controls_rebind.png", [] {
        const std::vector<ControlsRow> rows = rows_for(INPUT_DEVICE_KEYBOARD);
        controls_draw(shown, rows.data(), (int)rows.size(), FAKE_NAMES);
    });
    shown = {INPUT_DEVICE_PAD, 18, 0, -1};
    sheet_of("menu_controls_scrolled.png", [] {
        const std::vector<ControlsRow> rows = rows_for(INPUT_DEVICE_PAD);
        controls_draw(shown, rows.data(), (int)rows.size(), FAKE_NAMES);
    });
}
