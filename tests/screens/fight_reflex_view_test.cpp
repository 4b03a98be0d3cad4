// The real-time fight view and the status border: the formatters, the health-fill guard, the draw
// state put back, nothing drawn outside the view, the three status edges and the overlays' places,
// and review pictures of the duel's moments through the real draw pass and composition.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "combat/combat.h"
#include "combat/meters.h"
#include "combat/duel.h"
#include "combat/fx.h"
#include "combat/reflex.h"
#include "dungeon/fxfield.h"
#include "dungeon/monsters.h"
#include "dungeon/particles.h"
#include "game/game.h"
#include "items/item.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "render/text_runs.h"
#include "saves/settings.h"
#include "screens/fight_reflex_view.h"
#include "screens/screens.h"
#include "services/services.h"
#include "support/png_out.h"
#include "support/tick_reset.h"
#include "world/dither.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int32_t NOW = 6000;

// A duel in progress against `type`, the monster resting, the player with a sword and a shield.
void fight_setup(int type) {
    tick_globals_reset(STATE_COMBAT);
    layout_set_landscape();
    screen_reset_draw_state();
    sprite_set_clip(0, 0, -1, -1);
    sprite_set_checker_dim(0);
    sprite_set_break_bands(0);
    sharp_rects_clear();
    particles_reset();
    fx_reset();
    reflex_clear();
    duel = DuelMeters{};
    for (int32_t& c : duel_counters) c = 0;
    combat = Combat{};
    combat.type = (uint32_t)type;
    combat.reflex = 1;
    combat.hp = combat.max_hp = 40;
    player.hp = 70;
    player.max_hp = 100;
    for (uint8_t& s : player.status) s = 0;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    reflex_fight_start(type, 40, 40, 6, 3, false);
    reflex.clock = NOW;
    reflex_monster_enter(MS_READY, 600);
    reflex.state_start = NOW - 200;
    settings.prompts = 1;
    settings.flashes = 1;
    timing_bar_on = 1;
    frame_counter = 100;
}

void attack(int kind, int side, int windup, int parry, int elapsed) {
    reflex.current = AttackEntry{};
    reflex.current.kind = kind;
    reflex.current.windup = windup;
    reflex.current.parry_window = parry;
    reflex.current.side = side;
    reflex_monster_enter(MS_ATTACK, windup);
    reflex.state_start = NOW - elapsed;
}

struct Moment {
    const char* name;
    int type;
    std::function<void()> set;
};

