// The shrine hub between runs: a small room walked in first person where the lifetime profile
// stands as objects (class statues, braziers, the soul fire, weapon pedestals, the bone wall, the
// case shelf), each with an inspect card. Entered from the title; drawn by the shrine screen.
#pragma once
#include <cstddef>
#include <cstdint>

#include "dungeon/map.h"

constexpr int SHRINE_CARD_LINES = 10;
constexpr int SHRINE_CARD_CHARS = 24;  // 23 characters and the terminator
constexpr int SHRINE_BANNER_BYTES = 28;
constexpr int SHRINE_BRAZIERS = 4;
constexpr int SHRINE_MILESTONES = 4;

struct ShrineCard {
    char lines[SHRINE_CARD_LINES][SHRINE_CARD_CHARS];
    uint8_t colours[SHRINE_CARD_LINES];
    int32_t count;
    int32_t page, pages;
    uint8_t pinned;  // drawn against the bottom of the view (every object but the statues)
};

struct Shrine {
    uint8_t active;
    int8_t index[MAP_H][MAP_W];  // object index of each cell, -1 none
    uint8_t mode;                // 1 while an inspect card is open
    int32_t page;
    int32_t fire_x, fire_y;      // the soul fire's centre, -1 none
    char banner[SHRINE_BANNER_BYTES];
    int32_t banner_timer;
    int32_t bought_upgrade;      // the upgrade last bought here, -1 since entering
    int32_t bought_tick;
    int32_t drone_low_ticks;     // the drone's low note after a purchase
};
extern Shrine shrine;

void shrine_enter();
bool shrine_active();
void update_shrine(uint8_t presses);

int shrine_tile_index(int x, int y);
// Class index of the statue on that cell, else -1.
int shrine_statue_at(int x, int y);
// Item id shown in compartment c (0..3) of the weapon pedestal on (x, y); 0 for none.
int shrine_pedestal_item(int x, int y, int c);
// Whether the brazier standing on this cell burns.
bool shrine_brazier_lit(int x, int y);
bool shrine_brazier_lit_index(int b);
bool milestone_done(int m);
// The name of the object the player faces, or null.
const char* shrine_object_name();
// The open card's lines, built afresh from the profile; false when no card can be shown.
bool shrine_inspect_card(ShrineCard* card);
int inspect_card_height(const ShrineCard& card);
// Where the fire's centre lies from the player: -1 west, +1 east (larger across), else 0 north
// or 2 south, -1 without a fire.
int shrine_dir_to_fire();
// The soul upgrade whose side of the fire the player faces, else -1.
int shrine_fire_choice();
// The place of card page `page` on the face of the object at (x, y), in face fractions.
bool shrine_object_rect(int x, int y, int page, float* u, float* v);

// The soul upgrade last bought in the shrine (-1 since entering) and the tick it was bought.
int32_t shrine_bought_upgrade();
int32_t shrine_bought_tick();
