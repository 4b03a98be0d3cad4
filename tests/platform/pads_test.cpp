// Controller slots and the controller bits, with SDL's virtual controllers.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/pads.h"
#include "saves/settings.h"

namespace {

struct PadsTest : ::testing::Test {
    int devices[6];
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        for (int& d : devices) {
            d = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, SDL_CONTROLLER_BUTTON_MAX, 0);
            ASSERT_GE(d, 0) << SDL_GetError();
        }
    }
    void TearDown() override {
        pads_close_all();
        for (int i = 5; i >= 0; i--) SDL_JoystickDetachVirtual(i);
        SDL_Quit();
    }
    int open_slots() {
        int n = 0;
        for (const PadSlot& s : pads) n += s.pad != nullptr;
        return n;
    }
};

TEST_F(PadsTest, FifthControllerIsNotOpenedAndRemovalFreesASlot) {
    for (int i = 0; i < 4; i++) EXPECT_TRUE(pads_open(i, false)) << i;
    EXPECT_FALSE(pads_open(4, false));
    EXPECT_EQ(open_slots(), 4);
    SDL_JoystickID second = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pads[1].pad));
    pads_close_instance(second);
    EXPECT_EQ(pads[1].pad, nullptr);
    EXPECT_TRUE(pads_open(4, false));
    EXPECT_NE(pads[1].pad, nullptr);
    EXPECT_EQ(pads[1].stick_mode, 0);
}

TEST_F(PadsTest, ButtonsAndStickReachTheByte) {
    ASSERT_TRUE(pads_open(0, false));
    ASSERT_TRUE(pads_open(1, false));
    SDL_Joystick* j0 = SDL_GameControllerGetJoystick(pads[0].pad);
    SDL_Joystick* j1 = SDL_GameControllerGetJoystick(pads[1].pad);
    SDL_JoystickSetVirtualButton(j0, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(j1, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    SDL_JoystickSetVirtualAxis(j1, SDL_CONTROLLER_AXIS_LEFTY, 20000);
    SDL_GameControllerUpdate();
    EXPECT_EQ(pads_read(), BTN_A | BTN_LEFT | BTN_DOWN);
    // Rebinding moves the A action to another button.
    uint8_t old = settings.pad_binds[0];
    settings.pad_binds[0] = SDL_CONTROLLER_BUTTON_X;
    SDL_GameControllerUpdate();
    EXPECT_EQ(pads_read(), BTN_LEFT | BTN_DOWN);
    settings.pad_binds[0] = old;
}

}  // namespace
