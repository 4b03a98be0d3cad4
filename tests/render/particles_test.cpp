// Particle pools: caps, the fight-only sparks, markers and flame embers, stepped and drawn.
#include "render/particles.h"

#include <algorithm>

#include "game/game.h"
#include "game/state.h"
#include "render_fixture.h"

namespace {

// One particle step as the tick gives it in the current state (no coins, effects on).
void particles_update() {
    ParticleStep step{};
    step.dungeon = game_state == STATE_DUNGEON;
    step.combat = game_state == STATE_COMBAT;
    step.embers = true;
    step.view_w = screen_view_width();
    step.view_h = screen_view_height();
    ::particles_update(step);
}

void spawn_motes(bool wide) { ::spawn_motes(wide, screen_view_width(), screen_view_height()); }

struct ParticlesTest : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        particles_reset();
        flame_embers.count = 0;
        game_state = STATE_COMBAT;
    }
    void TearDown() override {
        particles_reset();
        game_state = STATE_POWER_ON;
        RenderTest::TearDown();
    }
};

TEST_F(ParticlesTest, SparkPoolCapsAndEmptiesOutsideFights) {
    for (int i = 0; i < 10; i++) spawn_sparks(false);
    EXPECT_EQ(spark_pool.count, 90);
    spawn_sparks(false);
    EXPECT_EQ(spark_pool.count, 96);
    particles_update();
    EXPECT_EQ(spark_pool.count, 96);
    game_state = STATE_DUNGEON;
    particles_update();
    EXPECT_EQ(spark_pool.count, 0);
}

TEST_F(ParticlesTest, SparksDieAndDebrisFlutters) {
    spawn_debris();
    EXPECT_EQ(spark_pool.count, 5);
    for (int i = 0; i < 60; i++) particles_update();
    EXPECT_EQ(spark_pool.count, 0);
    spawn_sparks(true);
    EXPECT_EQ(spark_pool.count, 18);
    particles_draw_sparks(150, 70);
    EXPECT_GT(count(3), 0);
}

TEST_F(ParticlesTest, MarkersAgeAndTheOldestIsDropped) {
    game_state = STATE_DUNGEON;
    for (int i = 0; i < 5; i++) marker_add(i, 1);
    EXPECT_EQ(markers.count, 4);
    EXPECT_EQ(marker_age_at(0, 1), -1);
    EXPECT_EQ(marker_age_at(4, 1), 0);
    EXPECT_EQ(marker_age_at(9, 9), -1);
    for (int i = 0; i < 70; i++) particles_update();
    EXPECT_EQ(marker_age_at(4, 1), 70);
    particles_update();
    EXPECT_EQ(marker_age_at(4, 1), -1);
    marker_add(2, 2);
    game_state = STATE_CAMP;
    particles_update();
    EXPECT_EQ(markers.count, 0);
}

TEST_F(ParticlesTest, MotesStayOnTheFloorAndInTheView) {
    game_state = STATE_DUNGEON;
    spawn_motes(true);
    spawn_motes(true);
    EXPECT_EQ(mote_pool.count, 64);
    for (int i = 0; i < 30; i++) particles_update();
    for (int i = 0; i < mote_pool.count; i++)
        EXPECT_LE(mote_pool.items[i].y, mote_pool.items[i].floor_y);
    particles_draw_motes();
    const ScreenRect v = screen_layout.view;
    const Box b = bounds();
    EXPECT_GE(b.x0, v.x0);
    EXPECT_LE(b.y1, v.y1);
}

TEST_F(ParticlesTest, FlameEmbersSpawnAtMostTwo) {
    for (int i = 0; i < 50; i++) {
        const int before = flame_embers.count;
        flame_embers_update(0.0f, 200, 100);
        EXPECT_LE(flame_embers.count, before + 1);
    }
    flame_embers.count = 0;
    int most = 0;
    for (int i = 0; i < 50; i++) {
        const int before = flame_embers.count;
        flame_embers_update(1.0f, 200, 100);
        most = std::max(most, flame_embers.count - before);
    }
    EXPECT_LE(most, 2);
    for (int i = 0; i < flame_embers.count; i++) {
        EXPECT_GE(flame_embers.items[i].x, 0.0f);
        EXPECT_LT(flame_embers.items[i].x, 200.0f);
    }
}

TEST_F(ParticlesTest, DungeonEmbersStayInTheView) {
    // Landscape: the view starts at column 70. Embers swayed past either side are not drawn on
    // the console beside it.
    const ScreenRect& v = screen_layout.view;
    ASSERT_GT(v.x0, 0);
    const float W = (float)(v.x1 - v.x0 + 1);
    dungeon_embers.items[0] = Ember{-2.5f, 50.0f, 0.0f, -0.5f, 100};
    dungeon_embers.items[1] = Ember{W + 1.0f, 60.0f, 0.0f, -0.5f, 100};
    dungeon_embers.items[2] = Ember{10.0f, 70.0f, 0.0f, -0.5f, 100};
    dungeon_embers.count = 3;
    twinkles_draw2();
    EXPECT_EQ(drawn(), 1);
    EXPECT_EQ(screen_get(v.x0 + 10, v.y0 + 70), 3);
}

TEST_F(ParticlesTest, DustWrapsStrictlyBelowOne) {
    // A point a hair left of 0 wraps to the left edge, not onto the column past the right edge.
    game_state = STATE_DUNGEON;
    particles_update();  // the first step scatters the points
    dust_drift[0] = DustPoint{-1e-9f, 0.5f, 0.5f, 0.0f};
    particles_update();
    EXPECT_GE(dust_drift[0].u, 0.0f);
    EXPECT_LT(dust_drift[0].u, 1.0f);
}

}  // namespace
