// The camp screen: the hub's grid in both layouts and its value words, the campfire's rectangle,
// the sell list's scrolling and its arrows, the pages that draw only their header, the boon page's
// footer rules, and review pictures of every page in both layouts (QM_PNG_DIR), with long item
// names, empty lists and a full buy-back list. No page draws outside the view.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "boons/boons.h"
#include "camp/camp.h"
#include "classes/classes.h"
#include "combat/meters.h"
#include "dungeon/floor.h"
#include "game/game.h"
#include "game/run_start.h"
#include "items/bag.h"
#include "items/item.h"
#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "platform/buttons.h"
#include "platform/input.h"
#include "saves/settings.h"
#include "screens/camp_draw.h"
#include "screens/screens.h"
#include "services/toast.h"
#include "support/fb_text.h"
#include "support/item_maker.h"
#include "support/png_out.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int OUTSIDE = 7;  // a colour no page draws, painted round the view
constexpr int FIRE_WARM_TICKS = 90;

struct CampScreen : ::testing::Test {
    void SetUp() override {
        layout_set_landscape();
        screen_reset_draw_state();
        player_start();
        class_apply(CLASS_KNIGHT);
        run_seed = 0x1234567u;
        current_floor = 6;
        run_heat = 0;
        flow = combo = threat_total = 0;
        toast_timer = 0;
        camp_enter();
        player.gold = 150;
    }
    void TearDown() override {
        layout_set_landscape();
        game_state = STATE_SPLASH;
    }

    // Draws the camp over a framebuffer painted OUTSIDE, then reports any view edge it crossed.
    static bool draw_inside() {
        std::memset(framebuffer, OUTSIDE, FB_BYTES);
        draw_camp();
        const ScreenRect& v = screen_layout.view;
        for (int y = 0; y < screen_layout.height; y++)
            for (int x = 0; x < screen_layout.width; x++) {
                const bool in = x >= v.x0 && x <= v.x1 && y >= v.y0 && y <= v.y1;
                if (!in && screen_get(x, y) != OUTSIDE) return false;
            }
        return true;
    }
    static bool text_at(int x, int y, const char* text, int colour) { return fb_text_at(x, y, text, colour); }
    static bool text_centred_at(int y, const char* text, int colour) {
        const ScreenRect& v = screen_layout.view;
        return text_at(v.x0 + (v.x1 - v.x0 - text_width(text) + 1) / 2, y, text, colour);
    }
    static int lit_in(int x, int y, int w, int h) {
        int n = 0;
        for (int v : fb_grab(x, y, w, h)) n += v != 0;
        return n;
    }
    static void add(const Item& item, int count = 1) { ASSERT_GE(bag_add(player.bag, item, count), 0); }
    static void fill_buy_back(int n) {
        camp.buy_back_count = 0;
        const uint32_t ids[4] = {ITEM_ENCHANTED_SWORD, ITEM_ANTIDOTE, ITEM_TOWER_SHIELD, ITEM_VENOM_DAGGER};
        for (int i = 0; i < n && i < CAMP_BUY_BACK_MAX; i++) {
            const bool gear = ids[i % 4] != ITEM_ANTIDOTE;
            Item it = gear ? test_item(ids[i % 4], i % 3, 0, i % 7) : test_item(ids[i % 4]);
            camp.buy_back[camp.buy_back_count++] = CampBuyBack{it, 1 + i % 3, 20 + 15 * i};
        }
    }
};

