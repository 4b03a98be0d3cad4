// One iteration of the main loop: events, the input byte, fixed 60 Hz steps, then drawing,
// composition and presentation when a step ran. Called by shell_main until the running flag drops.
#include "platform/frame_loop.h"

#include <signal.h>

#include <cstdio>

#include "game/game.h"
#include "platform/buttons.h"
#include "platform/case_art.h"
#include "platform/case_sheen.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/dev_modes.h"
#include "platform/fullscreen.h"
#include "platform/input.h"
#include "platform/pads.h"
#include "platform/palette.h"
#include "services/rumble.h"
#include "services/services.h"
#include "game/shell_calls.h"
#include "platform/shell.h"
#include "platform/window.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/pad.h"
#include "screens/screens.h"
#include "telemetry/perf.h"
#include "telemetry/sender.h"
#include "world/buttons.h"

static int32_t fullscreen_applied = -1;
static int32_t script_step = 0;
static uint64_t prev_drawn_counter = 0;
static FrameLoop* current_loop = nullptr;  // for present_now_hold

int frame_steps_due(uint64_t elapsed, uint64_t frequency, uint64_t& accumulator) {
    uint64_t t = frequency / 60;
    uint64_t w = frequency / 1000;
    if (t == 0) return 0;
    // A display a hair off 60 Hz should still give exactly one step per refresh.
    for (uint64_t k = 1; k <= 4; k++) {
        uint64_t target = k * t;
        uint64_t diff = elapsed > target ? elapsed - target : target - elapsed;
        if (diff < w) {
            elapsed = target;
            break;
        }
    }
    accumulator += elapsed;
    if (accumulator > 4 * t) accumulator = 4 * t;
    int steps = 0;
    while (accumulator >= t) {
        accumulator -= t;
        steps++;
    }
    return steps;
}

uint32_t frame_sleep_ms(uint64_t accumulator, uint64_t frequency) {
    uint64_t t = frequency / 60;
    if (accumulator >= t || frequency == 0) return 0;
    // Under a millisecond left still sleeps one: polling in a tight loop until the step is due
    // burns a core for nothing, and the accumulator keeps the step exact however long we slept.
    uint64_t ms = (t - accumulator) * 1000 / frequency;
    return ms > 0 ? (uint32_t)ms : 1u;
}

// F3 and F5: the window picture changes size, so the texture and the window follow; a window
// grown taller by turning to portrait is moved back onto the display.
static void rebuild_for_case(FrameLoop& fl) {
    case_select_model(case_model);
    SDL_Texture* t = screen_texture_create(fl.window, fl.renderer, fl.texture);
    fl.texture = t;
    if (t) {
        int w, h;
        window_size_pick(&w, &h);
        SDL_SetWindowSize(fl.window, w, h);
        window_keep_on_display(fl.window);
    }
}

