// The bag screen's drawing: the item card's details by size, the pages cut at the panel while
// they slide, the turn hint, and review pictures of every page in both layouts (QM_PNG_DIR).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "boons/boons.h"
#include "dungeon/map.h"
#include "game/bag_screen.h"
#include "items/bag.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "items/player_fixture.h"
#include "platform/buttons.h"
#include "platform/input.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/bag_draw.h"
#include "screens/screens.h"
#include "support/item_maker.h"
#include "support/png_out.h"
#include "support/temp_save_dir.h"
#include "world/bag_view.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

void bag_scene(bool landscape) {
    if (landscape)
        layout_set_landscape();
    else
        layout_set_portrait();
    screen_reset_draw_state();
    reset_player();
    player.hp = 31;
    player.level = 4;
    floor_items_clear();
    game_state = STATE_BAG;
    state_under_pause = STATE_DUNGEON;
    frame_counter = 0;
    bag_view_reset();
}

// Every shape: long items upright and turned, squares, singles, a junk mark and counts.
void fill_bag() {
    Bag& b = player.bag;
    bag_place_at(b, test_item(ITEM_LONG_SWORD, 1, 1, ENCHANT_KEEN), 1, 0, 0, false);
    bag_place_at(b, test_item(ITEM_BATTLE_AXE, 0, 0, 0, 5), 1, 1, 0, false);
    bag_place_at(b, test_item(ITEM_IRON_SHIELD, 2), 1, 2, 0, false);
    bag_place_at(b, test_item(ITEM_WOODEN_SHIELD), 1, 4, 0, false);
    bag_place_at(b, test_item(ITEM_SPEAR), 1, 2, 2, true);
    bag_place_at(b, test_item(ITEM_SHORT_SWORD), 1, 5, 2, false);
    Item junk = test_item(ITEM_DAGGER);
    junk.junk = 1;
    bag_place_at(b, junk, 1, 0, 3, false);
    bag_place_at(b, test_item(ITEM_HEALING_POTION), 3, 1, 3, false);
    bag_place_at(b, test_item(ITEM_ANTIDOTE), 2, 2, 3, false);
    bag_place_at(b, test_item(ITEM_GREATER_POTION), 1, 3, 3, false);
    bag_place_at(b, test_item(ITEM_VENOM_DAGGER, 1), 1, 4, 3, false);
    bag_place_at(b, test_item(ITEM_SUPERIOR_POTION), 4, 0, 4, false);
    Item broken = test_item(ITEM_ENCHANTED_SWORD, 0, 0, ENCHANT_MIGHTY);
    broken.wear = (uint8_t)item_wear_max(broken);
    bag_place_at(b, broken, 1, 3, 4, true);
    player.main_hand = test_item(ITEM_SHORT_SWORD, 1, 0, ENCHANT_VAMPIRIC, 3);
    player.off_hand = test_item(ITEM_WOODEN_SHIELD, 0, 0, 0, 1);
}

// Six kinds met, some slain, the first two already looked at.
void meet_monsters() {
    profile.met = profile.viewed = 0;
    for (int k = 1; k <= 6; ++k) {
        profile.met |= 1u << k;
        profile.slain[k] = k * 7 - 5;
    }
    profile.viewed = (1u << 1) | (1u << 2);
}

void open_card(int zone, int col, int row) {
    bag_view.zone = zone;
    bag_view.col = col;
    bag_view.row = row;
    update_bag(BTN_A, BTN_A);
    update_bag(0, 0);
}

void settle() {
    for (int i = 0; i < 60; ++i) bag_screen_ease();
}

void draw_scene() {
    screen_clear();
    draw_bag();
    if (bag_item_card_open()) draw_item_info_panel();
}

// One picture per scene, side by side, landscape frames above portrait ones, each named under it.
struct Sheet {
    static constexpr int LAND_H = 144 + PNG_LABEL_H + 4, PORT_H = 312 + PNG_LABEL_H + 4;
    PngSheet sheet{4 * 316, 3 * LAND_H + 3 * PORT_H};
    int landscape_n = 0, portrait_n = 0;
    void add(const char* name) {
        const bool land = screen_layout.landscape != 0;
        png_write_framebuffer(name, 2);
        int& n = land ? landscape_n : portrait_n;
        const int col = n % 4, row = n / 4;
        const int x = col * 316 + (land ? 0 : 80), y = land ? row * LAND_H : 3 * LAND_H + row * PORT_H;
        sheet.paste(0, 0, screen_layout.width, screen_layout.height, x, y, 1);
        const std::string label(name, std::strlen(name) - 4);  // without ".png"
        sheet.label(x, y + screen_layout.height + 2, label.c_str());
        n++;
    }
};

}  // namespace

