// The bag screen's input (STATE_BAG): pages, cursor routes, the item card, picking up, turning,
// placing, swapping, equipping and stowing. Called by the tick and by the screens that open the bag.
#include "game/bag_screen.h"

#include <cstdio>
#include <cstring>

#include "classes/classes.h"
#include "classes/gear_rules.h"
#include "combat/run_stats.h"
#include "dungeon/map.h"
#include "items/bag.h"
#include "items/equip.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "items/potion.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "screens/bag_draw.h"
#include "screens/screens.h"
#include "sound/audio.h"
#include "telemetry/check.h"
#include "world/bag_view.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr uint8_t DPAD = BTN_UP | BTN_DOWN | BTN_LEFT | BTN_RIGHT;
constexpr float EASE_RATE = 0.3f;
constexpr float EASE_SNAP = 0.01f;
constexpr int CARD_ACTION_USE = 0;
constexpr int CARD_ACTION_JUNK = 1;
// How far from the player a stowed item may be laid when no bag cell is left.
constexpr int STOW_FLOOR_REACH = 3;

BagView& v = bag_view;

// The tick already answers every press of A, B and the d-pad on this screen with the menu sounds
// (confirm, back, move); the bag adds only the sounds those do not cover.
bool press_voiced = false;

void sound(int id) {
    if (press_voiced && (id == SFX_MOVE || id == SFX_BACK || id == SFX_CONFIRM)) return;
    play_sfx(id);
}

bool landscape() { return screen_layout.landscape != 0; }

void message(const char* text) {
    size_t n = 0;
    for (; text[n] && n + 1 < sizeof v.message; ++n) v.message[n] = text[n];
    v.message[n] = 0;
    v.message_timer = BAG_MESSAGE_TICKS;
}

void refuse() {
    v.shake_timer = BAG_SHAKE_TICKS;
    sound(SFX_DENY);
}

// "A KNIGHT CAN'T USE IT", with AN before a vowel.
void cant_use_message() {
    const char* name = class_info(player.cls).name;
    const char c = name ? name[0] : 0;
    const bool vowel = c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U';
    char text[BAG_MESSAGE_BYTES];
    snprintf(text, sizeof text, "%s %s CAN'T USE IT", vowel ? "AN" : "A", name ? name : "");
    message(text);
}

void short_name_message(const char* format, const Item& item) {
    char text[BAG_MESSAGE_BYTES];
    snprintf(text, sizeof text, format, item_def(item.id).short_name);
    message(text);
}

Item& hand(int which) { return which == BAG_HAND_OFF ? player.off_hand : player.main_hand; }

bool entry_valid(int idx) { return idx >= 0 && idx < player.bag.count && idx < BAG_MAX_ITEMS; }

void held_size(int* w, int* h) {
    const ItemDef& d = item_def(v.held.id);
    *w = v.held_rotated ? d.h : d.w;
    *h = v.held_rotated ? d.w : d.h;
}

void clear_held() {
    v.holding = 0;
    v.held = item_make(ITEM_NONE);
    v.held_count = 0;
    v.held_from_hand = 0;
    v.lift_kept = 0;  // put down: the bag as it stood before the lift is past
}

// A bag entry into the player's hand, remembering where and how it lay.
void hold_entry(const BagEntry& e) {
    v.holding = 1;
    v.held = e.item;
    v.held_count = e.count;
    v.held_from_hand = 0;
    v.origin_col = e.col;
    v.origin_row = e.row;
    v.held_rotated = e.rotated;
    v.origin_rotated = e.rotated;
}

// The B rules: back into its hand, else at its origin, else anywhere in the bag.
bool put_back_held() {
    if (!v.holding) return true;
    if (v.held_from_hand && hand(v.held_hand).id == ITEM_NONE && v.held_count == 1) {
        hand(v.held_hand) = v.held;
        clear_held();
        return true;
    }
    if (!v.held_from_hand &&
        bag_place_at(player.bag, v.held, v.held_count, v.origin_col, v.origin_row, v.origin_rotated != 0) !=
            BAG_EMPTY) {
        clear_held();
        return true;
    }
    if (bag_add(player.bag, v.held, v.held_count) != BAG_EMPTY) {
        clear_held();
        return true;
    }
    return false;
}

