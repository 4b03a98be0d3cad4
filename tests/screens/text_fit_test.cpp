// Every footer and card line of the level-up, fight, shrine and title screens stands whole in its
// box, in both layouts, with the keyboard's longest key names and a PS5 controller's: the level-up
// footer keeps both hints and its toast keeps off the cards, the fight's side texts stay clear of
// the hurt vignette and the threat marks, shrine card lines are never cut, the shrine's bottom line
// keeps its dark band, and the title's portrait hint keeps clear of the inner frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "boons/boons.h"
#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/fx.h"
#include "combat/meters.h"
#include "combat/reflex.h"
#include "combat/status.h"
#include "dungeon/fxfield.h"
#include "dungeon/monsters.h"
#include "dungeon/particles.h"
#include "dungeon/view_pos.h"
#include "game/game.h"
#include "game/run_start.h"
#include "items/item.h"
#include "levelup/levelup.h"
#include "platform/input.h"
#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/fight_reflex_view.h"
#include "screens/screens.h"
#include "services/services.h"
#include "services/toast.h"
#include "shrine/shrine.h"
#include "support/fb_text.h"
#include "support/png_out.h"
#include "support/tick_reset.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

// The keyboard's fixed key names reach five letters: A on ENTER, B on SPACE, SELECT on SHIFT.
// The PS5 controller's reach seven ("OPTIONS"); A, B and SELECT read CROSS, CIRCLE and CREATE.
constexpr int SC_ENTER = 40, SC_SPACE_KEY = 44, SC_SHIFT = 225;
const int ACTION_A = action_of_mask(BTN_A), ACTION_B = action_of_mask(BTN_B),
          ACTION_SELECT = action_of_mask(BTN_SELECT);
enum Names { NAMES_KEYBOARD, NAMES_PS5, NAMES_COUNT };

void names_use(int names) {
    bindings_default();
    settings.key_binds[ACTION_A][0] = SC_ENTER;
    settings.key_binds[ACTION_B][0] = SC_SPACE_KEY;
    settings.key_binds[ACTION_SELECT][0] = SC_SHIFT;
    input_device_set(names == NAMES_PS5 ? INPUT_PAD : INPUT_KEYBOARD);
    pad_glyph_style_set(PAD_PS5);
}

void layout_use(int portrait) { portrait ? layout_set_portrait() : layout_set_landscape(); }

const char* case_name(int names, int portrait) {
    static char text[48];
    std::snprintf(text, sizeof text, "%s, %s", names == NAMES_PS5 ? "PS5 pad" : "keyboard",
                  portrait ? "portrait" : "landscape");
    return text;
}

// Review pictures (QM_PNG_DIR): each case's whole framebuffer in a cell of its own, at 2x.
struct Shots {
    static constexpr int CELL = 2 * FB_LONG + 8;
    static bool on() { return std::getenv("QM_PNG_DIR") && *std::getenv("QM_PNG_DIR"); }
    PngSheet sheet;
    int cols, next = 0;
    Shots(int columns, int rows) : sheet(on() ? columns * CELL : 1, on() ? rows * CELL : 1), cols(columns) {}
    void add() {
        if (on()) sheet.paste(0, 0, screen_layout.width, screen_layout.height, next % cols * CELL, next / cols * CELL, 2);
        next++;
    }
};

// Whether the rectangle holds nothing but dark outside the cells of a text at (tx, ty).
bool dark_but_text(int x0, int y0, int x1, int y1, int tx, int ty, const char* text) {
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            const bool in_text = x >= tx && x < tx + text_width(text) && y >= ty && y < ty + FONT_CELL_H;
            if (!in_text && screen_get(x, y) != 0) return false;
        }
    return true;
}

// Whether one of a text's forms stands whole at row y, centred in the view's width w, within
// `room` pixels of width.
bool one_form_whole(std::initializer_list<const char*> forms, int y, int colour, int room) {
    const ScreenRect v = screen_layout.view;
    const int w = v.x1 - v.x0;
    for (const char* form : forms) {
        const std::string text = text_ring_expand(form);
        const int tw = text_width(text.c_str());
        if (tw <= room && fb_text_at(v.x0 + (w + 1 - tw) / 2, y, text.c_str(), colour)) return true;
    }
    return false;
}

