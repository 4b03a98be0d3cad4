// The lifetime statistics screen: twenty rows read from the profile and the best floor, in one
// column in portrait and two in landscape. Called by the draw pass in the stats state.
#include "screens/stats.h"

#include <cstdio>
#include <cstring>

#include "classes/classes.h"
#include "dungeon/monsters.h"
#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/front_end.h"
#include "screens/screens.h"
#include "screens/unlocks_list.h"
#include "services/button_names.h"

const char* const STATS_LABELS[STATS_ROWS] = {
    "BEST FLOOR",    "RUNS",          "ESCAPES",     "DEATHS",       "DRAGONS SLAIN",
    "MONSTERS SLAIN", "FLOORS CLIMBED", "HIGHEST LEVEL", "MOST KILLS",  "SOULS EARNED",
    "SOULS SPENT",   "GOLD EARNED",   "POTIONS DRANK", "SECRETS FOUND", "TIME PLAYED",
    "UNLOCKS",       "BEST FLOW",     "FAVORITE CLASS", "SLAIN MOST",  "SLAIN MOST BY",
};
const char* const STATS_LABELS_SHORT[STATS_SHORT_ROWS] = {
    "RUNS", "ESCAPES", "DEATHS", "DRAGONS", "SLAIN", "FLOORS", "TOP LEVEL", "TOP KILLS",
    "SOULS", "SPENT", "GOLD", "POTIONS", "SECRETS", "TIME", "UNLOCKS", "TOP FLOW",
};
const char* const STATS_LABELS_TINY[STATS_SHORT_ROWS] = {
    "RUNS", "WINS", "DEATHS", "DRAGONS", "SLAIN", "FLOORS", "LEVEL", "KILLS",
    "SOULS", "SPENT", "GOLD", "POTIONS", "SECRETS", "TIME", "UNLOCKS", "FLOW",
};

namespace {

constexpr int SECONDS_HOUR = 3600;
constexpr int SECONDS_HOURS_ONLY = 360000;  // from 100 hours on, minutes are left out
constexpr int ROW_STEP_MAX = 11;

// The monster kind (1..8) with the largest count above 0, ties to the lower kind; 0 for none.
int most_of(const int32_t counts[PROFILE_KIND_SLOTS]) {
    int best = 0;
    for (int k = 1; k < PROFILE_KIND_SLOTS && k < M_COUNT; k++)
        if (counts[k] > 0 && (best == 0 || counts[k] > counts[best])) best = k;
    return best;
}

void number(char out[STATS_VALUE_BYTES], long long v) { std::snprintf(out, STATS_VALUE_BYTES, "%lld", v); }

void right_text(int right, int y, const char* text, int colour) {
    text_draw(right - text_width(text), y, text, colour);
}

}  // namespace

void stats_time_text(int s, char out[STATS_VALUE_BYTES]) {
    if (s < 0) s = 0;
    if (s < SECONDS_HOUR) std::snprintf(out, STATS_VALUE_BYTES, "%dM", s / 60);
    else if (s < SECONDS_HOURS_ONLY) std::snprintf(out, STATS_VALUE_BYTES, "%dH %02dM", s / 3600, s / 60 % 60);
    else std::snprintf(out, STATS_VALUE_BYTES, "%dH", s / 3600);
}

void stats_value(int row, char out[STATS_VALUE_BYTES]) {
    const Profile& p = profile;
    out[0] = 0;
    switch (row) {
    case STATS_BEST_FLOOR: number(out, best_floor_load()); break;
    case STATS_RUNS: number(out, p.runs); break;
    case STATS_ESCAPES: number(out, p.runs_won); break;
    case STATS_DEATHS: number(out, p.runs_lost); break;
    case STATS_DRAGONS: number(out, p.slain[M_DRAGON]); break;
    case STATS_MONSTERS: {
        long long sum = 0;
        for (int k = 1; k < PROFILE_KIND_SLOTS; k++) sum += p.slain[k];
        number(out, sum);
        break;
    }
    case STATS_FLOORS: number(out, p.floors_reached); break;
    case STATS_LEVEL: number(out, p.best_level); break;
    case STATS_MOST_KILLS: number(out, p.most_kills); break;
    case STATS_SOULS_EARNED: number(out, p.souls_earned); break;
    case STATS_SOULS_SPENT: number(out, p.souls_spent); break;
    case STATS_GOLD: number(out, p.gold_gained); break;
    // The profile keeps no count of potions drunk: shown as not recorded rather than a made-up 0.
    case STATS_POTIONS: std::snprintf(out, STATS_VALUE_BYTES, "-"); break;
    case STATS_SECRETS: number(out, p.secrets); break;
    case STATS_TIME: stats_time_text(p.seconds, out); break;
    case STATS_UNLOCKS: {
        int owned = 0, total = 0;
        unlocks_owned_count(&owned, &total);
        std::snprintf(out, STATS_VALUE_BYTES, "%d/%d", owned, total);
        break;
    }
    case STATS_BEST_FLOW: number(out, p.best_combo); break;
    case STATS_FAVORITE_CLASS: {
        const int32_t knight = p.class_runs[CLASS_KNIGHT], brute = p.class_runs[CLASS_BRUTE];
        if (knight <= 0 && brute <= 0) std::snprintf(out, STATS_VALUE_BYTES, "-");
        else std::snprintf(out, STATS_VALUE_BYTES, "%s", class_info(brute > knight || knight <= 0 ? CLASS_BRUTE : CLASS_KNIGHT).name);
        break;
    }
    case STATS_SLAIN_MOST:
    case STATS_SLAIN_MOST_BY: {
        const int k = most_of(row == STATS_SLAIN_MOST ? p.slain : p.killed_by);
        std::snprintf(out, STATS_VALUE_BYTES, "%s", k ? MONSTER_TYPES[k].name : "-");
        break;
    }
    default: break;
    }
}

