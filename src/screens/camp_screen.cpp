// The camp screen: the frame every page shares, the page dispatch and the hub with its boon
// banner, tiles, campfire and ONWARD bar, plus the small pieces the other pages draw with.
// Called by the draw pass (draw_camp); the pages themselves are in camp_pages.cpp.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "boons/boons.h"
#include "camp/camp.h"
#include "classes/gear_rules.h"
#include "items/equip.h"
#include "items/item.h"
#include "profile/profile.h"
#include "render/row_spans.h"
#include "render/big_text.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/fxfield.h"
#include "render/icons.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "screens/camp_draw.h"
#include "screens/front_end.h"
#include "screens/hud.h"
#include "screens/bag_draw.h"
#include "screens/screens.h"
#include "services/toast.h"
#include "telemetry/perf.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int FX_SLOT_CAMPFIRE = 2;
constexpr int ICON_BOX = 15;
constexpr int ICON_FIT = 13;
constexpr int BANNER_SCALE = 2;  // the block letters of "BOON"
// A message's box: its top row above the view's foot, its height, and what of the view's width
// its line may take, so the box keeps two dark columns inside the frame line.
constexpr int CAMP_TOAST_TOP = 14;
constexpr int CAMP_TOAST_H = 11;
constexpr int CAMP_TOAST_ROOM_INSET = 13;

struct HubTile {
    int32_t cursor;
    const char* label;
    const char* icon;  // null: the campfire
};
constexpr HubTile HUB_TILES[4] = {
    [0] = {.cursor = CAMP_TILE_SELL, .label = "SELL", .icon = "camp_sell"},
    [1] = {.cursor = CAMP_TILE_SHOP, .label = "SHOP", .icon = "camp_shop"},
    [2] = {.cursor = CAMP_TILE_FORGE, .label = "FORGE", .icon = "camp_forge"},
    [3] = {.cursor = CAMP_TILE_REST, .label = "REST", .icon = nullptr},
};

int rest_target() { return run_heat >= 1 ? player.max_hp / 2 : player.max_hp; }

// The long word when it fits the room, else the short one, else nothing.
const char* fit_word(const char* longer, const char* shorter, int room) {
    if (text_width(longer) <= room) return longer;
    return shorter && text_width(shorter) <= room ? shorter : "";
}

// What a tile offers, and whether it can be entered.
bool tile_value(int tile, int room, char* out, size_t size) {
    out[0] = '\0';
    switch (HUB_TILES[tile].cursor) {
    case CAMP_TILE_SELL: {
        const int value = camp_bag_value();
        if (value > 0) std::snprintf(out, size, "+%dG", value);
        else std::snprintf(out, size, "%s", camp_has_sellable() ? fit_word("BUY BACK", "UNDO", room) : "NONE");
        return camp_has_sellable();
    }
    case CAMP_TILE_SHOP:
        std::snprintf(out, size, "%s", camp.key_sold ? fit_word("SPARES", "GEAR", room) : "KEY");
        return true;
    case CAMP_TILE_FORGE: {
        const bool gear = camp_has_gear();
        if (camp_repair_total() > 0) std::snprintf(out, size, "REPAIR");
        else std::snprintf(out, size, "%s", gear ? fit_word("UPGRADE", "+LVL", room) : "NONE");
        return gear;
    }
    default:
        if (camp.rested) std::snprintf(out, size, "RESTED");
        else if (player.hp >= player.max_hp) std::snprintf(out, size, "%s", fit_word("FULL HP", "FULL", room));
        else std::snprintf(out, size, "+%dHP", rest_target() - player.hp > 0 ? rest_target() - player.hp : 0);
        return player.hp < player.max_hp && !camp.rested;
    }
}