static void handle_key(FrameLoop& fl, const SDL_KeyboardEvent& k, uint8_t& edge) {
    if (rebind_active()) {
        if (!k.repeat) rebind_key_input(k.keysym.scancode);
        input_device_set(INPUT_KEYBOARD);
        return;
    }
    if (!k.repeat) edge |= key_press_bits(k.keysym.scancode);
    switch (k.keysym.sym) {
    case SDLK_F2:
        fl.integer_scale = !fl.integer_scale;
        SDL_RenderSetIntegerScale(fl.renderer, fl.integer_scale ? SDL_TRUE : SDL_FALSE);
        break;
    case SDLK_F3:
        if (!layout_is_square()) {
            if (screen_layout.landscape) layout_set_portrait();
            else layout_set_landscape();
            rebuild_for_case(fl);
        }
        break;
    case SDLK_F4: screen_effect = (screen_effect + 1) % 3; break;
    case SDLK_F5:
        if (!layout_is_square()) {
            if (screen_layout.landscape) layout_set_landscape();
            else layout_set_portrait();
            case_model = (case_model + 1) % CASE_MODEL_COUNT;
            rebuild_for_case(fl);
        }
        break;
    case SDLK_F6: perf_overlay_on = !perf_overlay_on; break;
    case SDLK_F7: perf_trace_start(); break;
    case SDLK_F8:
        if (!k.repeat) fullscreen_toggle_setting();
        break;
    case SDLK_F11:
        if (!handheld_mode) {
            Uint32 flags = SDL_GetWindowFlags(fl.window);
            bool full = flags & (SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_FULLSCREEN);
            SDL_SetWindowFullscreen(fl.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
        break;
    default: break;
    }
}

// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, a service manager, Ctrl-C, the terminal
// closed) end the game after one try at saving. SDL's own handlers are turned off (shell_main sets
// the hint), so its quit event means the window's close alone. The handler only notes the signal;
// the next frame's events take it.
static volatile sig_atomic_t signal_seen = 0;

static void end_signal_handler(int sig) { signal_seen = sig; }

static const int END_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

void frame_signals_catch() {
    for (int sig : END_SIGNALS) {
        struct sigaction old = {};
        // A hang-up ignored from the start is nohup's request and stays ignored. SIGINT and SIGTERM are
        // taken even when ignored: a shell starts a background job with SIGINT ignored, and a `kill`
        // sent to end the game must still end it, saved.
        if (sig == SIGHUP && sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        struct sigaction sa = {};
        sa.sa_handler = end_signal_handler;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(sig, &sa, nullptr);
    }
}

static int signal_take() {
    const int sig = signal_seen;
    signal_seen = 0;
    return sig;
}

// Nobody is at the window to read a "SAVE FAILED!" box: the save is tried once and the game ends,
// a failure told on standard error and in the exit status.
static void end_on_signal(FrameLoop& fl, int sig) {
    if (!save_on_exit()) {
        std::fprintf(stderr, "Quillmarch: ending on signal %d; the game could not be saved\n", sig);
        fl.ended_unsaved = 1;
    }
    fl.running = 0;
}

static uint8_t pointer_bits(FrameLoop& fl, int wx, int wy);

static void poll_events(FrameLoop& fl, uint8_t& edge) {
    if (const int sig = signal_take()) {
        end_on_signal(fl, sig);
        return;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            if (save_on_close()) fl.running = 0;
            break;
        case SDL_KEYDOWN: handle_key(fl, e.key, edge); break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (rebind_active())
                rebind_pad_input(e.cbutton.button);
            else
                fl.pad_edge_bits |= pads_button_down(e.cbutton);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID)
                fl.touch_edge_bits |= pointer_bits(fl, e.button.x, e.button.y);
            break;
        case SDL_FINGERDOWN: {
            int ww, wh;
            SDL_GetWindowSize(fl.window, &ww, &wh);
            fl.touch_edge_bits |= pointer_bits(fl, (int)(e.tfinger.x * ww), (int)(e.tfinger.y * wh));
            break;
        }
        case SDL_CONTROLLERAXISMOTION: fl.pad_edge_bits |= pads_axis_motion(e.caxis); break;
        case SDL_CONTROLLERDEVICEADDED:
            pads_open(e.cdevice.which, sheen_active());
            input_device_set(INPUT_PAD);
            break;
        case SDL_CONTROLLERDEVICEREMOVED: pads_close_instance(e.cdevice.which); break;
        case SDL_CONTROLLERSENSORUPDATE: pads_sensor_event(e.csensor); break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            gpu_path_release();
            present_release();
            break;
        default: break;
        }
    }
}

// Buttons of the on-screen pad under a window point, through the case picture to the framebuffer.
static uint8_t pointer_bits(FrameLoop& fl, int wx, int wy) {
    int lx, ly, fx, fy;
    window_to_screen(fl.renderer, wx, wy, &lx, &ly);
    case_point_from_window(lx, ly, &fx, &fy);
    return pad_hit_test(fx, fy, pad_hit_context());
}

static uint8_t read_pointer(FrameLoop& fl) {
    uint8_t bits = 0;
    int mx, my;
    if (SDL_GetMouseState(&mx, &my) & SDL_BUTTON_LMASK) bits |= pointer_bits(fl, mx, my);
    int ww, wh;
    SDL_GetWindowSize(fl.window, &ww, &wh);
    for (int d = 0; d < SDL_GetNumTouchDevices(); d++) {
        SDL_TouchID id = SDL_GetTouchDevice(d);
        for (int f = 0; f < SDL_GetNumTouchFingers(id); f++) {
            SDL_Finger* finger = SDL_GetTouchFinger(id, f);
            if (finger) bits |= pointer_bits(fl, (int)(finger->x * ww), (int)(finger->y * wh));
        }
    }
    return bits;
}

void present_now_hold() {
    if (!current_loop || !current_loop->texture) return;
    FrameLoop& fl = *current_loop;
    ComposeGeometry g = compose_geometry();
    if ((int64_t)g.width * g.height > WINDOW_PIXELS_MAX) return;
    compose_window_cpu(fl.window_pixels, 0);
    SDL_Rect area = {0, 0, g.width, g.height};
    SDL_UpdateTexture(fl.texture, &area, fl.window_pixels, g.width * 4);
    SDL_SetRenderDrawColor(fl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(fl.renderer);
    SDL_RenderCopy(fl.renderer, fl.texture, &area, nullptr);
    SDL_RenderPresent(fl.renderer);
    SDL_Delay(750);
}

// What the "perf" event says about the picture the frames were drawn for.
static void note_display() {
    int colour = settings.case_color >= 0 && settings.case_color < CASE_COLOR_COUNT ? settings.case_color : 0;
    int palette = screen_palette >= 0 && screen_palette < PALETTE_COUNT ? screen_palette : 0;
    perf_display_note(CASE_COLOR_NAMES[colour], PALETTE_NAMES[palette], ghosting_applied, screen_effect, case_model);
}

void run_frame(FrameLoop& fl) {
    current_loop = &fl;
    uint8_t edge = 0;
    poll_events(fl, edge);
    pads_tilt_step();

    // The input byte of this frame.
    fl.edge_bits |= edge;
    int nkeys = 0;
    const Uint8* keys = SDL_GetKeyboardState(&nkeys);
    uint8_t key_bits = keys_to_pad(keys, nkeys);
    uint8_t touch_bits = read_pointer(fl);
    uint8_t pad_bits = pads_read() | fl.pad_edge_bits;
    touch_bits |= fl.touch_edge_bits;
    if (pad_bits) input_device_set(INPUT_PAD);
    else if (touch_bits) input_device_set(INPUT_TOUCH);
    else if (key_bits || fl.edge_bits) input_device_set(INPUT_KEYBOARD);
    uint8_t input = key_bits | fl.edge_bits | touch_bits | pad_bits;

    // Fixed steps.
    uint64_t now = SDL_GetPerformanceCounter();
    uint64_t elapsed = fl.prev_counter ? now - fl.prev_counter : 0;
    fl.prev_counter = now;
    int steps = frame_steps_due(elapsed, fl.frequency, fl.accumulator);
    for (int i = 0; i < steps; i++) {
        uint8_t step_input = input;
        if (perf_test_on || scripted_input) step_input = perf_script_input(perf_scene, script_step++);
        if (!game_tick(step_input)) fl.running = 0;
        float low, high;
        int32_t ms;
        if (rumble_take(&low, &high, &ms)) pads_rumble(low, high, ms);
        telemetry_pump();
        platform_step();
        fl.edge_bits = fl.pad_edge_bits = fl.touch_edge_bits = 0;
    }

    if (!handheld_mode) {
        int wanted = fullscreen_wanted() ? 1 : 0;
        if (wanted != fullscreen_applied) {
            if (wanted) SDL_SetWindowFullscreen(fl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
            else if (fullscreen_applied == 1) SDL_SetWindowFullscreen(fl.window, 0);
            fullscreen_applied = wanted;
        }
    }

    if (steps == 0) {
        uint32_t ms = frame_sleep_ms(fl.accumulator, fl.frequency);
        if (ms) SDL_Delay(ms);
        return;
    }

    // The case and the drawn pad light the buttons as pressed, before any A/B swap, with the
    // hints' blinking ones.
    sheen_update();
    uint8_t outline_mask, blink_mask, glow_request;
    pad_blink(&outline_mask, &blink_mask, &glow_request);
    pad_blink_lit = blink_mask;
    draw_frame();
    button_glow_step(glow_request);
    hint_outline_mask = outline_mask;
    uint8_t pressed = (uint8_t)(input | blink_mask);
    compose_frame(fl, pressed);
    if (gpu_check_countdown != 0) gpu_check_frame(fl, pressed);
    perf_begin(ZONE_PRESENT);
    present_frame(fl);
    perf_end(ZONE_PRESENT);
    perf_frame_end();
    if (perf_test_on) perf_test_frame(fl, now, steps);
    uint64_t after = SDL_GetPerformanceCounter();
    double ms_div = (double)(fl.frequency / 1000);
    note_display();
    if (prev_drawn_counter && ms_div > 0)
        perf_frame_sample((double)(now - prev_drawn_counter) / ms_div, (double)(after - now) / ms_div, steps);
    prev_drawn_counter = now;
}

void run_refusal_frame(FrameLoop& fl) {
    current_loop = &fl;
    uint8_t edge = 0;
    if (signal_take()) fl.running = 0;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT: fl.running = 0; break;
        case SDL_KEYDOWN:
            // The layout and look keys work; the trace and full-screen keys would write files.
            if (e.key.keysym.sym != SDLK_F7 && e.key.keysym.sym != SDLK_F8) handle_key(fl, e.key, edge);
            input_device_set(INPUT_KEYBOARD);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            edge |= pads_button_down(e.cbutton);
            input_device_set(INPUT_PAD);
            break;
        case SDL_CONTROLLERDEVICEADDED:
            pads_open(e.cdevice.which, false);
            input_device_set(INPUT_PAD);
            break;
        case SDL_CONTROLLERDEVICEREMOVED: pads_close_instance(e.cdevice.which); break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID)
                edge |= pointer_bits(fl, e.button.x, e.button.y);
            break;
        default: break;
        }
    }
    if (edge & (BTN_A | BTN_B)) fl.running = 0;
    screen_clear();
    draw_message_box();
    draw_pad(edge);
    compose_frame(fl, edge);
    present_frame(fl);
    SDL_Delay(16);
}
