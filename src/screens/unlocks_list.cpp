// The unlocks screen's list and input: foldable sections of what souls buy, buying, switching soul
// upgrades on and off, and trying on case colours and palettes. The state machine calls
// update_unlocks in STATE_UNLOCKS; the run-end, stats and title screens ask the queries.
#include "screens/unlocks_list.h"

#include <cstdio>

#include "boons/boons.h"
#include "classes/classes.h"
#include "items/item.h"
#include "profile/profile.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "services/services.h"
#include "sound/audio.h"
#include "world/buttons.h"
#include "world/game_state.h"

int32_t unlocks_cursor = 0;
uint8_t unlocks_collapsed[UNLOCK_SECTIONS] = {};
UnlocksMessage unlocks_message = {};

namespace {

constexpr const char* UNLOCK_SECTION_TITLES[UNLOCK_SECTIONS] = {
    "CLASSES", "ITEMS", "BOONS", "CASES", "SCREENS", "MONSTERS", "PERKS"};
// The kind word of each row kind (UNLOCK_CLASS .. UNLOCK_ART).
constexpr const char* UNLOCK_KIND_WORDS[UNLOCK_SECTIONS - 1] = {"CLASS", "ITEM", "BOON", "CASE", "SCREEN", "MONSTERS"};
constexpr const char* PALETTE_DESCRIPTIONS[] = {"THE ORIGINAL SCREEN", "POCKET-LCD GREEN", "AMBER MONOCHROME"};
constexpr int MESSAGE_STEPS = 90;

bool row_valid(int row) { return row >= 0 && row < UNLOCK_ROWS; }
bool upgrade_row(int32_t row) { return row >= UNLOCK_UPGRADE_ROW && row < UNLOCK_UPGRADE_ROW + UPGRADE_COUNT; }

void message_set(const char* text) {
    unlocks_message.timer = MESSAGE_STEPS;
    std::snprintf(unlocks_message.text, sizeof unlocks_message.text, "%s", text);
}

// The case colour and palette shown while the cursor rests on row (the settings' otherwise).
void preview_row(int32_t row) {
    int32_t case_color = settings.case_color, palette = settings.palette;
    if (row_valid(row) && UNLOCKS[row].kind == UNLOCK_CASE) case_color = UNLOCKS[row].id;
    if (row_valid(row) && UNLOCKS[row].kind == UNLOCK_PALETTE) palette = UNLOCKS[row].id;
    platform_preview_look(case_color, palette);
}

void upgrade_input(int u, uint8_t bits) {
    if (bits & BTN_SELECT) {
        if (upgrade_toggle(u)) {
            message_set(upgrade_enabled(u) ? "SWITCHED ON" : "SWITCHED OFF");
            play_sfx(SFX_MOVE);
        } else {
            message_set("NOT BOUGHT YET");
            play_sfx(SFX_DENY);
        }
    }
    if (bits & BTN_A) {
        const int result = upgrade_buy(u);
        if (result > 0) {
            char text[UNLOCK_MESSAGE_CAP];
            std::snprintf(text, sizeof text, "%s %d!", upgrade_name(u), upgrade_rank(u));
            message_set(text);
            play_sfx(SFX_REWARD);
        } else {
            message_set(result < 0 ? "NOT ENOUGH SOULS" : "ALL RANKS BOUGHT");
            play_sfx(SFX_DENY);
        }
    }
}

void row_input(int32_t row) {
    if (row < 0) {
        const int n = -1 - row;
        if (n < UNLOCK_SECTIONS) unlocks_collapsed[n] = !unlocks_collapsed[n];
        play_sfx(SFX_MOVE);
        return;
    }
    if (!row_valid(row)) return;
    if (!unlock_owned(row)) {
        if (unlock_buy(row) < 0) {
            message_set("NOT ENOUGH SOULS");
            play_sfx(SFX_DENY);
            return;
        }
        cosmetic_equip(row);
        message_set("UNLOCKED!");
        play_sfx(SFX_REWARD);
    } else if (row >= UNLOCK_FIRST_CASE_ROW) {
        cosmetic_equip(row);
        message_set("PUT ON!");
        play_sfx(SFX_CONFIRM);
    } else {
        message_set("ALREADY YOURS");
        play_sfx(SFX_DENY);
    }
}

}  // namespace

