// The screens that close a run (death with its replay, escape), the end-of-demo screen and the
// splash logo. Called by the draw pass.
#include <algorithm>
#include <bit>
#include <cstdio>

#include "combat/combat.h"
#include "combat/status.h"
#include "dungeon/monsters.h"
#include "profile/profile.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/fxfield.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "screens/run_end.h"
#include "screens/screens.h"
#include "screens/unlocks_list.h"
#include "services/services.h"
#include "world/player.h"

uint8_t run_end_new_best = 0;
int32_t run_end_best_floor = 0;

namespace {

constexpr int TEXT_BYTES = 128;
constexpr int PORTRAIT_BOX = 22;  // the killer's picture fits in this square
constexpr int NEW_BEST_BLINK = 15;
constexpr int HINT_BLINK = 20;
constexpr int WISHLIST_BLINK = 20;
constexpr int PRESS_A_BLINK = 18;
constexpr int REVEAL_ALL = 1 << 30;
constexpr int UPGRADE_COUNT = 3;
constexpr const char* ROMAN[5] = {"I", "II", "III", "IV", "V"};

// What every layout step below reads: the view corners, its width less one and the landscape flag.
struct Frame {
    int x0, y0, x1, y1, w, L;
};
Frame frame_now() {
    const ScreenRect& v = screen_layout.view;
    return Frame{v.x0, v.y0, v.x1, v.y1, v.x1 - v.x0, screen_layout.landscape ? 1 : 0};
}

int centred_x(const Frame& f, const char* text) { return f.x0 + (f.w + 1 - text_width(text)) / 2; }
void text_centred(const Frame& f, int y, const char* text, int colour) { text_draw(centred_x(f, text), y, text, colour); }
void text_right(int right, int y, const char* text, int colour) { text_draw(right - text_width(text), y, text, colour); }
void outlined_centred(const Frame& f, int y, const char* text, int colour) {
    draw_text_outlined(centred_x(f, text), y, text, colour);
}
bool blink_odd(int n) { return (frame_counter / n) & 1; }

void draw_double_frame(const Frame& f) {
    screen_rect(f.x0 + 2, f.y0 + 2, f.w - 3, (f.y1 - f.y0) - 3, 2);
    screen_rect(f.x0 + 4, f.y0 + 4, f.w - 7, (f.y1 - f.y0) - 7, 2);
}

// The killer's picture fitted into the portrait frame, over a dark outline.
void draw_killer(const Frame& f, int t) {
    const uint32_t kind = killer_type;
    const Image* img = (kind >= 1 && kind < (uint32_t)M_COUNT) ? monster_sprite((int32_t)kind) : nullptr;
    if (!img || img->w < 1 || img->h < 1) return;
    const int d = std::max(1, (int)img->density);
    const float wide = (float)std::max(1, img->w / d), high = (float)std::max(1, img->h / d);
    const float scale = std::min(1.0f, std::min((float)PORTRAIT_BOX / wide, (float)PORTRAIT_BOX / high));
    static const int OUTLINE[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& o : OUTLINE) {
        screen_set_offset(o[0], o[1], 0);
        sprite_draw_at_scale(img, f.x0 + 25, t + 38, scale);
    }
    screen_set_offset(0, 0, -1);
    sprite_draw_at_scale(img, f.x0 + 25, t + 38, scale);
}

// How the fatal fight went, in full or in the brief form for a narrow view.
void format_cause(char* out, size_t size, const DeathNumbers& death, bool brief) {
    const int secs = (int)(((int64_t)death.fight_ms + 500) / 1000);
    if (death.hurt_reason == HURT_STATUS)
        std::snprintf(out, size, brief ? "%s" : "%s FINISHED IT", STATUS_TICK[std::clamp(death.status, 0, ST_COUNT - 1)].name);
    else if (death.hits_taken >= 2)
        std::snprintf(out, size, brief ? "%d HITS, %d SEC" : "%d HITS IN %d SECONDS", death.hits_taken, secs);
    else
        std::snprintf(out, size, brief ? "ONE HIT, %d SEC" : "ONE HIT, %d SECONDS IN", secs);
}

// The death screen's body; returns where it ends.
int draw_death_body(const Frame& f) {
    const int t = f.y0 + (f.L ? 8 : 14);
    text_centred(f, t, "THIS IS HOW YOU DIED", 3);
    screen_hline(f.x0 + 12, t + 10, f.w - 23, 1);
    screen_rect(f.x0 + 12, t + 15, 26, 26, 1);
    draw_killer(f, t);

    char name[48], floor[24], cause[48];
    if (killer_type >= 1 && killer_type < (uint32_t)M_COUNT)
        std::snprintf(name, sizeof name, "THE %s", MONSTER_TYPES[killer_type].name);
    else
        std::snprintf(name, sizeof name, "THE DARK");
    std::snprintf(floor, sizeof floor, "FLOOR %d", current_floor + 1);
    const DeathNumbers death = combat_death_numbers();
    format_cause(cause, sizeof cause, death, false);
    if (text_width(cause) > f.w - 51) format_cause(cause, sizeof cause, death, true);
    text_draw(f.x0 + 44, t + 17, name, 2);
    text_draw(f.x0 + 44, t + 26, floor, 1);
    text_draw(f.x0 + 44, t + 35, cause, 2);

    char tip[TEXT_BYTES];
    text_expand_glyphs(death_tip(), tip, sizeof tip);
    const int h = draw_wrapped_text(f.x0 + 12, t + 50, f.w - 23, tip, REVEAL_ALL, 3, false);
    screen_rect(f.x0 + 8, t + 46, f.w - 15, h + 7, 3);
    draw_wrapped_text(f.x0 + 12, t + 50, f.w - 23, tip, REVEAL_ALL, 3, true);

    const int y = t + h + 58;
    char kills[32], souls[32];
    if (run_end_new_best == 1 && blink_odd(NEW_BEST_BLINK))
        std::snprintf(kills, sizeof kills, "NEW BEST!");
    else
        std::snprintf(kills, sizeof kills, "KILLS %d", player.kills);
    text_draw(f.x0 + 14, y, kills, run_end_new_best == 1 ? 3 : 1);
    std::snprintf(souls, sizeof souls, "SOULS +%d", run_end_souls);
    text_right(f.x1 - 13, y, souls, 3);
    if (f.L) return y + 11;
    char level[24], best[24];
    std::snprintf(level, sizeof level, "LEVEL %d", player.level);
    std::snprintf(best, sizeof best, "BEST %d", run_end_best_floor);
    text_draw(f.x0 + 14, y + 10, level, 1);
    text_right(f.x1 - 13, y + 10, best, 1);
    return y + 23;
}

// The escape screen's body; returns where it ends.
int draw_escape_body(const Frame& f) {
    const int L = f.L, step = L ? 10 : 13;
    text_centred(f, f.y0 + 20 - 10 * L, "...NOT TODAY.", 3);
    text_centred(f, f.y0 + 32 - 12 * L, "YOU ESCAPED THE VORN", 1);
    screen_hline(f.x0 + 12, f.y0 + 44 - 14 * L, f.w - 23, 1);

    char value[24];
    const auto row = [&](int y, const char* label, const char* fmt, int number, int colour) {
        text_draw(f.x0 + 20, y, label, 1);
        std::snprintf(value, sizeof value, fmt, number);
        text_right(f.x1 - 19, y, value, colour);
    };
    row(f.y0 + 54 - 18 * L, "FLOOR", "%d", current_floor + 1, 2);
    row(f.y0 + 54 - 18 * L + step, "LEVEL", "%d", player.level, 2);
    row(f.y0 + 80 - 24 * L, "KILLS", "%d", player.kills, 2);
    row(f.y0 + 80 - 24 * L + step, "SOULS", "+%d", run_end_souls, 3);
    screen_hline(f.x0 + 12, f.y0 + 108 - 30 * L, f.w - 23, 1);

    const int y = f.y0 + 116 - 33 * L;
    if (run_end_new_best == 1) {
        if (blink_odd(NEW_BEST_BLINK)) text_centred(f, y, "NEW BEST!", 3);
    } else {
        char best[32];
        std::snprintf(best, sizeof best, "BEST: FLOOR %d", run_end_best_floor);
        text_centred(f, y, best, 1);
    }
    return y + 11 + (L ? 0 : 2);
}

// The next thing the souls can buy, with its progress bar; returns the y below it.
int draw_next_goal(const Frame& f, int y) {
    int upgrade = -1;
    int32_t upgrade_cost = 0;
    for (int u = 0; u < UPGRADE_COUNT; u++) {
        const int32_t cost = upgrade_next_cost(u);
        if (cost > 0 && (upgrade < 0 || cost < upgrade_cost)) {
            upgrade = u;
            upgrade_cost = cost;
        }
    }
    const int unlock = unlock_next_goal();
    const bool show_unlock = unlock >= 0 && (upgrade < 0 || unlock_price(unlock) < upgrade_cost);
    if (!show_unlock && upgrade < 0) return y;

    char label[28];
    int32_t goal;
    if (show_unlock) {
        std::snprintf(label, sizeof label, "%s", unlock_row_name(unlock));
        goal = unlock_price(unlock);
    } else {
        std::snprintf(label, sizeof label, "%s %s", upgrade_name(upgrade),
                      ROMAN[std::clamp(upgrade_rank(upgrade), 0, 4)]);
        goal = upgrade_cost;
    }
    const int32_t souls = profile.souls;
    const int32_t shown = std::min(souls, goal);
    const bool ready = souls >= goal;

    char counter[32], text[40];
    std::snprintf(counter, sizeof counter, "%d/%d", shown, goal);
    std::snprintf(text, sizeof text, "%s%s", ready ? "READY: " : "NEXT: ", label);
    if (text_width(text) > f.w - 43 - text_width(counter)) std::snprintf(text, sizeof text, "%s", label);
    text_draw(f.x0 + 20, y, text, ready && blink_odd(NEW_BEST_BLINK) ? 3 : 2);
    text_right(f.x1 - 19, y, counter, 1);

    screen_rect(f.x0 + 20, y + 9, f.w - 39, 4, 1);
    const int n = goal > 0 ? (int)((int64_t)(f.w - 41) * shown / goal) : f.w - 41;
    if (n > 0) screen_fill_rect(f.x0 + 21, y + 10, n, 2, ready ? 3 : 2);
    return y + (f.L ? 16 : 18);
}

// Hints, next goal and bestiary under the body that ends at body_end.
void draw_bottom_block(const Frame& f, int body_end, const char* primary_hint, bool locked, uint32_t met_at_start) {
    char primary[TEXT_BYTES], secondary[TEXT_BYTES], joined[2 * TEXT_BYTES + 4];
    text_expand_glyphs(primary_hint, primary, sizeof primary);
    text_expand_glyphs("{B}: SPEND SOULS", secondary, sizeof secondary);
    std::snprintf(joined, sizeof joined, "%s   %s", primary, secondary);
    const int b = f.L ? f.y1 - 16 : f.y1 - 26;
    const bool two_lines = text_width(joined) > f.w - 7;
    const int limit = two_lines ? b - 12 : b - 2;

    int y = body_end;
    if (y + 16 <= limit) y = draw_next_goal(f, y);
    const int met = std::popcount(profile_monsters_met() & ~met_at_start);
    if (met > 0 && y + 7 <= limit) {
        char line[32];
        std::snprintf(line, sizeof line, "+%d IN THE BESTIARY", met);
        text_centred(f, y, line, 2);
    }
    if (locked || blink_odd(HINT_BLINK)) return;
    if (two_lines) {
        text_centred(f, b - 9, primary, 2);
        text_centred(f, b + 1, secondary, 2);
    } else {
        text_centred(f, b + 1, joined, 2);
    }
}

}  // namespace