TEST(ItemCard, SmallCardsLeaveOutTheEnchantMarkAndWornGearShowsItsWear) {
    layout_set_landscape();
    screen_reset_draw_state();
    // The enchant mark changes a 14-pixel card and leaves a 13-pixel one as it was.
    static uint8_t plain_fb[FB_BYTES];
    for (int size = 13; size <= 14; ++size) {
        screen_clear();
        draw_item_card(100, 40, size, size, test_item(ITEM_DAGGER));
        std::memcpy(plain_fb, framebuffer, FB_BYTES);
        screen_clear();
        draw_item_card(100, 40, size, size, test_item(ITEM_DAGGER, 0, 0, ENCHANT_KEEN));
        EXPECT_EQ(std::memcmp(plain_fb, framebuffer, FB_BYTES) != 0, size == 14) << size;
    }
    // A worn sword: a bar on the bottom row; a broken one: a cross and no bar.
    const Item worn = test_item(ITEM_SHORT_SWORD, 0, 0, 0, 2);
    screen_clear();
    draw_item_card(100, 40, 18, 36, worn);
    EXPECT_NE(screen_get(102, 40 + 36 - 2), 0);
    Item broken = worn;
    broken.wear = (uint8_t)item_wear_max(worn);
    ASSERT_TRUE(item_is_broken(broken));
    screen_clear();
    draw_item_card(100, 40, 18, 36, broken);
    EXPECT_EQ(screen_get(100 + 18 - 3, 40 + 36 - 3), 1);
    EXPECT_EQ(screen_get(102, 42), 1);
    // An unworn sword shows neither.
    screen_clear();
    draw_item_card(100, 40, 18, 36, test_item(ITEM_SHORT_SWORD));
    EXPECT_EQ(screen_get(100 + 18 - 3, 40 + 36 - 3), 0);
}

TEST(BagPages, SlidingPagesAreCutAtThePanelsInnerEdges) {
    bag_scene(true);
    fill_bag();
    bag_view.shown_page = 1.5f;  // half way to the bestiary
    bag_view.page = BAG_PAGE_BESTIARY;
    draw_scene();
    const BagLayout& l = bag_layout;
    // The grid's right half has slid past the panel's inner edge: nothing of it lies outside.
    for (int y = l.py + 3; y < l.py + l.ph - 3; ++y) {
        EXPECT_EQ(screen_get(l.px + l.pw + 4, y), 0) << y;
        EXPECT_EQ(screen_get(l.px - 2, y), 0) << y;
    }
    // Both pages are drawn: the grid's cells and the bestiary's rows.
    int lit = 0;
    for (int x = l.px + 3; x < l.px + l.pw / 2; ++x)
        for (int y = l.py + 16; y < l.py + l.ph - 16; ++y) lit += screen_get(x, y) != 0;
    EXPECT_GT(lit, 50);
    EXPECT_EQ(draw_column_mask, nullptr);
}

TEST(BagPages, AHeldLongItemOverTheGridHidesThePageMarks) {
    bag_scene(true);
    bag_place_at(player.bag, test_item(ITEM_SPEAR), 1, 0, 0, false);
    const int cx = bag_layout.px + bag_layout.pw / 2, cy = bag_layout.py + bag_layout.ph - 10;
    draw_scene();
    EXPECT_EQ(screen_get(cx - 1, cy), 3);  // the middle page mark, filled
    bag_view.zone = BAG_ZONE_GRID;
    update_bag(BTN_A, BTN_A);
    for (int i = 1; i < BAG_PICKUP_TICKS; ++i) update_bag(0, BTN_A);
    ASSERT_TRUE(bag_view.holding);
    draw_scene();
    EXPECT_EQ(screen_get(cx - 1, cy), 0);
}

TEST(BagPages, BestiaryNewMarksClearAsTheCursorVisits) {
    TempSaveDir tmp;
    const Profile saved = profile;
    bag_scene(true);
    meet_monsters();
    EXPECT_TRUE(codex_any_new());
    const int cx = bag_layout.px + bag_layout.pw / 2, cy = bag_layout.py + bag_layout.ph - 10;
    draw_scene();
    EXPECT_EQ(screen_get(cx + 10, cy - 2), 3);  // the page marks tell of new entries
    bag_view.bestiary_cursor = 3;
    bag_page_change(+1);  // entering marks the cursor's kind
    EXPECT_FALSE(codex_is_new(3));
    EXPECT_TRUE(codex_is_new(4));
    for (int i = 0; i < 3; ++i) update_bag(BTN_DOWN, BTN_DOWN);
    EXPECT_FALSE(codex_any_new());
    draw_scene();
    EXPECT_NE(screen_get(cx + 10, cy - 2), 3);
    // Unmet kinds are never marked.
    update_bag(BTN_DOWN, BTN_DOWN);
    EXPECT_EQ(bag_view.bestiary_cursor, 7);
    EXPECT_FALSE(profile.viewed & (1u << 7));
    profile = saved;
}

const char* long_key_name(int) { return "LONGNAMEKEY"; }  // cut to 8 letters, as a platform name may be

