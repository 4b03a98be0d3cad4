// Keyboard bits, the stick's axis hysteresis, bindings, rebinding and the A/B swap.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/input.h"
#include "saves/save_path.h"
#include "saves/settings.h"

namespace {

struct InputTest : ::testing::Test {
    std::filesystem::path dir;
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("qm_input_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        save_dir_set((dir.string() + "/").c_str());
        bindings_default();
        while (rebind_active()) rebind_key_input(SCANCODE_ESCAPE);
        for (int i = 0; i < 3; i++) rebind_tick(0);  // let any release wait end
    }
    void TearDown() override {
        bindings_default();
        save_dir_set(nullptr);
        std::filesystem::remove_all(dir);
    }
};

uint8_t keys_with(std::initializer_list<int> down) {
    static uint8_t state[512];
    std::memset(state, 0, sizeof state);
    for (int k : down) state[k] = 1;
    return keys_to_pad(state, 512);
}

TEST_F(InputTest, DefaultKeysAndEscape) {
    EXPECT_EQ(keys_with({82}), BTN_UP);
    EXPECT_EQ(keys_with({26}), BTN_UP);
    EXPECT_EQ(keys_with({7, 44}), BTN_RIGHT | BTN_A);
    EXPECT_EQ(keys_with({42}), BTN_B);
    EXPECT_EQ(keys_with({229}), BTN_SELECT);
    EXPECT_EQ(keys_with({41}), BTN_START);
    EXPECT_EQ(keys_with({0}), 0);  // scancode 0 is never a key, even when its slot says 0
}

TEST_F(InputTest, KeysBeyondTheStateArrayAreIgnored) {
    settings.key_binds[0][2] = 300;
    uint8_t state[100] = {};
    EXPECT_EQ(keys_to_pad(state, 100), 0);
    settings.key_binds[0][2] = -4;  // a negative slot is empty
    EXPECT_EQ(keys_with({}), 0);
}

TEST_F(InputTest, ActionOfMask) {
    EXPECT_EQ(action_of_mask(BTN_UP), 0);
    EXPECT_EQ(action_of_mask(BTN_B | BTN_START), 5);
    EXPECT_EQ(action_of_mask(BTN_SELECT), 7);
    EXPECT_EQ(action_of_mask(0), 7);
}

TEST_F(InputTest, StickHysteresis) {
    uint8_t mode = 0;
    EXPECT_EQ(stick_bits(20000, 17000, &mode), BTN_DOWN);
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(stick_bits(20000, 15000, &mode), BTN_RIGHT);
    EXPECT_EQ(mode, 1);
    // Now horizontal: y must lead by a quarter to turn back.
    EXPECT_EQ(stick_bits(15000, 18000, &mode), BTN_RIGHT);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(stick_bits(15000, -19000, &mode), BTN_UP);
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(stick_bits(9000, 0, &mode), 0);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(stick_bits(-10001, 0, &mode), BTN_LEFT);
    EXPECT_EQ(stick_bits(-10000, 0, &mode), 0);  // the dead zone
    mode = 0;
    EXPECT_EQ(stick_bits(0, -32768, &mode), BTN_UP);
}

TEST_F(InputTest, BindKeyMovesAndSwaps) {
    bind_key(1, 26);  // W to DOWN
    EXPECT_EQ(settings.key_binds[0][0], 82);  // UP keeps Up, loses W
    EXPECT_EQ(settings.key_binds[0][1], 0);
    EXPECT_EQ(settings.key_binds[1][0], 26);
    EXPECT_EQ(settings.key_binds[1][1], 0);
    // UP now holds only Up: taking it away hands UP the old first key of the action bound.
    bind_key(2, 82);  // Up to LEFT (LEFT's first key was Left, 80)
    EXPECT_EQ(settings.key_binds[0][0], 80);
    EXPECT_EQ(settings.key_binds[2][0], 82);
    EXPECT_EQ(settings.key_binds[2][1], 0);
}

TEST_F(InputTest, StartNeverReceivesASwappedKey) {
    bind_key(6, 19);  // P to START
    EXPECT_EQ(settings.key_binds[6][0], 19);
    bind_key(4, 19);  // P to A: START is left empty but takes nothing (Escape still works)
    EXPECT_EQ(settings.key_binds[6][0], 0);
    EXPECT_EQ(settings.key_binds[4][0], 19);
}

TEST_F(InputTest, BindKeyRejectsBadArguments) {
    int16_t before[8][4];
    std::memcpy(before, settings.key_binds, sizeof before);
    bind_key(8, 20);
    bind_key(-1, 20);
    bind_key(0, 0);
    bind_key(0, -3);
    bind_key(0, 600);
    EXPECT_EQ(std::memcmp(before, settings.key_binds, sizeof before), 0);
}

TEST_F(InputTest, PadBindingsSwap) {
    bind_pad_button(6, 0);  // START takes A's button: A gets START's old one
    EXPECT_EQ(pad_bind_get(2), 0);
    EXPECT_EQ(pad_bind_get(0), 6);
    bind_pad_button(3, 2);  // only A, B, START, SELECT can be bound
    bind_pad_button(-2, 2);
    bind_pad_button(4, 40);
    EXPECT_EQ(pad_bind_get(0), 6);
    EXPECT_EQ(pad_bind_get(4), -1);
    EXPECT_EQ(pad_bind_get(-1), -1);
}

TEST_F(InputTest, SwapAB) {
    settings.swap_ab = 1;
    EXPECT_EQ(pad_swap_face(BTN_A | BTN_UP), BTN_B | BTN_UP);
    EXPECT_EQ(pad_swap_face(BTN_A | BTN_B), BTN_A | BTN_B);
    EXPECT_EQ(rebind_tick(keys_with({40})), BTN_B);
    settings.swap_ab = 0;
    EXPECT_EQ(rebind_tick(BTN_A), BTN_A);
}

TEST_F(InputTest, KeyboardPromptBindsAndSaves) {
    rebind_start(4, 0);
    EXPECT_TRUE(rebind_active());
    EXPECT_EQ(rebind_tick(BTN_A), 0);
    EXPECT_TRUE(rebind_key_input(62));  // F5 refused, prompt stays
    EXPECT_TRUE(rebind_active());
    EXPECT_TRUE(rebind_key_input(29));  // Z
    EXPECT_FALSE(rebind_active());
    EXPECT_EQ(settings.key_binds[4][0], 29);
    EXPECT_TRUE(std::filesystem::exists(dir / "settings.dat"));
    // The game sees nothing until every button is up.
    EXPECT_EQ(rebind_tick(BTN_A), 0);
    EXPECT_EQ(rebind_tick(0), 0);
    EXPECT_EQ(rebind_tick(BTN_A), BTN_A);
    EXPECT_FALSE(rebind_key_input(29));  // no prompt open
}

TEST_F(InputTest, EscapeCancelsAndTimeoutCloses) {
    rebind_start(5, 1);
    int action = -1, kind = -1;
    EXPECT_TRUE(rebind_pending(&action, &kind));
    EXPECT_EQ(action, 5);
    EXPECT_EQ(kind, 1);
    EXPECT_TRUE(rebind_key_input(20));  // other keys do nothing to a controller prompt
    EXPECT_TRUE(rebind_active());
    EXPECT_TRUE(rebind_key_input(SCANCODE_ESCAPE));
    EXPECT_FALSE(rebind_active());
    rebind_start(5, 0);
    int ticks = 0;
    while (rebind_active() && ticks < 1000) {
        rebind_tick(0);
        ticks++;
    }
    EXPECT_EQ(ticks, 300);
}

TEST_F(InputTest, ControllerPromptRefusesGuideAndDpad) {
    rebind_start(4, 1);
    for (int b : {5, 11, 12, 13, 14, 21, -1}) {
        EXPECT_TRUE(rebind_pad_input(b));
        EXPECT_TRUE(rebind_active()) << b;
    }
    EXPECT_TRUE(rebind_pad_input(6));  // A takes START's button; START gets A's
    EXPECT_FALSE(rebind_active());
    EXPECT_EQ(pad_bind_get(0), 6);
    EXPECT_EQ(pad_bind_get(2), 0);
    // A keyboard prompt ignores controller buttons.
    rebind_start(4, 0);
    EXPECT_TRUE(rebind_pad_input(2));
    EXPECT_TRUE(rebind_active());
    EXPECT_FALSE(rebind_pad_input(2) && !rebind_active());
}

TEST_F(InputTest, InputDeviceIgnoresUnknownValues) {
    input_device_set(INPUT_PAD);
    input_device_set(3);
    input_device_set(-1);
    EXPECT_EQ(input_device, INPUT_PAD);
    input_device_set(INPUT_KEYBOARD);
}

}  // namespace