TEST(TextFit, LevelUpFooterKeepsBothHintsAndItsToastKeepsOffTheCards) {
    player_start();
    levelup_clear();
    levelup.pending = 1;
    player.hp = 9;
    input_lock_timer = 0;
    input_lock_held = 0;
    fx_state.flash_levelup = 0;
    // The longest card words: the heal card's line, and a boon card with its tag and pips.
    const int decks[2][3] = {{PICK_CATCH_BREATH, PICK_REPAIR, PICK_SPARE_KEY}, {PICK_BOON, PICK_FLASK, PICK_TOUGHNESS}};
    levelup.boon_offer = BOON_VAMPIRIC;
    game_state = STATE_LEVELUP;
    Shots shots(4, 2);
    for (int names = 0; names < NAMES_COUNT; names++)
        for (int portrait = 0; portrait < 2; portrait++)
            for (const auto& deck : decks) {
                SCOPED_TRACE(case_name(names, portrait));
                names_use(names);
                layout_use(portrait);
                for (int i = 0; i < 3; i++) levelup.picks[i] = deck[i];
                toast_timer = 0;
                screen_clear();
                draw_levelup();
                const ScreenRect v = screen_layout.view;
                const int w = v.x1 - v.x0;
                // Both hints whole, in their long or their short form, centred within w - 7.
                const int footer_y = portrait ? v.y1 - 12 : v.y1 - 9;
                EXPECT_TRUE(one_form_whole({"{A}: TAKE  {SELECT}: BAG", "{A}:TAKE  {SELECT}:BAG"}, footer_y, 1, w - 7));
                // No card's words run past its right edge: the columns between the card and the
                // view's frame stay dark.
                const int card_top = v.y0 + (portrait ? 38 : 19), card_rows = portrait ? 38 * 3 + 10 : 30 * 3 + 6;
                for (int y = card_top; y < card_top + card_rows; y++)
                    for (int x = v.x0 + 8 + w - 15; x < v.x1 - 1; x++) ASSERT_EQ(screen_get(x, y), 0) << x << "," << y;
                // The fight's toast takes the footer's place, a dark row from the third card and
                // the frame line, its letters off its own outline.
                toast_show2("LEVEL UP! NOW LVL 12", "GOT A KEY");
                screen_clear();
                draw_levelup();
                const std::vector<uint8_t> before(framebuffer, framebuffer + FB_BYTES);
                draw_levelup_toast();
                int changed = 0;
                for (int y = v.y0; y <= v.y1; y++)
                    for (int x = v.x0; x <= v.x1; x++) {
                        const int i = y * screen_layout.width + x;
                        if (framebuffer[i] == before[i]) continue;
                        changed++;
                        ASSERT_GT(y, card_top + card_rows) << x << "," << y;
                        ASSERT_LT(y, v.y1 - 2) << x << "," << y;
                    }
                EXPECT_GT(changed, 0);
                EXPECT_FALSE(one_form_whole({"{A}: TAKE  {SELECT}: BAG", "{A}:TAKE  {SELECT}:BAG"}, footer_y, 1, w - 7));
                const char* lines[2] = {"LEVEL UP! NOW LVL 12", "GOT A KEY"};
                for (int l = 0; l < 2; l++) {
                    int lx = -1, ly = -1;
                    for (int y = card_top + card_rows; y <= v.y1 && lx < 0; y++)
                        for (int x = v.x0; x <= v.x1 && lx < 0; x++)
                            if (fb_text_at(x, y, lines[l], 2 + l)) lx = x, ly = y;
                    ASSERT_GE(lx, 0) << lines[l];
                    for (int x = lx - 2; x < lx + text_width(lines[l]) + 2; x++)
                        for (int y : {ly - 1, ly + 7}) EXPECT_EQ(screen_get(x, y), 0) << lines[l] << " at " << x << "," << y;
                }
                shots.add();
            }
    shots.sheet.write("text_fit_levelup.png");
}

