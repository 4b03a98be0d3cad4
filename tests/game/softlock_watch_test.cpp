// What the softlock detector watches in the game: a change of any watched value starts its count over.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "combat/combat.h"
#include "combat/reflex.h"
#include "game/menus.h"
#include "game/softlock_watch.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/softlock.h"
#include "world/bag_view.h"
#include "world/buttons.h"
#include "world/game_state.h"

namespace {

TEST(SoftlockWatch, AChangeOfTheFightTheBagOrTheControlsListStartsTheCountOver) {
    TempSaveDir tmp;
    TelemetryConsent consent;
    game_state = STATE_COMBAT;
    const struct {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"fight hp", [] { combat.hp--; }},
        {"duel monster hp", [] { reflex.hp--; }},
        {"duel monster state", [] { reflex.monster_state++; }},
        {"bag page", [] { bag_view.page++; }},
        {"stats cursor", [] { bag_view.stats_cursor++; }},
        {"bestiary cursor", [] { bag_view.bestiary_cursor++; }},
        {"bag column", [] { bag_view.col++; }},
        {"bag row", [] { bag_view.row++; }},
        {"held flag", [] { bag_view.holding ^= 1; }},
        {"controls scroll", [] { controls_scroll++; }},
    };
    // Two minutes of taps with one change in the middle: the count restarts at the change, so no
    // report comes; the same taps without it report the stuck state.
    auto stuck_reports = [&](const std::function<void()>& change) {
        softlock_reset();
        const size_t before = tmp.read("events_outbox.jsonl").size();
        for (int t = 0; t < SOFTLOCK_TICKS + 100; t++) {
            if (t == SOFTLOCK_TICKS - 100 && change) change();
            softlock_check(softlock_watch_hash(), t % 100 == 0 ? BTN_A : 0);
        }
        return tmp.read("events_outbox.jsonl").size() > before;
    };
    for (const auto& c : changes) EXPECT_FALSE(stuck_reports(c.change)) << c.what;
    EXPECT_TRUE(stuck_reports(nullptr));
    softlock_reset();
    game_state = 0;
    combat = Combat{};
    reflex_clear();
    bag_view_clear();
    controls_scroll = 0;
}

}  // namespace
