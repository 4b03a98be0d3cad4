// The frame loop's event handling: quick presses and stick flicks kept until a step, the rebinding
// prompt taking keys first, F3 and F5 keeping the window on the display, F3 only on a screen that
// is not square, the window's close kept up by a save that failed, and the ending signals, which end
// the game even then.
#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "game/load_floor.h"
#include "game/state.h"
#include "platform/case_art.h"
#include "platform/frame_loop.h"
#include "platform/input.h"
#include "platform/pads.h"
#include "render/screen.h"
#include "saves/save_path.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "support/fresh_game.h"
#include "support/temp_save_dir.h"
#include "support/unwritable_save_dir.h"

namespace {

struct FrameEventsTest : ::testing::Test {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(WINDOW_PIXELS_MAX);
    FrameLoop fl = {};
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        layout_set_landscape();
        case_select_model(CASE_16_9);
        fl.window = SDL_CreateWindow("t", 0, 0, case_picture_width(), case_picture_height(), SDL_WINDOW_HIDDEN);
        ASSERT_NE(fl.window, nullptr);
        fl.renderer = SDL_CreateRenderer(fl.window, -1, 0);
        ASSERT_NE(fl.renderer, nullptr);
        fl.texture = SDL_CreateTexture(fl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                       case_picture_width(), case_picture_height());
        fl.window_pixels = pixels.data();
        fl.running = 1;
        fl.frequency = SDL_GetPerformanceFrequency();
        fl.ticks_per_step = fl.frequency / 60;
    }
    void TearDown() override {
        while (rebind_active()) rebind_key_input(SCANCODE_ESCAPE);
        layout_set_landscape();
        case_select_model(CASE_16_9);
        if (fl.texture) SDL_DestroyTexture(fl.texture);
        SDL_DestroyRenderer(fl.renderer);
        SDL_DestroyWindow(fl.window);
        SDL_Quit();
    }
    // A frame that runs no step: the previous counter is "now", so nothing has elapsed.
    void idle_frame() {
        fl.prev_counter = SDL_GetPerformanceCounter();
        fl.accumulator = 0;
        run_frame(fl);
    }
};

void push_key(SDL_Scancode code, SDL_Keycode sym, Uint32 type, Uint8 repeat = 0) {
    SDL_Event e = {};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

TEST_F(FrameEventsTest, QuickEscapeIsKeptForTheNextStep) {
    push_key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, SDL_KEYDOWN);
    push_key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, SDL_KEYUP);
    idle_frame();
    EXPECT_EQ(fl.edge_bits, BTN_START);  // released before any step ran, still waiting
    idle_frame();
    EXPECT_EQ(fl.edge_bits, BTN_START);
    fl.edge_bits = 0;
    push_key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, SDL_KEYDOWN, 1);  // a key repeat is not a press
    idle_frame();
    EXPECT_EQ(fl.edge_bits, 0);
}

TEST_F(FrameEventsTest, QuickKeyAndControllerPressesAreKeptForTheNextStep) {
    // Return and the controller's bound B button go down and up between two frames.
    bindings_default();
    push_key(SDL_SCANCODE_RETURN, SDLK_RETURN, SDL_KEYDOWN);
    push_key(SDL_SCANCODE_RETURN, SDLK_RETURN, SDL_KEYUP);
    SDL_Event e = {};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.button = SDL_CONTROLLER_BUTTON_B;
    SDL_PushEvent(&e);
    idle_frame();
    EXPECT_EQ(fl.edge_bits, BTN_A);
    EXPECT_EQ(fl.pad_edge_bits, BTN_B);
}

TEST_F(FrameEventsTest, QuickStickFlickIsKeptForTheNextStep) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // the test's window has no focus
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    ASSERT_GE(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, SDL_CONTROLLER_BUTTON_MAX, 0), 0);
    ASSERT_TRUE(pads_open(0, false));
    SDL_Joystick* stick = SDL_GameControllerGetJoystick(pads[0].pad);
    SDL_JoystickUpdate();  // the stick's resting values
    // Out past the dead zone and home again between two frames.
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 30000);
    SDL_JoystickUpdate();
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, 0);
    SDL_JoystickUpdate();
    idle_frame();
    EXPECT_EQ(fl.pad_edge_bits, BTN_RIGHT);
    pads_close_all();
    SDL_JoystickDetachVirtual(0);
}

TEST_F(FrameEventsTest, RebindPromptTakesEscapeWithoutAStartPress) {
    rebind_start(4, 0);
    push_key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, SDL_KEYDOWN);
    idle_frame();
    EXPECT_FALSE(rebind_active());
    EXPECT_EQ(fl.edge_bits, 0);
}