int unlock_count() { return UNLOCK_ROWS; }

int unlock_rows_build(int32_t out[UNLOCK_LIST_MAX]) {
    int n = 0;
    out[n++] = -1 - UNLOCK_SECTION_PERKS;
    if (!unlocks_collapsed[UNLOCK_SECTION_PERKS])
        for (int u = 0; u < UPGRADE_COUNT; u++) out[n++] = UNLOCK_UPGRADE_ROW + u;
    for (int s = 0; s < UNLOCK_SECTION_PERKS; s++) {
        out[n++] = -1 - s;
        if (unlocks_collapsed[s]) continue;
        for (int r = 0; r < UNLOCK_ROWS; r++)
            if (UNLOCKS[r].kind == s) out[n++] = r;
    }
    return n;
}

int32_t unlocks_cursor_row() {
    int32_t list[UNLOCK_LIST_MAX];
    const int n = unlock_rows_build(list);
    if (unlocks_cursor < 0) unlocks_cursor = 0;
    if (unlocks_cursor >= n) unlocks_cursor = n - 1;
    return list[unlocks_cursor];
}

void unlocks_reveal_row(int32_t row) {
    unlocks_collapsed[unlock_section_of(row)] = 0;
    int32_t list[UNLOCK_LIST_MAX];
    const int n = unlock_rows_build(list);
    for (int i = 0; i < n; i++)
        if (list[i] == row) unlocks_cursor = i;
}

int unlock_section_of(int32_t row) {
    if (row >= UNLOCK_UPGRADE_ROW) return UNLOCK_SECTION_PERKS;
    return row_valid(row) ? UNLOCKS[row].kind : 0;
}

const char* unlock_section_title(int n) { return n >= 0 && n < UNLOCK_SECTIONS ? UNLOCK_SECTION_TITLES[n] : ""; }
int unlock_section_collapsed(int n) { return n >= 0 && n < UNLOCK_SECTIONS ? unlocks_collapsed[n] : 0; }

int unlock_section_owned(int n, int* total) {
    int owned = 0, count = 0;
    if (n == UNLOCK_SECTION_PERKS) {
        for (int u = 0; u < UPGRADE_COUNT; u++) {
            owned += upgrade_rank(u);
            count += upgrade_max_rank(u);
        }
    } else if (n >= 0 && n < UNLOCK_SECTION_PERKS) {
        for (int r = 0; r < UNLOCK_ROWS; r++) {
            if (UNLOCKS[r].kind != n) continue;
            count++;
            if (unlock_owned(r)) owned++;
        }
    }
    if (total) *total = count;
    return owned;
}

void unlocks_owned_count(int* owned, int* total) {
    int o = 0, t = 0;
    for (int r = 0; r < UNLOCK_ROWS; r++) {
        if (UNLOCKS[r].free) continue;
        t++;
        if (unlock_owned(r)) o++;
    }
    if (owned) *owned = o;
    if (total) *total = t;
}

float unlocks_completion() {
    int owned = 0, total = 0;
    unlocks_owned_count(&owned, &total);
    return total > 0 ? (float)owned / (float)total : 0.0f;
}

int unlock_price(int row) { return row_valid(row) ? UNLOCKS[row].cost : 0; }

