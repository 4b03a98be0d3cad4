// The classic fight view of the turn-menu fight (names and health, the monster, its intent, the
// outcome panel, the action and item grids, popups) and the death screen's lesson line. The draw
// pass calls draw_fight in STATE_COMBAT; a real-time fight is handed to draw_fight_reflex.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "combat/combat.h"
#include "combat/combat_queue.h"
#include "combat/duel.h"
#include "combat/fight_peek.h"
#include "combat/status.h"
#include "combat/turn_fight.h"
#include "dungeon/monster_moves.h"
#include "dungeon/monsters.h"
#include "items/bag.h"
#include "items/item.h"
#include "items/potion.h"
#include "profile/profile.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/icons.h"
#include "render/particles.h"
#include "render/pictures.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "screens/hud.h"
#include "screens/screens.h"
#include "telemetry/perf.h"
#include "world/player.h"

namespace {

// Where the classic view stands its monster (draw_monster_primitive's anchor, from the view's left
// and top corner): centred in the space above the intent line.
constexpr int MONSTER_X_LANDSCAPE = 37, MONSTER_Y_LANDSCAPE = 68;
constexpr int MONSTER_X_PORTRAIT = 56, MONSTER_Y_PORTRAIT = 54;
// The dragon's box (left, top, width, height from the view's corner), 3 : 2 so its 3 x 2 picture fits.
constexpr int DRAGON_BOX_LANDSCAPE[4] = {7, 26, 90, 60};
constexpr int DRAGON_BOX_PORTRAIT[4] = {14, 24, 114, 76};
constexpr int DRAGON_DROP_PORTRAIT = 28;  // portrait moves the panels down to make room for it

constexpr int BUTTON_COLUMN = 67;  // landscape: the divider stands this far left of the view's right edge
constexpr int HIT_REGION_ACTION = 3, HIT_REGION_ITEM = 4;
constexpr int CELL_GAP = 3;
constexpr int TALL_CELL = 30;        // action cells this high show the icon at scale 2
constexpr int TALL_LABEL_DROP = 21;  // ... with the label this far below the icon's top
constexpr int TALL_ITEM_CELL = 26;   // item cells this high may show the picture at scale 2
constexpr int ITEM_PIC_W = 8, ITEM_PIC_H = 12;  // an item picture's box at scale 1
constexpr int INFO_LINES = 3, INFO_STEP = 9, INFO_BYTES = 48;
constexpr int HEADER_KEEP_ROWS = 33;  // the header box and the status tags under it
constexpr int INTENT_BLINK = 16;
constexpr int POPUP_RISE_TICKS = 5;  // a popup moves a pixel every this many ticks
constexpr int POPUP_DIM_TICKS = 15;
constexpr int HEAL_GLOW_FROM = 40;   // the heal popup's first ticks outline the player's bar
constexpr int HURT_FLASH_TICKS = 6;  // the view is framed for these first ticks of a hurt
constexpr int DEATH_TIP_BYTES = 96;

const char* const ACTION_LABELS[TURN_ACTION_COUNT] = {"ATTACK", "DEFEND", "ITEM", "RUN"};
const char* const ACTION_ICONS[TURN_ACTION_COUNT] = {"ui_attack", "ui_defend", "ui_item", "ui_run"};

const char* monster_name() {
    return MONSTER_TYPES[(combat.type > M_NONE && combat.type < M_COUNT) ? combat.type : (uint32_t)M_GOBLIN].name;
}

__attribute__((format(printf, 3, 4))) void format(char* out, size_t size, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(out, size, fmt, args);
    va_end(args);
}

bool player_to_choose() { return combat.monster_delay <= 0 && combat.victory_delay <= 0; }

int centred_x(int x, int w, const char* text) { return x + (w - text_width(text) + 1) / 2; }

// The shake: 1 pixel (2 while strong), right on odd counts, left on even.
int shake_offset() {
    const int v = combat.shake_timer;
    if (v <= 0) return 0;
    const int n = v > 6 ? 2 : 1;
    return (v & 1) ? n : -n;
}

void bar(int x, int y, int w, int value, int max, int colour) {
    screen_rect(x, y, w, 6, 2);
    const int fill = std::clamp(value, 0, std::max(max, 1)) * (w - 2) / std::max(max, 1);
    if (fill > 0) screen_fill_rect(x + 1, y + 1, fill, 4, colour);
}

void draw_header(int s) {
    const ScreenRect& v = screen_layout.view;
    const int L = v.x0, T = v.y0, W = v.x1 - v.x0;
    screen_rect(L + s, T, W + 1, 22, 2);
    const int name_colour = combat.elite ? 3 : 2;
    text_draw(L + s + 2, T + 3, monster_name(), name_colour);
    if (combat.elite) draw_crown_mark(L + s + 3 + text_width(monster_name()), T + 3);
    screen_rect(L + s + 70, T + 3, W - 73, 6, 2);
    const int mfill = std::clamp(combat.hp, 0, std::max(combat.max_hp, 1)) * (W - 75) / std::max(combat.max_hp, 1);
    if (mfill > 0) screen_fill_rect(L + s + 71, T + 4, mfill, 4, name_colour);

    text_draw(L + s + 2, T + 13, "YOU", 1);
    bar(L + s + 26, T + 13, W - 29, player.hp, player.max_hp, 3);
    if (combat.heal_timer > 0) {
        char heal[16];
        format(heal, sizeof heal, "+%d", combat.heal_shown);
        screen_fill_rect(L + s + 1, T + 12, 24, 9, 0);
        text_draw(L + s + 2, T + 13, heal, combat.heal_timer <= POPUP_DIM_TICKS ? 1 : 3);
        if (combat.heal_timer > HEAL_GLOW_FROM) screen_rect(L + s + 25, T + 12, W - 27, 8, 3);
    }
}

void draw_status_tags() {
    const ScreenRect& v = screen_layout.view;
    for (int who = 0; who < 2; who++) {
        const uint8_t* src = who == 0 ? player.status : combat.monster_status;
        const int32_t counters[ST_COUNT] = {src[0], src[1], src[2]};
        char tags[STATUS_TAGS_BYTES];
        format_status_tags(counters, tags);
        if (!tags[0]) continue;
        bool harmful = false;
        for (int i = 0; i < ST_COUNT; i++)
            if (counters[i] != 0 && STATUS_TICK[i].change < 0) harmful = true;
        // In landscape the buttons fill the right-hand column, so the monster's tags end at its divider.
        const int right = screen_layout.landscape ? v.x1 - BUTTON_COLUMN - 2 : v.x1;
        const int x = who == 0 ? v.x0 + 2 : right - text_width(tags) - 1;
        text_draw(x, v.y0 + 25, tags, harmful ? 3 : 2);
    }
}

// The monster's picture (or figure) at its place; returns its centre for the sparks and popup.
void draw_monster(int s, bool dragon_box, int* cx, int* cy) {
    const ScreenRect& v = screen_layout.view;
    const bool land = screen_layout.landscape;
    const int lunge = combat_lunge_offset();
    const Image* img = combat.type == M_DRAGON ? monster_sprite(M_DRAGON) : nullptr;
    const int* box = land ? DRAGON_BOX_LANDSCAPE : DRAGON_BOX_PORTRAIT;
    int x, y;
    float scale = 1.0f;
    if (dragon_box && img) {
        scale = std::min((float)box[2] / (float)img->w, (float)box[3] / (float)img->h);
        x = v.x0 + box[0] + box[2] / 2 + s;
        y = v.y0 + box[1] + box[3] - 1 + lunge;
        *cx = x;
        *cy = y - (int)((float)img->h * scale) / 2;
    } else {
        x = v.x0 + (land ? MONSTER_X_LANDSCAPE : MONSTER_X_PORTRAIT) + s;
        y = v.y0 + (land ? MONSTER_Y_LANDSCAPE : MONSTER_Y_PORTRAIT) + lunge;
        *cx = x + 15;
        *cy = y;
    }
    if (combat.fled) return;
    if (combat.victory_delay > 0)
        screen_set_dither(((VICTORY_DELAY_TICKS - combat.victory_delay) * 17 + 17) / VICTORY_DELAY_TICKS);
    static const int OFF[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (int p = 0; p < 5; p++) {
        screen_set_offset(p < 4 ? OFF[p][0] : 0, p < 4 ? OFF[p][1] : 0, p < 4 ? 0 : -1);
        sprite_scaled_reuse = p > 0 ? 1 : 0;
        if (dragon_box && img)
            sprite_draw_scaled(img, x, y, scale);
        else
            draw_monster_primitive((int32_t)combat.type, x, y);
    }
    sprite_scaled_reuse = 0;
    screen_set_offset(0, 0, -1);
    screen_set_dither(0);
}

// The width draw_damage_popup gives its text.
int popup_width(int kind, int value, int max_width, int* size) {
    char text[16];
    if (kind == POPUP_MISS)
        format(text, sizeof text, "MISS");
    else if (kind == POPUP_BLOCKED)
        format(text, sizeof text, "BLOCKED");
    else
        format(text, sizeof text, kind == POPUP_CRIT ? "-%d!" : "-%d", value);
    const int n = text_width(text) + 1;
    *size = kind == POPUP_CRIT && 2 * n - 2 <= max_width ? 2 : 1;
    return *size * (n - 1);
}

void draw_popups(int cx, int cy) {
    const ScreenRect& v = screen_layout.view;
    const int W = v.x1 - v.x0;
    if (combat.monster_flash_timer > 0) {
        const int t = combat.monster_flash_timer;
        int size;
        const int w = popup_width(combat.hit_popup_kind, combat.hit_popup_value, W / 2, &size);
        const int x = std::clamp(cx - w / 2, v.x0 + 3, v.x1 - w - 3);
        const int y = std::max(cy - 7 * size / 2 - (POPUP_LONG_TICKS - t) / POPUP_RISE_TICKS, v.y0 + 24);
        draw_damage_popup(x, y, combat.hit_popup_kind, combat.hit_popup_value, t, W / 2, false);
    }
    if (combat.hurt_popup_timer > 0) {
        const int t = combat.hurt_popup_timer;
        const int kind = combat.hurt_popup_kind == HURT_KIND_HURT ? POPUP_PLAIN : combat.hurt_popup_kind;
        int size;
        const int w = popup_width(kind, combat.hurt_popup_value, W / 2, &size);
        const int sink = (POPUP_LONG_TICKS - t) / POPUP_RISE_TICKS;
        if (screen_layout.landscape) {
            // At the right end of the player's bar, clear of the button labels, sinking no lower
            // than the buttons' top.
            const int below = 7 * size + (kind == POPUP_HALF ? 10 : 1);
            const int y = std::min(v.y0 + 13 + sink, v.y0 + 25 - below);
            draw_damage_popup(v.x1 - 3 - w, y, kind, combat.hurt_popup_value, t, W / 2, true);
        } else
            draw_damage_popup(v.x1 - 3 - w, v.y0 + 24 + sink, kind, combat.hurt_popup_value, t, W / 2, true);
    }
}

// A cell's frame: the cursor's doubled in colour 3, the others in 2; everything in 1 while waiting.
void cell_frame(int x, int y, int w, int h, bool cursor, bool active) {
    screen_fill_rect(x, y, w, h, 0);
    if (!active) {
        screen_rect(x, y, w, h, 1);
        return;
    }
    screen_rect(x, y, w, h, cursor ? 3 : 2);
    if (cursor) screen_rect(x + 1, y + 1, w - 2, h - 2, 3);
}

// One line of the outcome panel: the long text when it fits the width, else the short one.
struct InfoLines {
    char text[INFO_LINES][INFO_BYTES];
    int colour[INFO_LINES];
    int count;
    int width;
    void add(int c, const char* long_text, const char* short_text = nullptr) {
        if (count >= INFO_LINES) return;
        const char* t = (short_text && text_width(long_text) > width) ? short_text : long_text;
        format(text[count], INFO_BYTES, "%s", t);
        colour[count++] = c;
    }
};

void range_text(char* out, size_t size, int low, int high) {
    if (low == high)
        format(out, size, "%d", low);
    else
        format(out, size, "%d-%d", low, high);
}

void info_items(InfoLines& in) {
    int list[TURN_ITEM_MAX];
    const int n = combat_item_list(list, TURN_ITEM_MAX);
    if (n == 0) return;
    const BagEntry& e = player.bag.entries[list[std::clamp(combat.item_cursor, 0, n - 1)]];
    const uint32_t id = e.item.id;
    char a[INFO_BYTES];
    format(a, sizeof a, "%s x%d", item_def(id).name, e.count);
    in.add(3, a);
    if (item_id_is_healing(id)) {
        const int heal = potion_heal_amount((int)id, upgrade_active_rank(UPGRADE_FORAGER));
        const int missing = player.max_hp - player.hp;
        if (missing <= 0) {
            in.add(1, "YOU'RE AT FULL HP");
        } else if (heal >= missing) {
            format(a, sizeof a, "HEALS %d: TO FULL", missing);
            in.add(2, a);
        } else {
            format(a, sizeof a, "HEALS %d HP", heal);
            in.add(2, a);
        }
    } else if (id == ITEM_ANTIDOTE) {
        if (status_has(player.status, ST_POISON))
            in.add(2, "CURES YOUR POISON");
        else
            in.add(1, "YOU'RE NOT POISONED");
    } else {
        in.add(2, item_def(id).perk ? item_def(id).perk : "");
    }
    in.add(1, text_fit_hints_or("{A}: USE   {B}: BACK", "{B}: BACK", in.width));
}

void info_log(InfoLines& in) {
    for (const auto& line : combat.log)
        if (line[0]) in.add(2, line);
}

void info_attack(InfoLines& in) {
    const char* n = monster_name();
    const int head = combat_head_move();
    int32_t low, high;
    const int blows = preview_attack_damage(&low, &high);
    char a[INFO_BYTES], b[INFO_BYTES], range[24];
    range_text(range, sizeof range, low, high);
    if (blows == 0) {
        if (head == MOVE_WARD) {
            format(a, sizeof a, "THE %s'S WARD HOLDS", n);
            format(b, sizeof b, "%s WARDS: NO HIT", n);
        } else {
            format(a, sizeof a, "THE %s FLITS: A MISS", n);
            format(b, sizeof b, "%s FLITS: A MISS", n);
        }
        in.add(1, a, b);
    } else if (blows == 1 && head == MOVE_HARDEN) {
        format(a, sizeof a, "SOFT %s: HIT FOR %s", n, range);
        format(b, sizeof b, "SOFT: HIT FOR %s", range);
        in.add(3, a, b);
    } else if (blows == 1) {
        format(a, sizeof a, "HIT FOR %s", range);
        in.add(3, a);
    } else {
        format(a, sizeof a, "HIT TWICE, %s EACH", range);
        in.add(3, a);
    }
    if (blows > 0 && blows * low >= combat.hp) {
        format(a, sizeof a, "THAT KILLS THE %s", n);
        format(b, sizeof b, "KILLS THE %s", n);
        in.add(3, a, b);
    } else {
        format(a, sizeof a, "THE %s HAS %d HP", n, combat.hp);
        format(b, sizeof b, "%s HAS %d HP", n, combat.hp);
        in.add(2, a, b);
    }
    const int crit = turn_crit_chance();
    if (blows > 0 && crit > 0) {
        format(a, sizeof a, "%d%% TO CRIT FOR DOUBLE", crit);
        in.add(1, a);
    }
}

void info_defend(InfoLines& in) {
    const char* n = monster_name();
    const int head = combat_head_move();
    const MonsterMovePreview open = preview_monster_move(false);
    char a[INFO_BYTES], b[INFO_BYTES], range[24];
    if (open.blows == 0) {
        format(a, sizeof a, "THE %s WON'T HIT YOU", n);
        format(b, sizeof b, "%s WON'T HIT YOU", n);
        in.add(1, a, b);
        in.add(1, "NOTHING TO BRACE FOR");
        return;
    }
    const MonsterMovePreview guard = preview_monster_move(true);
    range_text(range, sizeof range, open.low, open.high);
    format(a, sizeof a, "THE %s HITS FOR %s", n, range);
    format(b, sizeof b, "HITS FOR %s", range);
    in.add(2, a, b);
    if (guard.shield_stops) {
        in.add(3, "DEFEND BLOCKS ALL OF IT", "BLOCKS ALL OF IT");
        in.add(1, "SHIELD TAKES THE HIT");
    } else {
        const int r = std::max(open.low - guard.low, open.high - guard.high);
        if (r < 1) {
            in.add(1, "DEFEND BLOCKS NOTHING");
        } else {
            format(a, sizeof a, "DEFEND BLOCKS UP TO %d", r);
            format(b, sizeof b, "BLOCKS UP TO %d", r);
            in.add(3, a, b);
        }
        if (guard.can_parry) in.add(1, "50% TO PARRY THE HIT");
    }
    if (head == MOVE_VENOM_BITE || head == MOVE_CUT) {
        in.add(1, "AND KEEPS THE VENOM OUT");
    } else if (head == MOVE_SPIT && shield_ready()) {
        in.add(1, "YOUR SHIELD TAKES ACID");
    } else if (head == MOVE_DRAIN) {
        format(a, sizeof a, "THE %s CAN'T DRAIN YOU", n);
        format(b, sizeof b, "%s CAN'T DRAIN YOU", n);
        in.add(1, a, b);
    } else if (evade_chance() > 0) {
        format(a, sizeof a, "%d%% TO DODGE THE %s", evade_chance(), n);
        format(b, sizeof b, "%d%% DODGE CHANCE", evade_chance());
        in.add(1, a, b);
    }
}

void info_item_action(InfoLines& in) {
    int list[TURN_ITEM_MAX];
    const int n = combat_item_list(list, TURN_ITEM_MAX);
    if (n == 0) {
        in.add(1, "NO ITEMS TO USE");
        return;
    }
    char a[INFO_BYTES];
    if (n == 1)
        format(a, sizeof a, "1 KIND OF ITEM");
    else
        format(a, sizeof a, "%d KINDS OF ITEMS", n);
    in.add(3, a);
    int best = 0;
    for (int i = 0; i < n; i++)
        best = std::max(best, potion_heal_amount((int)player.bag.entries[list[i]].item.id,
                                                 upgrade_active_rank(UPGRADE_FORAGER)));
    if (best > 0) {
        format(a, sizeof a, "BEST HEAL: %d HP", best);
        in.add(2, a);
    }
    in.add(1, "USING ONE TAKES A TURN");
}

void info_run(InfoLines& in) {
    const char* n = monster_name();
    char a[INFO_BYTES], b[INFO_BYTES];
    const int chance = flee_chance();
    if (chance >= 100) {
        in.add(3, "A SURE ESCAPE");
    } else {
        format(a, sizeof a, "%d%% TO GET AWAY", chance);
        in.add(3, a);
        format(a, sizeof a, "FAIL: THE %s HITS YOU", n);
        format(b, sizeof b, "FAIL: THE %s HITS", n);
        in.add(2, a, b);
    }
    format(a, sizeof a, "THE %s STAYS HURT", n);
    format(b, sizeof b, "%s STAYS HURT", n);
    in.add(1, a, b);
}

}  // namespace

void draw_enemy_intent(int x, int y, int w) {
    const int head = combat_head_move();
    if (head < 0 || head >= MONSTER_MOVE_COUNT) return;
    const MonsterMove& mv = MONSTER_MOVES[head];
    char line[40];
    format(line, sizeof line, "%s %s", monster_name(), mv.label);
    const bool split = text_width(line) > w;
    const int lines = split ? 2 : 1;
    const int text_colour = mv.heavy ? 0 : 2;
    if (mv.heavy) {
        const int box_colour = (frame_counter / INTENT_BLINK) % 2 == 0 ? 3 : 2;
        const int bw = split ? std::max(text_width(monster_name()), text_width(mv.label)) : text_width(line);
        screen_fill_rect(x + (w - bw + 1) / 2 - 2, y - 1, bw + 4, 9 * lines, box_colour);
    }
    if (split) {
        text_draw(centred_x(x, w, monster_name()), y, monster_name(), text_colour);
        text_draw(centred_x(x, w, mv.label), y + 9, mv.label, text_colour);
    } else {
        text_draw(centred_x(x, w, line), y, line, text_colour);
    }
}

void draw_action_grid(int x, int y, int w, int h, int columns) {
    columns = std::clamp(columns, 1, 2);
    const int rows = TURN_ACTION_COUNT / columns;
    const int cw = (w - CELL_GAP * columns + CELL_GAP) / columns;
    const int ch = (h - CELL_GAP * rows + CELL_GAP) / rows;
    const bool active = player_to_choose();
    for (int i = 0; i < TURN_ACTION_COUNT; i++) {
        const int cx = x + (i % columns) * (cw + CELL_GAP), cy = y + (i / columns) * (ch + CELL_GAP);
        hit_region_add(HIT_REGION_ACTION, i, cx, cy, cw, ch);
        const bool cursor = i == combat.action_cursor;
        cell_frame(cx, cy, cw, ch, cursor, active);
        const SpriteEntry* entry = sprite_find(ACTION_ICONS[i]);
        const Image* icon = entry ? sprite_entry_image(entry, frame_counter) : nullptr;
        const int label_colour = !active ? 1 : (cursor ? 3 : 2);
        if (ch < TALL_CELL) {
            const int iy = cy + (ch - 9) / 2;
            if (icon) draw_bitmap_icon(icon, cx + 4, iy, 1, active ? 0 : 1);
            text_draw(cx + 16, cy + (ch - 7) / 2, ACTION_LABELS[i], label_colour);
        } else {
            const int top = cy + (ch - TALL_LABEL_DROP - FONT_CELL_H + 1) / 2;
            if (icon) draw_bitmap_icon(icon, cx + (cw - 18) / 2, top, 2, active ? 0 : 1);
            text_draw(centred_x(cx, cw, ACTION_LABELS[i]), top + TALL_LABEL_DROP, ACTION_LABELS[i], label_colour);
            // Each row of labels is kept from the border: the lower one sits on the view's bottom edge.
            if (i % columns == 0) status_border_keep(x, top + TALL_LABEL_DROP - 1, w, FONT_CELL_H + 1);
        }
    }
}

void draw_item_grid(int x, int y, int w, int h, int columns) {
    columns = std::clamp(columns, 1, 2);
    const int rows = TURN_ITEM_MAX / columns;
    const int cw = (w - CELL_GAP * columns + CELL_GAP) / columns;
    const int ch = (h - CELL_GAP * rows + CELL_GAP) / rows;
    int list[TURN_ITEM_MAX];
    const int n = combat_item_list(list, TURN_ITEM_MAX);
    for (int i = 0; i < TURN_ITEM_MAX; i++) {
        const int cx = x + (i % columns) * (cw + CELL_GAP), cy = y + (i / columns) * (ch + CELL_GAP);
        if (i >= n) {
            screen_rect(cx, cy, cw, ch, 1);
            continue;
        }
        hit_region_add(HIT_REGION_ITEM, list[i], cx, cy, cw, ch);
        const bool cursor = i == combat.item_cursor;
        cell_frame(cx, cy, cw, ch, cursor, true);
        const BagEntry& e = player.bag.entries[list[i]];
        const char* name = item_def(e.item.id).short_name;
        char count[12];
        format(count, sizeof count, "x%d", e.count);
        const bool tall = ch >= TALL_ITEM_CELL;
        // The picture's box: twice the item's size when the name still fits beside it.
        const bool big = tall && text_width(name) <= cw - 2 * ITEM_PIC_W - 9;
        const int pw = big ? 2 * ITEM_PIC_W : ITEM_PIC_W, ph = std::min(big ? 2 * ITEM_PIC_H : ITEM_PIC_H, ch - 4);
        draw_icon_outlined(cx + 4, cy + (ch - ph) / 2, pw, ph, (int32_t)e.item.id);
        const int tx = cx + pw + 7;
        const int colour = cursor ? 3 : 2;
        const int room = (cx + cw - 3 - tx + 1) / FONT_CELL_W;  // characters that fit
        char line[32];
        if (tall) {
            format(line, sizeof line, "%.*s", std::max(room, 1), name);
            text_draw(tx, cy + ch / 2 - 8, line, colour);
            text_draw(tx, cy + ch / 2 + 1, count, 1);
        } else {
            // One line: the name gives up its last letters before the count does.
            format(line, sizeof line, "%.*s %s", std::max(room - (int)std::strlen(count) - 1, 1), name, count);
            text_draw(tx, cy + (ch - 7) / 2, line, colour);
        }
    }
}

void draw_action_info_panel(int x, int y, int width, int lines) {
    InfoLines in{};
    in.width = width;
    if (combat.item_menu)
        info_items(in);
    else if (!player_to_choose())
        info_log(in);
    else if (combat.action_cursor == TURN_ATTACK)
        info_attack(in);
    else if (combat.action_cursor == TURN_DEFEND)
        info_defend(in);
    else if (combat.action_cursor == TURN_ITEM)
        info_item_action(in);
    else
        info_run(in);
    const int shown = std::min(in.count, std::clamp(lines, 0, INFO_LINES));
    for (int i = 0; i < shown; i++) text_draw(x, y + i * INFO_STEP, in.text[i], i == 2 ? 1 : in.colour[i]);
}

void draw_fight() {
    status_border_keep_clear();
    // A box over the fight clears only the pieces it would cut, so the picture stays around it.
    row_spans_frame(BEHIND_PIECES, 0, 0, -1, -1);
    if (combat.reflex) {
        draw_fight_reflex();
        return;
    }
    perf_begin(ZONE_COMBAT);
    const ScreenRect& v = screen_layout.view;
    const int L = v.x0, T = v.y0, R = v.x1, B = v.y1, W = v.x1 - v.x0;
    const int s = shake_offset();
    draw_header(s);
    draw_status_tags();
    // The names, bars, tags and the outcome panel's lines begin at the view's edges.
    status_border_keep(L, T, W + 1, HEADER_KEEP_ROWS);

    const bool land = screen_layout.landscape;
    const bool dragon = combat.type == M_DRAGON;
    int cx, cy;
    draw_monster(s, dragon, &cx, &cy);
    particles_draw_sparks(cx, cy);

    const int bx = land ? R - 64 : L + 3;
    int by, bw, bh, columns;
    if (land) {
        screen_vline(R - BUTTON_COLUMN, T + 24, 86, 2);
        by = T + 26;
        bw = 63;
        bh = 82;
        columns = 1;
        draw_enemy_intent(L + 2, T + 90, W - BUTTON_COLUMN - 4);
        status_border_keep(L, T + 89, W - BUTTON_COLUMN, 2 * INFO_STEP + 1);
        screen_hline(L, B - 31, W + 1, 2);
        draw_action_info_panel(L + 2, B - 27, W - 3, INFO_LINES);
        status_border_keep(L, B - 28, W + 1, INFO_LINES * INFO_STEP);
    } else {
        const int t = T + (dragon ? DRAGON_DROP_PORTRAIT : 0);
        draw_enemy_intent(L + 2, t + 76, W - 3);
        status_border_keep(L, t + 75, W + 1, INFO_STEP + 1);
        screen_hline(L, t + 86, W + 1, 2);
        draw_action_info_panel(L + 2, t + 90, W - 3, INFO_LINES);
        status_border_keep(L, t + 89, W + 1, INFO_LINES * INFO_STEP);
        screen_hline(L, t + 120, W + 1, 2);
        by = t + 123;
        bw = W - 5;
        bh = B - t - 125;
        columns = 2;
    }
    if (combat.item_menu)
        draw_item_grid(bx, by, bw, bh, columns);
    else
        draw_action_grid(bx, by, bw, bh, columns);

    draw_popups(cx, cy);
    if (combat.hurt_popup_timer > POPUP_LONG_TICKS - HURT_FLASH_TICKS && combat.hurt_popup_kind == HURT_KIND_HURT &&
        combat.hurt_popup_value > 0) {
        screen_rect(L, T, W + 1, B - T + 1, 3);
        screen_rect(L + 1, T + 1, W - 1, B - T - 1, 3);
    }
    perf_end(ZONE_COMBAT);
}

const char* death_tip() {
    static char tip[DEATH_TIP_BYTES];
    const int potions = bag_potion_total();
    if (potions > 0) {
        format(tip, sizeof tip, "YOU STILL HAD %d POTION%s. DRINK ONE BETWEEN FIGHTS TO HEAL.", potions,
               potions == 1 ? "" : "S");
        return tip;
    }
    switch (combat.hurt_reason) {
    case HURT_PLAIN: return "PARRY THE INCOMING ATTACK: TAP {B} WHEN THE RING TOUCHES IT.";
    case HURT_DIED_BLOCKING: return "A BLOCK STILL LETS DAMAGE IN. TAP {B} WHEN THE RING TOUCHES IT TO PARRY.";
    case HURT_SIDE_NOT_DODGED: return "DODGE THE INCOMING ATTACK BY MOVING TOWARD THE ARROWS.";
    case HURT_WRONG_WAY: return "YOU DODGED THE WRONG WAY. MOVE TOWARD THE ARROWS.";
    case HURT_THROUGH_GUARD: return "A BLOCK CAN'T STOP A HEAVY ATTACK. DODGE IT BY MOVING TOWARD THE ARROWS.";
    case HURT_STATUS:
        return combat.death_status == ST_BURN ? "THE BURN KEPT HURTING YOU. LET IT WEAR OFF BEFORE A FIGHT."
                                              : "POISON KEPT HURTING YOU. DRINK AN ANTIDOTE TO CURE IT.";
    default: break;
    }
    static const char* const GENERAL[3] = {
        "POTIONS HEAL WHERE THEY LIE. GO BACK FOR ANY YOU PASSED.",
        "TAKE THE BOON AT EVERY CAMP. IT MAKES YOU STRONGER FOR THE RUN.",
        "YOUR SOULS ARE KEPT. PRESS {B} HERE TO SPEND THEM ON UNLOCKS.",
    };
    return GENERAL[(uint32_t)profile_runs() % 3];
}