const std::vector<Moment>& moments() {
    static const std::vector<Moment> list = [] {
        std::vector<Moment> m;
        for (int t = 1; t < M_COUNT; t++) m.push_back({"idle", t, [] {}});
        for (int t = 1; t < M_COUNT; t++)
            m.push_back({"wind-up", t, [] {
                             attack(ATK_PLAIN, 0, 900, 360, 620);
                             reflex.last_guard_press_at = NOW - 120;
                         }});
        for (int t = 1; t < M_COUNT; t++)
            m.push_back({"guard", t, [] {
                             reflex_monster_enter(MS_GUARD, 1500);
                             reflex.state_start = NOW - 700;
                             reflex.stars_needed = 4;
                             reflex.stars = 2;
                             reflex.star_at = NOW - 60;
                         }});
        for (int t = 1; t < M_COUNT; t++)
            m.push_back({"stagger", t, [] {
                             reflex_monster_enter(MS_STAGGER, 900);
                             reflex.state_start = reflex.staggered_at = NOW - 600;
                         }});
        for (int t = 1; t < M_COUNT; t++)
            m.push_back({"hit", t, [] {
                             reflex.last_hit_at = NOW - 60;
                             reflex.jab_started_at = NOW - 70;
                             reflex.jab_impact_at = NOW - 40;
                             reflex.hp = 22;
                             combat.hit_popup_timer = 8;
                             combat.hit_popup_value = 12;
                             combat.hurt_popup_timer = 30;
                             combat.hurt_popup_value = 7;
                         }});
        for (int t = 1; t < M_COUNT; t++)
            m.push_back({"dodge-only", t, [t] { attack(ATK_SIDE, t % 2 ? 1 : -1, 650, 300, 520); }});
        for (int t = 1; t < M_COUNT; t++)
            m.push_back({"victory", t, [] {
                             reflex_monster_enter(MS_DEAD, 0);
                             reflex.hp = 0;
                             combat.victory_delay = 17;
                         }});
        m.push_back({"early wind-up", 1, [] { attack(ATK_PLAIN, 0, 900, 360, 150); }});
        m.push_back({"feint", 3, [] { attack(ATK_FEINT, 0, 900, 360, 500); }});
        m.push_back({"rest sword+shield", 1, [] {}});
        m.push_back({"guard sword+shield", 1, [] { reflex.guard_up = 1; }});
        m.push_back({"rest axe", 1, [] {
                         player.main_hand = item_make(ITEM_BATTLE_AXE);
                         player.off_hand = Item{};
                     }});
        m.push_back({"guard axe", 1, [] {
                         player.main_hand = item_make(ITEM_BATTLE_AXE);
                         player.off_hand = Item{};
                         reflex.guard_up = 1;
                     }});
        m.push_back({"rest spear", 1, [] {
                         player.main_hand = item_make(ITEM_SPEAR);
                         player.off_hand = Item{};
                     }});
        m.push_back({"guard spear", 1, [] {
                         player.main_hand = item_make(ITEM_SPEAR);
                         player.off_hand = Item{};
                         reflex.guard_up = 1;
                     }});
        m.push_back({"rest daggers", 1, [] {
                         player.main_hand = item_make(ITEM_DAGGER);
                         player.off_hand = item_make(ITEM_VENOM_DAGGER);
                     }});
        m.push_back({"guard long+iron", 1, [] {
                         player.main_hand = item_make(ITEM_LONG_SWORD);
                         player.off_hand = item_make(ITEM_IRON_SHIELD);
                         reflex.guard_up = 1;
                     }});
        m.push_back({"bare hands", 1, [] {
                         player.main_hand = Item{};
                         player.off_hand = Item{};
                     }});
        m.push_back({"worn sword bands", 1, [] {
                         player.main_hand.wear = (uint8_t)item_wear_max(player.main_hand);
                         player.main_hand.wear = (uint8_t)(player.main_hand.wear - 1);
                         player.off_hand.wear = (uint8_t)(item_wear_max(player.off_hand) / 2);
                     }});
        m.push_back({"jab", 2, [] {
                         reflex.jab_started_at = NOW - 90;
                         reflex.jab_impact_at = NOW - 60;
                         reflex.last_jab_at = NOW - 600;
                         reflex.jab_chain = 2;
                     }});
        m.push_back({"heavy charge", 7, [] {
                         reflex.charging = 1;
                         reflex.charge_start = NOW - 300;
                     }});
        m.push_back({"heavy full", 7, [] {
                         reflex.charging = 1;
                         reflex.full_heavy = 1;
                         reflex.charge_start = NOW - 900;
                         frame_counter = 4;
                     }});
        m.push_back({"heavy shatter", 3, [] {
                         reflex.heavy_started_at = NOW - 150;
                         reflex.heavy_impact_at = NOW - 60;
                         reflex.last_hit_at = NOW - 60;
                         combat.hit_popup_timer = 9;
                         combat.hit_popup_heavy = 1;
                         combat.hit_popup_value = 31;
                         combat.hurt_popup_timer = 20;
                         combat.hurt_popup_kind = HURT_KIND_BLOCK;
                         combat.shake_timer = 7;
                         flow = 720;
                         combo = 30;
                         threat_total = 40;
                         reflex.stagger_meter = 7;
                         spawn_sparks(true);
                         spawn_debris();
                     }});
        m.push_back({"parry", 5, [] {
                         attack(ATK_PLAIN, 0, 900, 360, 890);
                         reflex.guard_up = 1;
                         reflex.parry_at = NOW - 50;
                         reflex.last_guard_press_at = NOW - 50;
                     }});
        m.push_back({"dodge slide", 6, [] {
                         reflex.dodge_at = NOW - 150;
                         reflex.dodge_side = -1;
                     }});
        m.push_back({"low hp", 8, [] {
                         player.hp = 20;
                         frame_counter = 10;
                     }});
        m.push_back({"poison", 1, [] {
                         player.status[ST_POISON] = 4;
                         fx_state.frame = 40;
                     }});
        m.push_back({"poison flash", 1, [] {
                         player.status[ST_POISON] = 4;
                         status_flash(ST_POISON);
                         fx_state.status_flash = 10;
                     }});
        m.push_back({"burn", 1, [] {
                         player.status[ST_BURN] = 4;
                         for (int i = 0; i < 40; i++) fx_update();
                     }});
        m.push_back({"regen", 1, [] { player.status[ST_REGEN] = 4; }});
        m.push_back({"regen flash", 1, [] {
                         player.status[ST_REGEN] = 4;
                         status_flash(ST_REGEN);
                         fx_state.status_flash = 10;
                     }});
        m.push_back({"ring", 4, [] { fx_state.flash_medium = 12; }});
        m.push_back({"negative", 4, [] { fx_state.flash_small = 2; }});
        m.push_back({"long flash", 2, [] {
                         fx_long_flash();
                         for (int i = 0; i < 12; i++) fx_update();
                     }});
        m.push_back({"banner", 2, [] {
                         std::snprintf(fx_state.popup, sizeof fx_state.popup, "%s", "GUARD\nBROKEN");
                         fx_state.popup_timer = fx_state.popup_timer_max = FX_BANNER_TICKS;
                         fx_state.popup_timer = 40;
                         fx_state.banner = 1;
                     }});
        m.push_back({"souls line", 3, [] {
                         // A tall monster brings the empty threat marks up beside the souls line.
                         flow = 320;
                         threat_total = 40;
                     }});
        m.push_back({"hurt", 2, [] {
                         // Two steps after a heavy blow took 30 of 100: the vignette at its thickest.
                         reflex_monster_enter(MS_RECOIL, 400);
                         reflex.state_start = NOW - 30;
                         player.hp = 40;
                         combat.hurt_popup_timer = POPUP_LONG_TICKS - 2;
                         combat.hurt_popup_value = 30;
                         combat.hurt_popup_kind = HURT_KIND_HURT;
                         fx_hurt_from_damage(30);
                         fx_update();
                         fx_update();
                     }});
        return m;
    }();
    return list;
}

