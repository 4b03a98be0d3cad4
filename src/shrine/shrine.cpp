// The shrine hub: the room, its objects and their indices, the braziers and milestones, walking,
// buying soul upgrades at the fire and the inspect cards built from the lifetime profile. Entered
// from the title; the state machine hands it the shrine's input.
#include "shrine/shrine.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "classes/classes.h"
#include "dungeon/floor.h"
#include "dungeon/fxfield.h"
#include "dungeon/monsters.h"
#include "dungeon/shrine_billboard.h"
#include "dungeon/view_pos.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "profile/profile.h"
#include "render/view_shade.h"
#include "saves/settings.h"
#include "services/rumble.h"
#include "services/services.h"
#include "sound/audio.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/glyphs.h"
#include "world/player.h"

Shrine shrine;

namespace {

// The room, rows 0..11, columns 0..15: '@' is the start, facing north.
constexpr const char* LAYOUT[MAP_H] = {
    "##W#W#WNNW#W#W##",
    "#b..T......#..b#",
    "W..........#.P.W",
    "##.##..........V",
    "W......q...#.P.W",
    "K.....qQq..L...K",
    "W......q...#.P.W",
    "##.##..........#",
    "W..........#.P.W",
    "#b..T......#..b#",
    "#####T.@..T#####",
    "######EEEE######",
};

constexpr const char* BRAZIER_NAMES[SHRINE_BRAZIERS] = {"THE FIRST WIN", "DRAGONSLAYER", "THE HEAT", "THE DEEPEST"};
constexpr const char* MILESTONE_BANNERS[SHRINE_MILESTONES] = {"THE BANNERS UNFURL!", "THE CASES SHINE!",
                                                              "THE BONES ARE GILDED!", "THE GREAT DOOR STIRS!"};
// The compartments of the two pedestals: "THE BLADES" (even) and "THE ARMORY" (odd); 0 is empty.
constexpr int PEDESTAL_ITEMS[2][4] = {{ITEM_SHORT_SWORD, ITEM_LONG_SWORD, ITEM_ENCHANTED_SWORD, ITEM_NONE},
                                      {ITEM_DAGGER, ITEM_VENOM_DAGGER, ITEM_SPEAR, ITEM_BATTLE_AXE}};
constexpr int PEDESTAL_PAGES[2] = {3, 4};
// The weapons whose carrying the cases milestone asks for.
constexpr int MILESTONE_WEAPONS[] = {ITEM_SHORT_SWORD, ITEM_LONG_SWORD, ITEM_ENCHANTED_SWORD, ITEM_DAGGER,
                                     ITEM_BATTLE_AXE,  ITEM_SPEAR,      ITEM_VENOM_DAGGER};
constexpr uint32_t CODEX_ALL_KINDS = 0x1FE;
constexpr int HEAT_PAGES = 6;
constexpr int STRETCH_PAGES = 6;
constexpr int BONE_WALL_PAGES = 8;
constexpr int MILESTONE_BANNER_TICKS = 200;
constexpr int FIRE_BANNER_TICKS = 70;
constexpr int DRONE_LOW_TICKS = 60;
constexpr int DRONE_LOW = 50;
constexpr int DRONE_HIGH = 120;
constexpr int DRONE_SPAN = 60;
constexpr int COUNTER_UPGRADE_BOUGHT = 31;
// The soul fire's flames: effect-field slot 6 at its full size.
constexpr int FIRE_FIELD_SLOT = 6;
constexpr int FIRE_FIELD_W = 40;
constexpr int FIRE_FIELD_H = 48;

constexpr int DX[4] = {0, 1, 0, -1}, DY[4] = {-1, 0, 1, 0};

bool in_map(int x, int y) { return x >= 0 && y >= 0 && x < MAP_W && y < MAP_H; }

bool is_fire_glyph(int g) {
    return g == GLYPH_FIRE || g == GLYPH_SOUL_FIRE || g == GLYPH_FIRE_LOW || g == GLYPH_SOUL_FIRE_LOW;
}

// Cells a step may not enter although they do not block the view.
bool step_refused(int g) {
    return g == GLYPH_FIRE || g == GLYPH_BRAZIER || g == GLYPH_SOUL_FIRE || g == GLYPH_URN || g == GLYPH_FIRE_LOW ||
           g == GLYPH_SOUL_FIRE_LOW || g == 'F';
}

void faced_cell(int* x, int* y) {
    const int f = player.facing & 3;
    *x = player.x + DX[f];
    *y = player.y + DY[f];
}

const char* class_word(int32_t cls) { return cls >= 0 && cls < CLASS_COUNT ? class_info(cls).name : "?"; }

void banner_show(const char* text, int ticks) {
    std::snprintf(shrine.banner, sizeof shrine.banner, "%s", text);
    shrine.banner_timer = ticks;
}

// ---- the card ----

struct CardWriter {
    ShrineCard* card;
    void add(int colour, const char* format, ...) __attribute__((format(printf, 3, 4))) {
        if (card->count >= SHRINE_CARD_LINES) return;  // lines past the tenth are dropped
        va_list args;
        va_start(args, format);
        std::vsnprintf(card->lines[card->count], SHRINE_CARD_CHARS, format, args);
        va_end(args);
        card->colours[card->count++] = (uint8_t)colour;
    }
};

void upper_name(char* out, size_t size, const char* name) {
    std::snprintf(out, size, "%s", name);
    for (char* p = out; *p; p++)
        if (*p >= 'a' && *p <= 'z') *p = (char)(*p - 'a' + 'A');
}

void card_pedestal(CardWriter& w, int parity, int page) {
    const int id = PEDESTAL_ITEMS[parity & 1][page];
    if (id == ITEM_NONE) {
        w.add(1, "???");
        w.add(2, "NOT YET FOUND");
        return;
    }
    const ProfileItem& r = profile.items[id];
    if (r.first_run != 0) {
        char name[SHRINE_CARD_CHARS];
        upper_name(name, sizeof name, item_def((uint32_t)id).name);
        w.add(3, "%s", name);
        w.add(2, "FOUND RUN #%d", (int)r.first_run);
        if (r.runs == 0) {
            w.add(1, "NEVER WIELDED");
            return;
        }
        w.add(2, "WIELDED %d RUN%s", (int)r.runs, r.runs == 1 ? "" : "S");
        w.add(2, "WON %d  KILLS %d", (int)r.wins, (int)r.kills);
        w.add(2, "BEST HIT %d", (int)r.best_hit);
        w.add(2, "DEEPEST FLOOR %d", (int)r.deepest);
        if (r.best_heat_won > 0) w.add(2, "HEAT WON %d", (int)r.best_heat_won - 1);
    } else {
        w.add(1, "???");
        if (item_locked(id) && item_unlock_cost(id) > 0) w.add(3, "UNLOCK: %d SOULS", item_unlock_cost(id));
        else w.add(2, "NOT YET FOUND");
    }
}

void card_bones(CardWriter& w, int page) {
    const int kind = page + 1;
    if (profile.met & (1u << kind)) {
        w.add(3, "%s", MONSTER_TYPES[kind].name);
        const ProfileCodex& c = profile.codex[kind];
        if (c.first_met_run) w.add(2, "MET RUN #%d, FLOOR %d", (int)c.first_met_run, (int)c.first_met_floor);
        if (c.first_slain_run) w.add(2, "FIRST SLAIN RUN #%d", (int)c.first_slain_run);
        w.add(2, "SLAIN %d", (int)profile.slain[kind]);
        w.add(profile.killed_by[kind] > 0 ? 2 : 1, "KILLED YOU %d", (int)profile.killed_by[kind]);
    } else {
        w.add(1, "???");
        w.add(2, "NOT YET MET");
    }
}

void card_statue(CardWriter& w, int c) {
    const ClassInfo& info = class_info(c);
    if (class_locked(c)) {
        w.add(1, "%s", info.name);
        w.add(2, "SHROUDED");
        w.add(2, "%s", info.perk);
        if (class_unlock_cost(c) > 0) w.add(3, "UNLOCK: %d SOULS", class_unlock_cost(c));
        return;
    }
    w.add(3, "%s", info.name);
    const ProfileClass& r = profile.classes[c];
    if (r.runs == 0) {
        w.add(2, "NOT YET PLAYED");
        return;
    }
    w.add(2, "FIRST RUN #%d", (int)r.first_run);
    w.add(2, "RUNS %d  WINS %d (%d%%)", (int)r.runs, (int)r.wins, (int)(r.wins * 100 / r.runs));
    if (r.deepest_heat == 0) w.add(2, "DEEPEST FLOOR %d", (int)r.deepest);
    else w.add(2, "DEEPEST %d AT HEAT %d", (int)r.deepest, (int)r.deepest_heat);
    if (r.wins > 0) {
        w.add(2, "HEAT WON %d", (int)(r.best_heat_won > 0 ? r.best_heat_won - 1 : 0));
        w.add(2, "FASTEST WIN %d:%02d", (int)(r.fastest_win / 60), (int)(r.fastest_win % 60));
        w.add(2, "STREAK %d  BEST %d", (int)r.streak, (int)r.best_streak);
    } else {
        w.add(1, "NO WINS YET");
    }
    w.add(2, "KILLS %d", (int)r.kills);
    int bane = 0;
    for (int k = 1; k < PROFILE_KIND_SLOTS; k++)
        if (r.deaths_by[k] > (bane ? r.deaths_by[bane] : 0)) bane = k;
    if (bane) w.add(1, "BANE: %s X%d", MONSTER_TYPES[bane].name, (int)r.deaths_by[bane]);
}

void card_brazier(CardWriter& w, int b, int page) {
    const bool lit = shrine_brazier_lit_index(b);
    w.add(lit ? 3 : 1, "%s", BRAZIER_NAMES[b]);
    switch (b) {
        case 0:
            if (profile.first_win.run) {
                w.add(2, "RUN #%d", (int)profile.first_win.run);
                w.add(2, "AS A %s", class_word(profile.first_win.cls));
            } else {
                w.add(2, "ESCAPE THE DUNGEON");
            }
            break;
        case 1: {
            const ProfileFirst& f = profile.first_dragon_stretch[page];
            w.add(2, "FLOOR %d'S DRAGON", 10 * page + 10);
            if (f.run) {
                w.add(2, "SLAIN RUN #%d", (int)f.run);
                w.add(2, "BY A %s", class_word(f.cls));
            } else {
                w.add(1, "NOT YET SLAIN");
            }
            break;
        }
        case 2: {
            w.add(2, "HEAT %d", page);
            w.add(1, "%s", page == 0 ? "NO HEAT" : heat_label());
            const ProfileFirst& dragon = profile.first_dragon_heat[page];
            if (dragon.run) w.add(2, "DRAGON: RUN #%d", (int)dragon.run);
            else w.add(1, "DRAGON: -");
            const ProfileFirst& won = profile.first_win_heat[page];
            if (won.run) w.add(2, "WON: RUN #%d, %s", (int)won.run, class_word(won.cls));
            else w.add(1, "WON: -");
            break;
        }
        default:
            if (profile.deepest_run) {
                w.add(2, "FLOOR %d", (int)profile.deepest_floor);
                w.add(2, "RUN #%d, A %s", (int)profile.deepest_run, class_word(profile.deepest_class));
            } else {
                w.add(1, "NO RUNS YET");
            }
            if (!lit) w.add(1, "LIT PAST FLOOR 10");
            break;
    }
}

void card_cases(CardWriter& w, int page) {
    int32_t colours[UNLOCK_CASE_ROWS];
    unlock_case_colors(colours);
    int owned = 0;
    for (int i = 0; i < UNLOCK_CASE_ROWS; i++) owned += case_color_locked(colours[i]) ? 0 : 1;
    w.add(3, "THE CASES  %d OWNED", owned);
    const int c = colours[page];
    const bool worn = settings.case_color == c;
    w.add(worn ? 3 : 2, "%s", case_color_unlock_name(c));
    if (worn) w.add(2, "WORN");
    else if (case_color_locked(c)) w.add(1, "LOCKED: %d SOULS", case_color_unlock_cost(c));
    else w.add(2, "{A}: WEAR IT");
}

// The pages of the object on (x, y).
int object_pages(int x, int y) {
    if (!in_map(x, y) || shrine.index[y][x] < 0) return 0;
    const int i = shrine.index[y][x];
    switch (gmap[y][x]) {
        case GLYPH_PEDESTAL: return PEDESTAL_PAGES[i & 1];
        case GLYPH_BONE_WALL: return BONE_WALL_PAGES;
        case GLYPH_BRAZIER: return i == 1 ? STRETCH_PAGES : i == 2 ? HEAT_PAGES : 1;
        case GLYPH_CASE_SHELF: return UNLOCK_CASE_ROWS;
        case GLYPH_STATUE: return 1;
        default: return 0;
    }
}

int case_page_of_setting() {
    int32_t colours[UNLOCK_CASE_ROWS];
    unlock_case_colors(colours);
    for (int i = 0; i < UNLOCK_CASE_ROWS; i++)
        if (colours[i] == settings.case_color) return i;
    return 0;
}

void show_case_page(int page) {
    int32_t colours[UNLOCK_CASE_ROWS];
    unlock_case_colors(colours);
    platform_preview_look(colours[page], settings.palette);
}

// UP and DOWN on a card: the page whose place on the face lies nearest above or below.
int nearest_page(int x, int y, int pages, bool up) {
    float cu, cv;
    if (!shrine_object_rect(x, y, shrine.page, &cu, &cv)) return -1;
    int best = -1;
    float best_dv = 0, best_dh = 0;
    for (int p = 0; p < pages; p++) {
        float u, v;
        if (p == shrine.page || !shrine_object_rect(x, y, p, &u, &v)) continue;
        const float dv = up ? v - cv : cv - v;
        if (dv < 0.05f) continue;
        const float dh = std::fabs(u - cu);
        if (best < 0 || dv < best_dv - 0.01f || (std::fabs(dv - best_dv) <= 0.01f && dh < best_dh)) {
            best = p;
            best_dv = dv;
            best_dh = dh;
        }
    }
    return best;
}

void close_card() {
    int x, y;
    faced_cell(&x, &y);
    if (in_map(x, y) && gmap[y][x] == GLYPH_CASE_SHELF) platform_preview_look(settings.case_color, settings.palette);
    shrine.mode = 0;
    play_sfx(SFX_BACK);
}

void update_card(uint8_t presses) {
    int x, y;
    faced_cell(&x, &y);
    const int pages = object_pages(x, y);
    if (pages <= 0) {
        shrine.mode = 0;
        return;
    }
    const bool shelf = gmap[y][x] == GLYPH_CASE_SHELF;
    if ((presses & (BTN_LEFT | BTN_RIGHT)) && pages > 1) {
        shrine.page = (shrine.page + ((presses & BTN_LEFT) ? pages - 1 : 1)) % pages;
        play_sfx(SFX_MOVE);
        if (shelf) show_case_page(shrine.page);
    }
    if (presses & (BTN_UP | BTN_DOWN)) {
        const int p = nearest_page(x, y, pages, (presses & BTN_UP) != 0);
        if (p >= 0) {
            shrine.page = p;
            play_sfx(SFX_MOVE);
        }
    }
    if ((presses & BTN_A) && shelf) {
        int32_t colours[UNLOCK_CASE_ROWS];
        unlock_case_colors(colours);
        const int c = colours[shrine.page];
        if (case_color_locked(c)) {
            play_sfx(SFX_DENY);
        } else {
            settings.case_color = c;
            settings_clamp();
            settings_save();
            play_sfx(SFX_CONFIRM);
        }
        return;
    }
    if (presses & (BTN_A | BTN_B | BTN_START | BTN_SELECT)) close_card();
}

void buy_at_fire(int u) {
    const int result = upgrade_buy(u);
    if (result > 0) {
        banner_show("IT BURNS BRIGHTER!", FIRE_BANNER_TICKS);
        play_sfx(SFX_REWARD);
        platform_counter_bump(COUNTER_UPGRADE_BOUGHT);
        shrine.bought_upgrade = u;
        shrine.bought_tick = frame_counter;
        shrine.drone_low_ticks = DRONE_LOW_TICKS;
    } else {
        banner_show(result == 0 ? "FULLY LIT" : "NOT ENOUGH SOULS", FIRE_BANNER_TICKS);
        play_sfx(SFX_DENY);
    }
}

// The ambience: higher while few ranks are bought, low for a moment after a purchase.
void hold_drone() {
    int bought = 0, total = 0;
    for (int u = 0; u < UPGRADE_COUNT; u++) {
        bought += upgrade_rank(u);
        total += upgrade_max_rank(u);
    }
    const float share = total > 0 ? (float)bought / (float)total : 0.0f;
    int setting = (int)std::lround((float)DRONE_HIGH - (float)DRONE_SPAN * share);
    if (shrine.drone_low_ticks > 0) {
        shrine.drone_low_ticks--;
        setting = DRONE_LOW;
    }
    audio_hold_drone(setting);
}

}  // namespace