// How many units lay_on_floor can still lay: the bare cells within reach, at most the room left in
// the floor list.
int floor_room_near_player() {
    int cells = 0;
    for (int dy = -STOW_FLOOR_REACH; dy <= STOW_FLOOR_REACH; ++dy)
        for (int dx = -STOW_FLOOR_REACH; dx <= STOW_FLOOR_REACH; ++dx)
            if (gmap_at(player.x + dx, player.y + dy) == '.') cells++;
    const int listed = FLOOR_ITEMS_MAX - floor_items.count;
    return cells < listed ? cells : listed;
}

// Lays `item` on the nearest bare floor cell within reach of the player, the player's own cell first.
bool lay_on_floor(const Item& item) {
    for (int reach = 0; reach <= STOW_FLOOR_REACH; ++reach)
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx) {
                if (dx != reach && dx != -reach && dy != reach && dy != -reach) continue;
                const int x = player.x + dx, y = player.y + dy;
                if (gmap_at(x, y) != '.') continue;
                if (!floor_item_add(x, y, item, FLOOR_SRC_DROPPED)) return false;
                gmap[y][x] = item_glyph(item.id);
                return true;
            }
    return false;
}

// --- The item card -------------------------------------------------------------------------------

void card_use_or_equip() {
    if (v.card_on_hand) {
        v.card_open = 0;
        return;
    }
    const int idx = v.card_entry;
    const Item item = player.bag.entries[idx].item;
    if (!item_is_wearable(item)) {
        char text[64];
        const ItemUse used = item_use(idx, upgrade_active_rank(UPGRADE_FORAGER), text, sizeof text);
        if (used != ITEM_USE_NONE) {
            if (used == ITEM_USE_HEALED) run_stats_count_potion();
            sound(SFX_HEAL);
            v.card_open = 0;
            message(text);
        } else {
            snprintf(message_box_text, sizeof message_box_text, "%s", text);
            message_box_open = 1;
        }
        return;
    }
    if (!class_can_use(item)) {
        cant_use_message();
        refuse();
        return;
    }
    if (bag_equip(idx, gear_rules_now())) {
        short_name_message("Equipped %s", item);
        sound(SFX_CONFIRM);
        v.card_open = 0;
    } else {
        message("No room to swap");
        refuse();
    }
}

void update_card(uint8_t presses) {
    int count = 0;
    if (bag_card_item(&count).id == ITEM_NONE) {
        v.card_open = 0;
        return;
    }
    if (presses & (BTN_B | BTN_SELECT)) {
        v.card_open = 0;
        sound(SFX_BACK);
        return;
    }
    const int n = bag_card_action_count();
    if (v.card_action < 0 || v.card_action >= n) v.card_action = 0;
    if ((presses & BTN_LEFT) && v.card_action > 0) {
        v.card_action--;
        sound(SFX_MOVE);
    } else if ((presses & BTN_RIGHT) && v.card_action < n - 1) {
        v.card_action++;
        sound(SFX_MOVE);
    }
    if (!(presses & BTN_A)) return;
    if (v.card_action == n - 1)
        bag_drop_selected();
    else if (v.card_action == CARD_ACTION_JUNK)
        bag_junk_toggle();
    else if (v.card_action == CARD_ACTION_USE)
        card_use_or_equip();
}

// --- The stats page ------------------------------------------------------------------------------

// The stats cursor moved by the d-pad, following the drawn arrangement; -1 means "turn to the
// inventory".
int stats_route(int c, int rows, int boons, uint8_t presses) {
    const bool on_row = c >= 1 && c <= rows;
    const bool on_boon = c > rows;
    const int r = c - 1;
    if (presses & BTN_RIGHT) {
        if (landscape()) {
            if (boons == 0 || on_boon) return -1;
            if (c == 0) return rows + 1;
            return rows + 1 + (r < boons ? r : 0);
        }
        if (on_row && r % 2 == 0 && r + 1 < rows) return c + 1;
        return -1;
    }
    if (presses & BTN_UP) {
        if (landscape()) {
            if (on_row) return c - 1;
            if (c == rows + 1) return 0;
            if (on_boon) return c - 1;
            return c;
        }
        if (on_row) return r < 2 ? 0 : c - 2;
        if (c == rows + 1) return rows >= 9 ? 9 : rows;  // the left cell of the last line
        if (on_boon) return c - 1;
        return c;
    }
    if (presses & BTN_DOWN) {
        if (c == 0) return rows > 0 ? 1 : c;
        if (on_boon) return c < rows + boons ? c + 1 : c;
        if (landscape()) return r + 1 < rows ? c + 1 : c;
        if (r + 2 < rows) return c + 2;
        return boons > 0 ? rows + 1 : c;
    }
    if (presses & BTN_LEFT) {
        if (landscape()) {
            if (!on_boon) return c;
            const int s = c - rows - 1;
            return 1 + (s < rows - 1 ? s : rows - 1);
        }
        if (on_row && r % 2 == 1) return c - 1;
        return c;
    }
    return c;
}

