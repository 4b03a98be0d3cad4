// Button names: the fixed key table, platform names cut to eight letters, controller families,
// placeholder expansion per device into a full buffer, and the controls screen's rows.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/buttons.h"
#include "platform/input.h"
#include "saves/settings.h"

namespace {

const char* long_name(int) { return "Keypad Multiply"; }
const char* empty_name(int) { return ""; }
const char* comma_name(int) { return ","; }

struct ButtonsTest : ::testing::Test {
    void SetUp() override {
        settings = Settings{};
        bindings_default();
        input_device_set(INPUT_KEYBOARD);
        pad_glyph_style_set(PAD_XBOX);
        set_key_name_fn(nullptr);
    }
    void TearDown() override { SetUp(); }
};

TEST_F(ButtonsTest, KeyNamesFromTheTableThenThePlatformThenTheNumber) {
    EXPECT_STREQ(key_name(4), "A");
    EXPECT_STREQ(key_name(29), "Z");
    EXPECT_STREQ(key_name(30), "1");
    EXPECT_STREQ(key_name(38), "9");
    EXPECT_STREQ(key_name(39), "0");
    EXPECT_STREQ(key_name(40), "ENTER");
    EXPECT_STREQ(key_name(88), "ENTER");
    EXPECT_STREQ(key_name(41), "ESC");
    EXPECT_STREQ(key_name(42), "BKSP");
    EXPECT_STREQ(key_name(44), "SPACE");
    EXPECT_STREQ(key_name(79), "RIGHT");
    EXPECT_STREQ(key_name(82), "UP");
    EXPECT_STREQ(key_name(228), "CTRL");
    EXPECT_STREQ(key_name(229), "SHIFT");
    EXPECT_STREQ(key_name(54), "KEY 54");
    set_key_name_fn(empty_name);
    EXPECT_STREQ(key_name(54), "KEY 54");
    set_key_name_fn(long_name);
    EXPECT_STREQ(key_name(85), "KEYPAD M");
    set_key_name_fn(comma_name);
    EXPECT_STREQ(key_name(54), ",");
    // Four names can be held at once.
    const char* a = key_name(4);
    const char* b = key_name(5);
    const char* c = key_name(6);
    const char* d = key_name(7);
    EXPECT_STREQ(a, "A");
    EXPECT_STREQ(b, "B");
    EXPECT_STREQ(c, "C");
    EXPECT_STREQ(d, "D");
}

TEST_F(ButtonsTest, ControllerNamesByFamily) {
    EXPECT_STREQ(pad_button_name(0, PAD_XBOX), "A");
    EXPECT_STREQ(pad_button_name(0, PAD_PS4), "CROSS");
    EXPECT_STREQ(pad_button_name(4, PAD_PS4), "SHARE");
    EXPECT_STREQ(pad_button_name(4, PAD_PS5), "CREATE");
    EXPECT_STREQ(pad_button_name(6, PAD_NINTENDO), "+");
    EXPECT_STREQ(pad_button_name(10, PAD_XBOX), "RB");
    EXPECT_STREQ(pad_button_name(11, PAD_PS5), "D-PAD");
    EXPECT_STREQ(pad_button_name(14, PAD_PS5), "D-PAD");
    EXPECT_STREQ(pad_button_name(15, PAD_XBOX), "PADDLE");
    EXPECT_STREQ(pad_button_name(-1, PAD_XBOX), "-");
    EXPECT_STREQ(pad_button_name(2, 99), "X");  // an unknown family reads as the default one
}

TEST_F(ButtonsTest, PlaceholdersExpandPerDevice) {
    char out[128];
    const char* text = "{A}: OK  {B}: BACK  {START} {SELECT} {DPAD} {X} {UP}";
    text_expand_glyphs_for(text, out, sizeof out, INPUT_KEYBOARD);
    EXPECT_STREQ(out, "ENTER: OK  CTRL: BACK  ESC SHIFT ARROWS {X} UP");
    text_expand_glyphs_for(text, out, sizeof out, INPUT_TOUCH);
    EXPECT_STREQ(out, "A: OK  B: BACK  START SELECT D-PAD {X} UP");
    pad_glyph_style_set(PAD_PS5);
    text_expand_glyphs_for(text, out, sizeof out, INPUT_PAD);
    EXPECT_STREQ(out, "CROSS: OK  CIRCLE: BACK  OPTIONS CREATE D-PAD {X} UP");
    input_device_set(INPUT_PAD);
    text_expand_glyphs("{SELECT}", out, sizeof out);
    EXPECT_STREQ(out, "CREATE");

    // START on the keyboard is always Escape, whatever else is bound to it.
    settings.key_binds[6][0] = 19;
    EXPECT_STREQ(action_glyph_name_for(BTN_START, INPUT_KEYBOARD), "ESC");
    // An action without keys reads "-"; with A and B swapped "{A}" names the B binding.
    settings.key_binds[7][0] = settings.key_binds[7][1] = 0;
    EXPECT_STREQ(action_glyph_name_for(BTN_SELECT, INPUT_KEYBOARD), "-");
    settings.swap_ab = 1;
    EXPECT_STREQ(action_glyph_name_for(BTN_A, INPUT_KEYBOARD), "CTRL");
    EXPECT_STREQ(action_glyph_name_for(BTN_A, INPUT_PAD), "CIRCLE");
}

TEST_F(ButtonsTest, ExpansionStopsAtTheEndOfTheBuffer) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    text_expand_glyphs_for("GO {A}!", out, 6, INPUT_KEYBOARD);  // cut inside the name
    EXPECT_STREQ(out, "GO EN");
    EXPECT_EQ(out[6], 'x');
    text_expand_glyphs_for("ABC{A", out, sizeof out, INPUT_KEYBOARD);  // an unclosed token is plain text
    EXPECT_STREQ(out, "ABC{A");
    text_expand_glyphs_for("{A}", out, 1, INPUT_KEYBOARD);
    EXPECT_STREQ(out, "");
    char big[128];
    std::string huge(300, 'Q');
    text_expand_glyphs_for(huge.c_str(), big, sizeof big, INPUT_KEYBOARD);
    EXPECT_EQ(std::strlen(big), 127u);
}