void shrine_enter() {
    shrine = Shrine{};
    shrine.active = 1;
    shrine.fire_x = shrine.fire_y = -1;
    shrine.bought_upgrade = -1;
    monsters_clear();
    floor_items_clear();
    current_floor = 0;
    int statues = 0, braziers = 0, pedestals = 0;
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++) {
            char g = LAYOUT[y][x];
            shrine.index[y][x] = -1;
            if (g == GLYPH_START) {
                player.x = x;
                player.y = y;
                g = GLYPH_FLOOR;
            }
            gmap[y][x] = g;
            explored[y][x] = 1;
            switch (g) {
                case GLYPH_STATUE:
                    shrine.index[y][x] = (int8_t)(statues < CLASS_COUNT ? statues : -1);
                    statues++;
                    break;
                case GLYPH_BRAZIER: shrine.index[y][x] = (int8_t)braziers++; break;
                case GLYPH_PEDESTAL: shrine.index[y][x] = (int8_t)pedestals++; break;
                case GLYPH_BONE_WALL:
                case GLYPH_CASE_SHELF: shrine.index[y][x] = 0; break;
                case GLYPH_SOUL_FIRE:
                    if (shrine.fire_x < 0) {
                        shrine.fire_x = x;
                        shrine.fire_y = y;
                    }
                    break;
                default: break;
            }
        }
    player.facing = 0;
    player_view_sync();

    uint32_t reached = 0;
    for (int m = 0; m < SHRINE_MILESTONES; m++)
        if (milestone_done(m) && !(profile.milestones & (1u << m))) reached |= 1u << m;
    if (reached) {
        for (int m = 0; m < SHRINE_MILESTONES; m++)
            if (reached & (1u << m)) {
                banner_show(MILESTONE_BANNERS[m], MILESTONE_BANNER_TICKS);
                break;
            }
        if (rumble_enabled()) rumble_add(0.7f, 0.5f, 300);
        profile.milestones |= reached;
        profile_save();
    }
    game_state = STATE_SHRINE;
    play_sfx(SFX_CONFIRM);
}

