// Shared widgets of the screens: word wrapping in the 5x7 font, the tips' button chip, the bag's
// hold-to-confirm ring, and the hit regions where widgets record where they were drawn.
#pragma once
#include <cstdint>

// Word-wraps the text to `width` pixels, lines 9 apart from y; draws when `draw` is set, showing at
// most `reveal` characters; returns the height used (9 a line, 0 for an empty text).
int draw_wrapped_text(int x, int y, int width, const char* text, int reveal, int colour, bool draw);
// The same wrapping, always drawn in full; returns the y below the last line.
int draw_wrapped_lines(int x, int y, int width, const char* text, int colour);
// A tip record begins with its text; these wrap that text.
int measure_wrapped_record(const void* record, int width);
int draw_wrapped_record(int x, int y, int width, const void* record, int reveal, int colour);

// The name of the A button in a chip that blinks as if pressed.
void draw_button_chip(int x, int y);
// The ticks of holding A after which the bag picks the item up: the ring is full then.
constexpr int32_t HOLD_RING_START = 12;
constexpr int32_t HOLD_PICKUP_TICKS = 35;
// The ring about the bag cursor's smoothed position, lit by how long A has been held.
void draw_hold_ring(float cursor_x, float cursor_y, int32_t hold_ticks);

enum HitKind : int32_t {
    HIT_BAG_ITEM = 0,      // index: the bag entry
    HIT_PANEL_ACTION0 = 1,
    HIT_PANEL_ACTION1 = 2,
    HIT_FIGHT_ACTION = 3,
    HIT_FIGHT_ITEM = 4,
    HIT_LEVELUP_CARD = 5,
};
constexpr int HIT_REGION_MAX = 48;
struct HitRegion {
    int32_t kind, index, x, y, w, h;
};
struct HitRegions {
    HitRegion list[HIT_REGION_MAX];
    int32_t count;
};
extern HitRegions hit_regions;
void hit_regions_clear();
// Dropped silently once HIT_REGION_MAX are held this frame.
void hit_region_add(int32_t kind, int32_t index, int x, int y, int w, int h);
// The first region of that kind and index; false (outputs untouched) when there is none.
bool hit_region_find(int32_t kind, int32_t index, int* x, int* y, int* w, int* h);