void show(const Moment& m) {
    fight_setup(m.type);
    m.set();
}

struct FightReflexViewTest : ::testing::Test {
    void TearDown() override {
        fight_setup(1);
        combat.reflex = 0;
        game_state = STATE_TITLE;
        timing_bar_on = 0;
        layout_set_landscape();
    }
};

TEST(FightViewText, FlowDropsTrailingZerosThenThePoint) {
    char s[24];
    const struct {
        int pct;
        const char* want;
    } rows[] = {{110, "FLOW x1.1"}, {125, "FLOW x1.25"}, {150, "FLOW x1.5"}, {200, "FLOW x2"}, {105, "FLOW x1.05"}, {100, "FLOW x1"}};
    for (const auto& r : rows) {
        fight_flow_text(r.pct, s, sizeof s);
        EXPECT_STREQ(s, r.want) << r.pct;
    }
    fight_flow_text(125, s, 6);
    EXPECT_STREQ(s, "FLOW ");
}

TEST(FightViewText, SoulsLineAndItsMultiplier) {
    char s[24];
    fight_souls_text(15, s, sizeof s);
    EXPECT_STREQ(s, "SOULS x1.5");
    fight_souls_text(10, s, sizeof s);
    EXPECT_STREQ(s, "SOULS x1.0");
    EXPECT_EQ(fight_souls_tenths(20, 50), 13);  // 200 / 15 = 13.3
    EXPECT_EQ(fight_souls_tenths(20, 60), 14);  // 200 / 14 = 14.29
    EXPECT_EQ(fight_souls_tenths(3, 30), 10);   // nothing left beside the threat
    EXPECT_EQ(fight_souls_tenths(0, 0), 10);
    EXPECT_EQ(fight_souls_tenths(30, 0), 10);
}

TEST(FightViewText, PopupSplitsAtTheFirstLineFeed) {
    char a[32], b[32];
    EXPECT_EQ(fight_popup_lines("PARRY", a, b), 1);
    EXPECT_STREQ(a, "PARRY");
    EXPECT_STREQ(b, "");
    EXPECT_EQ(fight_popup_lines("GUARD\nBROKEN\nAGAIN", a, b), 2);
    EXPECT_STREQ(a, "GUARD");
    EXPECT_STREQ(b, "BROKEN");
    EXPECT_EQ(fight_popup_lines("\n", a, b), 2);
    EXPECT_STREQ(a, "");
    EXPECT_STREQ(b, "");
}

