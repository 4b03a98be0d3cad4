// The first-person view: the depth buffer, the look of each floor, the object wedge and its cap,
// effects switched off, whole floors drawn through the draw pass (PNGs into QM_PNG_DIR), and a
// timing of a busy floor (disabled; run with --gtest_also_run_disabled_tests).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "dungeon/floor.h"
#include "game/load_floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "game/game.h"
#include "items/item.h"
#include "world/player.h"
#include "game/run_start.h"
#include "game/state.h"
#include "items/floor_items.h"
#include "render/objects.h"
#include "render/particles.h"
#include "render/view.h"
#include "render/view_frame.h"
#include "render_fixture.h"
#include "saves/settings.h"
#include "support/png_out.h"

namespace {

struct DungeonViewTest : RenderTest {
    Settings saved_settings;
    void SetUp() override {
        RenderTest::SetUp();
        saved_settings = settings;
        settings.effects = 1;
        settings.vignette = 1;
        fixed_seed = 0x5EED1234u;
        fixed_seed_runs = 0;
        new_run();
        game_state = STATE_DUNGEON;
        frame_counter = 100;
    }
    void TearDown() override {
        settings = saved_settings;
        fixed_seed = 0;
        game_state = STATE_SPLASH;
        RenderTest::TearDown();
    }
    static void stand(int x, int y, int facing) {
        player.x = x;
        player.y = y;
        player.facing = facing;
        player_view_sync();
    }
    static void open_room() {
        for (int y = 0; y < MAP_H; y++)
            for (int x = 0; x < MAP_W; x++)
                gmap[y][x] = (x == 0 || y == 0 || x == MAP_W - 1 || y == MAP_H - 1) ? '#' : '.';
        monsters_clear();
        floor_items_clear();
    }
    // The open cell and facing that sees the most objects of the floor (drips aside).
    static void stand_where_most_is_seen() {
        int best = -1, bx = player.x, by = player.y, bf = player.facing;
        for (int y = 0; y < MAP_H; y++)
            for (int x = 0; x < MAP_W; x++) {
                if (glyph_blocks(gmap[y][x]) || monster_at(x, y) >= 0) continue;
                for (int f = 0; f < 4; f++) {
                    stand(x, y, f);
                    screen_clear();
                    draw_dungeon_view(view_scene_now());
                    int n = 0;
                    for (int i = 0; i < view_object_count; i++) {
                        const ViewEntry& e = view_objects[i];
                        if (e.kind == 'd' || e.column < screen_layout.view.x0 || e.column > screen_layout.view.x1) continue;
                        if (depth_buffer[e.column] >= e.test_depth) n += e.kind == 'M' ? 3 : 1;
                    }
                    if (n > best) {
                        best = n;
                        bx = x;
                        by = y;
                        bf = f;
                    }
                }
            }
        stand(bx, by, bf);
    }
};

TEST_F(DungeonViewTest, DepthBufferHoldsWallsAndMisses) {
    draw_frame();
    const ScreenRect& v = screen_layout.view;
    for (int X = 0; X < FB_LONG; X++) {
        if (X < v.x0 || X > v.x1)
            EXPECT_EQ(depth_buffer[X], 1e30f) << X;
        else
            EXPECT_GE(depth_buffer[X], 0.05f) << X;
    }
    EXPECT_GT(drawn(), 2000);
    // Against a wall: no nearer than 0.05.
    open_room();
    stand(1, 5, 3);
    view_pos.x = 1.01f;  // a hair from the west wall
    screen_clear();
    draw_dungeon_view(view_scene_now());
    EXPECT_FLOAT_EQ(depth_buffer[(v.x0 + v.x1) / 2], 0.05f);
    // Straight down the room: the far wall, 13.5 cells away.
    stand(1, 5, 1);
    screen_clear();
    draw_dungeon_view(view_scene_now());
    EXPECT_NEAR(depth_buffer[v.x0 + (v.x1 - v.x0 + 1) / 2], 13.5f, 0.01f);
}

TEST_F(DungeonViewTest, LookByFloorShrineAndFlicker) {
    for (int n : {0, 9, 10, 15, 19, 20}) {
        current_floor = n;
        draw_dungeon_view(view_scene_now());
        EXPECT_EQ(view_detail_look, n >= 10 && n <= 19 ? 1 : 0) << n;
    }
    game_state = STATE_SHRINE;
    current_floor = 3;
    draw_dungeon_view(view_scene_now());
    EXPECT_EQ(view_detail_look, 1);
    EXPECT_EQ(view_in_shrine, 1);
    game_state = STATE_DUNGEON;
    settings.effects = 0;
    for (int t = 0; t < 400; t += 7) {
        frame_counter = t;
        draw_dungeon_view(view_scene_now());
        EXPECT_EQ(view_flicker, 0);
    }
    // With effects the flicker takes all three values over time.
    settings.effects = 1;
    bool seen[3] = {};
    for (int t = 0; t < 2000; t++) {
        frame_counter = t;
        draw_dungeon_view(view_scene_now());
        seen[view_flicker + 1] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

// A door seen head-on: its panel stops short of the ceiling and the floor, and the floor tiles and
// ceiling lines behind it show in those bands just as they do through an open doorway.
TEST_F(DungeonViewTest, DoorInsetBandsShowFloorAndCeiling) {
    settings.effects = 0;
    settings.vignette = 0;
    current_floor = 12;  // the detailed look draws a ceiling
    open_room();
    const ScreenRect& v = screen_layout.view;
    const int mid = v.x0 + (v.x1 - v.x0 + 1) / 2;
    stand(1, 5, 1);
    gmap[5][4] = '.';
    screen_clear();
    draw_dungeon_view(view_scene_now());
    std::vector<int> open((size_t)screen_layout.width * screen_layout.height);
    for (int y = 0; y < screen_layout.height; y++)
        for (int x = 0; x < screen_layout.width; x++) open[(size_t)y * screen_layout.width + x] = screen_get(x, y);
    auto open_at = [&](int x, int y) { return open[(size_t)y * screen_layout.width + x]; };
    gmap[5][4] = GLYPH_DOOR;
    screen_clear();
    draw_dungeon_view(view_scene_now());
    ASSERT_EQ(view_detail_look, 1);
    ASSERT_NEAR(depth_buffer[mid], 2.5f, 0.01f);

    const float h = (float)view_frame.H / depth_buffer[mid];
    const int bottom = std::min(v.y1, view_frame.horizon + (int)(view_frame.cam.eye * h));
    const int top = bottom - (int)h;
    const int inset = (int)(h / 16.0f);
    ASSERT_GE(inset, 3);
    int shown = 0;
    for (int X = mid - 10; X <= mid + 10; X++) {
        // Rows strictly inside the bands: the strip's own edge lines stay.
        for (int y = top + 1; y < top + inset; y++) {
            EXPECT_EQ(screen_get(X, y), open_at(X, y)) << X << "," << y;
            shown += screen_get(X, y) != 0;
        }
        for (int y = bottom - inset + 1; y < bottom; y++) {
            EXPECT_EQ(screen_get(X, y), open_at(X, y)) << X << "," << y;
            shown += screen_get(X, y) != 0;
        }
    }
    EXPECT_GT(shown, 0);
    png_write_framebuffer("view_door_head_on.png", 3);
}

TEST_F(DungeonViewTest, ObjectWedgeDripsAndCap) {
    open_room();
    stand(4, 5, 1);  // facing east
    gmap[5][5] = 'g';  // one ahead
    gmap[4][4] = 'k';  // beside the player, on its own row
    gmap[5][8] = 'w';  // four straight ahead
    gmap[3][5] = 's';  // one ahead but outside that row's three cells
    settings.effects = 0;
    draw_dungeon_view(view_scene_now());
    auto has = [](int kind, int x, int y) {
        for (int i = 0; i < view_object_count; i++)
            if (view_objects[i].kind == kind && view_objects[i].cell_x == x && view_objects[i].cell_y == y) return true;
        return false;
    };
    EXPECT_TRUE(has('g', 5, 5));
    EXPECT_TRUE(has('w', 8, 5));
    EXPECT_FALSE(has('k', 4, 4));
    EXPECT_FALSE(has('s', 5, 3));
    for (int i = 0; i < view_object_count; i++) EXPECT_NE(view_objects[i].kind, 'd');
    // Farthest first.
    for (int i = 1; i < view_object_count; i++) EXPECT_GE(view_objects[i - 1].depth, view_objects[i].depth);
    // A broken urn's marker adds its shards.
    marker_add(6, 5);
    draw_dungeon_view(view_scene_now());
    EXPECT_TRUE(has('r', 6, 5));
    markers.count = 0;

    // With effects, some open cells drip.
    settings.effects = 1;
    draw_dungeon_view(view_scene_now());
    int drips = 0;
    for (int i = 0; i < view_object_count; i++) drips += view_objects[i].kind == 'd';
    EXPECT_GT(drips, 0);

    // The shrine's fire objects fill the list to its cap and no further.
    game_state = STATE_SHRINE;
    for (int y = 1; y < MAP_H - 1; y++)
        for (int x = 1; x < MAP_W - 1; x++) gmap[y][x] = 'F';
    gmap[5][4] = '.';
    stand(4, 5, 1);
    for (int i = 0; i < 24; i++) monster_add(M_GOBLIN, 6 + i % 8, 2 + i / 8);
    draw_dungeon_view(view_scene_now());
    EXPECT_EQ(view_object_count, VIEW_OBJECT_MAX);
}

TEST_F(DungeonViewTest, ObjectColumnsCountFromTheViewsLeftEdge) {
    // Landscape: the view starts at column 70. An item half a column left of the view's edge
    // still stands on the edge column, as it would in a view starting at 0.
    open_room();
    settings.effects = 0;
    stand(4, 5, 1);  // facing east: lateral is +y
    gmap[1][8] = 'g';  // four ahead, four to the left
    const ScreenRect& v = screen_layout.view;
    ASSERT_GT(v.x0, 0);
    const float W = (float)(v.x1 - v.x0 + 1);
    view_pos.y = 5.5f + 4.0f / W;  // lateral / depth = -1 - 1/W: half a column left of the edge
    draw_dungeon_view(view_scene_now());
    bool found = false;
    for (int i = 0; i < view_object_count; i++)
        if (view_objects[i].kind == 'g') {
            found = true;
            EXPECT_EQ(view_objects[i].column, v.x0);
        }
    EXPECT_TRUE(found);
}

TEST_F(DungeonViewTest, WallsHideObjectsAndTheViewStaysInItsRectangle) {
    open_room();
    stand(2, 5, 1);
    for (int y = 1; y < MAP_H - 1; y++) gmap[y][5] = '#';  // a wall between the player and the goblin
    ASSERT_TRUE(monster_add(M_GOBLIN, 7, 5));
    screen_clear();
    draw_dungeon_view(view_scene_now());
    const auto walled = std::vector<uint8_t>(framebuffer, framebuffer + FB_BYTES);
    monsters_clear();
    screen_clear();
    draw_dungeon_view(view_scene_now());
    EXPECT_EQ(std::vector<uint8_t>(framebuffer, framebuffer + FB_BYTES), walled);

    // In portrait nothing is drawn on the console panel below the view.
    layout_set_portrait();
    open_room();
    ASSERT_TRUE(monster_add(M_ORC, 4, 5));
    gmap[6][3] = 'C';
    stand(2, 5, 1);
    screen_clear();
    draw_dungeon_view(view_scene_now());
    for (int y = screen_layout.view.y1 + 1; y < screen_layout.height; y++)
        for (int x = 0; x < screen_layout.width; x++) ASSERT_EQ(screen_get(x, y), 0) << x << "," << y;
    EXPECT_EQ(draw_column_mask, nullptr);
    EXPECT_EQ(draw_column_clip, nullptr);
    EXPECT_EQ(draw_dither_level, 0);
    EXPECT_EQ(draw_color_override, -1);
}

TEST_F(DungeonViewTest, BossFloorShowsTheDragonBeforeTheExit) {
    load_floor(9);
    int dragon = -1;
    for (int i = 0; i < monsters.count; i++)
        if (monsters.list[i].type == M_DRAGON) dragon = i;
    ASSERT_GE(dragon, 0);
    stand(player.x, player.y, 2);  // facing south, down the hall
    screen_clear();
    draw_dungeon_view(view_scene_now());
    bool seen = false;
    for (int i = 0; i < view_object_count; i++) seen |= view_objects[i].kind == 'M' && view_objects[i].monster == dragon;
    EXPECT_TRUE(seen);
    EXPECT_GT(drawn(), 3000);
}

// Several floors, from where the most is seen and from the start, in landscape and portrait.
TEST_F(DungeonViewTest, FloorPictures) {
    const int FLOORS[] = {0, 4, 9, 12, 19};
    PngSheet land(3 * 314, 5 * 146), port(6 * 146, 5 * 314);
    for (int fi = 0; fi < 5; fi++) {
        load_floor(FLOORS[fi]);
        game_state = STATE_DUNGEON;
        for (int shot = 0; shot < 3; shot++) {
            if (shot == 1) stand_where_most_is_seen();
            if (shot == 2) {
                // Mid-turn and mid-step: the eased camera.
                view_pos.angle_target = view_pos.angle + 1.5707964f;
                view_pos.angle += 0.5f;
            }
            for (int p = 0; p < 2; p++) {
                if (p) layout_set_portrait(); else layout_set_landscape();
                frame_counter = 100 + shot * 37;
                draw_frame();
                EXPECT_GT(drawn(), 1500) << FLOORS[fi] << " " << shot << " " << p;
                if (p)
                    port.paste(0, 0, 144, 312, (fi % 2 * 3 + shot) * 146, fi / 2 * 314, 1);
                else
                    land.paste(0, 0, 312, 144, shot * 314, fi * 146, 1);
            }
        }
        layout_set_landscape();
    }
    land.write("view_landscape.png");
    port.write("view_portrait.png");
    // The shrine look with a few boxes, for comparison.
    open_room();
    game_state = STATE_SHRINE;
    gmap[3][8] = 'Q';
    gmap[3][6] = 'P';
    gmap[3][10] = 'h';
    gmap[2][12] = 'H';
    stand(8, 8, 0);
    screen_clear();
    draw_dungeon_view(view_scene_now());
    png_write_framebuffer("view_shrine.png", 3);
}

TEST_F(DungeonViewTest, ShrineFloorCarriesPebbles) {
    // The shrine has the detailed look, pebbles on the near floor included. Only the floor is
    // drawn in the lowest rows: no particles, no vignette, no hands in the shrine.
    open_room();
    game_state = STATE_SHRINE;
    settings.effects = 0;
    settings.vignette = 0;
    mote_pool.count = 0;
    dungeon_embers.count = 0;
    stand(2, 6, 1);
    int pebbles = 0;
    for (int t = 0; t < 4; t++) {
        view_pos.x = 2.5f + 0.25f * (float)t;  // a few places, so the test does not hang on one
        screen_clear();
        draw_dungeon_view(view_scene_now());
        ASSERT_EQ(view_detail_look, 1);
        const ScreenRect& v = screen_layout.view;
        for (int y = v.y1 - 40; y <= v.y1; y++)
            for (int x = v.x0; x <= v.x1; x++) pebbles += screen_get(x, y) == 2;
    }
    EXPECT_GT(pebbles, 0);
}

TEST_F(DungeonViewTest, WithoutEffectsTheViewStandsStill) {
    // Effects off: no flicker, no twinkling ceiling dots, no drips, no sparks or smoke over an
    // urn, so two frames far apart are the same picture. With effects on they are not. (The
    // walls are cracked ones: stone walls may carry a torch, whose flame moves regardless.)
    open_room();
    for (auto& row : gmap)
        for (char& c : row)
            if (c == '#') c = '&';
    gmap[5][6] = 'b';
    gmap[4][7] = 'b';
    stand(4, 5, 1);
    mote_pool.count = 0;
    dungeon_embers.count = 0;
    auto frame_at = [](int t) {
        frame_counter = t;
        screen_clear();
        draw_dungeon_view(view_scene_now());
        return std::vector<uint8_t>(framebuffer, framebuffer + FB_BYTES);
    };
    settings.effects = 0;
    EXPECT_EQ(frame_at(100), frame_at(137));
    settings.effects = 1;
    EXPECT_NE(frame_at(100), frame_at(137));
}

TEST_F(DungeonViewTest, ShardsFadeAndTheirDustSettles) {
    // Dust lies beside a broken urn's shards until age 64 and is gone from 65 on.
    open_room();
    settings.effects = 0;
    settings.vignette = 0;
    stand(4, 5, 1);
    mote_pool.count = 0;
    auto frame = []() {
        screen_clear();
        draw_dungeon_view(view_scene_now());
        return std::vector<uint8_t>(framebuffer, framebuffer + FB_BYTES);
    };
    const auto bare = frame();
    marker_add(6, 5);
    auto changed_beside = [&](int age, int* all) {
        markers.items[0].age = age;
        const auto pic = frame();
        const ViewEntry* e = nullptr;
        for (int i = 0; i < view_object_count; i++)
            if (view_objects[i].kind == 'r') e = &view_objects[i];
        EXPECT_NE(e, nullptr);
        if (!e) return 0;
        const Image* skulls = item_sprite_for_glyph('b');
        const float s = std::clamp(2.0f / std::max(e->depth, 0.4f), 0.4f, 2.5f);
        const int w = skulls ? (int)std::lround((float)skulls->w / (float)std::max(1, (int)skulls->density) * s) : 12;
        const int f = view_frame.horizon + (int)(0.5f * (float)view_frame.H / (std::max(e->depth, 0.3f) + 0.3f));
        int beside = 0;
        *all = 0;
        for (int i = 0; i < FB_BYTES; i++) *all += pic[i] != bare[i];
        for (int y = f - 3; y <= f; y++)
            for (int x = e->column - 2 * w; x <= e->column + 2 * w; x++) {
                if (std::abs(x - e->column) <= w / 2 + 2 || x < 0 || x >= screen_layout.width) continue;
                const int i = y * screen_layout.width + x;
                beside += pic[i] != bare[i];
            }
        return beside;
    };
    int all40, all64, all65, all70;
    EXPECT_GT(changed_beside(64, &all64), 0);
    EXPECT_EQ(changed_beside(65, &all65), 0);
    changed_beside(40, &all40);
    changed_beside(70, &all70);
    EXPECT_GT(all40, all64);
    EXPECT_GT(all65, all70);
    EXPECT_GT(all70, 0);
    EXPECT_EQ(draw_dither_level, 0);
    markers.count = 0;
}

TEST_F(DungeonViewTest, DISABLED_BusyFloorTiming) {
    load_floor(14);
    // Crowd the floor: monsters, items on every free cell, motes and markers.
    for (int y = 1; y < MAP_H - 1; y++)
        for (int x = 1; x < MAP_W - 1; x++)
            if (gmap[y][x] == '.' && (x + y) % 3 == 0) gmap[y][x] = "agkpswbCc"[(x * 7 + y) % 9];
    for (int i = monsters.count; i < MAX_MONSTERS; i++) monster_add(1 + i % 7, 1 + (i * 5) % 14, 1 + (i * 3) % 10);
    stand_where_most_is_seen();
    spawn_motes(true, screen_view_width(), screen_view_height());
    marker_add(player.x + 1, player.y);
    constexpr int FRAMES = 2000;
    double worst = 0.0, total = 0.0;
    int objects = 0;
    for (int i = 0; i < FRAMES; i++) {
        frame_counter = i;
        screen_clear();
        const auto t0 = std::chrono::steady_clock::now();
        draw_dungeon_view(view_scene_now());
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        total += ms;
        worst = std::max(worst, ms);
        objects = std::max(objects, (int)view_object_count);
    }
    std::printf("draw_dungeon_view: mean %.3f ms, worst %.3f ms over %d frames, %d objects, %d monsters, %d motes\n",
                total / FRAMES, worst, FRAMES, objects, monsters.count, mote_pool.count);
    png_write_framebuffer("view_busy.png", 3);
    EXPECT_LT(total / FRAMES, 2.0);
}

}  // namespace