const char* hub_hint() {
    switch (camp.cursor) {
    case CAMP_TILE_SELL: return camp_has_sellable() ? "TURN FINDS INTO GOLD" : "NOTHING TO SELL";
    case CAMP_TILE_BOONS: return camp.boon_taken ? "YOUR BOON IS TAKEN" : "A POWER FOR THIS RUN";
    case CAMP_TILE_SHOP: return "POTIONS, GEAR, A KEY";
    case CAMP_TILE_FORGE: return camp_has_gear() ? "REPAIR, UPGRADE GEAR" : "NO GEAR TO FORGE";
    case CAMP_TILE_REST:
        if (camp.rested) return "YOU'VE RESTED HERE";
        if (player.hp >= player.max_hp) return "YOU'RE AT FULL HP";
        if (camp_floor_last()) return "HEAL, FREE HERE";
        if (!camp_rest_keeps_meters())
            return upgrade_active_rank(UPGRADE_EMBERS) > 0 ? "HEAL, -1/2 FLOW -THREAT" : "HEAL, -FLOW -THREAT";
        return "HEAL BY THE FIRE";
    case CAMP_TILE_ONWARD: return camp.boon_taken ? "BACK INTO THE VORN" : "YOU'LL SKIP THE BOON";
    default: return "";
    }
}

void draw_boon_banner(const CampView& v) {
    const int yb = v.y0 + 38 - 18 * v.L, bh = v.L ? 30 : 32;
    const bool on = camp.cursor == CAMP_TILE_BOONS, taken = camp.boon_taken != 0;
    screen_fill_rect(v.x0 + 6, yb, v.w - 11, bh, 0);
    screen_rect(v.x0 + 6, yb, v.w - 11, bh, on ? 3 : taken ? 1 : 2);
    if (on) screen_rect(v.x0 + 7, yb + 1, v.w - 13, bh - 2, 3);
    draw_named_sprite("camp_boon", v.x0 + 18, yb + 15 + (1 - v.L), taken ? 1 : 0);
    draw_big_text(v.x0 + 29, v.y0 + (v.L ? 24 : 42), "BOON", BANNER_SCALE, taken ? 1 : on ? 3 : 2);
    const char* under = taken ? "TAKEN" : "PICK 1 OF 3";
    text_draw(v.x0 + 29, v.y0 + 60 - 20 * v.L, under, taken ? 1 : 2);
    const int r = v.x1 - 5;
    const int words = text_width(under) > 46 ? text_width(under) : 46;
    if (taken || r - 56 < v.x0 + 33 + words) return;
    for (int i = 0; i < 3; i++) {
        if (boon_offers[i] == BOON_NONE) continue;
        const int bx = r - 56 + 18 * i, by = yb + 7 + (1 - v.L);
        screen_rect(bx, by, ICON_BOX, ICON_BOX, 1);
        draw_named_sprite(boon_icon(boon_offers[i]), bx + ICON_BOX / 2, by + ICON_BOX / 2, 0);
    }
}

// Two crossed logs under the flames.
void draw_logs(int c, int g) {
    for (int y = g + 16; y >= g + 14; y--) {
        screen_line(c + 3, y, c + 18, y - 3, 0);
        screen_line(c + 21, y, c + 6, y - 3, 0);
    }
    screen_line(c + 3, g + 15, c + 18, g + 12, 1);
    screen_line(c + 21, g + 15, c + 6, g + 12, 2);
}