// A duel against a skeleton at rest, flow and threat up, so the souls line shows.
void duel_with_souls_line(int portrait) {
    tick_globals_reset(STATE_COMBAT);
    layout_use(portrait);
    // The second layout's duel starts over from the first's.
    sharp_rects_clear();
    particles_reset();
    fx_reset();
    reflex_clear();
    combat = Combat{};
    combat.type = M_SKELETON;
    combat.reflex = 1;
    combat.hp = combat.max_hp = 40;
    player.hp = player.max_hp = 100;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    reflex_fight_start(M_SKELETON, 40, 40, 6, 3, false);
    reflex.clock = 6000;
    reflex_monster_enter(MS_READY, 600);
    reflex.state_start = 5800;
    reflex.stagger_meter = 0;  // the marks all empty: outlines of colour 1
    flow = 720;
    combo = 30;
    threat_total = 40;
    settings.flashes = 1;
    settings.prompts = 0;
}

TEST(TextFit, FightSideTextsStayClearOfTheVignetteAndTheThreatMarks) {
    Shots shots(4, 1);
    for (int portrait = 0; portrait < 2; portrait++) {
        SCOPED_TRACE(portrait ? "portrait" : "landscape");
        duel_with_souls_line(portrait);
        names_use(NAMES_KEYBOARD);
        const ScreenRect v = screen_layout.view;
        screen_clear();
        draw_fight_reflex();
        draw_status_border();
        const std::vector<uint8_t> calm(framebuffer, framebuffer + FB_BYTES);
        shots.add();
        // The souls line's box holds its text and dark, none of the marks' outlines.
        char souls[24];
        fight_souls_text(fight_souls_tenths(souls_preview(0), threat_total), souls, sizeof souls);
        const int souls_y = v.y0 + 37, souls_right = v.x0 + 3 + text_width(souls);
        for (int y = souls_y - 1; y <= souls_y + 7; y++)
            for (int x = v.x0 + 2; x <= souls_right; x++) {
                const int c = screen_get(x, y);
                ASSERT_TRUE(c == 0 || c == 3) << x << "," << y << " colour " << c;
            }
        int marks = 0;
        for (int y = souls_y + 2; y <= souls_y + 16; y++)
            for (int x = souls_right + 1; x <= v.x1; x++) marks += screen_get(x, y) == 1;
        EXPECT_GT(marks, 4 * 12);  // the four marks' outlines, right of the line
        // The fight drawn with its border: the HUD rows down to the souls stay as the calm frame drew them.
        const auto hud_rows_stay = [&] {
            sharp_rects_clear();
            screen_clear();
            draw_fight_reflex();
            draw_status_border();
            for (int y = v.y0; y <= souls_y + 7; y++)
                for (int x = v.x0; x <= v.x1; x++) {
                    const int i = y * screen_layout.width + x;
                    if (framebuffer[i] != calm[i]) return ::testing::AssertionFailure() << x << "," << y;
                }
            return ::testing::AssertionSuccess();
        };
        // A heavy blow's vignette leaves every HUD row as it was: name, flow, souls and count.
        fx_hurt_from_damage(30);
        ASSERT_EQ(fx_hurt_width(), 8);
        ASSERT_TRUE(hud_rows_stay());
        // Below the HUD rows the vignette still lights the edges.
        EXPECT_EQ(screen_get(v.x0, v.y0 + 60), 3);
        EXPECT_EQ(screen_get(v.x1, v.y0 + 60), 3);
        shots.add();
        // Poison's hatching and the burn's flames leave those rows as they were, too.
        player.status[ST_POISON] = player.status[ST_BURN] = 3;
        ASSERT_TRUE(hud_rows_stay());
        player.status[ST_POISON] = player.status[ST_BURN] = 0;
    }
    shots.sheet.write("text_fit_fight.png");
}