TEST_F(CampScreen, HubGridAndItsWordsInBothLayouts) {
    // Landscape: one row of four tiles; the cursor tile is outlined twice.
    camp.cursor = CAMP_TILE_REST;
    player.hp = 10;
    player.max_hp = 30;
    run_heat = 1;  // rest heals to half of max hp only
    ASSERT_TRUE(draw_inside());
    const ScreenRect& v = screen_layout.view;
    const int w = v.x1 - v.x0;
    int tw = (w - 6 - 14) / 4;
    const int tt = v.y0 + 20 + 34, th = v.y1 - tt - 46, iy = (th - 36) / 2;
    const int rest_x = v.x0 + 6 + 3 * (tw + 3);
    EXPECT_EQ(screen_get(rest_x, tt), 3);
    EXPECT_EQ(screen_get(rest_x + 1, tt + 1), 3);
    EXPECT_TRUE(text_at(rest_x + (tw - text_width("+5HP") + 1) / 2, tt + iy + 28, "+5HP", 1));
    EXPECT_TRUE(text_centred_at(v.y1 - 3 - 23, "HEAL BY THE FIRE", 2));
    // The campfire burns where the update steps it.
    int fire[4];
    camp_fire_rect(fire);
    EXPECT_EQ(fire[0], rest_x + 6);
    EXPECT_EQ(fire[2], tw - 12);
    EXPECT_EQ(fire[3], 14);

    // Portrait: two by two, REST bottom right; a narrow tile takes the short words, its value
    // lifted clear of the tile's bottom outlines.
    layout_set_portrait();
    const ScreenRect& p = screen_layout.view;
    camp.cursor = CAMP_TILE_SELL;
    camp.key_sold = 1;
    player.hp = player.max_hp;
    ASSERT_TRUE(draw_inside());
    tw = (p.x1 - p.x0 - 14) / 2;
    const int ptt = p.y0 + 38 + 36, pth = (p.y1 - ptt - 46) / 2;
    const int row2 = p.y0 + pth + 77;
    EXPECT_EQ(screen_get(p.x0 + 6 + tw + 3, row2), 1);  // the REST tile, not available at full hp
    const char* shop = text_width("SPARES") <= tw - 4 ? "SPARES" : "GEAR";
    EXPECT_TRUE(text_at(p.x0 + 6 + tw + 3 + (tw - text_width(shop) + 1) / 2, ptt + pth - 11, shop, 1));
    const char* full = text_width("FULL HP") <= tw - 4 ? "FULL HP" : "FULL";
    EXPECT_TRUE(text_at(p.x0 + 6 + tw + 3 + (tw - text_width(full) + 1) / 2, row2 + pth - 11, full, 1));
    EXPECT_TRUE(text_centred_at(p.y1 - 23, "NOTHING TO SELL", 2));
    camp_fire_rect(fire);
    EXPECT_EQ(fire[0], p.x0 + (tw + 3) + 12);
    EXPECT_EQ(fire[1], p.y0 + (p.y1 - p.y0 - 120) / 2 + 79);
}

TEST_F(CampScreen, TakenBoonDimsTheBannerAndHidesTheOffers) {
    camp.cursor = CAMP_TILE_SELL;
    const ScreenRect& v = screen_layout.view;
    const int r = v.x1 - 5, yb = v.y0 + 20;
    ASSERT_TRUE(draw_inside());
    ASSERT_NE(boon_offers[0], BOON_NONE);
    EXPECT_EQ(screen_get(r - 56, yb + 7), 1);  // the first offer's box
    EXPECT_EQ(screen_get(v.x0 + 6, yb), 2);
    camp.boon_taken = 1;
    ASSERT_TRUE(draw_inside());
    EXPECT_EQ(lit_in(r - 56, yb + 7, 52, 15), 0);
    EXPECT_EQ(screen_get(v.x0 + 6, yb), 1);
    EXPECT_TRUE(text_at(v.x0 + 29, v.y0 + 40, "TAKEN", 1));
}

