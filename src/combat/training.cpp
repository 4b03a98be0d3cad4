// Training mode: its four maps, the drills every training fight runs, the exploration gates, the
// level-up's fixed pick and the training's end. Called by the fight, exploration, the floor loader,
// the level-up and the tick's modal layer.
#include "combat/training.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "boons/boons.h"
#include "combat/combat.h"
#include "combat/reflex.h"
#include "combat/status.h"
#include "combat/training_save.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "items/bag.h"
#include "items/equip.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "services/services.h"
#include "services/toast.h"
#include "sound/audio.h"
#include "telemetry/events.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/glyphs.h"
#include "world/player.h"

Training training = {};

const char TRAINING_MAPS[TRAINING_MAP_COUNT][TRAINING_MAP_ROWS][TRAINING_MAP_COLS + 1] = {
    {
        "################",
        "#@....##########",
        "#####.##########",
        "#####.##########",
        "#####......#####",
        "##########.#####",
        "##########.#####",
        "##########R#####",
        "##########.#####",
        "##########.#####",
        "##########>#####",
        "################",
    },
    {
        "################",
        "#@.......#######",
        "########.#######",
        "########s#######",
        "########.#######",
        "#####.......####",
        "#####p......####",
        "#####.......####",
        "########G#######",
        "########.#######",
        "########>#######",
        "################",
    },
    {
        "################",
        "#@..a....R....##",
        "#############.##",
        "##......#####.##",
        "##.O..........##",
        "##......########",
        "##.#############",
        "##..........####",
        "###########.####",
        "###########.####",
        "###########>####",
        "################",
    },
    {
        "################",
        "#@..p...########",
        "#######.########",
        "#######.########",
        "#######S########",
        "####.......#####",
        "####.......#####",
        "####.......#####",
        "#######.########",
        "#######.########",
        "#######>########",
        "################",
    },
};

// Pad buttons of drills 1..9: A for the blows, B for the guard, LEFT and RIGHT for the dodge.
const uint8_t DRILL_BUTTONS[DRILL_BUTTON_ROWS] = {
    BTN_A, BTN_A, BTN_B, BTN_B, 0, BTN_LEFT | BTN_RIGHT, 0, BTN_A, BTN_A,
};