TEST_F(FrameEventsTest, F3AndF5KeepTheWindowOnTheDisplay) {
    SDL_Rect usable;
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0) << SDL_GetError();
    // Low on the display, so the window grown by either key would reach below its bottom edge.
    for (SDL_Keycode key : {SDLK_F3, SDLK_F5}) {
        SDL_SetWindowPosition(fl.window, usable.x, usable.y + usable.h / 2);
        push_key(key == SDLK_F3 ? SDL_SCANCODE_F3 : SDL_SCANCODE_F5, key, SDL_KEYDOWN);
        idle_frame();
        int x, y, w, h;
        SDL_GetWindowPosition(fl.window, &x, &y);
        SDL_GetWindowSize(fl.window, &w, &h);
        EXPECT_GT(h, usable.h / 2) << SDL_GetKeyName(key);
        EXPECT_GE(y, usable.y) << SDL_GetKeyName(key);
        EXPECT_LE(y + h, usable.y + usable.h) << SDL_GetKeyName(key);
    }
}

TEST_F(FrameEventsTest, F3TurnsTheScreenUnlessItIsSquare) {
    int w = case_picture_width();
    push_key(SDL_SCANCODE_F3, SDLK_F3, SDL_KEYDOWN);
    idle_frame();
    EXPECT_EQ(screen_layout.landscape, 0);
    ASSERT_NE(fl.texture, nullptr);
    int tw = 0, th = 0;
    SDL_QueryTexture(fl.texture, nullptr, nullptr, &tw, &th);
    EXPECT_EQ(tw, case_picture_width());
    EXPECT_EQ(th, case_picture_height());
    EXPECT_NE(tw, w);

    layout_set_square();
    SDL_Texture* before = fl.texture;
    push_key(SDL_SCANCODE_F3, SDLK_F3, SDL_KEYDOWN);
    push_key(SDL_SCANCODE_F5, SDLK_F5, SDL_KEYDOWN);
    idle_frame();
    EXPECT_TRUE(layout_is_square());
    EXPECT_EQ(case_model, CASE_16_9);
    EXPECT_EQ(fl.texture, before);
}

TEST_F(FrameEventsTest, AWindowClosedOnAFailedSaveStaysUpUntilASecondClose) {
    knight_run_start(7);
    load_floor(0);
    game_state = STATE_DUNGEON;
    run_active = 1;
    UnwritableSaveDir blocked;
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    idle_frame();
    EXPECT_EQ(fl.running, 1);
    EXPECT_EQ(message_box_open, 1);
    EXPECT_STREQ(message_box_text, "SAVE FAILED!");
    SDL_PushEvent(&quit);
    idle_frame();
    EXPECT_EQ(fl.running, 0);
}

// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl-C, the terminal closed) save what a close
// saves and end the game; nobody is at the window to read a box, so a failed save ends it too, with
// the failure kept for the exit status.
TEST_F(FrameEventsTest, EachEndingSignalSavesOnceAndEndsTheGameEvenWhenTheSaveFails) {
    const int signals[] = {SIGTERM, SIGINT, SIGHUP};
    for (int i = 0; i < 3; i++) {
        const int sig = signals[i];
        const int32_t volume = 2 + i;  // a value no earlier write stored
        TempSaveDir saves;
        knight_run_start(7);
        load_floor(0);
        game_state = STATE_DUNGEON;
        run_active = 1;
        settings.volume = volume;
        // Only the signal's own save may write them.
        std::remove(save_path("settings.dat"));
        std::remove(save_path("run.sav"));
        fl.running = 1;
        fl.ended_unsaved = 0;
        frame_signals_catch();
        raise(sig);
        idle_frame();
        EXPECT_EQ(fl.running, 0) << sig;
        EXPECT_EQ(fl.ended_unsaved, 0) << sig;
        const std::string bytes = saves.read("settings.dat");
        Settings stored = {};
        ASSERT_TRUE(settings_decode((const uint8_t*)bytes.data(), (int)bytes.size(), stored)) << sig;
        EXPECT_EQ(stored.volume, volume) << sig;
        EXPECT_TRUE(saves.exists("run.sav")) << sig;

        UnwritableSaveDir blocked;
        settings.volume = volume + 5;
        fl.running = 1;
        raise(sig);
        idle_frame();
        EXPECT_EQ(fl.running, 0) << sig;
        EXPECT_EQ(fl.ended_unsaved, 1) << sig;
        message_box_open = 0;
        quit_after_box = 0;
    }
    for (int sig : signals) std::signal(sig, SIG_DFL);
}

// Started under nohup (or as a background job): the signal stays ignored and the game goes on.
TEST_F(FrameEventsTest, ASignalIgnoredAtTheStartStaysIgnored) {
    std::signal(SIGHUP, SIG_IGN);
    frame_signals_catch();
    raise(SIGHUP);
    idle_frame();
    EXPECT_EQ(fl.running, 1);
    struct sigaction now = {};
    sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
    std::signal(SIGHUP, SIG_DFL);
}

}  // namespace