TEST_F(CampScreen, SellListScrollsOnlyAsFarAsTheCursorRowNeeds) {
    for (int i = 0; i < 8; i++) add(test_item(i % 2 ? ITEM_LONG_SWORD : ITEM_IRON_SHIELD, i % 3, 0, 0, i));
    camp_page = CAMP_PAGE_SELL;
    const ScreenRect& v = screen_layout.view;
    const int hy = v.y0 + 20;
    camp.cursor = 0;
    ASSERT_TRUE(draw_inside());
    EXPECT_FALSE(text_at(v.x1 - 6, hy + 1, "^", 1));
    EXPECT_TRUE(text_at(v.x1 - 6, v.y1 - 23, "v", 1));
    EXPECT_EQ(screen_get(v.x0 + 12, hy + 1), 3);  // the first row's top, unscrolled
    // The last row sits on the list's bottom edge: nothing more is scrolled than that.
    camp.cursor = 7;
    ASSERT_TRUE(draw_inside());
    EXPECT_TRUE(text_at(v.x1 - 6, hy + 1, "^", 1));
    EXPECT_FALSE(text_at(v.x1 - 6, v.y1 - 23, "v", 1));
    EXPECT_EQ(screen_get(v.x0 + 12, v.y1 - 16 - 23), 3);
    EXPECT_EQ(screen_get(v.x0 + 12, v.y1 - 16), 0);
    EXPECT_EQ(screen_get(v.x0 + 12, hy + 1), 1);  // the row above, cut at the list's top, not a gap
    // A cursor past the end stands on the last row.
    camp.cursor = 40;
    ASSERT_TRUE(draw_inside());
    EXPECT_EQ(screen_get(v.x0 + 12, v.y1 - 16 - 23), 3);
}

TEST_F(CampScreen, PagesWithNothingToShowDrawTheirHeaderOnly) {
    const ScreenRect& v = screen_layout.view;
    // A forge slot outside the bag: header only, not even the footer.
    camp_page = CAMP_PAGE_FORGE_ITEM;
    camp.forge_slot = 25;
    ASSERT_TRUE(draw_inside());
    EXPECT_EQ(lit_in(v.x0 + 3, v.y0 + 17, v.x1 - v.x0 - 5, v.y1 - v.y0 - 19), 0);
    // A page number outside the seven: the frame and nothing more.
    camp_page = 9;
    ASSERT_TRUE(draw_inside());
    EXPECT_EQ(screen_get(v.x0 + 1, v.y0 + 1), 1);
    EXPECT_EQ(lit_in(v.x0 + 3, v.y0 + 3, v.x1 - v.x0 - 5, v.y1 - v.y0 - 5), 0);
}

TEST_F(CampScreen, BoonPageFooterAndMoneyNote) {
    camp_page = CAMP_PAGE_BOONS;
    camp.cursor = 0;
    const BoonDef* b = boon_def(boon_offers[0]);
    ASSERT_NE(b, nullptr);
    player.gold = 0;
    const ScreenRect& v = screen_layout.view;
    // Landscape: no footer, the note under the reroll row.
    ASSERT_TRUE(draw_inside());
    char note[40];
    std::snprintf(note, sizeof note, "NEED %dG MORE", b->price);
    if (b->price > 0) {
        EXPECT_TRUE(text_centred_at(v.y0 + 20 - 1 + 99 + 14, note, 2));
    }
    // Portrait: the note stands in the footer's place; with the gold, the footer comes back.
    layout_set_portrait();
    const ScreenRect& p = screen_layout.view;
    ASSERT_TRUE(draw_inside());
    if (b->price > 0) {
        EXPECT_TRUE(text_centred_at(p.y1 - 12, note, 2));
    }
    player.gold = 10000;
    ASSERT_TRUE(draw_inside());
    // Both hints, in the tight form the narrow view takes.
    EXPECT_TRUE(text_centred_at(p.y1 - 12, text_ring_expand("{A}:TAKE  {B}:BACK"), 1));
}