namespace {

constexpr int FACING_EAST = 1;
constexpr int MILESTONE_TRAINING_DONE = 25;
constexpr int32_t CUE_LEAD_MS = 200;        // the cue pause stops the clock this close to impact
constexpr int32_t DODGE_MEMORY_MS = 600;    // a dodge this recent went the wrong way
constexpr int32_t FORCED_PERCENT = 700;     // the drills' plain and dodge-only wind-ups, % of tempo
constexpr int32_t SHIELD_PERCENT = 4500;    // how long the smash drill's shield stays up
constexpr int32_t STOP_PERCENT = 2000;      // the slow wind-up the stop drill lets the heavy catch

// Monster attack in training, by type.
struct TrainingAttackRow {
    int32_t type, attack;
};
constexpr TrainingAttackRow TRAINING_ATTACK[] = {
    {.type = M_RAT, .attack = 1},   {.type = M_SKELETON, .attack = 3}, {.type = M_DRAGON, .attack = 2},
    {.type = M_BAT, .attack = 2},   {.type = M_SLIME, .attack = 2},    {.type = M_ORC, .attack = 3},
};
constexpr int32_t TRAINING_ATTACK_OTHER = 2;

// What each drill counts and where it leads.
struct DrillRow {
    const char* name;      // counter and toast name, nullptr for drills without a counter
    int32_t target;
    uint32_t next;
    uint8_t toasts;        // successes are toasted; the others ring sound 21
    int32_t floor_k;       // the monster's hp stays above max_hp x k / (k + 1); 0 none
};
constexpr DrillRow DRILLS[] = {
    [DRILL_NONE] = {.name = nullptr, .target = 0, .next = DRILL_NONE, .toasts = 0, .floor_k = 0},
    [DRILL_JAB] = {.name = "JAB", .target = 3, .next = DRILL_FINISHER, .toasts = 1, .floor_k = 2},
    [DRILL_FINISHER] = {.name = "FINISHER", .target = 3, .next = DRILL_NONE, .toasts = 1, .floor_k = 1},
    [DRILL_BLOCK] = {.name = "BLOCK", .target = 1, .next = DRILL_PARRY, .toasts = 1, .floor_k = 2},
    [DRILL_PARRY] = {.name = "PARRY", .target = 3, .next = DRILL_FINISH_IT, .toasts = 1, .floor_k = 1},
    [DRILL_FINISH_IT] = {.name = nullptr, .target = 0, .next = DRILL_FINISH_IT, .toasts = 0, .floor_k = 0},
    [DRILL_DODGE] = {.name = "DODGE", .target = 3, .next = DRILL_FINISH_ORC, .toasts = 1, .floor_k = 1},
    [DRILL_FINISH_ORC] = {.name = nullptr, .target = 0, .next = DRILL_FINISH_ORC, .toasts = 0, .floor_k = 0},
    [DRILL_SMASH] = {.name = "SMASH THE SHIELD", .target = 1, .next = DRILL_STOP, .toasts = 0, .floor_k = 3},
    [DRILL_STOP] = {.name = "STOP AN ATTACK", .target = 1, .next = DRILL_STARS, .toasts = 0, .floor_k = 2},
    [DRILL_STARS] = {.name = nullptr, .target = 1, .next = DRILL_MIXED, .toasts = 0, .floor_k = 1},
    [DRILL_MIXED] = {.name = nullptr, .target = 0, .next = DRILL_MIXED, .toasts = 0, .floor_k = 0},
};
constexpr uint32_t DRILL_COUNT = sizeof DRILLS / sizeof DRILLS[0];

const DrillRow& drill_row() { return DRILLS[training.drill < DRILL_COUNT ? training.drill : DRILL_NONE]; }

void drill_state_reset() {
    training.drill = DRILL_NONE;
    training.count = 0;
    training.cue_answered = 0;
    training.first_hit = 0;
    training.stars_full = 0;
    training.hurt_at = -1;
}

void drill_set(uint32_t d) {
    training.drill = d;
    training.count = 0;
    training.cue_answered = 0;
    training.stars_full = 0;
    training.hurt_at = -1;
}

void hint_set(const char* text) { std::snprintf(training.hint, sizeof training.hint, "%s", text); }

void tips_reset(bool keep_shown) {
    uint32_t shown = keep_shown ? tips.shown : 0;
    tips = Tips{};
    tips.shown = shown;
    tips.id = TIP_THREAT;
    tips.last_floor = -1;
}

// A success of the drill in progress: toast or sound, then on to the next drill after the last.
void drill_success(const char* name) {
    const DrillRow& row = drill_row();
    training.count++;
    char text[TOAST_LINE_BYTES];
    bool last = training.count >= row.target;
    if (row.toasts) {
        if (last)
            std::snprintf(text, sizeof text, "%s %d/%d!", name, (int)row.target, (int)row.target);
        else
            std::snprintf(text, sizeof text, "%s!", name);
        toast_show(text);
    } else {
        play_sfx(SFX_CONFIRM);
    }
    if (last) drill_set(row.next);
}

}  // namespace

bool training_active() { return training.mode != 0; }

bool training_map_floor(int n) { return n >= 0 && n < TRAINING_MAP_COUNT; }

void load_training_map(int n) {
    if (!training_map_floor(n)) return;
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++) {
            char c = TRAINING_MAPS[n][y][x];
            if (c == GLYPH_START) {
                player.x = x;
                player.y = y;
                player.facing = FACING_EAST;
                c = GLYPH_FLOOR;
            }
            gmap[y][x] = c;
            // The shield lies on the floor list; its glyph stays for the view and the pickup.
            if (c == GLYPH_SHIELD) floor_item_add_new(x, y, item_make(ITEM_WOODEN_SHIELD));
        }
}

void training_start() {
    training = Training{};
    training.mode = 1;
    drill_state_reset();
    tips_reset(false);
    player.off_hand = Item{};
    floor_begin(0);
    load_training_map(0);
    floor_monsters_from_letters(0);
}

void training_stop() {
    training = Training{};
    drill_state_reset();
    tips_reset(false);
}

void training_save_write(uint8_t out[TRAINING_SAVED_BYTES]) {
    out[TRAINING_SAVED_FLAG] = training.mode;
    for (int i = 0; i < 4; i++) out[TRAINING_SAVED_TIPS + i] = (uint8_t)(tips.shown >> (8 * i));
}

void training_save_read(const uint8_t in[TRAINING_SAVED_BYTES]) {
    training.mode = in[TRAINING_SAVED_FLAG] ? 1 : 0;
    uint32_t shown = 0;
    for (int i = 0; i < 4; i++) shown |= (uint32_t)in[TRAINING_SAVED_TIPS + i] << (8 * i);
    // Only the thirty tips have bits.
    tips.shown = shown & ((1u << TIP_COUNT) - 1u);
}