void update_stats_page(uint8_t presses) {
    int rows_list[STAT_ROW_COUNT];
    int boons_list[64];
    const int rows = bag_tab_list(rows_list);
    const int boons = bag_page_flags_list(boons_list);
    if (v.stats_cursor < 0 || v.stats_cursor > rows + boons) v.stats_cursor = 0;
    if (presses & BTN_A) {
        v.stats_popup = 1;
        sound(SFX_CONFIRM);
        return;
    }
    if (!(presses & DPAD)) return;
    const int c = stats_route(v.stats_cursor, rows, boons, presses);
    if (c < 0) {
        bag_page_change(+1);
        return;
    }
    if (c != v.stats_cursor) {
        v.stats_cursor = c;
        sound(SFX_MOVE);
    }
}

void update_bestiary_page(uint8_t presses) {
    if (presses & BTN_LEFT) {
        bag_page_change(-1);
        return;
    }
    int step = 0;
    if (presses & BTN_UP) step = -1;
    else if (presses & BTN_DOWN) step = +1;
    if (step == 0) return;
    int k = v.bestiary_cursor + step;
    if (k < 1) k = BESTIARY_KINDS;
    if (k > BESTIARY_KINDS) k = 1;
    v.bestiary_cursor = k;
    codex_mark_viewed(k);
    sound(SFX_MOVE);
}

// --- The inventory page --------------------------------------------------------------------------

bool turn_page_from_inventory(uint8_t presses) {
    const bool on_main = v.zone == BAG_ZONE_MAIN, on_off = v.zone == BAG_ZONE_OFF;
    const bool on_grid = v.zone == BAG_ZONE_GRID;
    bool left, right;
    if (landscape()) {
        left = (presses & BTN_LEFT) && !on_grid;
        right = (presses & BTN_RIGHT) && on_grid && v.col == BAG_COLS - 1;
    } else {
        left = (presses & BTN_LEFT) && (on_main || (on_grid && v.col == 0));
        right = (presses & BTN_RIGHT) && (on_off || (on_grid && v.col == BAG_COLS - 1));
    }
    if (left) bag_page_change(-1);
    else if (right) bag_page_change(+1);
    return left || right;
}

void move_cursor(uint8_t presses) {
    const int zone = v.zone, col = v.col, row = v.row;
    const bool grid = v.zone == BAG_ZONE_GRID;
    if (landscape()) {
        if (presses & BTN_UP) {
            if (v.zone == BAG_ZONE_OFF) v.zone = BAG_ZONE_MAIN;
            else if (grid && v.row > 0) v.row--;
        } else if (presses & BTN_DOWN) {
            if (v.zone == BAG_ZONE_MAIN) v.zone = BAG_ZONE_OFF;
            else if (grid && v.row < BAG_ROWS - 1) v.row++;
        } else if (presses & BTN_LEFT) {
            if (grid && v.col == 0) v.zone = v.row <= 1 ? BAG_ZONE_MAIN : BAG_ZONE_OFF;
            else if (grid) v.col--;
        } else if (presses & BTN_RIGHT) {
            if (!grid) {
                v.row = v.zone == BAG_ZONE_MAIN ? 0 : 2;
                v.col = 0;
                v.zone = BAG_ZONE_GRID;
            } else if (v.col < BAG_COLS - 1) {
                v.col++;
            }
        }
    } else {
        if (presses & BTN_UP) {
            if (grid && v.row == 0) v.zone = v.col <= 2 ? BAG_ZONE_MAIN : BAG_ZONE_OFF;
            else if (grid) v.row--;
        } else if (presses & BTN_DOWN) {
            if (!grid) {
                v.zone = BAG_ZONE_GRID;
                v.row = 0;
            } else if (v.row < BAG_ROWS - 1) {
                v.row++;
            }
        } else if (presses & BTN_LEFT) {
            if (v.zone == BAG_ZONE_OFF) v.zone = BAG_ZONE_MAIN;
            else if (grid && v.col > 0) v.col--;
        } else if (presses & BTN_RIGHT) {
            if (v.zone == BAG_ZONE_MAIN) v.zone = BAG_ZONE_OFF;
            else if (grid && v.col < BAG_COLS - 1) v.col++;
        }
    }
    if (zone != v.zone || col != v.col || row != v.row) sound(SFX_MOVE);
}