// The item panel's lines, notes included, end above its buttons in both layouts, with the
// keyboard's longest key names: the weapon a KNIGHT cannot use (a perk, an enchant and the class
// note) and the broken one (the repair note as well).
TEST(BagPages, PanelLinesEndAboveTheButtons) {
    const Settings saved = settings;
    set_key_name_fn(long_key_name);
    settings.key_binds[5][0] = 230;  // B, on a key without a fixed name
    struct Cell {
        int col, row;
    };
    for (int land = 0; land < 2; ++land)
        for (const Cell cell : {Cell{0, 0}, Cell{3, 4}}) {
            bag_scene(land != 0);
            fill_bag();
            open_card(BAG_ZONE_GRID, cell.col, cell.row);
            ASSERT_TRUE(bag_item_card_open());
            draw_scene();
            const BagLayout& l = bag_layout;
            const int buttons = l.py + l.ph - 20;
            for (int y = buttons - 2; y < buttons; ++y)
                for (int x = l.px + 6; x < l.px + l.pw - 6; ++x)
                    EXPECT_EQ(screen_get(x, y), 0) << (land ? "landscape" : "portrait") << " cell " << cell.col << " at " << x << "," << y;
        }
    set_key_name_fn(nullptr);
    settings = saved;
}

TEST(BagPages, ReviewPictures) {
    TempSaveDir tmp;
    const Profile saved = profile;
    Sheet sheet;
    for (int land = 1; land >= 0; --land) {
        const bool landscape = land != 0;
        const char* tag = landscape ? "land" : "port";
        char name[48];

        bag_scene(landscape);
        fill_bag();
        bag_view.col = 2;
        bag_view.row = 2;
        settle();
        draw_scene();
        snprintf(name, sizeof name, "bag_inventory_%s.png", tag);
        sheet.add(name);

        // Holding the spear, turned, over a taken spot, and then a short sword over a hand slot.
        bag_scene(landscape);
        fill_bag();
        bag_view.col = 2;
        bag_view.row = 2;
        update_bag(BTN_A, BTN_A);
        for (int i = 1; i < BAG_PICKUP_TICKS; ++i) update_bag(0, BTN_A);
        update_bag(0, 0);
        bag_view.col = 3;
        bag_view.row = 1;
        frame_counter = 15;
        settle();
        draw_scene();
        snprintf(name, sizeof name, "bag_held_%s.png", tag);
        sheet.add(name);

        struct Card {
            int zone, col, row;
            const char* what;
        };
        const Card cards[] = {{BAG_ZONE_GRID, 0, 0, "weapon"},
                              {BAG_ZONE_GRID, 2, 0, "shield"},
                              {BAG_ZONE_GRID, 1, 3, "potion"},
                              {BAG_ZONE_GRID, 3, 4, "broken"},
                              {BAG_ZONE_MAIN, 0, 0, "hand"}};
        for (const Card& c : cards) {
            bag_scene(landscape);
            fill_bag();
            open_card(c.zone, c.col, c.row);
            ASSERT_TRUE(bag_item_card_open()) << c.what;
            settle();
            draw_scene();
            snprintf(name, sizeof name, "bag_panel_%s_%s.png", c.what, tag);
            sheet.add(name);
        }
        // A controller's names in the panel's back line.
        bag_scene(landscape);
        fill_bag();
        input_device = INPUT_PAD;
        pad_glyph_style_set(PAD_PS5);
        open_card(BAG_ZONE_GRID, 1, 3);
        settle();
        draw_scene();
        snprintf(name, sizeof name, "bag_panel_pad_%s.png", tag);
        sheet.add(name);
        input_device = INPUT_KEYBOARD;
        pad_glyph_style_set(PAD_XBOX);

        // The stats page with many boons, scrolled down to the last.
        bag_scene(landscape);
        for (int id = 0; id < BOON_ROWS; ++id)
            if (boon_in_use(id)) player.boon_ranks[id] = (uint8_t)(1 + id % boon_def(id)->max_level);
        bag_page_change(-1);
        int rows_list[STAT_ROW_COUNT], boons_list[BOON_SLOTS];
        bag_view.stats_cursor = bag_tab_list(rows_list) + bag_page_flags_list(boons_list);
        settle();
        draw_scene();
        snprintf(name, sizeof name, "bag_stats_%s.png", tag);
        sheet.add(name);
        bag_view.stats_cursor = 2;
        update_bag(BTN_A, BTN_A);
        draw_scene();
        snprintf(name, sizeof name, "bag_stats_popup_%s.png", tag);
        sheet.add(name);

        // The bestiary with its detail, and a page mid-slide.
        bag_scene(landscape);
        fill_bag();
        meet_monsters();
        bag_view.bestiary_cursor = 3;
        bag_page_change(+1);
        settle();
        draw_scene();
        snprintf(name, sizeof name, "bag_bestiary_%s.png", tag);
        sheet.add(name);
        bag_view.shown_page = 1.4f;
        draw_scene();
        snprintf(name, sizeof name, "bag_sliding_%s.png", tag);
        sheet.add(name);
    }
    sheet.sheet.write("bag_sheet.png");
    profile = saved;
}