bool shrine_active() { return shrine.active != 0; }

void update_shrine(uint8_t presses) {
    hold_drone();
    fxfield_update(FIRE_FIELD_SLOT, FIRE_FIELD_W, FIRE_FIELD_H);
    if (shrine.banner_timer > 0) shrine.banner_timer--;
    if (shrine.mode == 1) {
        update_card(presses);
        return;
    }
    if (presses & (BTN_B | BTN_START)) {
        shrine.active = 0;
        shrine.mode = 0;
        play_sfx(SFX_BACK);
        game_state = STATE_TITLE;
        return;
    }
    if (presses & (BTN_LEFT | BTN_RIGHT)) {
        const bool left = (presses & BTN_LEFT) != 0;
        player.facing = (player.facing + (left ? 3 : 1)) & 3;
        view_pos.angle_target += left ? -VIEW_QUARTER_TURN : VIEW_QUARTER_TURN;
        play_sfx(SFX_SWISH);
    } else if (presses & (BTN_UP | BTN_DOWN)) {
        const int way = (presses & BTN_UP) ? 1 : -1;
        const int f = player.facing & 3;
        const int x = player.x + way * DX[f], y = player.y + way * DY[f];
        if (in_map(x, y) && !glyph_blocks(gmap[y][x]) && !step_refused(gmap[y][x])) {
            player.x = x;
            player.y = y;
            play_sfx(SFX_STEP);
        } else {
            play_sfx(SFX_HIT);
        }
    }
    if (!(presses & BTN_A)) return;
    int x, y;
    faced_cell(&x, &y);
    if (!in_map(x, y)) return;
    const int g = gmap[y][x];
    if (is_fire_glyph(g) && shrine.index[y][x] < 0) {
        const int u = shrine_fire_choice();
        if (u >= 0) buy_at_fire(u);
    } else if (shrine.index[y][x] >= 0 && (g == GLYPH_PEDESTAL || g == GLYPH_BONE_WALL || g == GLYPH_BRAZIER ||
                                           g == GLYPH_STATUE || g == GLYPH_CASE_SHELF)) {
        shrine.mode = 1;
        shrine.page = g == GLYPH_CASE_SHELF ? case_page_of_setting() : 0;
        play_sfx(SFX_CONFIRM);
    }
}

