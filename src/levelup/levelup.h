// Experience and level-up: each level grows the player at once and owes one pick, taken on the
// level-up screen from three distinct cards, the first of which may be a free boon.
#pragma once
#include <cstdint>

constexpr int LEVELUP_PICK_COUNT = 8;
constexpr int PICK_TOUGHNESS = 0;
constexpr int PICK_STRENGTH = 1;
constexpr int PICK_CATCH_BREATH = 2;
constexpr int PICK_FLASK = 3;
constexpr int PICK_PURSE = 4;
constexpr int PICK_SPARE_KEY = 5;
constexpr int PICK_REPAIR = 6;
constexpr int PICK_BOON = 7;
// The PURSE card's gold, and what FLASK gives instead when the bag cannot take its potion.
constexpr int32_t LEVELUP_PURSE_GOLD = 20;
constexpr int32_t LEVELUP_FLASK_GOLD = 10;

struct LevelupPick {
    const char* name;
    const char* desc;
};
extern const LevelupPick LEVELUP_PICKS[LEVELUP_PICK_COUNT];

struct Levelup {
    int32_t pending;    // picks owed
    int32_t picks[3];   // offered pick ids
    int32_t boon_offer; // the boon behind a BOON card, BOON_NONE when none
    int32_t cursor;     // the selected card
    uint32_t rng;       // the draw's xorshift state
};
extern Levelup levelup;

// Whether a training run is going on: its first level-up offers BLOODTHIRST only and later ones
// the first boon the player can still raise. The state machine hands it in.
struct LevelupMode {
    bool training;
};

int xp_to_next(int level);
// Adds experience (a negative amount is reported and still added); returns the levels gained.
int gain_xp(int amount);
// From exploration with picks owed: draws the cards and opens the level-up screen. True when it
// opened (the caller starts the level-up flash).
bool levelup_open(LevelupMode mode);
void levelup_draw(LevelupMode mode);
// Input of the level-up screen: the cursor and taking a card. The bag (SELECT) is the caller's.
void update_levelup(uint8_t presses, LevelupMode mode);
uint32_t levelup_rand();
// "" outside 0..7.
const char* levelup_pick_name(int id);
const char* levelup_pick_desc(int id);
// The training's fixed pick: only the first card (the boon) may be taken.
bool levelup_pick_forced(LevelupMode mode);

// Clears the record for a new run.
void levelup_clear();
