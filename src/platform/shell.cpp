// Program start-up, the frame loop and shutdown; called by main(). Also the application-event
// watch that SDL may call from another thread.
#include "platform/shell.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/game.h"
#include "game/perf_scene.h"
#include "platform/buttons.h"
#include "platform/case_art.h"
#include "platform/cmdline.h"
#include "platform/compose.h"
#include "platform/dev_modes.h"
#include "platform/frame_loop.h"
#include "platform/icon.h"
#include "platform/pads.h"
#include "platform/palette.h"
#include "services/services.h"
#include "game/shell_calls.h"
#include "platform/window.h"
#include "render/screen.h"
#include "saves/save_lock.h"
#include "saves/save_path.h"
#include "screens/screens.h"
#include "sound/audio.h"
#include "telemetry/perf.h"
#include "telemetry/sender.h"
#include "telemetry/session.h"

uint8_t handheld_mode = 0;
SDL_AudioDeviceID audio_device = 0;
uint8_t scripted_input = 0;
uint8_t perf_test_on = 0;
uint8_t perf_test_verdict = 0;
uint8_t perf_trace_on = 0;
double perf_test_secs = 10;
int32_t perf_test_floor = 14;
int32_t perf_scene = SCENE_WALK;
int32_t gpu_check_countdown = 0;
double* perf_test_samples[2] = {nullptr, nullptr};
int32_t perf_test_capacity = 0;
int (*open_url_fn)(const char* url) = nullptr;


static uint32_t window_pixels[WINDOW_PIXELS_MAX];


const char* key_name_hook(int scancode) { return SDL_GetScancodeName((SDL_Scancode)scancode); }

int open_url_hook(const char* url) {
    if (SDL_OpenURL(url) != 0) {
        std::fprintf(stderr, "Couldn't open %s: %s\n", url, SDL_GetError());
        return -1;
    }
    return 0;
}

int app_event_watch(void*, SDL_Event* event) {
    switch (event->type) {
    case SDL_APP_TERMINATING:
        save_on_exit();
        session_end();
        break;
    case SDL_APP_WILLENTERBACKGROUND:
        save_on_exit();
        auto_pause();
        if (audio_device) SDL_PauseAudioDevice(audio_device, 1);
        session_write(1);
        break;
    case SDL_APP_DIDENTERFOREGROUND:
        if (audio_device) SDL_PauseAudioDevice(audio_device, 0);
        session_write(0);
        break;
    default: break;
    }
    return 0;
}

static void open_audio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Audio subsystem unavailable: %s\n", SDL_GetError());
        return;
    }
    SDL_AudioSpec want = {}, got = {};
    want.freq = 48000;
    want.format = AUDIO_F32SYS;
    want.channels = 1;
    want.samples = 512;
    want.callback = audio_callback;
    audio_device = SDL_OpenAudioDevice(nullptr, 0, &want, &got, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (!audio_device) {
        std::fprintf(stderr, "Audio device unavailable: %s\n", SDL_GetError());
        return;
    }
    audio_set_rate(got.freq);
    SDL_PauseAudioDevice(audio_device, 0);
}

static void set_window_icon(SDL_Window* window) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom((void*)icon_pixels(), ICON_SIZE, ICON_SIZE, 32,
                                                        ICON_SIZE * 4, SDL_PIXELFORMAT_RGBA32);
    if (!s) return;
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
}

static void apply_named_options(const CmdLine& c) {
    if (c.case_name && c.case_name[0])
        for (int i = 0; i < CASE_COLOR_COUNT; i++)
            if (CASE_COLOR_NAMES[i][0] && SDL_strcasecmp(c.case_name, CASE_COLOR_NAMES[i]) == 0) case_set_color(i);
    if (c.pal_name && c.pal_name[0])
        for (int i = 0; i < PALETTE_COUNT; i++)
            if (PALETTE_NAMES[i][0] && SDL_strcasecmp(c.pal_name, PALETTE_NAMES[i]) == 0) screen_palette = i;
}

static FrameLoop frame_loop_make(SDL_Window* window, SDL_Renderer* renderer, SDL_Texture* texture) {
    FrameLoop fl = {};
    fl.window = window;
    fl.renderer = renderer;
    fl.texture = texture;
    fl.integer_scale = handheld_mode ? 0 : 1;
    fl.running = 1;
    fl.window_pixels = window_pixels;
    fl.frequency = SDL_GetPerformanceFrequency();
    fl.ticks_per_step = fl.frequency / 60;
    return fl;
}

// Devices, the picture and SDL.
static void shell_close(FrameLoop& fl, SDL_Renderer* renderer, SDL_Window* window) {
    pads_close_all();
    if (audio_device) SDL_CloseAudioDevice(audio_device);
    if (fl.texture) SDL_DestroyTexture(fl.texture);
    present_release();
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_DelEventWatch(app_event_watch, nullptr);
    SDL_Quit();
}