TEST_F(CampScreen, WordsForWhatCannotBeHad) {
    const ScreenRect& v = screen_layout.view;
    // The shop: the sale and the key, once bought, read SOLD OUT in the dim colour.
    camp_page = CAMP_PAGE_SHOP;
    camp.sale_sold = 1;
    camp.key_sold = 1;
    uint32_t ids[4];
    Item stock[3];
    const int goods = camp_consumables(ids) + camp_make_stock(stock);
    ASSERT_EQ(goods, 5);  // two potions, the two spares and the sale: rows 11 apart
    ASSERT_TRUE(draw_inside());
    const int first = v.y0 + 20 - 4 + 8;
    EXPECT_TRUE(text_at(v.x1 - 7 - text_width("SOLD OUT"), first + 4 * 11, "SOLD OUT", 1));
    EXPECT_TRUE(text_at(v.x1 - 7 - text_width("SOLD OUT"), first + 5 * 11, "SOLD OUT", 1));
    // The forge: an item at its upgrade limit and without wear.
    player.main_hand = test_item(ITEM_ENCHANTED_SWORD, 0, CAMP_UPGRADE_MAX, ENCHANT_VAMPIRIC);
    camp_page = CAMP_PAGE_FORGE_ITEM;
    camp.forge_slot = CAMP_SLOT_MAIN;
    camp.cursor = CAMP_FORGE_UPGRADE;
    ASSERT_TRUE(draw_inside());
    const int rows = v.y0 + 20 - 2 + 3 + 42 + 6 - 4;  // under a one-line card
    EXPECT_TRUE(text_at(v.x1 - 12 - text_width("MAXED"), rows + 14 + 3, "MAXED", 1));
    EXPECT_TRUE(text_at(v.x1 - 12 - text_width("AS NEW"), rows + 28 + 3, "AS NEW", 1));
    EXPECT_TRUE(text_at(v.x1 - 12 - text_width("NO COPY"), rows + 42 + 3, "NO COPY", 1));
    EXPECT_EQ(screen_get(v.x0 + 12, rows + 14), 3);  // the cursor row's outline
    // The sword's tall picture stays inside its box: the box's top edge is whole, nothing above it.
    const int top = v.y0 + 20 - 2 + 3;
    for (int x = v.x0 + 15; x < v.x0 + 15 + 22; x++) {
        EXPECT_EQ(screen_get(x, top + 3), 1) << x;
        EXPECT_EQ(screen_get(x, top + 2), 0) << x;
    }
}

const char* long_key_name(int) { return "LONGNAMEKEY"; }  // cut to 8 letters, as a platform name may be