int unlock_next_goal() {
    // The class, weapons and boons come first; the looks only once those are all owned.
    const int ranges[2] = {UNLOCK_FIRST_CASE_ROW, UNLOCK_ROWS};
    for (int end : ranges) {
        int best = -1;
        for (int r = 0; r < end; r++) {
            if (UNLOCKS[r].free || unlock_owned(r)) continue;
            if (best < 0 || UNLOCKS[r].cost < UNLOCKS[best].cost) best = r;
        }
        if (best >= 0) return best;
    }
    return -1;
}

bool cosmetic_equipped(int row) {
    if (!row_valid(row)) return false;
    switch (UNLOCKS[row].kind) {
    case UNLOCK_CASE: return settings.case_color == UNLOCKS[row].id;
    case UNLOCK_PALETTE: return settings.palette == UNLOCKS[row].id;
    case UNLOCK_ART: return settings.monster_art == UNLOCKS[row].id;
    default: return false;
    }
}

void cosmetic_equip(int row) {
    if (!row_valid(row)) return;
    switch (UNLOCKS[row].kind) {
    case UNLOCK_CASE: settings.case_color = UNLOCKS[row].id; break;
    case UNLOCK_PALETTE: settings.palette = UNLOCKS[row].id; break;
    case UNLOCK_ART: settings.monster_art = UNLOCKS[row].id; break;
    default: return;
    }
    settings_save();
}

const char* unlock_kind_name(int row) { return row_valid(row) ? UNLOCK_KIND_WORDS[UNLOCKS[row].kind] : ""; }

const char* unlock_row_name(int row) {
    if (!row_valid(row)) return "";
    const int id = UNLOCKS[row].id;
    switch (UNLOCKS[row].kind) {
    case UNLOCK_CLASS: return class_info(id).name;
    case UNLOCK_ITEM: return item_def((uint32_t)id).name;
    case UNLOCK_BOON: {
        const BoonDef* b = boon_def(id);
        return b ? b->name : "";
    }
    case UNLOCK_CASE: return platform_case_color_name(id);
    case UNLOCK_PALETTE: return platform_palette_name(id);
    default: return "HAND-DRAWN MONSTERS";
    }
}

const char* unlock_row_description(int row) {
    if (!row_valid(row)) return "";
    const int id = UNLOCKS[row].id;
    switch (UNLOCKS[row].kind) {
    case UNLOCK_CLASS: return class_info(id).perk;
    case UNLOCK_ITEM: {
        const char* perk = item_def((uint32_t)id).perk;
        return perk ? perk : "";
    }
    case UNLOCK_BOON: {
        const BoonDef* b = boon_def(id);
        return b ? b->desc : "";
    }
    case UNLOCK_CASE: return row == UNLOCK_FIRST_CASE_ROW ? "THE CLASSIC: SOLID PLASTIC" : "SOLID PLASTIC";
    case UNLOCK_PALETTE: return id >= 0 && id < 3 ? PALETTE_DESCRIPTIONS[id] : "";
    default: return "EVERY PIXEL PLACED BY HAND";
    }
}

void update_unlocks(uint8_t bits) {
    if (unlocks_message.timer > 0) unlocks_message.timer--;

    int32_t list[UNLOCK_LIST_MAX];
    const int n = unlock_rows_build(list);
    const int32_t before = unlocks_cursor;
    const int32_t at = ((unlocks_cursor % n) + n) % n;
    if (bits & BTN_UP) unlocks_cursor = (at + n - 1) % n;
    if (bits & BTN_DOWN) unlocks_cursor = (at + 1) % n;
    if (unlocks_cursor != before) play_sfx(SFX_MOVE);

    if (bits & BTN_B) {
        play_sfx(SFX_BACK);
        platform_preview_look(settings.case_color, settings.palette);
        game_state = STATE_TITLE;
        return;
    }

    const int32_t row = unlocks_cursor_row();
    preview_row(row);
    if (upgrade_row(row))
        upgrade_input(row - UNLOCK_UPGRADE_ROW, bits);
    else if (bits & BTN_A)
        row_input(row);
}
