// One iteration of the main loop: events, input byte, fixed 60 Hz steps, drawing and presentation.
#pragma once
#include <SDL.h>
#include <cstdint>

struct FrameLoop {
    SDL_Window* window;
    SDL_Renderer* renderer;
    SDL_Texture* texture;     // streaming window picture
    uint8_t integer_scale;    // F2
    uint8_t running;          // the loop ends when 0
    uint32_t* window_pixels;  // composed window picture
    uint64_t frequency;       // performance-counter ticks per second
    uint64_t ticks_per_step;  // frequency / 60
    uint64_t prev_counter;    // 0 before the first frame
    uint64_t accumulator;
    // Presses seen as events since the last step, so that a press shorter than a frame still
    // reaches a step: keys, controller buttons and the left stick leaving its dead zone, and the
    // mouse or a finger on the drawn pad.
    uint8_t edge_bits;
    uint8_t pad_edge_bits;
    uint8_t touch_edge_bits;
    uint8_t ended_unsaved;  // a signal ended the game after a save that failed: the exit status is 1
};

// Capacity of window_pixels: the largest case picture of any model and orientation (1008 x 630).
constexpr int WINDOW_PIXELS_MAX = 635040;

void run_frame(FrameLoop& fl);
// Makes SIGTERM, SIGINT and SIGHUP end the game at the next frame after one try at saving the run,
// the profile and a changed option; a hang-up ignored from the start (nohup) stays ignored. SDL must
// be started with its own signal handlers off.
void frame_signals_catch();
// The only frame of a copy that found the data folder taken: the message box as it stands, until
// A or B or the window's close ends it. Nothing is ticked, saved or recorded.
void run_refusal_frame(FrameLoop& fl);
// Drawing-stage debugging aid: composes and shows the framebuffer as it is now, then waits 750 ms.
void present_now_hold();

// The fixed-step arithmetic: snaps the elapsed counter ticks to whole steps when within 1 ms,
// caps the backlog at 4 steps, and returns how many steps to run (accumulator updated).
int frame_steps_due(uint64_t elapsed, uint64_t frequency, uint64_t& accumulator);
// Milliseconds to sleep when no step was due: whole ms left of the step, at least 1.
uint32_t frame_sleep_ms(uint64_t accumulator, uint64_t frequency);