// Every page in both layouts, with the keyboard's longest key names and with a controller's: the
// footer stays inside the frame, and a message, short or too long for its line, changes nothing
// above the footer: not the rows to choose from, nor the header.
TEST_F(CampScreen, FootersFitAndMessagesHideNoRow) {
    const std::vector<std::function<void()>> pages = {
        [] { camp.cursor = CAMP_TILE_REST; },
        [] {
            for (int i = 0; i < 6; i++) add(test_item(i % 2 ? ITEM_SHORT_SWORD : ITEM_IRON_SHIELD, i % 3, 0, 0, i));
            camp.buy_back_count = 1;
            camp.buy_back[0] = CampBuyBack{test_item(ITEM_DAGGER), 1, 5};
            camp_page = CAMP_PAGE_SELL;
            camp.cursor = 6;
        },
        [] {
            camp_page = CAMP_PAGE_BOONS;
            camp.cursor = 3;
        },
        [] { camp_page = CAMP_PAGE_SHOP; },
        [] {
            for (int i = 0; i < 5; i++) add(test_item(ITEM_DAGGER, i % 3));
            camp_page = CAMP_PAGE_FORGE;
            camp.cursor = 5;
        },
        [] {
            player.main_hand = test_item(ITEM_LONG_SWORD, 1, CAMP_UPGRADE_MAX, ENCHANT_KEEN);
            add(test_item(ITEM_LONG_SWORD));
            camp_page = CAMP_PAGE_FORGE_ITEM;
            camp.forge_slot = CAMP_SLOT_MAIN;
            camp.cursor = CAMP_FORGE_MERGE;
        },
        [] {
            camp.buy_back_count = 0;
            for (int i = 0; i < CAMP_BUY_BACK_MAX; i++) camp.buy_back[camp.buy_back_count++] = CampBuyBack{test_item(ITEM_ANTIDOTE), 2, 9 + i};
            camp_page = CAMP_PAGE_BUY_BACK;
            camp.cursor = 15;
        },
    };
    const Settings saved_settings = settings;
    const int32_t saved_device = input_device;
    set_key_name_fn(long_key_name);
    for (int action : {4, 5, 7}) settings.key_binds[action][0] = 230;  // A, B, SELECT on a key without a fixed name
    pad_glyph_style_set(PAD_PS5);
    const char* messages[] = {"SOLD 12 JUNK +1200G", "NOT ENOUGH GOLD TO REROLL"};
    for (int device : {INPUT_KEYBOARD, INPUT_PAD})
        for (int portrait = 0; portrait < 2; portrait++)
            for (size_t p = 0; p < pages.size(); p++) {
                const char* where = portrait ? " portrait" : " landscape";
                SetUp();
                input_device = device;
                if (portrait) layout_set_portrait();
                pages[p]();
                const ScreenRect& v = screen_layout.view;
                const int hy = v.y0 + (portrait ? 38 : 19);
                ASSERT_EQ(game_state, STATE_CAMP);
                draw_frame();  // the whole frame, as the messages are drawn with it
                for (int y = v.y1 - 13; y < v.y1 - 1; y++)
                    for (int x : {v.x0 + 2, v.x1 - 2}) EXPECT_EQ(screen_get(x, y), 0) << "footer, page " << p << where;
                // Card and row lines end inside their boxes: nothing reaches the right margin (the
                // sell and forge lists keep their scroll arrows there).
                if (p != 1 && p != 4) {
                    for (int y = v.y0 + 2; y < v.y1 - 1; y++)
                        for (int x = v.x1 - 5; x < v.x1 - 1; x++)
                            EXPECT_EQ(screen_get(x, y), 0) << "margin, page " << p << where << " at " << x << "," << y;
                }
                const std::vector<int> rows = fb_grab(v.x0, hy, v.x1 - v.x0 + 1, v.y1 - 14 - hy);
                const std::vector<int> title = fb_grab(v.x0, v.y0 + 8, v.x1 - v.x0 + 1, 7);
                const std::vector<int> header = fb_grab(v.x0, v.y0, v.x1 - v.x0 + 1, hy - v.y0);
                for (const char* m : messages) {
                    toast_show(m);
                    draw_frame();
                    EXPECT_EQ(fb_grab(v.x0, hy, v.x1 - v.x0 + 1, v.y1 - 14 - hy), rows) << m << ", page " << p << where;
                    // Nor does a message too long for its line hide the header.
                    EXPECT_EQ(fb_grab(v.x0, v.y0, v.x1 - v.x0 + 1, hy - v.y0), header) << m << ", page " << p << where;
                    // Portrait's header is tall enough to keep the page's title in sight.
                    if (portrait) {
                        EXPECT_EQ(fb_grab(v.x0, v.y0 + 8, v.x1 - v.x0 + 1, 7), title) << m << ", page " << p;
                    }
                }
                toast_timer = 0;
            }
    set_key_name_fn(nullptr);
    settings = saved_settings;
    input_device = saved_device;
    pad_glyph_style_set(PAD_XBOX);
}