void draw_stats() {
    const ScreenRect& v = screen_layout.view;
    const int x0 = v.x0, y0 = v.y0, x1 = v.x1, y1 = v.y1, w = x1 - x0, h = y1 - y0;
    screen_rect(x0 + 2, y0 + 2, w - 3, h - 3, 2);
    screen_rect(x0 + 4, y0 + 4, w - 7, h - 7, 2);
    text_draw(x0 + (w - text_width("STATS") + 1) / 2, y0 + 9, "STATS", 3);
    char value[STATS_VALUE_BYTES];
    char back[128];
    text_expand_glyphs("{B}: BACK", back, sizeof back);

    if (!screen_layout.landscape) {
        stats_value(STATS_BEST_FLOOR, value);
        text_draw(x0 + 10, y0 + 20, STATS_LABELS[STATS_BEST_FLOOR], 3);
        right_text(x1 - 9, y0 + 20, value, 3);
        int p = (h - 23) / STATS_ROWS;
        if (p > ROW_STEP_MAX) p = ROW_STEP_MAX;
        for (int r = 1; r < STATS_ROWS; r++) {
            const int y = y0 + 20 + p * r;
            stats_value(r, value);
            text_draw(x0 + 10, y, STATS_LABELS[r], 2);
            right_text(x1 - 9, y, value, 2);
        }
        // One row above the inner frame's bottom line, with a dark row between.
        if (y0 + 20 * p + 32 <= y1 - 3) text_draw(x0 + (w - text_width(back) + 1) / 2, y1 - 12, back, 1);
        return;
    }

    const int c = (w - 31) / 2;
    stats_value(STATS_BEST_FLOOR, value);
    const char* first = STATS_LABELS[STATS_BEST_FLOOR];
    if (c < text_width(first) + text_width(value) + 4) first = "FLOOR";
    text_draw(x0 + 10, y0 + 21, first, 3);
    right_text(x0 + 10 + c, y0 + 21, value, 3);
    for (int r = 1; r <= STATS_SHORT_ROWS; r++) {
        stats_value(r, value);
        const char* label = STATS_LABELS_SHORT[r - 1];
        if (c < text_width(label) + text_width(value) + 4) label = STATS_LABELS_TINY[r - 1];
        // Still crowded ("UNLOCKS" with 10 or more owned): the count alone, without its total.
        char* total = std::strchr(value, '/');
        if (total && c < text_width(label) + text_width(value) + 4) *total = '\0';
        const int left = r <= 8 ? x0 + 10 : x0 + 22 + c;
        const int y = r <= 8 ? y0 + 21 + 9 * r : y0 + 21 + 9 * (r - 9);
        text_draw(left, y, label, 2);
        right_text(left + c, y, value, 2);
    }
    static constexpr int WIDE_ROW_Y[3] = {104, 113, 122};
    for (int r = STATS_FAVORITE_CLASS; r < STATS_ROWS; r++) {
        stats_value(r, value);
        const int y = y0 + WIDE_ROW_Y[r - STATS_FAVORITE_CLASS];
        text_draw(x0 + 10, y, STATS_LABELS[r], 2);
        right_text(x1 - 9, y, value, 2);
    }
    const int s = w - (text_width("STATS") + w + 1) / 2 - 17;
    const char* fitted = text_fit(back, s);
    if (text_width(fitted) <= s) right_text(x1 - 9, y0 + 9, fitted, 1);
}