int shrine_tile_index(int x, int y) { return in_map(x, y) ? shrine.index[y][x] : -1; }

int shrine_statue_at(int x, int y) {
    if (!in_map(x, y) || gmap[y][x] != GLYPH_STATUE) return -1;
    return shrine.index[y][x];
}

int shrine_pedestal_item(int x, int y, int c) {
    if (!in_map(x, y) || c < 0 || c > 3 || gmap[y][x] != GLYPH_PEDESTAL || shrine.index[y][x] < 0) return 0;
    return PEDESTAL_ITEMS[shrine.index[y][x] & 1][c];
}

bool shrine_brazier_lit_index(int b) {
    switch (b) {
        case 0: return profile.first_win.run != 0 || profile.runs_won > 0;
        case 1: return profile.first_dragon_stretch[0].run != 0;
        case 2:
            for (int h = 1; h < PROFILE_HEATS; h++)
                if (profile.first_dragon_heat[h].run || profile.first_win_heat[h].run) return true;
            return false;
        case 3: return profile.deepest_floor > 9;
        default: return false;
    }
}

bool shrine_brazier_lit(int x, int y) {
    if (!in_map(x, y) || gmap[y][x] != GLYPH_BRAZIER) return false;
    return shrine_brazier_lit_index(shrine.index[y][x]);
}