void draw_tiles(const CampView& v) {
    const int tw = (v.w - 6 * v.L - 14) / (v.L ? 4 : 2);
    const int yb = v.y0 + 38 - 18 * v.L;
    const int tt = yb + 36 - 2 * v.L;
    const int th = v.L ? v.y1 - tt - 46 : (v.y1 - tt - 46) / 2;
    const int cols = camp_hub_columns();
    const int iy = (th - 36) / 2;
    for (int i = 0; i < 4; i++) {
        const int x = v.x0 + 6 + (i % cols) * (tw + 3);
        const int y = i < cols ? tt : v.y0 + th + 77;
        const bool on = camp.cursor == HUB_TILES[i].cursor;
        char value[24];
        const bool open = tile_value(i, tw - 4, value, sizeof value);
        screen_fill_rect(x, y, tw, th, 0);
        screen_rect(x, y, tw, th, on ? 3 : open ? 2 : 1);
        if (on) screen_rect(x + 1, y + 1, tw - 2, th - 2, 3);
        if (HUB_TILES[i].icon) {
            draw_named_sprite(HUB_TILES[i].icon, x + tw / 2, y + iy + 9, open ? 0 : 1);
        } else {
            fxfield_draw(FX_SLOT_CAMPFIRE, x + 6, y + iy + 2);
            draw_logs(x - 6 + (tw - 12) / 2, y + iy);
        }
        const char* label = HUB_TILES[i].label;
        text_draw(x + (tw - text_width(label) + 1) / 2, y + iy + 18, label, on ? 3 : open ? 2 : 1);
        // A short tile (portrait) lifts the value clear of its bottom outlines.
        const int vy = y + iy + 28 < y + th - 11 ? y + iy + 28 : y + th - 11;
        if (text_width(value) <= tw - 4) text_draw(x + (tw - text_width(value) + 1) / 2, vy, value, 1);
    }
}

void draw_leave_bar(const CampView& v) {
    const bool on = camp.cursor == CAMP_TILE_ONWARD;
    const int top = v.y1 - 3 * v.L - 39;
    // The outline draws over the bar's edge, so only its inside is cleared: the label's plate is
    // then the inside that the cursor's inner line frames, never across it.
    screen_fill_rect(v.x0 + 7, top + 1, v.w - 13, 10, 0);
    screen_rect(v.x0 + 6, top, v.w - 11, 12, on ? 3 : 1);
    if (on) screen_rect(v.x0 + 7, top + 1, v.w - 13, 10, 3);
    const int yl = v.y1 - 3 * v.L - 23;
    draw_named_sprite("camp_leave", v.x0 + 16, yl - 10, 0);
    text_draw(v.x0 + 25, yl - 13, "LEAVE", on ? 3 : 2);
    char floor[24];
    std::snprintf(floor, sizeof floor, "FLOOR %d", current_floor + 1);
    camp_text_right(v.x1 - 10, yl - 13, floor, 1);
    const char* hint = hub_hint();
    if (text_width(hint) <= v.w - 7) camp_text_centre(v, yl, hint, 2);
}

}  // namespace

CampView camp_view() {
    const ScreenRect& r = screen_layout.view;
    return CampView{r.x0, r.y0, r.x1, r.y1, r.x1 - r.x0, r.y1 - r.y0, screen_layout.landscape ? 1 : 0};
}

void camp_text_right(int right, int y, const char* text, int colour) { text_draw(right - text_width(text), y, text, colour); }

namespace {
// The footers whose verb has a shorter form the camp already uses elsewhere.
struct FooterShortForm {
    const char *full, *tight;
};
constexpr FooterShortForm FOOTER_SHORT_FORMS[] = {
    {"{A}: CHOOSE   {B}: BACK", "{A}: PICK   {B}: BACK"},
    {"{A}: FORGE   {B}: BACK", "{A}: PICK   {B}: BACK"},
    {"{A}: BUY BACK   {B}: BACK", "{A}: BUY   {B}: BACK"},
};

const char* camp_short_footer(const char* footer) {
    for (const FooterShortForm& f : FOOTER_SHORT_FORMS)
        if (std::strcmp(footer, f.full) == 0) return f.tight;
    return footer;
}
}  // namespace

void camp_text_centre(const CampView& v, int y, const char* text, int colour) {
    text_draw(v.x0 + (v.w - text_width(text) + 1) / 2, y, text, colour);
}

int camp_pips_width(int quality) { return quality > 0 ? 3 * quality : 0; }