void place_held() {
    bool ok;
    if (v.zone != BAG_ZONE_GRID) {
        ok = bag_equip_held(v.zone == BAG_ZONE_OFF);
    } else if (bag_place_at(player.bag, v.held, v.held_count, v.col, v.row, v.held_rotated != 0) != BAG_EMPTY) {
        clear_held();
        sound(SFX_CONFIRM);
        ok = true;
    } else {
        ok = inv_swap_into_bag();
    }
    if (!ok) refuse();
}

void start_press() {
    if (v.zone != BAG_ZONE_GRID) {
        const int which = v.zone == BAG_ZONE_OFF ? BAG_HAND_OFF : BAG_HAND_MAIN;
        if (hand(which).id == ITEM_NONE) return;
        v.press_on_hand = 1;
        v.press_hand = which;
        v.press_entry = -1;
    } else {
        const int idx = bag_cell(player.bag, v.col, v.row);
        if (!entry_valid(idx)) return;
        v.press_on_hand = 0;
        v.press_entry = idx;
    }
    v.pressing = 1;
    v.press_ticks = 1;
}

void pick_up() {
    v.lift = bag_snapshot_take();
    if (v.press_on_hand) {
        Item& h = hand(v.press_hand);
        if (h.id == ITEM_NONE) return;
        v.held = h;
        v.held_count = 1;
        v.held_from_hand = 1;
        v.held_hand = v.press_hand;
        v.held_rotated = 0;
        v.origin_rotated = 0;
        h = item_make(ITEM_NONE);
    } else {
        if (!entry_valid(v.press_entry)) return;
        hold_entry(player.bag.entries[v.press_entry]);
        bag_remove(player.bag, v.press_entry);
    }
    v.holding = 1;
    v.lift_kept = 1;
    sound(SFX_PICKUP);
}

// A press under way: the long hold picks the item up, an early release opens its card.
void follow_press(uint8_t held) {
    if (held & BTN_A) {
        v.press_ticks++;
        if (v.press_ticks < BAG_PICKUP_TICKS) return;
        v.pressing = 0;
        v.press_ticks = 0;
        pick_up();
        return;
    }
    v.pressing = 0;
    v.press_ticks = 0;
    v.card_open = 1;
    v.card_action = 0;
    v.card_on_hand = v.press_on_hand;
    v.card_hand = v.press_hand;
    v.card_entry = v.press_entry;
    sound(SFX_CONFIRM);
}

void update_inventory(uint8_t presses, uint8_t held) {
    if (v.pressing) {
        follow_press(held);
        return;
    }
    if (!v.holding && turn_page_from_inventory(presses)) return;
    if (presses & DPAD) {
        move_cursor(presses);
        return;
    }
    if (!(presses & BTN_A)) return;
    if (v.holding)
        place_held();
    else
        start_press();
}

void update_bag_screen(uint8_t presses, uint8_t held) {
    if (v.card_open) {
        update_card(presses);
        return;
    }
    if (v.stats_popup) {
        if (presses & (BTN_A | BTN_B | BTN_SELECT)) {
            v.stats_popup = 0;
            sound(SFX_BACK);
        }
        return;
    }
    if (v.holding && v.zone == BAG_ZONE_GRID && (presses & BTN_SELECT)) {
        const ItemDef& d = item_def(v.held.id);
        if (d.w != d.h) {
            v.held_rotated = !v.held_rotated;
            sound(SFX_MOVE);
            return;
        }
    }
    if (presses & (BTN_B | BTN_SELECT)) {
        if (v.holding) {
            if (put_back_held())
                sound(SFX_BACK);
            else
                refuse();
            return;
        }
        v.pressing = 0;
        sound(SFX_BACK);
        game_state = state_under_pause;
        return;
    }
    if (v.page == BAG_PAGE_BESTIARY) {
        update_bestiary_page(presses);
        return;
    }
    if (v.page == BAG_PAGE_STATS) {
        update_stats_page(presses);
        return;
    }
    update_inventory(presses, held);
}

}  // namespace

