// The sprite table: every picture of the game as an indexed image compiled into the program.
// The rows are generated at build time from the text sources in render/art (see tools/artgen.cpp).
#pragma once
#include <cstdint>

// Raw colour indices, row-major, w x h bytes; 0 is transparent. A density of 2 means the picture
// is stored at twice its logical size.
struct Image {
    const uint8_t* pixels;
    int32_t w, h;
    int32_t density;
};

// Frames of one size and density, each shown for ticks_per_frame ticks.
struct Anim {
    const Image* frames;
    int32_t count;
    int32_t ticks_per_frame;
};

// Exactly one of still and anim is set.
struct SpriteEntry {
    const char* name;
    const Image* still;
    const Anim* anim;
};

constexpr int SPRITE_COUNT = 61;
extern const SpriteEntry SPRITES[SPRITE_COUNT];  // sorted by name

// The frame of an animation at this animation counter, (counter / ticks) mod count taken as
// non-negative; null for a null or empty animation.
const Image* anim_frame(const Anim* anim, int32_t counter);
// The picture of a row at this counter: its still image or its current frame.
const Image* sprite_entry_image(const SpriteEntry* entry, int32_t counter);
// The row whose name equals the text exactly, or null.
const SpriteEntry* sprite_find(const char* name);