TEST(FightViewBars, HealthFillIsGuarded) {
    EXPECT_EQ(fight_bar_fill(5, 10, 100), 50);
    EXPECT_EQ(fight_bar_fill(0, 10, 100), 0);
    EXPECT_EQ(fight_bar_fill(-7, 10, 100), 0);
    EXPECT_EQ(fight_bar_fill(25, 10, 100), 100);
    EXPECT_EQ(fight_bar_fill(5, 0, 100), 0);
    EXPECT_EQ(fight_bar_fill(5, -3, 100), 0);
    EXPECT_EQ(fight_bar_fill(2000000000, 2000000000, 166), 166);
}

TEST_F(FightReflexViewTest, LowHpStripFillsByHealthAndBlinksBelowAThird) {
    fight_setup(1);
    const ScreenRect v = screen_layout.view;
    auto fill_len = [&] {
        int n = 0;
        for (int x = v.x0 + 3; x <= v.x1 - 3; x++) n += screen_get(x, v.y1 - 3) == 3;
        return n;
    };
    const int inner = v.x1 - v.x0 + 1 - 6;
    const struct {
        int hp, max, want;
    } rows[] = {{50, 100, inner / 2}, {0, 100, 0}, {-5, 100, 0}, {300, 100, inner}, {5, 0, 0}};
    for (const auto& r : rows) {
        screen_clear();
        player.hp = r.hp;
        player.max_hp = r.max;
        draw_low_hp_strip();
        EXPECT_EQ(fill_len(), r.want) << r.hp << "/" << r.max;
    }
    player.hp = 20;
    player.max_hp = 100;
    int outline[2];
    for (int k = 0; k < 2; k++) {
        frame_counter = 10 * k;
        screen_clear();
        draw_low_hp_strip();
        outline[k] = screen_get(v.x0 + 2, v.y1 - 5);
    }
    EXPECT_NE(outline[0], outline[1]);
    player.hp = 50;
    for (int k = 0; k < 2; k++) {
        frame_counter = 10 * k;
        screen_clear();
        draw_low_hp_strip();
        EXPECT_EQ(screen_get(v.x0 + 2, v.y1 - 5), 2);
    }
}

TEST_F(FightReflexViewTest, TopBarHealthGuardedAgainstABadMaximum) {
    for (int max : {0, -4}) {
        fight_setup(1);
        combat.max_hp = max;
        reflex.hp = 10;
        screen_clear();
        draw_fight_reflex();
        const ScreenRect& v = screen_layout.view;
        EXPECT_EQ(screen_get(v.x0 + 3, v.y0 + 15), 0) << max;
    }
    fight_setup(1);
    reflex.hp = 999;
    screen_clear();
    draw_fight_reflex();
    const ScreenRect& v = screen_layout.view;
    EXPECT_EQ(screen_get(v.x1 - 3, v.y0 + 15), 2);  // full, and no further than the outline
    EXPECT_EQ(screen_get(v.x1 - 2, v.y0 + 15), 2);
    EXPECT_EQ(screen_get(v.x1 - 2, v.y0 + 14), 2);
    EXPECT_EQ(screen_get(v.x1 - 1, v.y0 + 15), 0);
}

// The attack hint stands above the player's sword and shield, in both layouts: the rows of the
// hint and its dark outline hold none of the pixels the two hands draw.
TEST_F(FightReflexViewTest, AttackHintStandsAboveTheSwordAndShield) {
    for (int portrait = 0; portrait < 2; portrait++)
        for (int type = 1; type < M_COUNT; type++) {
            fight_setup(type);
            if (portrait) layout_set_portrait();
            text_runs_start();
            screen_clear();
            draw_fight_reflex();
            text_runs_stop();
            TextBox hint{};
            for (int i = 0; i < text_runs.run_count; i++)
                if (std::strstr(text_runs.runs[i].text, ": ATTACK")) hint = text_runs.runs[i].box;
            ASSERT_GT(hint.x1, hint.x0) << "type " << type;
            // The same frame without the hint (a number rising holds it back), with and without
            // the sword and shield.
            fx_state.popup_timer = 1;
            screen_clear();
            draw_fight_reflex();
            const std::vector<uint8_t> armed(framebuffer, framebuffer + FB_BYTES);
            player.main_hand = Item{};
            player.off_hand = Item{};
            screen_clear();
            draw_fight_reflex();
            int crossed = 0;
            for (int y = hint.y0 - 2; y <= hint.y1 + 2; y++)
                for (int x = hint.x0 - 1; x <= hint.x1 + 1; x++)
                    crossed += framebuffer[y * screen_layout.width + x] != armed[(size_t)y * screen_layout.width + x];
            EXPECT_EQ(crossed, 0) << "type " << type << (portrait ? " portrait" : " landscape");
        }
}

