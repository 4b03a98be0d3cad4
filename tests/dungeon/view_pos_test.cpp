// The eased camera: exact facing angles, syncing on the player and easing toward targets.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "world/player.h"
#include "render/view_frame.h"

namespace {

TEST(ViewPos, FacingAnglesAreExact) {
    EXPECT_EQ(std::bit_cast<uint32_t>(facing_angle(0)), 0xBFC90FDAu);
    EXPECT_EQ(std::bit_cast<uint32_t>(facing_angle(1)), 0u);
    EXPECT_EQ(std::bit_cast<uint32_t>(facing_angle(2)), 0x3FC90FDAu);
    EXPECT_EQ(std::bit_cast<uint32_t>(facing_angle(3)), 0x40490FDBu);
}

TEST(ViewPos, SyncSnapsViewAndMonsters) {
    monsters_clear();
    monster_add(M_RAT, 3, 3);
    monsters.list[0].draw_x = 9.0f;
    player.x = 6;
    player.y = 2;
    player.facing = 2;
    view_pos.eye_height = 3.0f;
    view_pos.horizon_shift = 7.0f;
    player_view_sync();
    EXPECT_FLOAT_EQ(view_pos.x, 6.5f);
    EXPECT_FLOAT_EQ(view_pos.y, 2.5f);
    EXPECT_EQ(view_pos.angle, facing_angle(2));
    EXPECT_EQ(view_pos.angle_target, facing_angle(2));
    EXPECT_FLOAT_EQ(view_pos.eye_height, 0.5f);
    EXPECT_FLOAT_EQ(view_pos.horizon_shift, 0.0f);
    EXPECT_FLOAT_EQ(monsters.list[0].draw_x, 3.5f);
    monsters_clear();
}

TEST(ViewPos, AnimationEasesThenSnaps) {
    player.x = 4;
    player.y = 4;
    player.facing = 1;
    player_view_sync();
    player.x = 5;
    world_animate();
    EXPECT_NEAR(view_pos.x, 4.8f, 1e-5);
    EXPECT_FLOAT_EQ(view_pos.y, 4.5f);
    int ticks = 1;
    while (view_pos.x != 5.5f && ticks < 100) {
        world_animate();
        ++ticks;
    }
    EXPECT_EQ(view_pos.x, 5.5f);
    EXPECT_LT(ticks, 20);
    // A card moves the eye height target; the eye height eases toward it and snaps within 0.002.
    view_pos.eye_height_target = 0.9f;
    for (int i = 0; i < 40; ++i) world_animate();
    EXPECT_EQ(view_pos.eye_height, 0.9f);
    view_pos.horizon_shift_target = 10.0f;
    world_animate();
    EXPECT_NEAR(view_pos.horizon_shift, 3.0f, 1e-5);
    player_view_sync();
}

TEST(ViewPos, TheViewReadsTheCameraRecordFieldForField) {
    view_pos = ViewPos{2.5f, 3.5f, 0.25f, 1.5f, 0.7f, 0.5f, 6.0f, 0.0f};
    ViewCamera cam = view_camera();
    EXPECT_EQ(cam.x, 2.5f);
    EXPECT_EQ(cam.y, 3.5f);
    EXPECT_EQ(cam.angle, 0.25f);
    EXPECT_EQ(cam.angle_target, 1.5f);
    EXPECT_EQ(cam.horizon_shift, 6.0f);
    EXPECT_EQ(cam.eye, 0.7f);
    player_view_sync();
}

}  // namespace
