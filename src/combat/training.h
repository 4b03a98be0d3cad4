// Training mode: a scripted run over four fixed floors that teaches the duel, its drills, and the
// one-time tips typed into a box. Called by the fight, exploration, the floor loader and the tick.
#pragma once
#include <cstdint>

constexpr int TRAINING_MAP_COUNT = 4;
constexpr int TRAINING_MAP_ROWS = 12;
constexpr int TRAINING_MAP_COLS = 16;
// Twelve rows of sixteen glyphs, each row with its terminating zero.
extern const char TRAINING_MAPS[TRAINING_MAP_COUNT][TRAINING_MAP_ROWS][TRAINING_MAP_COLS + 1];

enum Drill : uint32_t {
    DRILL_NONE = 0, DRILL_JAB = 1, DRILL_FINISHER = 2, DRILL_BLOCK = 3, DRILL_PARRY = 4, DRILL_FINISH_IT = 5,
    DRILL_DODGE = 6, DRILL_FINISH_ORC = 7, DRILL_SMASH = 8, DRILL_STOP = 9, DRILL_STARS = 10, DRILL_MIXED = 11,
};
constexpr int DRILL_BUTTON_ROWS = 9;  // drills 1..9 blink a pad button
extern const uint8_t DRILL_BUTTONS[DRILL_BUTTON_ROWS];

constexpr int TIP_COUNT = 30;
// The tips by their index in TIPS; the camp's four run from TIP_CAMP to TIP_FORGE.
enum TipId : int {
    TIP_FIND_WAY = 0, TIP_JAB = 1, TIP_FINISHER = 2, TIP_NO_SHIELD = 3, TIP_SHIELD = 4, TIP_SHIELD_ON = 5,
    TIP_PARRY = 6, TIP_FINISH_GOBLIN = 7, TIP_POTION = 8, TIP_LEVEL_UP = 9, TIP_ANTIDOTE = 10, TIP_POISON_RAT = 11,
    TIP_POISONED = 12, TIP_CURED = 13, TIP_DODGE = 14, TIP_STOP = 15, TIP_STARS = 16, TIP_SKELETON = 17,
    TIP_SMASH = 18, TIP_MIXED = 19, TIP_FLOW = 20, TIP_HEAVIES = 21, TIP_BOON_AGAIN = 22, TIP_BOON_NEW = 23,
    TIP_CAMP = 24, TIP_FORGE = 27, TIP_BLOCK = 28, TIP_FINISH_ORC = 29,
};
constexpr int TIP_THREAT = -1;  // the current tip id while the threat text shows
constexpr int TIP_TEXT_BYTES = 256;
constexpr int HINT_BYTES = 128;

// The training's and the tips' records.
struct Training {
    uint8_t mode;            // a training run goes on (saved)
    uint32_t drill;
    int32_t count;           // successes in the current drill
    uint8_t cue_answered;
    uint8_t first_hit;       // the goblin's first full hit has been capped
    uint8_t stars_full;
    int32_t hurt_at;         // duel clock of the parry drill's last hurt, -1 none
    uint8_t over_prompt;     // the training-over prompt is up
    char hint[HINT_BYTES];   // the hint line; empty when none
};
struct Tips {
    uint32_t shown;          // bit i: tip i was shown (saved)
    const char* text;        // the tip up, nullptr when none
    int32_t typed;           // characters shown so far
    int32_t id;              // the tip up, TIP_THREAT for the threat text
    int32_t last_floor;      // the floor of the previous tick, -1 after a reset
    int32_t heavy_run;       // heavies thrown in a row in the mixed drill
    char expanded[2][TIP_TEXT_BYTES];
    int32_t buffer;          // which of the two buffers holds the latest expansion
};
extern Training training;
extern Tips tips;
extern const char* const TIPS[TIP_COUNT];

// Whether a training run is going on.
bool training_active();
// Whether floor n of a training run comes from the training maps.
bool training_map_floor(int n);
// Copies training map n into the floor and sets the player's start.
void load_training_map(int n);
// Starts a training run on its first floor.
void training_start();
// Leaves training mode (new runs and run loads).
void training_stop();
// The button a drill points at on the case (an input bit), 0 for none.
uint8_t training_hint_target();