// Every moment leaves the draw state as it found it and draws nothing outside the view.
TEST_F(FightReflexViewTest, DrawStateRestoredAndNothingOutsideTheView) {
    for (int portrait = 0; portrait < 2; portrait++)
        for (const Moment& m : moments()) {
            show(m);
            if (portrait) layout_set_portrait();
            screen_clear();
            screen_set_dither(3);
            const int32_t before[4] = {draw_origin_x, draw_origin_y, draw_color_override, draw_dither_level};
            const SpriteClip clip_before = sprite_clip;
            draw_fight_reflex();
            draw_status_border();
            EXPECT_EQ(draw_origin_x, before[0]) << m.name;
            EXPECT_EQ(draw_origin_y, before[1]) << m.name;
            EXPECT_EQ(draw_color_override, before[2]) << m.name;
            EXPECT_EQ(draw_dither_level, before[3]) << m.name;
            EXPECT_EQ(draw_column_mask, nullptr);
            EXPECT_EQ(draw_column_clip, nullptr);
            EXPECT_EQ(std::memcmp(&sprite_clip, &clip_before, sizeof sprite_clip), 0) << m.name;
            EXPECT_EQ(sprite_scaled_reuse, 0);
            screen_set_dither(0);
            const ScreenRect& v = screen_layout.view;
            int outside = 0;
            for (int y = 0; y < screen_layout.height; y++)
                for (int x = 0; x < screen_layout.width; x++)
                    if ((x < v.x0 || x > v.x1 || y < v.y0 || y > v.y1) && screen_get(x, y)) outside++;
            EXPECT_EQ(outside, 0) << m.name << " portrait " << portrait;
        }
}

TEST_F(FightReflexViewTest, TimingBarOnlyWithItsOption) {
    fight_setup(1);
    attack(ATK_PLAIN, 0, 900, 360, 620);
    screen_clear();
    draw_fight_reflex();
    std::vector<uint8_t> with(framebuffer, framebuffer + FB_BYTES);
    timing_bar_on = 0;
    screen_clear();
    draw_fight_reflex();
    EXPECT_NE(std::memcmp(with.data(), framebuffer, FB_BYTES), 0);
    // The ring still closes in on the monster without the bar.
    int bright = 0;
    for (int i = 0; i < FB_BYTES; i++) bright += framebuffer[i] == 3;
    EXPECT_GT(bright, 40);
}

TEST_F(FightReflexViewTest, PromptsStopOnceAnsweredAsOftenAsTheAssistLevel) {
    fight_setup(1);
    attack(ATK_PLAIN, 0, 900, 360, 700);
    screen_clear();
    draw_fight_reflex();
    std::vector<uint8_t> shown(framebuffer, framebuffer + FB_BYTES);
    duel_counters[DC_PARRIES] = assist_level();
    screen_clear();
    draw_fight_reflex();
    EXPECT_NE(std::memcmp(shown.data(), framebuffer, FB_BYTES), 0);
    duel_counters[DC_PARRIES] = 0;
    settings.prompts = 0;
    screen_clear();
    draw_fight_reflex();
    std::vector<uint8_t> off(framebuffer, framebuffer + FB_BYTES);
    duel_counters[DC_PARRIES] = assist_level();
    screen_clear();
    draw_fight_reflex();
    EXPECT_EQ(std::memcmp(off.data(), framebuffer, FB_BYTES), 0);
}

// ---- The status border ----

struct BorderTest : FightReflexViewTest {
    ScreenRect v;
    void SetUp() override {
        fight_setup(1);
        screen_clear();
        v = screen_layout.view;
    }
};