int shell_main(int argc, char** argv) {
    // Options, handheld mode, layout and case model.
    CmdLine c = cmdline_parse(argc, argv);
    perf_scene = c.perf_scene;
    perf_trace_on = c.perf_trace;
    perf_test_on = c.perf_test;
    perf_test_secs = c.perf_test_secs;
    perf_test_floor = c.perf_test_floor;
    if (c.gpu_check) {
        gpu_check_countdown = 90;
        scripted_input = 1;
    }
    handheld_mode = cmdline_handheld(SDL_getenv("SteamDeck")) ? 1 : 0;
    int model = handheld_mode ? CASE_16_10 : CASE_16_9;
    Uint32 window_flags = handheld_mode ? (SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_SHOWN)
                                        : (SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    layout_set_landscape();
    case_select_model(model);

    // SDL subsystems and the audio device. The game takes the ending signals itself: SDL would make
    // them a window's close, which a failed save keeps open.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    frame_signals_catch();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
        return 1;
    }
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "Controller subsystem unavailable: %s\n", SDL_GetError());
    SDL_InitSubSystem(SDL_INIT_SENSOR);
    open_audio();
    perf_clock_set(SDL_GetPerformanceCounter, SDL_GetPerformanceFrequency());

    // Sampling hint and the save folder.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    if (char* pref = SDL_GetPrefPath("", "QuillmarchDemo")) {
        save_dir_set(pref);
        SDL_free(pref);
    } else {
        std::fprintf(stderr, "Save directory unavailable: %s\n", SDL_GetError());
    }
    // Before anything is written: a second copy on the folder would tear the first one's files.
    const bool folder_taken = save_lock_take() == SAVE_LOCK_HELD;

    // Window, icon, renderer and screen texture.
    int ww, wh;
    window_size_pick(&ww, &wh);
    SDL_Window* window = SDL_CreateWindow("Quillmarch Demo", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, ww, wh,
                                          window_flags);
    if (!window) {
        std::fprintf(stderr, "Window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetWindowMinimumSize(window, screen_layout.width, screen_layout.height);
    set_window_icon(window);
    // The platform's accelerated driver, at default priority so SDL_RENDER_DRIVER in the environment wins.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "opengl", SDL_HINT_DEFAULT);
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) {
        std::fprintf(stderr, "Renderer: %s\n", SDL_GetError());
        return 1;
    }
    SDL_RenderSetIntegerScale(renderer, handheld_mode ? SDL_FALSE : SDL_TRUE);
    SDL_Texture* texture = screen_texture_create(window, renderer, nullptr);
    if (!texture) return 1;

    // Case art, hooks, game data, telemetry, session and the application-event watch.
    if (!case_art_load()) std::fprintf(stderr, "Console art unavailable: using the plain pad\n");
    if (folder_taken) {
        std::fprintf(stderr, "Quillmarch is already running on this data folder\n");
        set_key_name_fn(key_name_hook);
        bindings_default();
        std::snprintf(message_box_text, sizeof message_box_text, "%s", "GAME ALREADY RUNNING");
        FrameLoop fl = frame_loop_make(window, renderer, texture);
        while (fl.running == 1) run_refusal_frame(fl);
        shell_close(fl, renderer, window);
        return 1;
    }
    crash_filter_install();
    set_key_name_fn(key_name_hook);
    open_url_fn = open_url_hook;
    platform_init();
    game_init();
    telemetry_start();
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) session_start(mode.w, mode.h, case_model);
    else session_start(0, 0, case_model);
    SDL_AddEventWatch(app_event_watch, nullptr);

    // Development modes and the named case colour and palette.
    if (gpu_check_countdown != 0) {
        power_on_delay_set(0);
        perf_scene_setup(perf_scene, 0);
        ghosting_applied = 0;
    }
    apply_named_options(c);
    if (perf_test_on == 1) {
        perf_test_capacity = (int32_t)(perf_test_secs * 400) + 64;
        for (double*& samples : perf_test_samples) {
            samples = (double*)std::calloc((size_t)perf_test_capacity, sizeof(double));
            if (!samples) {
                std::fprintf(stderr, "Perf test: cannot allocate %d samples\n", perf_test_capacity);
                return 1;
            }
        }
        perf_scene_setup(perf_scene, perf_test_floor);
    }

    // The frame loop.
    FrameLoop fl = frame_loop_make(window, renderer, texture);
    while (fl.running == 1) run_frame(fl);

    // Shutdown.
    session_end();
    platform_shutdown();
    shell_close(fl, renderer, window);
    if (dev_mode_file_failed) return 1;
    // A perf test whose window closed before its verdict did not hold 60.
    if (perf_test_samples[0]) return perf_test_verdict == 1 ? 0 : 1;
    return fl.ended_unsaved ? 1 : 0;
}
