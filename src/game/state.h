// The game's screen machine: the state word, the input words of the tick and the small queries
// that other modules ask about them.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "sound/music.h"
#include "world/game_state.h"

// A set of states as bits over the state enum.
constexpr uint32_t state_bits(std::initializer_list<GameState> states) {
    uint32_t bits = 0;
    for (GameState s : states) bits |= 1u << s;
    return bits;
}

// The song each state asks for, and which states ask at all (the others leave the music alone).
extern const int32_t STATE_MUSIC[STATE_COUNT];
constexpr uint32_t STATE_MUSIC_MASK =
    state_bits({STATE_SPLASH, STATE_TITLE, STATE_DUNGEON, STATE_COMBAT, STATE_CAMP, STATE_DEATH, STATE_ESCAPED,
                STATE_POWER_ON, STATE_LEVELUP, STATE_CLASS_SELECT, STATE_UNLOCKS, STATE_SHRINE, STATE_DEMO_END});
static_assert(STATE_MUSIC_MASK == 0x5F1CF);
// States whose entry saves the run.
constexpr uint32_t AUTOSAVE_STATE_MASK = state_bits({STATE_DUNGEON, STATE_COMBAT, STATE_CAMP, STATE_LEVELUP});
static_assert(AUTOSAVE_STATE_MASK == 0x204C);
// States in which lifetime statistics count as play time.
constexpr uint32_t IN_PLAY_STAT_MASK =
    state_bits({STATE_DUNGEON, STATE_COMBAT, STATE_BAG, STATE_CAMP, STATE_LEVELUP});
static_assert(IN_PLAY_STAT_MASK == 0x206C);
// States whose menus make the shared menu sounds.
constexpr uint32_t MENU_SOUND_MASK = state_bits({STATE_TITLE, STATE_PAUSE, STATE_BAG, STATE_OPTIONS, STATE_CREDITS});
static_assert(MENU_SOUND_MASK == 0xA32);

// The title's rows, top to bottom.
enum TitleRow : int32_t {
    TITLE_CONTINUE = 0,
    TITLE_NEW_RUN = 1,
    TITLE_UNLOCKS = 2,
    TITLE_SHRINE = 3,
    TITLE_OPTIONS = 4,
    TITLE_STATS = 5,
    TITLE_QUIT = 6,
    TITLE_ROWS = 7
};
// The pause menu's rows.
enum PauseRow : int32_t { PAUSE_RESUME = 0, PAUSE_OPTIONS = 1, PAUSE_SAVE_QUIT = 2, PAUSE_ROWS = 3 };

// The screen-entry guards: the screens whose first moments swallow a held A or START, so a press
// meant for the screen before does not act here.
enum GuardKind : int32_t {
    GUARD_NONE = 0,
    GUARD_LEVELUP = 1,
    GUARD_DEATH = 2,
    GUARD_ESCAPED = 3,
    GUARD_CAMP_BOONS = 4,
    GUARD_WAY_OUT = 5,
    GUARD_DEATH_REPLAY = 6,
    GUARD_DEMO_END = 7,
    GUARD_CONSENT = 8
};

// A list cursor moved one row up or down by the presses, wrapping over `rows`; a cursor out of
// range is first brought back into it.
int32_t menu_cursor_step(int32_t cursor, int32_t rows, uint8_t presses);
constexpr int SPLASH_TICKS = 240;
constexpr int SECRET_LENGTH = 10;
extern const uint8_t SECRET_SEQUENCE[SECRET_LENGTH];


extern uint8_t input_held;
// The step's input byte as it came in, before rebinding and the A/B swap: what the pad shows held.
extern uint8_t input_raw;
extern uint8_t input_prev;

extern int32_t repeat_state;
extern int32_t repeat_ticks;
extern uint8_t repeat_dirs;

extern int32_t guard_kind;
extern int32_t input_guard_ticks;

extern int64_t secret_progress;
extern uint8_t quit_requested;
// The window was closed and its save failed: the game quits once the "SAVE FAILED!" box is dismissed.
extern uint8_t quit_after_box;
extern uint8_t demo_end_to_unlocks;
// The store page was opened on this visit of the demo end (once per visit, however A is mashed).
extern uint8_t demo_end_store_opened;
extern uint8_t run_active;
extern int32_t splash_timer;
extern int32_t title_cursor;
// The title highlight slides from this row, starting at this frame_counter.
extern int32_t title_slide_from;
extern int32_t title_slide_tick;
extern int32_t pause_cursor;
// Strength of the title backdrop in percent; below 0 the unlocks completion decides it.
extern int32_t title_fx_level;
// Refused files found at start-up, each told once on the title.
enum TitleNotice : uint8_t {
    TITLE_NOTICE_RUN = 1,                // a damaged run.sav, kept aside
    TITLE_NOTICE_PROFILE = 2,            // a damaged profile.dat, kept aside
    TITLE_NOTICE_RUN_OLD = 4,            // a run.sav of an older version, kept aside
    TITLE_NOTICE_RUN_IN_PLACE = 8,       // a refused run.sav no name could take: the next run replaces it
    TITLE_NOTICE_PROFILE_IN_PLACE = 16,  // a refused profile.dat left in place: no profile save this session
    TITLE_NOTICE_PROFILE_OLD = 32,       // an old-format profile.dat, kept aside
};
extern uint8_t title_notices;
// The two lines of each notice, in the order they are told.
struct TitleNoticeText {
    uint8_t notice;
    const char* line1;
    const char* line2;
};
constexpr int TITLE_NOTICE_KINDS = 6;
extern const TitleNoticeText TITLE_NOTICE_TEXTS[TITLE_NOTICE_KINDS];

bool game_is_paused();
uint8_t input_edges(uint8_t now, uint8_t before);

// One tick of the pause menu.
void update_pause(uint8_t presses);
// Reports every broken world rule through the soft-assertion reporter; repairs nothing.
void game_check_invariants();
