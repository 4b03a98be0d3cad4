// The lifetime profile: souls, unlocks, soul upgrades, run heat, lifetime statistics and the
// monster codex, kept whole in profile.dat. Read and changed by start-up, runs, fights and screens.
#pragma once
#include <cstddef>
#include <cstdint>

// The run's heat level (0..5); raises item quality and monster strength.
extern int32_t run_heat;
// Souls the last ended run awarded, for the run-end screen.
extern int32_t run_end_souls;

constexpr int PROFILE_CLASS_SLOTS = 8;   // per-class records kept, classes 0..7
constexpr int PROFILE_KIND_SLOTS = 9;    // monster kinds 1..8; slot 0 unused
constexpr int PROFILE_ITEM_SLOTS = 16;   // item ids 1..15; slot 0 unused
constexpr int PROFILE_HEATS = 6;         // heat 0..5
constexpr int PROFILE_STRETCHES = 6;     // ten-floor stretches with a first dragon kill
constexpr int UPGRADE_COUNT = 3;
constexpr int32_t PROFILE_RATING_MAX = 1000;  // the skill rating runs 0..1000

// Record flags.
constexpr uint32_t PROFILE_FLAG_TRAINING_SKIPPED = 0x1;
constexpr uint32_t PROFILE_FLAG_THREAT_HINT = 0x2;
constexpr uint32_t PROFILE_FLAG_UNLOCK_ALL = 0x4;
constexpr uint32_t PROFILE_FLAG_ATTACKED_ONCE = 0x8;

struct ProfileClass {
    int32_t first_run, runs, wins, deaths, kills;
    int32_t deepest, deepest_heat;  // 1-based floor and the heat it was reached at
    int32_t best_heat_won;          // heat + 1 of the hottest win
    int32_t fastest_win;            // seconds
    int32_t streak, best_streak;
    int32_t first_win;
    int32_t deaths_by[PROFILE_KIND_SLOTS];
};

struct ProfileItem {
    int32_t first_run, runs, wins, kills;
    int32_t deepest;  // 1-based
    int32_t best_hit;
    int32_t best_heat_won;  // heat + 1
};

struct ProfileCodex {
    int32_t first_met_run, first_met_floor, first_slain_run;
};

// A run and the class that played it, for the firsts the shrine remembers.
struct ProfileFirst {
    int32_t run, cls;
};

struct Profile {
    int32_t souls;
    uint32_t unlocks[2];  // bit k = unlock k owned
    int32_t runs;         // runs ended
    uint32_t met, viewed;  // codex bits, bit t for monster kind t
    int32_t slain[PROFILE_KIND_SLOTS];
    uint32_t flags;
    int32_t flow_hints;   // times the idle attack hint came up
    int32_t souls_earned, floors_reached, runs_won, runs_lost, stretches;
    int32_t best_level, most_kills;
    int32_t class_runs[PROFILE_CLASS_SLOTS];
    int32_t killed_by[PROFILE_KIND_SLOTS];
    int32_t secrets, gold_gained;
    int32_t jokes;        // hidden banners shown
    int32_t souls_spent, seconds;
    int32_t skill_rating, rated_fights;
    int32_t best_combo;
    uint8_t upgrade_ranks[UPGRADE_COUNT];
    uint32_t upgrade_off_mask;
    ProfileClass classes[PROFILE_CLASS_SLOTS];
    ProfileItem items[PROFILE_ITEM_SLOTS];
    // Per-run scratch, kept so a resumed run goes on counting.
    int32_t run_stamp;
    uint32_t run_carried;  // item ids carried this run
    int32_t run_seconds, run_ticks;
    ProfileCodex codex[PROFILE_KIND_SLOTS];
    ProfileFirst first_win;
    ProfileFirst first_dragon_stretch[PROFILE_STRETCHES];
    ProfileFirst first_dragon_heat[PROFILE_HEATS];
    ProfileFirst first_win_heat[PROFILE_HEATS];
    int32_t deepest_run, deepest_class, deepest_floor;
    uint32_t milestones;  // shrine milestones announced
};

extern Profile profile;

// ---- profile.dat ----
constexpr int PROFILE_VERSION = 9;
constexpr int PROFILE_RECORD_BYTES = 2628;
constexpr int PROFILE_HEADER_BYTES = 8;
constexpr int PROFILE_FILE_BYTES = PROFILE_HEADER_BYTES + PROFILE_RECORD_BYTES;

enum ProfileLoadResult : int {
    PROFILE_FRESH = 0,    // no file: a fresh profile
    PROFILE_LOADED = 1,
    PROFILE_OLD = 2,      // an old-format file, set aside as profile_old.dat (or _2, _3 ...); a fresh profile
    PROFILE_REFUSED = 3,  // a damaged or foreign file, set aside as profile_bad.dat (or _2, _3 ...); a fresh profile
    PROFILE_REFUSED_IN_PLACE = 4,  // refused but not set aside (a folder, a device, no free name): left where it
                                   // is, never written over; a fresh profile
    PROFILE_KEPT_EARLIER = 5,  // refused or old, and kept aside by a hard link an earlier start made, still at
                               // its name for a save to replace: told then; a fresh profile
};

