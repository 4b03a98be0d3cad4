// The monsters of the current floor: up to 24 records, the kind table, footprints of the
// multi-cell kinds and the small operations every walker, drawer and fight uses.
#pragma once
#include <cstdint>

constexpr int MAX_MONSTERS = 24;

enum MonsterType : int {
    M_NONE = 0,
    M_GOBLIN = 1,
    M_RAT = 2,
    M_SKELETON = 3,
    M_DRAGON = 4,
    M_BAT = 5,
    M_SLIME = 6,
    M_ORC = 7,
    M_MIMIC = 8,
    M_COUNT = 9,
};

// 60 bytes, little-endian; the run file writes it field by field at these offsets.
struct Monster {
    int32_t x, y;  // anchor cell
    int32_t type;
    uint8_t elite;
    uint8_t pad0[3];
    int32_t dir;  // 0 north, 1 east, 2 south, 3 west
    int32_t carried_hp;  // hp kept from an earlier fight
    int32_t home_x, home_y;  // leash centre
    uint8_t orc_vertical;  // 0 second cell east, 1 second cell south
    uint8_t pad1[3];
    int32_t kind_state;  // the mimic's state
    int32_t reserved;
    int32_t move_cooldown;  // player actions to wait before moving again
    int32_t turn;  // action counter of slow movers
    float draw_x, draw_y;  // eased drawing position
};
static_assert(sizeof(Monster) == 60);

struct MonsterList {
    Monster list[MAX_MONSTERS];
    int32_t count;
};

struct MonsterKind {
    const char* name;
    int32_t hp, attack, xp;
    int32_t unused;
};

extern MonsterList monsters;

// A mimic's kind_state once it has shown what it is. Any other value is a mimic still posing as a
// chest: the view, exploration and the fight all ask `mimic_is_revealed`, never the raw value.
constexpr int32_t MIMIC_REVEALED = 1;
bool mimic_is_revealed(const Monster& m);
extern const MonsterKind MONSTER_TYPES[M_COUNT];

void monsters_clear();
bool monster_add(int t, int x, int y);
int monster_start_dir(int t, int x, int y);
// The rectangle of cells a monster stands on.
void monster_footprint(const Monster& m, int* x0, int* y0, int* w, int* h);
bool monster_covers(const Monster& m, int x, int y);
int monster_at(int x, int y);
void monster_remove(int idx);
// Snaps every monster's drawing position onto its cell centre.
void monsters_snap_draw();
// The monster kind of a builder's letter; 0 for any other.
int monster_type_of_glyph(int c);
const char* monster_behaviour_text(int t);