TEST_F(ButtonsTest, ControlsRowsPerDevice) {
    ControlsRow rows[CONTROLS_ROW_MAX];
    int n = controls_list(INPUT_KEYBOARD, rows);
    ASSERT_EQ(n, 8 + 2 + 11 + 2);
    EXPECT_STREQ(rows[0].label, "UP");
    EXPECT_STREQ(rows[6].label, "SELECT");
    EXPECT_STREQ(rows[7].label, "START");
    EXPECT_EQ(rows[8].kind, CONTROLS_SWAP);
    EXPECT_EQ(rows[9].kind, CONTROLS_RESET);
    EXPECT_STREQ(rows[n - 1].label, "ROTATE");
    EXPECT_TRUE(controls_row_changeable(INPUT_KEYBOARD, rows[0]));
    EXPECT_FALSE(controls_row_changeable(INPUT_KEYBOARD, rows[10]));

    n = controls_list(INPUT_PAD, rows);
    ASSERT_EQ(n, 1 + 4 + 2 + 11);
    EXPECT_STREQ(rows[0].text, "D-PAD/STICK");
    EXPECT_STREQ(rows[1].label, "A");

    n = controls_list(INPUT_TOUCH, rows);
    ASSERT_EQ(n, 1 + 4 + 1 + 11);
    EXPECT_STREQ(rows[0].text, "PAD");
    EXPECT_FALSE(controls_row_changeable(INPUT_TOUCH, rows[1]));
    EXPECT_TRUE(controls_row_changeable(INPUT_TOUCH, rows[5]));
}

}  // namespace