TEST_F(BorderTest, PoisonHatchesEveryEdgeAndCreeps) {
    player.status[ST_POISON] = 3;
    fx_state.frame = 16;  // k = 2
    draw_status_border();
    for (int d = 0; d < 3; d++) {
        const int colour = d < 2 ? 2 : 1;
        for (int x = v.x0 + 3; x <= v.x1 - 3; x++)
            EXPECT_EQ(screen_get(x, v.y0 + d), (2 + d + x) % 3 == 0 ? colour : 0) << x << " " << d;
    }
    EXPECT_EQ(screen_get(v.x0 + 10, v.y0 + 3), 0);  // three rows deep, no more
    EXPECT_EQ(screen_get(v.x0 + 40, v.y0 + 40), 0);
    // The flash thickens and brightens it, only with flashes on.
    screen_clear();
    status_flash(ST_POISON);
    fx_state.status_flash = 9;  // 9 / 3 odd
    draw_status_border();
    int deep = 0;
    for (int x = v.x0 + 5; x <= v.x1 - 5; x++) deep += screen_get(x, v.y0 + 3) == 3;
    EXPECT_GT(deep, 0);
    screen_clear();
    settings.flashes = 0;
    draw_status_border();
    for (int x = v.x0 + 5; x <= v.x1 - 5; x++) EXPECT_EQ(screen_get(x, v.y0 + 3), 0);
}

TEST_F(BorderTest, RegenCornersAndPoisonTogether) {
    player.status[ST_REGEN] = 2;
    draw_status_border();
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(screen_get(v.x0 + i, v.y0), 2);
        EXPECT_EQ(screen_get(v.x0, v.y0 + i), 2);
        EXPECT_EQ(screen_get(v.x1 - i, v.y1), 2);
        EXPECT_EQ(screen_get(v.x1, v.y1 - i), 2);
    }
    EXPECT_EQ(screen_get(v.x0 + 8, v.y0), 0);
    player.status[ST_POISON] = 2;
    screen_clear();
    draw_status_border();
    EXPECT_EQ(screen_get(v.x0 + 5, v.y0), 2);  // the corner drawn over the hatching
    int hatch = 0;
    for (int x = v.x0 + 20; x < v.x0 + 50; x++) hatch += screen_get(x, v.y0 + 1) != 0;
    EXPECT_EQ(hatch, 10);
}

TEST_F(BorderTest, BurnFlamesHugTheEdgesAndLinger) {
    player.status[ST_BURN] = 4;
    for (int i = 0; i < 60; i++) fx_update();
    draw_status_border();
    int edge = 0, middle = 0;
    for (int y = v.y0; y <= v.y1; y++)
        for (int x = v.x0; x <= v.x1; x++) {
            if (!screen_get(x, y)) continue;
            const bool near = x - v.x0 < 20 || v.x1 - x < 20 || y - v.y0 < 20 || v.y1 - y < 20;
            (near ? edge : middle)++;
        }
    EXPECT_GT(edge, 50);
    EXPECT_EQ(middle, 0);
    player.status[ST_BURN] = 0;
    fx_update();
    screen_clear();
    draw_status_border();
    EXPECT_GT(fx_state.burn_linger, 0);
    int lingering = 0;
    for (int i = 0; i < FB_BYTES; i++) lingering += framebuffer[i] != 0;
    EXPECT_GT(lingering, 0);
}

TEST_F(BorderTest, RingCentresOnTheMonsterAndNegativeStaysInTheView) {
    fight_anchor = {150, 70};
    fx_state.flash_medium = 17;  // radius 8
    draw_status_border();
    int on = 0, off = 0;
    for (int y = 50; y < 90; y++)
        for (int x = 130; x < 170; x++) {
            if (!screen_get(x, y)) continue;
            const float d = std::sqrt((float)((x - 150) * (x - 150) + (y - 70) * (y - 70)));
            (std::fabs(d - 8.0f) <= 1.2f ? on : off)++;
        }
    EXPECT_GT(on, 20);
    EXPECT_EQ(off, 0);
    EXPECT_EQ(screen_get(150 + 8, 70), 2);
    fx_state.flash_medium = 0;
    screen_clear();
    fx_state.flash_small = 2;
    draw_status_border();
    EXPECT_EQ(screen_get(v.x0, v.y0), 3);
    EXPECT_EQ(screen_get(v.x1, v.y1), 3);
    EXPECT_EQ(screen_get(v.x0 - 1, v.y0), 0);
    EXPECT_EQ(screen_get(v.x1 + 1, v.y1), 0);
    settings.flashes = 0;
    screen_clear();
    draw_status_border();
    EXPECT_EQ(screen_get(v.x0, v.y0), 0);
    // Outside a fight the overlays wait.
    settings.flashes = 1;
    game_state = STATE_DUNGEON;
    screen_clear();
    draw_status_border();
    EXPECT_EQ(screen_get(v.x0, v.y0), 0);
}

