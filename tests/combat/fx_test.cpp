// The fight feedback record: the hurt vignette's width by the hit's share of health, its fade over
// the steps, and a new run clearing it; a shown heal's cap and popup.
#include <gtest/gtest.h>

#include "combat/combat.h"
#include "combat/fx.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

// A fresh record, out of view of the burn glow, with a player of 100 hp.
void fx_world() {
    game_state = STATE_TITLE;
    for (uint8_t& s : player.status) s = 0;
    player.max_hp = 100;
    fx_reset();
}

TEST(FxHurt, AHitSetsTheWidthOfItsBandAndKeepsTheLarger) {
    struct Case {
        int d, width;
    };
    // The shake's bands: up to 5 % of health, above 5, from 15, from 30.
    for (const Case c : {Case{1, 2}, Case{5, 2}, Case{6, 4}, Case{14, 4}, Case{15, 6}, Case{29, 6}, Case{30, 8},
                         Case{250, 8}}) {
        fx_world();
        fx_hurt_from_damage(c.d);
        EXPECT_EQ(fx_hurt_width(), c.width) << c.d;
    }
    // A lighter hit does not thin a heavier one's vignette; a heavier one thickens it.
    fx_world();
    fx_hurt_from_damage(20);
    fx_hurt_from_damage(1);
    EXPECT_EQ(fx_hurt_width(), 6);
    fx_hurt_from_damage(40);
    EXPECT_EQ(fx_hurt_width(), 8);
    // No loss, or a gain, sets none.
    fx_world();
    fx_hurt_from_damage(0);
    fx_hurt_from_damage(-7);
    EXPECT_EQ(fx_hurt_width(), 0);
}

TEST(FxHurt, TheWidthFadesByOneEveryFewStepsToNothing) {
    fx_world();
    fx_hurt_from_damage(30);
    const int steps = 8 * FX_HURT_FADE_STEPS;
    EXPECT_GE(steps, 18);  // the heaviest hit shows for about a third of a second at 60 steps a second
    EXPECT_LE(steps, 24);
    for (int i = 1; i <= steps; i++) {
        fx_update();
        EXPECT_EQ(fx_hurt_width(), 8 - i / FX_HURT_FADE_STEPS) << i;
    }
    EXPECT_EQ(fx_hurt_width(), 0);
    fx_update();
    EXPECT_EQ(fx_hurt_width(), 0);
    // A hit that thickens a fading vignette starts its count afresh.
    fx_hurt_from_damage(10);
    fx_update();
    fx_update();
    fx_hurt_from_damage(40);
    for (int i = 1; i < FX_HURT_FADE_STEPS; i++) fx_update();
    EXPECT_EQ(fx_hurt_width(), 8);
    fx_update();
    EXPECT_EQ(fx_hurt_width(), 7);
}

TEST(FxHurt, ANewRunClearsIt) {
    fx_world();
    fx_hurt_from_damage(50);
    ASSERT_EQ(fx_hurt_width(), 8);
    fx_reset();
    EXPECT_EQ(fx_hurt_width(), 0);
    EXPECT_EQ(fx_state.hurt_fade, 0);
}

TEST(FxHeal, AHealIsCappedAtTheMaximumAndShowsInTheHealPopup) {
    fx_world();
    combat = Combat{};
    player.hp = 90;
    EXPECT_EQ(player_heal(25), 10);
    EXPECT_EQ(player.hp, 100);
    EXPECT_EQ(combat.heal_shown, 25);
    EXPECT_EQ(combat.heal_timer, POPUP_LONG_TICKS);
    EXPECT_EQ(POPUP_LONG_TICKS, 48);
    // Nothing to show, nothing changed.
    combat = Combat{};
    EXPECT_EQ(player_heal(0), 0);
    EXPECT_EQ(combat.heal_timer, 0);
    EXPECT_EQ(player.hp, 100);
}

}  // namespace