int camp_draw_pips(int x, int y, int quality) {
    for (int i = 0; i < quality; i++) screen_fill_rect(x + 3 * i, y, 2, 2, 3);
    return camp_pips_width(quality);
}

void camp_draw_item_icon(int x, int y, const Item& item) {
    const Image* img = item_sprite((int32_t)item.id);
    if (!img || img->w <= 0 || img->h <= 0) {
        draw_item_card(x + 1, y + 1, ICON_FIT, ICON_FIT, item);
        return;
    }
    const int d = img->density > 1 ? img->density : 1;
    const int lw = img->w / d, lh = img->h / d;
    const int big = lw > lh ? lw : lh;
    float scale = big > 0 ? (float)ICON_FIT / (float)big : 1.0f;
    if (scale > 1.0f) scale = 1.0f;
    sprite_draw_at_scale(img, x + 7, y + (int)(((float)lh * scale + ICON_FIT) / 2.0f), scale);
}

int camp_item_name(const Item& item, int room, char* out, size_t size) {
    const ItemDef& def = item_def(item.id);
    char plus[8] = "";
    if (item.upgrade > 0) std::snprintf(plus, sizeof plus, " +%d", item.upgrade);
    std::snprintf(out, size, "%s%s", def.name, plus);
    if (text_width(out) <= room) return text_width(out);
    std::snprintf(out, size, "%s%s", def.short_name, plus);
    // A row narrower than the short name keeps as many of its letters as fit.
    int keep = (int)std::strlen(def.short_name);
    while (keep > 1 && text_width(out) > room) {
        keep--;
        std::snprintf(out, size, "%.*s%s", keep, def.short_name, plus);
    }
    return text_width(out);
}

int camp_compare(const Item& item) {
    if (!item_is_wearable(item)) return 0;
    EquipPreview p;
    if (!equip_preview(item, gear_rules_now(), &p)) return 0;
    if (p.attack_change >= 0 && p.defence_change >= 0 && (p.attack_change > 0 || p.defence_change > 0)) return 1;
    if (p.attack_change <= 0 && p.defence_change <= 0 && (p.attack_change < 0 || p.defence_change < 0)) return -1;
    return 0;
}

void camp_draw_arrow(int x, int y, int compare) {
    if (compare > 0) draw_glyph5x5(x, y, GLYPH_ARROW_UP, 3);
    else if (compare < 0) draw_glyph5x5(x, y, GLYPH_ARROW_DOWN, 1);
}

void camp_draw_enchant_glyph(int x, int y, int enchant, int colour) {
    if (enchant >= ENCHANT_KEEN && enchant <= ENCHANT_THORNS) draw_glyph5x5(x, y, ENCHANT_GLYPHS[enchant], colour);
}

void camp_draw_wear_line(const CampView& v, int y, const Item& item) {
    int end = v.x1 - 12;
    if (item_is_broken(item)) {
        camp_text_right(v.x1 - 12, y + 13, "BROKEN", 3);
        end = v.x1 - 12 - text_width("BROKEN") - 4;
    } else if (item.enchant >= ENCHANT_KEEN && item.enchant <= ENCHANT_THORNS) {
        camp_draw_enchant_glyph(v.x1 - 17, y + 13, item.enchant, 3);
        end = v.x1 - 21;
    }
    const int m = item_wear_max(item);
    if (m <= 0 || end - (v.x0 + 34) <= 6) return;
    screen_rect(v.x0 + 34, y + 14, end - v.x0 - 34, 4, 1);
    const int left = m - item.wear > 0 ? m - item.wear : 0;
    const int n = (end - v.x0 - 36) * left / m;
    if (n <= 0) return;
    const int colour = item.wear * 3 > m * 2 ? 3 : 2;
    screen_hline(v.x0 + 35, y + 15, n, colour);
    screen_hline(v.x0 + 35, y + 16, n, colour);
}