// Exploration gates.

bool map_has_potion() {
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++)
            if (gmap[y][x] == GLYPH_POTION) return true;
    return false;
}

bool training_shield_due() {
    return training_active() && current_floor == 1 && bag_find(ITEM_WOODEN_SHIELD) >= 0 &&
           player.off_hand.id != ITEM_WOODEN_SHIELD;
}

bool training_antidote_due() {
    return training_active() && (tips.shown >> 12 & 1u) && status_has(player.status, ST_POISON) &&
           bag_find(ITEM_ANTIDOTE) >= 0;
}

bool training_potion_due() {
    return training_active() && current_floor == 1 && player.hp < player.max_hp && (tips.shown >> 8 & 1u) &&
           map_has_potion();
}

bool training_potion_gate() {
    if (!training_potion_due()) return false;
    hint_set("DRINK THE POTION FIRST: WALK INTO IT, IN THE ROOM");
    return true;
}

bool training_step_gate() {
    if (!training_active()) return false;
    if (training_shield_due()) {
        hint_set("EQUIP THE SHIELD FIRST: PRESS {SELECT}, THEN PRESS {A} ON THE SHIELD");
        return true;
    }
    if (training_antidote_due()) {
        hint_set("DRINK THE ANTIDOTE FIRST: PRESS {SELECT}, THEN PRESS {A} ON IT");
        return true;
    }
    return training_potion_gate();
}

// Turning is always free; a step out of floor 1's room toward the stairs waits for the potion.
bool training_refuses_turn() { return false; }

bool training_refuses_step(int, int y) {
    constexpr int ROOM_LAST_ROW = 7;
    if (!training_active() || current_floor != 1 || y <= ROOM_LAST_ROW) return false;
    return training_potion_gate();
}

bool training_monster_may_step(int x, int y) {
    // Floor 2 keeps the orc in its room and the corridor above it.
    if (!training_active() || current_floor != 2) return true;
    return x > 3 && y < 5;
}

uint8_t training_hint_target() {
    if (!training_active() || tip_or_prompt_showing()) return 0;
    if (game_state == STATE_COMBAT && combat.reflex) {
        uint32_t d = training.drill;
        return (d >= 1 && d <= DRILL_BUTTON_ROWS) ? DRILL_BUTTONS[d - 1] : 0;
    }
    if (game_state == STATE_DUNGEON && (training_shield_due() || training_antidote_due())) return BTN_SELECT;
    return 0;
}

// The drills.

int training_attack(int type) {
    for (const TrainingAttackRow& row : TRAINING_ATTACK)
        if (row.type == type) return row.attack;
    return TRAINING_ATTACK_OTHER;
}

int drill_monster_hp(int type) {
    int k = 2;
    if (type == M_GOBLIN || type == M_ORC) k = 3;
    else if (type == M_RAT) k = current_floor == 2 ? 3 : 1;
    else if (type == M_SKELETON) k = 9;
    return (player_attack_value() + 2) * k + 1;
}

void drill_begin() {
    drill_state_reset();
    switch (combat.type) {
    case M_GOBLIN: training.drill = DRILL_BLOCK; break;
    case M_RAT: training.drill = current_floor == 0 ? DRILL_JAB : DRILL_FINISH_IT; break;
    case M_SKELETON: training.drill = DRILL_SMASH; break;
    case M_ORC: training.drill = DRILL_DODGE; break;
    default: training.drill = DRILL_MIXED; break;
    }
}

bool drill_is_defence() {
    return training.drill == DRILL_BLOCK || training.drill == DRILL_PARRY || training.drill == DRILL_DODGE;
}

bool drill_keeps_alive() {
    switch (training.drill) {
    case DRILL_JAB: case DRILL_FINISHER: case DRILL_BLOCK: case DRILL_PARRY: case DRILL_DODGE:
    case DRILL_SMASH: case DRILL_STOP: case DRILL_STARS: return true;
    default: return false;
    }
}

bool drill_is_mixed() { return training.drill == DRILL_MIXED; }
bool drill_is_stop() { return training.drill == DRILL_STOP; }

int drill_hp_floor() {
    int k = drill_row().floor_k;
    if (k == 0) return 0;
    return std::max(reflex.max_hp * k / (k + 1), 1);
}