bool milestone_done(int m) {
    switch (m) {
        case 0: return !class_locked(CLASS_BRUTE);
        case 1:
            for (int id : MILESTONE_WEAPONS)
                if (profile.items[id].first_run == 0) return false;
            return true;
        case 2: return (profile.met & CODEX_ALL_KINDS) == CODEX_ALL_KINDS;
        case 3:
            for (int b = 0; b < SHRINE_BRAZIERS; b++)
                if (!shrine_brazier_lit_index(b)) return false;
            return true;
        default: return false;
    }
}

const char* shrine_object_name() {
    int x, y;
    faced_cell(&x, &y);
    if (!in_map(x, y)) return nullptr;
    const int i = shrine.index[y][x];
    switch (gmap[y][x]) {
        case GLYPH_BONE_WALL: return "THE BONE WALL";
        case GLYPH_BRAZIER: return i >= 0 && i < SHRINE_BRAZIERS ? BRAZIER_NAMES[i] : nullptr;
        case GLYPH_STATUE:
            if (i < 0) return nullptr;
            return class_locked(i) ? "A SHROUDED STATUE" : class_info(i).name;
        case GLYPH_CASE_SHELF: return "THE CASES";
        case GLYPH_PEDESTAL: return i < 0 ? nullptr : (i & 1) ? "THE ARMORY" : "THE BLADES";
        default: return nullptr;
    }
}