// Every page in both layouts, with the looks the pages must survive, into camp_pages.png.
TEST_F(CampScreen, ReviewPictures) {
    struct Look {
        const char* name;
        std::function<void()> setup;
    };
    const Item long_sword = test_item(ITEM_ENCHANTED_SWORD, 2, 3, ENCHANT_VAMPIRIC, 5);
    const std::vector<Look> looks = {
        {"hub", [&] {
             add(long_sword);
             flow = 200;
             player.hp = 12;
         }},
        {"hub, boon taken, rested", [&] {
             camp.boon_taken = 1;
             camp.rested = 1;
             camp.key_sold = 1;
             camp.cursor = CAMP_TILE_REST;
         }},
        {"hub, nothing to sell or forge", [&] {
             player.main_hand = Item{};
             player.off_hand = Item{};
             camp.cursor = CAMP_TILE_ONWARD;
         }},
        {"sell, long names", [&] {
             add(long_sword);
             add(test_item(ITEM_SUPERIOR_POTION), 3);
             Item junk = test_item(ITEM_TOWER_SHIELD, 1, 2, ENCHANT_THORNS, 40);
             junk.junk = 1;
             add(junk);
             add(test_item(ITEM_VENOM_DAGGER, 2, 0, 0, 200));
             fill_buy_back(2);
             camp_page = CAMP_PAGE_SELL;
             camp.cursor = 1;
         }},
        {"sell, scrolled to the end", [&] {
             for (int i = 0; i < 10; i++) add(test_item(i % 2 ? ITEM_GREATER_POTION : ITEM_IRON_SHIELD, i % 3, 0, 0, i * 9));
             fill_buy_back(3);
             camp_page = CAMP_PAGE_SELL;
             camp.cursor = 10;
         }},
        {"sell, empty", [&] { camp_page = CAMP_PAGE_SELL; }},
        {"boons, short of gold", [&] {
             player.gold = 5;
             add(long_sword);
             camp_page = CAMP_PAGE_BOONS;
             camp.cursor = 1;
         }},
        {"boons, an empty offer, reroll", [&] {
             boon_offers[1] = BOON_NONE;
             player.gold = 900;
             camp_page = CAMP_PAGE_BOONS;
             camp.cursor = 3;
         }},
        {"shop", [&] {
             camp_page = CAMP_PAGE_SHOP;
             camp.cursor = 2;
         }},
        {"shop, sold out", [&] {
             current_floor = 16;
             camp.sale_sold = 1;
             camp.key_sold = 1;
             player.gold = 20;
             camp_page = CAMP_PAGE_SHOP;
             camp.cursor = 3;
         }},
        {"forge list", [&] {
             player.main_hand = test_item(ITEM_ENCHANTED_SWORD, 2, 3, ENCHANT_KEEN, 30);
             player.off_hand = test_item(ITEM_TOWER_SHIELD, 1, 0, ENCHANT_WARDING, 255);
             add(test_item(ITEM_LONG_SWORD, 1, 1));
             add(test_item(ITEM_IRON_SHIELD, 0, 0, 0, 10));
             camp_page = CAMP_PAGE_FORGE;
             camp.cursor = 3;
         }},
        {"forge list, empty", [&] {
             player.main_hand = Item{};
             player.off_hand = Item{};
             camp_page = CAMP_PAGE_FORGE;
         }},
        {"forge item, long enchant, broken", [&] {
             player.off_hand = test_item(ITEM_TOWER_SHIELD, 2, 1, ENCHANT_THORNS, 255);
             add(test_item(ITEM_TOWER_SHIELD));
             camp_page = CAMP_PAGE_FORGE_ITEM;
             camp.forge_slot = CAMP_SLOT_OFF;
             camp.cursor = 3;
         }},
        {"forge item, maxed", [&] {
             player.main_hand = test_item(ITEM_ENCHANTED_SWORD, 2, 3, ENCHANT_VAMPIRIC);
             camp_page = CAMP_PAGE_FORGE_ITEM;
             camp.forge_slot = CAMP_SLOT_MAIN;
             camp.cursor = 1;
         }},
        {"forge item, no item", [&] {
             camp_page = CAMP_PAGE_FORGE_ITEM;
             camp.forge_slot = 12;
         }},
        {"buy back, full", [&] {
             fill_buy_back(CAMP_BUY_BACK_MAX);
             player.gold = 100;
             camp_page = CAMP_PAGE_BUY_BACK;
             camp.cursor = 9;
         }},
        {"hub, a message, boon taken", [&] {
             camp.boon_taken = 1;
             camp.cursor = CAMP_TILE_BOONS;
             toast_show("BOON ALREADY TAKEN");
         }},
        {"sell, a message, on buy back", [&] {
             for (int i = 0; i < 6; i++) add(test_item(i % 2 ? ITEM_SHORT_SWORD : ITEM_ANTIDOTE));
             fill_buy_back(2);
             camp_page = CAMP_PAGE_SELL;
             camp.cursor = 6;
             toast_show("SOLD SHRTSWD +8G");
         }},
        {"forge list, scrolled up from the end", [&] {
             player.main_hand = test_item(ITEM_LONG_SWORD, 1, 1, 0, 9);
             player.off_hand = Item{};
             for (int i = 0; i < 6; i++) add(test_item(i % 2 ? ITEM_IRON_SHIELD : ITEM_DAGGER, i % 3));
             camp_page = CAMP_PAGE_FORGE;
             camp.cursor = 5;
         }},
        {"forge item, long sword, merge maxed, a message", [&] {
             player.main_hand = test_item(ITEM_LONG_SWORD, 1, CAMP_UPGRADE_MAX, ENCHANT_KEEN);
             add(test_item(ITEM_LONG_SWORD));
             camp_page = CAMP_PAGE_FORGE_ITEM;
             camp.forge_slot = CAMP_SLOT_MAIN;
             camp.cursor = CAMP_FORGE_MERGE;
             toast_show("AS GOOD AS IT GETS");
         }},
        {"boons, reroll, a long message", [&] {
             camp_page = CAMP_PAGE_BOONS;
             camp.cursor = 3;
             toast_show("NOT ENOUGH GOLD TO REROLL");
         }},
        {"sell, a controller's names", [&] {
             add(long_sword);
             input_device = INPUT_PAD;
             pad_glyph_style_set(PAD_PS5);
             camp_page = CAMP_PAGE_SELL;
         }},
        {"buy back, empty", [&] {
             camp.buy_back_count = 0;
             camp_page = CAMP_PAGE_BUY_BACK;
         }},
    };
    const int cell_w = FB_LONG + FB_SHORT + 12, cell_h = FB_LONG + 8;
    const int across = 3;
    PngSheet sheet(across * cell_w, (int)((looks.size() + across - 1) / across) * cell_h);
    for (size_t i = 0; i < looks.size(); i++) {
        for (int portrait = 0; portrait < 2; portrait++) {
            SetUp();
            if (portrait) layout_set_portrait();
            looks[i].setup();
            // Let the campfire catch before the picture is taken.
            for (int t = 0; t < FIRE_WARM_TICKS && camp_page == CAMP_PAGE_HUB; t++) update_camp(0);
            EXPECT_TRUE(draw_inside()) << looks[i].name << (portrait ? " (portrait)" : " (landscape)");
            for (uint8_t* p = framebuffer; p < framebuffer + FB_BYTES; p++)
                if (*p == OUTSIDE) *p = 0;
            const int dx = (int)(i % across) * cell_w + (portrait ? FB_LONG + 6 : 0);
            const int dy = (int)(i / across) * cell_h;
            sheet.paste(0, 0, screen_layout.width, screen_layout.height, dx, dy, 1);
            char name[64];
            std::snprintf(name, sizeof name, "camp_%02d_%s.png", (int)i, portrait ? "portrait" : "landscape");
            png_write_framebuffer(name, 3);
            input_device = INPUT_KEYBOARD;
            pad_glyph_style_set(PAD_XBOX);
        }
        sheet.label((int)(i % across) * cell_w, (int)(i / across) * cell_h + FB_SHORT + 4, looks[i].name);
    }
    sheet.write("camp_pages.png");
}

}  // namespace