void update_bag(uint8_t presses, uint8_t held) {
    press_voiced = (presses & (BTN_A | BTN_B | DPAD)) != 0;
    update_bag_screen(presses, held);
    press_voiced = false;
}

void bag_screen_ease() {
    float tx = v.cursor_x, ty = v.cursor_y;
    bag_slot_center(v, &tx, &ty);
    if (v.cursor_snap) {
        v.cursor_x = tx;
        v.cursor_y = ty;
        v.cursor_snap = 0;
    }
    auto ease = [](float& pos, float target) {
        pos += (target - pos) * EASE_RATE;
        const float d = target - pos;
        if (d < EASE_SNAP && d > -EASE_SNAP) pos = target;
    };
    ease(v.cursor_x, tx);
    ease(v.cursor_y, ty);
    ease(v.shown_page, (float)v.page);
}

void bag_screen_timers_tick() {
    if (v.message_timer > 0) v.message_timer--;
    if (v.shake_timer > 0) v.shake_timer--;
}

void bag_view_reset() {
    bag_view_clear();
    bag_slot_center(v, &v.cursor_x, &v.cursor_y);
    v.cursor_snap = 0;
}

bool bag_item_card_open() { return v.card_open != 0; }

BagCursorView bag_cursor_view() {
    BagCursorView out{.page = v.page - BAG_PAGE_INVENTORY, .item = -1, .card_open = v.card_open};
    if (v.card_open) {
        if (!v.card_on_hand && entry_valid(v.card_entry)) out.item = v.card_entry;
    } else if (v.zone == BAG_ZONE_GRID) {
        const int idx = bag_cell(player.bag, v.col, v.row);
        if (entry_valid(idx)) out.item = idx;
    }
    return out;
}

void bag_drop_selected() {
    if (state_under_pause == STATE_CAMP) {
        message("Camp: sell it at TRADE");
        refuse();
        return;
    }
    int count = 0;
    const Item item = bag_card_item(&count);
    if (item.id == ITEM_NONE) return;
    const int x = player.x, y = player.y;
    if (gmap_at(x, y) != '.' || !floor_item_add(x, y, item, FLOOR_SRC_DROPPED)) {
        message("No room to drop here!");
        refuse();
        return;
    }
    gmap[y][x] = item_glyph(item.id);
    if (v.card_on_hand) {
        hand(v.card_hand) = item_make(ITEM_NONE);
        v.card_open = 0;
    } else {
        BagEntry& e = player.bag.entries[v.card_entry];
        // Removing the entry moves the bag's last entry into its index: the card, which names the
        // index, closes rather than show (and act on) that other item.
        if (--e.count <= 0) {
            bag_remove(player.bag, v.card_entry);
            v.card_open = 0;
        }
    }
    short_name_message("Dropped %s", item);
    sound(SFX_CONFIRM);
}

void bag_junk_toggle() {
    if (v.card_on_hand || !entry_valid(v.card_entry)) return;
    Item& item = player.bag.entries[v.card_entry].item;
    if (!item_is_wearable(item)) return;
    message(item.junk ? "KEPT" : "MARKED AS JUNK");
    item.junk = item.junk ? 0 : 1;
    sound(SFX_CONFIRM);
}

void bag_page_change(int step) {
    const int p = v.page + step;
    if (p < 0 || p >= BAG_PAGE_COUNT) return;
    v.page = p;
    if (p == BAG_PAGE_BESTIARY) codex_mark_viewed(v.bestiary_cursor);
    sound(SFX_SWISH);
}