TEST(TextFit, ShrineCardLinesStandWholeAndTheBottomLineKeepsItsBand) {
    profile = Profile{};
    shrine_enter();
    ProfileClass& k = profile.classes[CLASS_KNIGHT];
    k.first_run = 1;
    k.runs = 120;
    k.wins = 15;
    k.deepest = 19;
    k.deepest_heat = 3;
    k.best_heat_won = 2;
    k.fastest_win = 1754;
    k.streak = 12;
    k.best_streak = 14;
    k.kills = 4321;
    k.deaths_by[M_SKELETON] = 33;
    Shots shots(6, 2);
    for (int names = 0; names < NAMES_COUNT; names++)
        for (int portrait = 0; portrait < 2; portrait++) {
            SCOPED_TRACE(case_name(names, portrait));
            names_use(names);
            layout_use(portrait);
            const ScreenRect v = screen_layout.view;
            const int w = v.x1 - v.x0;
            // The KNIGHT's card: the long tally line is never cut, and no line reaches the card's edge.
            shrine.mode = 0;
            player.x = 4;
            player.y = 2;
            player.facing = 0;
            player_view_sync();
            update_shrine(BTN_A);
            ASSERT_EQ(shrine.mode, 1);
            screen_clear();
            draw_shrine();
            int top = -1;
            for (int y = v.y0 + 13; y < v.y1 && top < 0; y++)
                if (fb_text_at(v.x0 + 5, y, "KNIGHT", 3)) top = y;
            ASSERT_GE(top, 0);
            const char* tally = portrait ? "RUNS 120 WINS 15 (12%)" : "RUNS 120  WINS 15 (12%)";
            EXPECT_TRUE(fb_text_at(v.x0 + 5, top + 18, tally, 2, 1));
            shots.add();
            ShrineCard card;
            ASSERT_TRUE(shrine_inspect_card(&card));
            for (int y = top; y < top + 9 * card.count; y++)
                for (int x = v.x1 - 4; x <= v.x1 - 2; x++) ASSERT_EQ(screen_get(x, y), 0) << x << "," << y;
            // Facing the way out past the candles: the leave line on its dark band.
            update_shrine(BTN_B);
            ASSERT_EQ(shrine.mode, 0);
            player.x = 7;
            player.y = 7;
            player_view_sync();
            screen_clear();
            draw_frame();
            const std::string leave = text_ring_expand("{B}: LEAVE");
            const int lx = v.x0 + (w + 1 - text_width(leave.c_str())) / 2;
            EXPECT_TRUE(fb_text_at(lx, v.y1 - 10, leave.c_str(), 1));
            EXPECT_TRUE(dark_but_text(v.x0 + 2, v.y1 - 12, v.x1 - 2, v.y1 - 2, lx, v.y1 - 10, leave.c_str()));
            shots.add();
            // The shrouded statue's line keeps its button name and stays inside the band.
            player.x = 4;
            player.y = 8;
            player.facing = 2;
            player_view_sync();
            screen_clear();
            draw_frame();
            // Inside the band: from x0 + 3 to x1 - 2, centred.
            EXPECT_TRUE(one_form_whole({"{A}: A SHROUDED STATUE", "{A}:A SHROUDED STATUE"}, v.y1 - 10, 3, w - 5));
            shots.add();
        }
    shots.sheet.write("text_fit_shrine.png");
}

TEST(TextFit, TitleHintKeepsADarkPixelInsideTheInnerFrame) {
    Shots shots(2, 1);
    for (int names = 0; names < NAMES_COUNT; names++) {
        SCOPED_TRACE(names == NAMES_PS5 ? "PS5 pad" : "keyboard");
        names_use(names);
        layout_set_portrait();
        const ScreenRect v = screen_layout.view;
        screen_clear();
        particles_reset();
        fxfield_clear(0);  // no flames behind the hint: only its own pixels are looked at
        TitleView view{};
        view.cursor = view.slide_from_row = 1;
        view.slide_age = TITLE_SLIDE_TICKS;
        draw_title(view);
        // The hint's rows, outline included: the inner frame's column, a dark pixel, then at most
        // the hint's own dark outline, on each side.
        for (int y = v.y1 - 14; y <= v.y1 - 6; y++) {
            EXPECT_EQ(screen_get(v.x0 + 4, y), 2) << y;
            EXPECT_EQ(screen_get(v.x1 - 4, y), 2) << y;
            for (int d = 5; d <= 6; d++) {
                EXPECT_EQ(screen_get(v.x0 + d, y), 0) << d << "," << y;
                EXPECT_EQ(screen_get(v.x1 - d, y), 0) << d << "," << y;
            }
        }
        // And the hint is there, whole, in its long or its short form.
        EXPECT_TRUE(one_form_whole({"{DPAD} + {A}: SELECT", "{DPAD}+{A}: SELECT"}, v.y1 - 13, 1, v.x1 - v.x0));
        shots.add();
    }
    shots.sheet.write("text_fit_title.png");
}

}  // namespace