const char* camp_draw_hub(const CampView& v) {
    draw_gold_header("THE CAMP");
    draw_boon_banner(v);
    draw_tiles(v);
    draw_leave_bar(v);
    return "{A}: PICK   {SELECT}: BAG";
}

// A message stands in the footer's place, where it hides nothing that can be chosen and leaves the
// header whole: one line, a second line joining the first in the brighter shade, keeping the
// words that fit, with a dark row above and below its letters and two dark columns beside
// them. Returns whether the footer's place is taken.
bool draw_camp_toast(const CampView& v) {
    if (toast_timer <= 0 || !toast_line1[0]) return false;
    char line[2 * TOAST_LINE_BYTES];
    std::snprintf(line, sizeof line, "%.*s", TOAST_LINE_BYTES - 1, toast_line1);
    const int first = (int)std::strlen(line);  // the first line's characters; the rest is the second's
    if (toast_line2[0]) std::snprintf(line + first, sizeof line - first, " %.*s", TOAST_LINE_BYTES - 1, toast_line2);
    // Too long a line ends on the last whole word that fits, or failing one the characters that do.
    const int room = v.w - CAMP_TOAST_ROOM_INSET;
    if (text_width(line) > room) {
        int cut = 0;
        for (int i = 1; line[i]; i++)
            if (line[i] == ' ' && FONT_CELL_W * i - 1 <= room) cut = i;
        if (cut > 0) line[cut] = '\0';
        while (text_width(line) > room) line[std::strlen(line) - 1] = '\0';
    }
    const int w = text_width(line);
    const int x = v.x0 + (v.w - w + 1) / 2;
    const int top = v.y1 - CAMP_TOAST_TOP;
    screen_fill_rect(x - 3, top, w + 6, CAMP_TOAST_H, 0);
    screen_rect(x - 3, top, w + 6, CAMP_TOAST_H, 2);
    if ((int)std::strlen(line) > first + 1) {
        text_draw(x + FONT_CELL_W * (first + 1), top + 2, line + first + 1, 3);
        line[first] = '\0';
    }
    text_draw(x, top + 2, line, 2);
    return true;
}

void draw_camp_pages() {
    const CampView v = camp_view();
    screen_fill_rect(v.x0, v.y0, v.w + 1, v.h + 1, 0);
    screen_rect(v.x0 + 1, v.y0 + 1, v.w - 1, v.h - 1, 1);
    // A box over the camp clears whole tiles, rows and lines inside the frame line.
    row_spans_frame(BEHIND_ROWS, v.x0 + 2, v.y0 + 2, v.x1 - 2, v.y1 - 2);
    const char* footer = nullptr;
    switch (camp_page) {
    case CAMP_PAGE_SELL: footer = camp_draw_sell(v); break;
    case CAMP_PAGE_BOONS: footer = camp_draw_boons(v); break;
    case CAMP_PAGE_SHOP: footer = camp_draw_shop(v); break;
    case CAMP_PAGE_FORGE: footer = camp_draw_forge(v); break;
    case CAMP_PAGE_HUB: footer = camp_draw_hub(v); break;
    case CAMP_PAGE_FORGE_ITEM: footer = camp_draw_forge_item(v); break;
    case CAMP_PAGE_BUY_BACK: footer = camp_draw_buy_back(v); break;
    default: return;
    }
    // Messages only on the camp itself, not under the bag or the pause drawn over it.
    if (game_state == STATE_CAMP && draw_camp_toast(v)) return;
    if (footer && footer[0]) {
        // A narrow view takes the hints in a tighter form, then a shorter verb, before it would drop one.
        camp_text_centre(v, v.y1 - 12, text_fit_hints_or(footer, camp_short_footer(footer), v.w - 7), 1);
    }
}

void draw_camp() {
    perf_begin(ZONE_UI);
    draw_camp_pages();
    perf_end(ZONE_UI);
}