// Exploration asks these while a training run goes on; each refusal shows its own hint.
// Whether a turn on the spot is refused.
bool training_refuses_turn();
// Whether a step toward the cell (x, y) is refused.
bool training_refuses_step(int x, int y);
// Whether leaving the floor by the stairs is refused.
bool training_step_gate();
// Whether a monster of several cells may enter the cell (x, y) on this training floor.
bool training_monster_may_step(int x, int y);
// The potion lesson: the player is hurt on floor 1 and the potion still lies in the room.
bool training_potion_due();
bool training_potion_gate();
// The antidote lesson: poisoned after the poison tip, with an antidote in the bag.
bool training_antidote_due();
bool map_has_potion();
// The shield lesson: a Wooden Shield in the bag, not yet in the off hand.
bool training_shield_due();
// Pad buttons the on-screen pad blinks (input bits), 0 for none.
uint8_t training_hint_target();

// What a duel asks of the drill in progress (only while a training run goes on).
// The monster's hit points in a drill.
int drill_monster_hp(int type);
// The monster's attack in a drill.
int training_attack(int type);
// Picks the drill for the fight that starts.
void drill_begin();
// The drill teaches defence: the attack button does nothing.
bool drill_is_defence();
// The turn-menu fight holds the monster at 1 hp in these drills.
bool drill_keeps_alive();
// The drill watches the duel's events of each step.
void drill_on_events(uint64_t events);
// The drill holds the clock while its cue waits for an answer, and hears the answer.
bool drill_pause_for_cue();
void drill_cue_answered();
// The mixed drill lets the monster choose its attacks as in a real fight.
bool drill_is_mixed();
bool drill_is_stop();
// Queues the drill's own attack; false when it has none.
bool drill_force_attack();
// The monster's hit points never drop below this in the drill.
int drill_hp_floor();
// Caps the goblin's first full hit on the player (chip damage through a guard is left alone).
int drill_first_hit_cap(int d, bool chip);
// The cue word shown on the monster (placeholders unexpanded), "" when none.
const char* drill_cue_text();
// The drill's progress for the fight view, "" when none.
const char* drill_counter_text();
// Whether the fight view shows the action hint of this kind (0 threat, 1 combo, 2 flow, 3 gems).
bool drill_allows_action(int kind);
// The experience a training victory over a monster of this type gives.
int training_xp_gap(int type);
// The level-up of a training run: the fixed card, and the boon it offers.
bool training_pick_forced();
int training_pick_boon();

// The end of training: the camp's ONWARD shows the prompt.
void training_offer_end();
// What the game does for the two answers of the prompt.
struct TrainingEndHooks {
    void (*carry_on)();  // A: the transition into the real dungeon
    void (*to_menu)();   // B: the run is finished and the title shown
};
// Takes the tick's input while a tip or the prompt is up; true when it swallowed it.
bool training_end_choice(uint8_t presses, const TrainingEndHooks& hooks);

// What the tips driver asks of exploration above it.
struct TipsWorld {
    bool encounter_armed;
    bool transition_running;
    bool camp_on_hub;        // the camp shows its hub page
    void (*arm_encounter)(int kind, int x, int y, int ticks);
};
// Shows tip id once per training; true when it did.
bool show_tip_once(int id);
// The tips driver, once per tick.
void tips_update(const TipsWorld& world);
// The text with its placeholders expanded, as a toast (two lines at a word when long).
void show_tip_text(const char* text);
bool tip_or_prompt_showing();
// The orc steps up beside the player and charges.
void show_orc_charge(const TipsWorld& world);
// The typed part of the tip up: the expanded text and how many characters show.
const char* tip_shown_text(int* reveal);

// Where the bag screen's cursor is, handed to the spotlight by the draw pass.
struct BagCursorView {
    int32_t page;       // where the page lies from the inventory: -1 stats, 0 the inventory, 1 bestiary
    int32_t item;       // the bag entry under the cursor, -1 none
    uint8_t card_open;  // the item card with its actions is open for that entry
};
// Hit-region kinds the spotlight looks for.
constexpr int32_t SPOT_BAG_ITEM = 0, SPOT_PANEL_ACTION = 1, SPOT_LEVELUP_CARD = 5;
// What the spotlight points at: a hit region (kind, index) and its caption, unexpanded.
struct SpotlightTarget {
    int32_t kind, index;
    char caption[48];
};
// False when the spotlight is off this frame.
bool training_spotlight_target(const BagCursorView& bag, SpotlightTarget* out);