bool shrine_inspect_card(ShrineCard* card) {
    *card = ShrineCard{};
    int x, y;
    faced_cell(&x, &y);
    const int pages = object_pages(x, y);
    if (pages <= 0) return false;
    if (shrine.page < 0 || shrine.page >= pages) shrine.page = 0;
    card->page = shrine.page;
    card->pages = pages;
    const int i = shrine.index[y][x];
    const int g = gmap[y][x];
    card->pinned = g != GLYPH_STATUE;
    CardWriter w{card};
    switch (g) {
        case GLYPH_PEDESTAL: card_pedestal(w, i, shrine.page); break;
        case GLYPH_BONE_WALL: card_bones(w, shrine.page); break;
        case GLYPH_STATUE: card_statue(w, i); break;
        case GLYPH_BRAZIER: card_brazier(w, i, shrine.page); break;
        case GLYPH_CASE_SHELF: card_cases(w, shrine.page); break;
        default: return false;
    }
    return true;
}

int inspect_card_height(const ShrineCard& card) { return (card.count + (card.pages > 1 ? 1 : 0)) * 9 + 6; }

int shrine_dir_to_fire() {
    if (shrine.fire_x < 0) return -1;
    const int dx = player.x - shrine.fire_x, dy = player.y - shrine.fire_y;
    if (std::abs(dx) > std::abs(dy)) return dx < 0 ? 3 : 1;  // the player stands west or east
    return dy < 0 ? 0 : 2;                                   // north or south
}

int shrine_fire_choice() {
    int x, y;
    faced_cell(&x, &y);
    if (!in_map(x, y) || !is_fire_glyph(gmap[y][x]) || shrine.index[y][x] >= 0) return -1;
    switch (shrine_dir_to_fire()) {
        case 3: return UPGRADE_VITALITY;
        case 1: return UPGRADE_FORAGER;
        case 0: return UPGRADE_EMBERS;
        default: return -1;
    }
}

bool shrine_object_rect(int x, int y, int page, float* u, float* v) {
    if (!in_map(x, y) || shrine.index[y][x] < 0) return false;
    DecalRect r;
    const int g = gmap[y][x];
    const int variant = g == GLYPH_PEDESTAL ? (shrine.index[y][x] & 1) : 0;
    if (!decal_atlas_rect(g, variant, g == GLYPH_PEDESTAL || g == GLYPH_BONE_WALL ? page : 0, &r)) return false;
    *u = r.u;
    *v = r.v;
    return true;
}

int32_t shrine_bought_upgrade() { return shrine.bought_upgrade; }
int32_t shrine_bought_tick() { return shrine.bought_tick; }