// Reads profile.dat into `profile` (a fresh profile when there is none or it is refused).
ProfileLoadResult profile_load();
// Writes profile.dat through a temporary file; false when it could not be written, or when a
// refused profile kept in place forbids it. A failed write after one that went through is noted
// for the game to tell (write_notice.h).
bool profile_save();
// The last write of profile.dat failed (the refusal of a profile kept in place is no failure).
bool profile_write_failed();
bool profile_save_now();
// The record's bytes: encode writes all 2628; decode reads `len` bytes of a file of the given
// version into `out` (zeroed first) and says whether the record can be taken.
void profile_encode(const Profile& p, uint8_t out[PROFILE_RECORD_BYTES]);
bool profile_decode(const uint8_t* record, int len, int version, Profile& out);
// Record bytes a file of `version` holds; 0 for a version that is not read.
int profile_record_bytes(int version);
// Zeroes the record and saves it, and puts the settings back to their defaults.
void profile_reset();

// ---- unlocks ----
constexpr int UNLOCK_CLASS = 0;
constexpr int UNLOCK_ITEM = 1;
constexpr int UNLOCK_BOON = 2;
constexpr int UNLOCK_CASE = 3;
constexpr int UNLOCK_PALETTE = 4;
constexpr int UNLOCK_ART = 5;
constexpr int UNLOCK_ROWS = 15;
constexpr int UNLOCK_CASE_ROWS = 4;
constexpr int UNLOCK_FIRST_CASE_ROW = 7;  // rows 7..14 are the looks: cases, palettes, monster art

struct UnlockRow {
    int32_t kind;
    int32_t id;
    int32_t cost;
    uint8_t free;
};

extern const UnlockRow UNLOCKS[UNLOCK_ROWS];

// The row's bit, or -1 for free rows and ids outside 0..14.
int unlock_bit(int row);
// Free rows, and rows whose bit is set; false outside 0..14.
bool unlock_owned(int row);
// Sets the row's bit (free rows: nothing) and saves.
void unlock_set(int row);
// Buys the row with souls: 1 bought (and saved), -1 too few souls, 0 free, owned or no such row.
int unlock_buy(int row);
// Every non-free unlock, every monster in the codex; saves.
void profile_unlock_all();

bool class_locked(int c);
bool item_locked(int id);
bool boon_locked(int id);
bool case_color_locked(int colour);
bool palette_locked(int palette);
bool monster_art_locked(int art);
int item_unlock_cost(int id);
int case_color_unlock_cost(int colour);
// The case colours of the four case rows, in row order.
void unlock_case_colors(int32_t out[UNLOCK_CASE_ROWS]);
// The colour's name as the unlocks show it; "" for colours without a row.
const char* case_color_unlock_name(int colour);

// ---- soul upgrades ----
constexpr int UPGRADE_VITALITY = 0;
constexpr int UPGRADE_EMBERS = 1;
constexpr int UPGRADE_FORAGER = 2;
constexpr int UPGRADE_MAX_RANKS = 3;

struct SoulUpgrade {
    const char* name;
    const char* desc;
    int32_t ranks;
    int32_t costs[UPGRADE_MAX_RANKS];
};

extern const SoulUpgrade SOUL_UPGRADES[UPGRADE_COUNT];

// Ranks bought of soul upgrade u (0..2), and how many it has; 0 for other u.
int upgrade_rank(int u);
int upgrade_max_rank(int u);
// Souls the next rank costs; 0 when maxed or u is not an upgrade.
int upgrade_next_cost(int u);
bool upgrade_enabled(int u);
// The rank in effect this run: 0 when switched off or while the run heat is above 2.
int upgrade_active_rank(int u);
const char* upgrade_name(int u);
const char* upgrade_desc(int u);
// 1 bought, 0 nothing to buy, -1 too few souls.
int upgrade_buy(int u);
// Flips whether upgrade u counts this run; false when no rank is bought.
bool upgrade_toggle(int u);

// The heat selector is not offered.
bool heat_select_available();
const char* heat_label();

// ---- runs ----
// A run starts: fresh per-run scratch, heat 0, the VITALITY hit points.
void profile_run_begin();
// A run ends (won = 1 for an escape): awards the souls and records the run; returns the award.
int32_t profile_run_end(int won);
// The souls the run would award if it ended now.
int32_t souls_preview(int won);
// Once per tick; in_play counts play time, gold and carried items. Leaving play writes them.
void profile_tick(bool in_play);
// Writes the play counters not yet written (when play is left).
void profile_flush();
// The way out: writes the play counters not yet written, and the record again when its last write
// failed; false when profile.dat could not take it.
bool profile_save_on_exit();
// Forgets the gold last seen and the play counters not yet written, as at start-up.
void profile_counters_forget();
void profile_add_souls(int32_t n);
void profile_count_secret();
// The main-hand weapon's kill count and best hit.
void weapon_stat_kill();
void weapon_stat_best_hit(int32_t damage);
// Runs ended so far, and the kinds ever met.
int32_t profile_runs();
uint32_t profile_monsters_met();

// ---- codex ----
void codex_met(int kind);
void codex_slain(int kind);
void codex_mark_viewed(int kind);
bool codex_is_new(int kind);
bool codex_any_new();

// ---- flags and hints ----
bool training_offer_on();
void training_offer_set(bool on);
// The one-time tip that explains threat.
bool profile_hint_seen();
void profile_hint_mark();
// The duel's attack hint: whether the player has ever attacked (set once), how many times the idle
// hint has come up, and one more of those.
bool profile_attack_hint_seen();
void profile_attack_hint_mark();
int32_t profile_flow_hint_count();
void profile_flow_hint_raise();
// The duel's skill rating and the number of rated duels; stored at once, written when asked.
int32_t profile_skill_rating();
int32_t profile_rated_fights();
void profile_skill_store(int32_t rating, int32_t rated_fights, bool write_now);
// Adds one to the joke-banner counter, saves the profile and returns the old count mod 30.
int joke_banner_next();