TEST_F(BorderTest, HurtVignetteSolidAtTheEdgeThinningInwardOnlyWithFlashes) {
    player.max_hp = 100;
    fx_hurt_from_damage(30);
    ASSERT_EQ(fx_hurt_width(), 8);
    draw_status_border();
    // The outermost rows are solid colour 3 across the view, the outermost columns between the
    // rows' bands.
    for (int x = v.x0; x <= v.x1; x++) {
        ASSERT_EQ(screen_get(x, v.y0), 3) << x;
        ASSERT_EQ(screen_get(x, v.y1), 3) << x;
    }
    for (int y = v.y0 + 9; y <= v.y1 - 9; y++) {
        ASSERT_EQ(screen_get(v.x0, y), 3) << y;
        ASSERT_EQ(screen_get(v.x1, y), 3) << y;
    }
    // Inward the dither thins, and nothing lies beyond the ninth row.
    int outer = 0, deeper = 0;
    for (int d = 1; d <= 8; d++)
        for (int x = v.x0 + 9; x <= v.x1 - 9; x++) {
            const int c = screen_get(x, v.y0 + d);
            EXPECT_TRUE(c == 0 || c == 3) << x << " " << d;
            (d <= 4 ? outer : deeper) += c == 3;
        }
    EXPECT_GT(outer, deeper + (v.x1 - v.x0) / 2);
    EXPECT_GT(deeper, 0);
    int inside = 0;
    for (int y = v.y0 + 9; y <= v.y1 - 9; y++)
        for (int x = v.x0 + 9; x <= v.x1 - 9; x++) inside += screen_get(x, y) != 0;
    EXPECT_EQ(inside, 0);
    // Flashes off draws none of it.
    settings.flashes = 0;
    screen_clear();
    draw_status_border();
    int lit = 0;
    for (int i = 0; i < FB_BYTES; i++) lit += framebuffer[i] != 0;
    EXPECT_EQ(lit, 0);
    // Faded out, none either.
    settings.flashes = 1;
    for (int i = 0; i < 8 * FX_HURT_FADE_STEPS; i++) fx_update();
    screen_clear();
    draw_status_border();
    for (int i = 0; i < FB_BYTES; i++) lit += framebuffer[i] != 0;
    EXPECT_EQ(lit, 0);
}

TEST_F(BorderTest, BigPopupRulesFramePlacedWords) {
    std::snprintf(fx_state.popup, sizeof fx_state.popup, "%s", "GUARD\nBROKEN");
    fx_state.popup_timer_max = FX_BANNER_TICKS;
    fx_state.popup_timer = FX_BANNER_TICKS - 16;  // age 16
    fx_state.banner = 1;
    draw_status_border();
    // Real-time: D = 35, scale 2 fits; J = 32; K = 0 + (143 * 64 + 64) / 100 - 16 - 2 = 74.
    const int K = (143 * 64 + 64) / 100 - 16 - 2;
    const int c = v.x0 + (v.x1 - v.x0 + 1) / 2;
    EXPECT_EQ(screen_get(c, K - 4), 3);
    EXPECT_EQ(screen_get(c, K + 32 + 3), 3);
    EXPECT_EQ(screen_get(c, K - 5), 0);
    const int left = c - 35 - 5;
    EXPECT_EQ(screen_get(left, K - 4), 3);
    EXPECT_EQ(screen_get(left - 1, K - 4), 0);
    // In the last 12 frames the rules go.
    screen_clear();
    fx_state.popup_timer = 12;
    draw_status_border();
    EXPECT_EQ(screen_get(c, K - 4 - (FX_BANNER_TICKS - 12 - 16) / 8), 0);
}