void draw_run_end(uint8_t escaped, bool input_locked, uint32_t met_at_start) {
    if (!escaped && screen_snapshot_get()) {
        death_replay_draw(screen_snapshot_age());
        return;
    }
    const Frame f = frame_now();
    draw_double_frame(f);
    const int body_end = escaped ? draw_escape_body(f) : draw_death_body(f);
    draw_bottom_block(f, body_end, escaped ? "{A}: NEW RUN" : "{A}: RETRY", input_locked, met_at_start);
}

void draw_demo_end(bool input_locked) {
    const Frame f = frame_now();
    const int L = f.L, step = L ? 10 : 13;
    fxfield_draw(0, f.x0 + 5, f.y0 + 5);
    draw_double_frame(f);
    outlined_centred(f, f.y0 + 20 - 10 * L, "THANKS FOR PLAYING", 3);
    const char* name = text_width("QUILLMARCH: THE DEMO") > f.w - 11 ? "QUILLMARCH DEMO" : "QUILLMARCH: THE DEMO";
    outlined_centred(f, f.y0 + 36 - 14 * L, name, 1);
    const int y = f.y0 + 58 - 22 * L;
    outlined_centred(f, y, "THE FULL GAME:", 1);
    outlined_centred(f, y + step, "4 CLASSES", 2);
    outlined_centred(f, y + 2 * step, "50+ BOONS", 2);
    outlined_centred(f, y + 3 * step, "ENDLESS FLOORS", 2);
    outlined_centred(f, f.y0 + 110 - 34 * L, "36 ACHIEVEMENTS", 2);
    if (input_locked) return;

    char wishlist[TEXT_BYTES], next[TEXT_BYTES];
    text_expand_glyphs("{A}: WISHLIST ON STEAM", wishlist, sizeof wishlist);
    if (text_width(wishlist) > f.w - 11) text_expand_glyphs("{A}: WISHLIST", wishlist, sizeof wishlist);
    text_expand_glyphs("{B}: CONTINUE", next, sizeof next);
    const int hy = f.y1 - 33 + 10 * L;
    if (!blink_odd(WISHLIST_BLINK)) outlined_centred(f, hy, wishlist, 3);
    outlined_centred(f, hy + 11, next, 2);
}

void draw_splash() {
    const Frame f = frame_now();
    const SpriteEntry* logo = sprite_find(f.L ? "splash_logo" : "splash_logo_portrait");
    const Image* img = logo ? sprite_entry_image(logo, frame_counter) : nullptr;
    const int centre = f.x0 + (f.w + 1) / 2;
    if (img) sprite_draw(img, centre, f.y1, 1);
    if (f.L || blink_odd(PRESS_A_BLINK)) return;
    char press[TEXT_BYTES];
    text_expand_glyphs("PRESS {A}", press, sizeof press);
    text_draw(centre - text_width(press) / 2, f.y1 - 9, press, 1);
}