int drill_first_hit_cap(int d, bool chip) {
    if (chip || training.first_hit || combat.type != M_GOBLIN) return d;
    training.first_hit = 1;
    int half = player.max_hp / 2;
    return player.hp > half ? player.hp - half : d;
}

bool drill_force_attack() {
    switch (training.drill) {
    case DRILL_BLOCK: case DRILL_PARRY: case DRILL_FINISH_IT:
        return reflex_queue_attack_pct(ATK_PLAIN, FORCED_PERCENT, false);
    case DRILL_DODGE: case DRILL_FINISH_ORC: return reflex_queue_attack_pct(ATK_SIDE, FORCED_PERCENT, false);
    case DRILL_SMASH: return reflex_queue_attack_pct(ATK_SHIELD, SHIELD_PERCENT, false);
    case DRILL_STOP: return reflex_queue_attack_pct(ATK_PLAIN, STOP_PERCENT, false);
    default: return false;
    }
}

bool drill_pause_for_cue() {
    if (training.drill != DRILL_PARRY && training.drill != DRILL_DODGE) return false;
    if (training.count > 0 || training.cue_answered) return false;
    int32_t t = reflex_time_to_impact();
    return t >= 0 && t <= CUE_LEAD_MS;
}

void drill_cue_answered() { training.cue_answered = 1; }

const char* drill_cue_text() {
    if (!training_active()) return "";
    if (drill_pause_for_cue()) {
        if (training.drill == DRILL_PARRY) return "NOW: {B}";
        return reflex.current.side >= 0 ? "NOW: {LEFT}" : "NOW: {RIGHT}";
    }
    if (reflex.monster_state != MS_ATTACK) return "";
    if (training.drill == DRILL_BLOCK) return "HOLD {B}";
    if (training.drill == DRILL_STOP) return "HOLD {A}";
    return "";
}

const char* drill_counter_text() {
    static char text[TOAST_LINE_BYTES];
    if (!training_active()) return "";
    if (training.drill == DRILL_STARS) return training.stars_full ? "HIT IT WHILE IT REELS" : "FILL THE STARS";
    const DrillRow& row = drill_row();
    if (!row.name) return "";
    std::snprintf(text, sizeof text, "%s %d/%d", row.name, (int)training.count, (int)row.target);
    return text;
}

bool drill_allows_action(int kind) {
    if (!training_active()) return true;
    uint32_t d = training.drill;
    switch (kind) {
    case 0: return d == DRILL_STARS || d == DRILL_MIXED;
    case 1: return d == DRILL_JAB || d == DRILL_FINISHER || d == DRILL_MIXED;
    case 2: return d == DRILL_MIXED;
    default: return false;
    }
}

void drill_on_events(uint64_t ev) {
    const Reflex& r = reflex;
    if (ev & EV_WINDUP) training.cue_answered = 0;
    switch (training.drill) {
    case DRILL_JAB:
        if (ev & EV_JAB) drill_success("JAB");
        break;
    case DRILL_FINISHER:
        if (ev & EV_FINISHER) drill_success("FINISHER");
        break;
    case DRILL_BLOCK:
        if (ev & EV_PARRY) drill_success("PARRY: EVEN BETTER");
        else if (ev & EV_BLOCK) drill_success("BLOCK");
        else if (ev & EV_PLAYER_HURT) show_tip_text("HOLD {B} BEFORE IT LANDS");
        break;
    case DRILL_PARRY:
        if (ev & EV_PARRY) drill_success("PARRY");
        else if (ev & EV_BLOCK) show_tip_text("TOO EARLY: THAT'S A BLOCK");
        else if (ev & EV_PLAYER_HURT) training.hurt_at = r.clock;
        break;
    case DRILL_DODGE:
        if (ev & EV_DODGE) {
            drill_success("DODGE");
        } else if (ev & (EV_PLAYER_HURT | EV_HEAVY_TAKEN)) {
            bool tried = r.dodge_at != REFLEX_NEVER && r.clock - r.dodge_at < DODGE_MEMORY_MS;
            // A dodge the right way that came too soon is named as early, not as the other way.
            bool right_way = r.current.side == 0 || r.dodge_side == -r.current.side;
            show_tip_text(!tried     ? "DODGE: {LEFT} OR {RIGHT}"
                          : right_way ? "TOO EARLY: DODGE AS THE RING FLASHES"
                                      : "THE OTHER WAY: WHERE THE ARROWS POINT");
        }
        break;
    case DRILL_SMASH:
        if (ev & EV_SHATTERED) drill_success(nullptr);
        else if (ev & EV_GUARD_BROKEN) show_tip_text("A HEAVY, THIS TIME: HOLD A");
        break;
    case DRILL_STOP:
        if (ev & EV_INTERRUPTED) drill_success(nullptr);
        break;
    case DRILL_STARS:
        if (ev & EV_STAGGERED) training.stars_full = 1;
        else if (training.stars_full && (ev & EV_HIT) && r.monster_state == MS_STAGGER) drill_success(nullptr);
        break;
    default: break;
    }
}