// ---- Review pictures through the draw pass and the composition ----

// Composes the view of the frame just drawn and pastes it at 2x into the sheet, one framebuffer
// pixel from the centre sub-pixel of its 3 x 3 block.
void paste_composed(std::vector<uint8_t>& sheet, int sheet_w, int dx, int dy) {
    const ScreenRect& v = screen_layout.view;
    const int w = v.x1 - v.x0 + 1, h = v.y1 - v.y0 + 1;
    static std::vector<uint32_t> px;
    px.assign((size_t)9 * w * h, 0);
    compose_frame_begin();
    compose_screen_area(px.data(), 3 * w);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const uint32_t c = px[(size_t)(3 * y + 1) * 3 * w + 3 * x + 1];
            for (int k = 0; k < 4; k++) {
                const size_t o = ((size_t)(dy + 2 * y + k / 2) * sheet_w + dx + 2 * x + k % 2) * 3;
                if (o + 2 >= sheet.size()) continue;
                sheet[o] = (uint8_t)(c >> 16);
                sheet[o + 1] = (uint8_t)(c >> 8);
                sheet[o + 2] = (uint8_t)c;
            }
        }
}

// The sheet is kept as docs/fight_view_sheet.png: each moment in landscape and portrait, named.
TEST_F(FightReflexViewTest, ReviewSheet) {
    const char* dir = std::getenv("QM_PNG_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "QM_PNG_DIR not set";
    const auto& list = moments();
    const int n = (int)list.size();
    ghosting_applied = 0;
    // Landscape 172 x 144 and portrait 144 x 196 views, at 2x, side by side per moment.
    const int cell_w = 2 * 172 + 2 * 144 + 12, cell_h = 2 * 196 + 14, cols = 4;
    const int sheet_w = cols * cell_w, sheet_h = (n + cols - 1) / cols * cell_h;
    std::vector<uint8_t> sheet((size_t)sheet_w * sheet_h * 3, 30);
    for (int i = 0; i < n; i++) {
        const int cx = i % cols * cell_w, cy = i / cols * cell_h;
        for (int p = 0; p < 2; p++) {
            show(list[i]);
            if (p) layout_set_portrait();
            draw_frame();
            paste_composed(sheet, sheet_w, cx + (p ? 2 * 172 + 6 : 0), cy);
            char name[96];
            std::snprintf(name, sizeof name, "fight_%02d_%s_%c.png", i, list[i].name, p ? 'p' : 'l');
            for (char* c = name; *c; c++)
                if (*c == ' ' || *c == '+') *c = '_';
            png_write_framebuffer(name, 3);
        }
        // The moment's name under its landscape view.
        char label[96];
        std::snprintf(label, sizeof label, "%02d %s", i, list[i].name);
        png_label(sheet, sheet_w, sheet_h, cx, cy + 2 * 144 + 6, label, 2);
    }
    const std::string path = std::string(dir) + "/fight_view_sheet.png";
    EXPECT_NE(stbi_write_png(path.c_str(), sheet_w, sheet_h, 3, sheet.data(), sheet_w * 3), 0);
}

// The worst moment: a shattering heavy with sparks, popups, flow gems, the ring and the bar.
// Run by hand: qm_tests --gtest_also_run_disabled_tests --gtest_filter='*BusyFrame*'
TEST_F(FightReflexViewTest, DISABLED_BusyFrameTime) {
    for (const Moment& m : moments())
        if (std::string(m.name) == "heavy shatter") show(m);
    attack(ATK_PLAIN, 0, 900, 360, 620);
    reflex.last_hit_at = NOW - 60;
    fx_state.flash_medium = 12;
    constexpr int N = 3000;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < N; i++) {
        screen_clear();
        draw_fight_reflex();
        draw_status_border();
    }
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count() / N;
    std::printf("busy duel frame: %.1f us (view and border, landscape)\n", us);
    layout_set_portrait();
    const auto t1 = std::chrono::steady_clock::now();
    for (int i = 0; i < N; i++) {
        screen_clear();
        draw_fight_reflex();
        draw_status_border();
    }
    const double up = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t1).count() / N;
    std::printf("busy duel frame: %.1f us (view and border, portrait)\n", up);
}

}  // namespace