bool bag_equip_held(bool off_hand) {
    if (!v.holding || v.held_count != 1) return false;
    const Item item = v.held;
    const ItemDef& d = item_def(item.id);
    const bool weapon = item_id_is_weapon(item.id);
    const bool fits = off_hand ? (item_id_is_shield(item.id) || (weapon && d.either_hand)) : weapon;
    if (!fits) return false;
    if (!class_can_use(item)) {
        cant_use_message();
        return false;
    }
    const BagSnapshot saved = bag_snapshot_take();
    bool ok = true;
    auto to_bag = [&ok](Item& slot) {
        if (slot.id == ITEM_NONE || !ok) return;
        if (bag_add(player.bag, slot, 1) == BAG_EMPTY) ok = false;
        slot = item_make(ITEM_NONE);
    };
    if (off_hand) {
        if (item_def(player.main_hand.id).two_handed) to_bag(player.main_hand);
        to_bag(player.off_hand);
        player.off_hand = item;
    } else {
        if (d.two_handed) to_bag(player.off_hand);
        to_bag(player.main_hand);
        player.main_hand = item;
    }
    if (!ok) {
        bag_snapshot_restore(saved);
        return false;
    }
    clear_held();
    short_name_message("Equipped %s", item);
    sound(SFX_CONFIRM);
    return true;
}

bool inv_swap_into_bag() {
    if (!v.holding) return false;
    int w, h;
    held_size(&w, &h);
    if (w <= 0 || h <= 0 || v.col < 0 || v.row < 0 || v.col + w > BAG_COLS || v.row + h > BAG_ROWS) return false;
    int under = BAG_EMPTY;
    for (int r = v.row; r < v.row + h; ++r)
        for (int c = v.col; c < v.col + w; ++c) {
            const int cell = player.bag.cells[r][c];
            if (cell == BAG_EMPTY) continue;
            if (under != BAG_EMPTY && cell != under) return false;
            under = cell;
        }
    if (!entry_valid(under)) return false;
    BagEntry& e = player.bag.entries[under];
    if (item_id_is_stackable(v.held.id) && item_equal(v.held, e.item)) {
        // Units past the stack's bound would be counted nowhere: the stack stays in hand.
        if ((int64_t)e.count + v.held_count > RUN_STACK_MAX) return false;
        e.count = bound_stack(e.count, v.held_count);
        clear_held();
        sound(SFX_CONFIRM);
        return true;
    }
    const BagSnapshot saved = bag_snapshot_take();
    const BagEntry taken = e;
    bag_remove(player.bag, under);
    const int placed = bag_place_at(player.bag, v.held, v.held_count, v.col, v.row, v.held_rotated != 0);
    if (!SOFT_CHECK_AS(placed != BAG_EMPTY, "placed != BAG_EMPTY", "src/game",
                       "swap: the held item didn't go down at (%d,%d)", v.col, v.row)) {
        bag_snapshot_restore(saved);
        return false;
    }
    hold_entry(taken);
    sound(SFX_CONFIRM);
    return true;
}

bool bag_stow_held() {
    if (!v.holding) return true;
    v.pressing = 0;
    if (put_back_held()) return true;
    // No cell left for it (a swap gave it for what now fills its place): the bag and the hands as
    // they stood before the lift hold every unit.
    if (v.lift_kept) {
        bag_snapshot_restore(v.lift);
        clear_held();
        return true;
    }
    // One floor item for each unit, and only when every unit has a cell: a save with part of a
    // stack on the floor would lose the rest.
    if (v.held_count <= floor_room_near_player()) {
        while (v.held_count > 0 && lay_on_floor(v.held)) v.held_count--;
        if (v.held_count <= 0) {
            clear_held();
            return true;
        }
    }
    SOFT_CHECK_AS(false, "held item stowed", "src/game", "stow: no place for %d of item %u", (int)v.held_count,
                  (unsigned)v.held.id);
    return false;
}

BagSnapshot bag_snapshot_take() { return BagSnapshot{player.bag, player.main_hand, player.off_hand}; }

void bag_snapshot_restore(const BagSnapshot& s) {
    player.bag = s.bag;
    player.main_hand = s.main_hand;
    player.off_hand = s.off_hand;
}

void bag_hold_ring_state(float* x, float* y, int32_t* hold_ticks) {
    *x = bag_view.cursor_x;
    *y = bag_view.cursor_y;
    *hold_ticks = bag_view.press_ticks;
}