// Level-up and experience.

int training_xp_gap(int type) {
    int gap = std::max(xp_to_next(player.level) - player.xp, 0);
    if (type == M_GOBLIN || type == M_SKELETON) return gap;
    return gap > 1 ? 1 : 0;
}

bool training_pick_forced() { return levelup_pick_forced(LevelupMode{training_active()}); }

int training_pick_boon() { return boon_first_owned_below_max(); }

// The end.

void training_offer_end() {
    training.over_prompt = 1;
    play_sfx(SFX_CONFIRM);
}

bool training_end_choice(uint8_t presses, const TrainingEndHooks& hooks) {
    if (training.over_prompt) {
        if (presses & BTN_A) {
            training.over_prompt = 0;
            char data[64];
            std::snprintf(data, sizeof data, "{\"answer\":\"carry-on\",\"runs\":%d}", (int)profile_runs());
            event_append("training", data);
            training.mode = 0;
            training.hint[0] = '\0';
            training_offer_set(false);
            platform_milestone(MILESTONE_TRAINING_DONE);
            game_state = STATE_DUNGEON;
            if (hooks.carry_on) hooks.carry_on();
        } else if (presses & BTN_B) {
            training.over_prompt = 0;
            training_offer_set(false);
            platform_milestone(MILESTONE_TRAINING_DONE);
            if (hooks.to_menu) hooks.to_menu();
            training_stop();
            game_state = STATE_TITLE;
            play_sfx(SFX_BACK);
        }
        return true;
    }
    if (!tips.text) return false;
    // The bag's two tips close with the bag itself.
    if ((presses & BTN_B) && (tips.id == 5 || tips.id == 13)) {
        tips.text = nullptr;
        return false;
    }
    if (presses & (BTN_A | BTN_B)) {
        int len = (int)std::strlen(tips.expanded[tips.buffer]);
        if (tips.typed < len) {
            tips.typed = len;
        } else {
            tips.text = nullptr;
            play_sfx(SFX_MOVE);
            if (game_state == STATE_COMBAT) {
                // The closing press neither guards nor charges a blow.
                reflex.guard_up = 0;
                reflex.guard_was_held = 1;
                reflex.charging = 0;
                reflex.release_needed = 1;
            }
        }
    }
    return true;
}

// The spotlight: in the bag the shield to equip or the antidote to drink, on the level-up the
// fixed card.
bool training_spotlight_target(const BagCursorView& bag, SpotlightTarget* out) {
    if (!training_active() || tip_or_prompt_showing()) return false;
    if (game_state == STATE_LEVELUP) {
        if (!training_pick_forced()) return false;
        out->kind = SPOT_LEVELUP_CARD;
        out->index = 0;
        std::snprintf(out->caption, sizeof out->caption, "PRESS {A}");
        return true;
    }
    if (game_state != STATE_BAG) return false;
    int target = -1;
    const char* action = "";
    if (training_shield_due()) {
        target = bag_find(ITEM_WOODEN_SHIELD);
        action = "EQUIP";
    } else if (training_antidote_due()) {
        target = bag_find(ITEM_ANTIDOTE);
        action = "DRINK";
    }
    if (target < 0) return false;
    out->kind = SPOT_BAG_ITEM;
    out->index = target;
    if (bag.card_open && bag.item == target) {
        out->kind = SPOT_PANEL_ACTION;
        std::snprintf(out->caption, sizeof out->caption, "PRESS {A} TO %s", action);
    } else if (bag.page != 0) {
        // Back to the inventory: RIGHT from the stats page, LEFT from the bestiary.
        std::snprintf(out->caption, sizeof out->caption, bag.page < 0 ? "PRESS {RIGHT}" : "PRESS {LEFT}");
    } else if (bag.item == target) {
        std::snprintf(out->caption, sizeof out->caption, "PRESS {A}");
    } else {
        std::snprintf(out->caption, sizeof out->caption, "MOVE THE CURSOR HERE");
    }
    return true;
}
