// Command-line rules, the handheld switch, the window scale and keeping the window on the display.
#include <gtest/gtest.h>

#include <vector>

#include "platform/cmdline.h"
#include "platform/window.h"

namespace {

CmdLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quillmarch");
    return cmdline_parse((int)args.size(), const_cast<char**>(args.data()));
}

TEST(CmdLine, Defaults) {
    CmdLine c = parse({});
    EXPECT_EQ(c.perf_test, 0);
    EXPECT_EQ(c.perf_test_secs, 10);
    EXPECT_EQ(c.perf_test_floor, 14);
    EXPECT_EQ(c.case_name, nullptr);
    EXPECT_EQ(c.gpu_check, 0);
}

TEST(CmdLine, PerfTestSecondsAndFloor) {
    CmdLine c = parse({"--perf-test", "5", "3"});
    EXPECT_EQ(c.perf_test, 1);
    EXPECT_EQ(c.perf_test_secs, 5);
    EXPECT_EQ(c.perf_test_floor, 2);
    c = parse({"--perf-test", "-1"});
    EXPECT_EQ(c.perf_test_secs, 10);
    EXPECT_EQ(c.perf_test_floor, 14);
    c = parse({"--perf-test", "5", "1"});
    EXPECT_EQ(c.perf_test_floor, 0);
    c = parse({"--perf-test"});
    EXPECT_EQ(c.perf_test_secs, 10);
}

TEST(CmdLine, PerfTestRejectsRunawayValues) {
    CmdLine c = parse({"--perf-test", "nan", "999"});
    EXPECT_EQ(c.perf_test_secs, 10);
    EXPECT_EQ(c.perf_test_floor, 19);
    c = parse({"--perf-test", "1e400", "-7"});
    EXPECT_EQ(c.perf_test_secs, 10);
    EXPECT_EQ(c.perf_test_floor, 0);
    c = parse({"--perf-test", "100000", "99999999999999999999"});
    EXPECT_EQ(c.perf_test_secs, 3600);
    EXPECT_EQ(c.perf_test_floor, 19);
}

TEST(CmdLine, ValuesAreNotSkipped) {
    // The perf-test numbers are read ahead but still walked as arguments: a later switch counts.
    CmdLine c = parse({"--perf-test", "--gpu-check"});
    EXPECT_EQ(c.perf_test, 1);
    EXPECT_EQ(c.gpu_check, 1);
    EXPECT_EQ(c.perf_test_secs, 10);
    c = parse({"--perf-scene", "stairs", "--perf-trace"});
    EXPECT_EQ(c.perf_scene, SCENE_STAIRS);
    EXPECT_EQ(c.perf_trace, 1);
    EXPECT_EQ(parse({"--perf-scene", "cases"}).perf_scene, SCENE_CASES);
    EXPECT_EQ(parse({"--perf-scene", "walk"}).perf_scene, SCENE_WALK);
}

TEST(CmdLine, AnOptionAfterThePerfTestIsNoNumber) {
    CmdLine c = parse({"--perf-test", "--case", "BLACK"});
    EXPECT_EQ(c.perf_test_secs, 10);
    EXPECT_EQ(c.perf_test_floor, 14);
    EXPECT_STREQ(c.case_name, "BLACK");
    c = parse({"--perf-test", "5", "--pal", "amber"});
    EXPECT_EQ(c.perf_test_secs, 5);
    EXPECT_EQ(c.perf_test_floor, 14);
    EXPECT_STREQ(c.pal_name, "amber");
}

TEST(CmdLine, CaseAndPaletteNames) {
    CmdLine c = parse({"--case", "black", "--pal", "amber"});
    EXPECT_STREQ(c.case_name, "black");
    EXPECT_STREQ(c.pal_name, "amber");
    c = parse({"--pal", "--case"});  // "--case" is taken as the palette value
    EXPECT_STREQ(c.pal_name, "--case");
    EXPECT_EQ(c.case_name, nullptr);
    EXPECT_EQ(parse({"--case"}).case_name, nullptr);
}

TEST(CmdLine, HandheldSwitch) {
    EXPECT_FALSE(cmdline_handheld(nullptr));
    EXPECT_FALSE(cmdline_handheld("0"));
    EXPECT_FALSE(cmdline_handheld(""));
    EXPECT_TRUE(cmdline_handheld("1"));
    EXPECT_TRUE(cmdline_handheld("1x"));
}

TEST(WindowSize, ScalePicksTheLargestThatFits) {
    // 16:9 landscape case: 336 x 189 at 1x.
    EXPECT_EQ(window_scale_for(336, 189, 2560, 1440), 6);
    EXPECT_EQ(window_scale_for(336, 189, 1920, 1080), 3);
    EXPECT_EQ(window_scale_for(336, 189, 1280, 720), 3);
    EXPECT_EQ(window_scale_for(336, 189, 1000, 600), 2);
    EXPECT_EQ(window_scale_for(336, 189, 400, 300), 1);
    // The 40 pixels of title bar count against the height.
    EXPECT_EQ(window_scale_for(336, 189, 2016, 1134 + 39), 3);
    EXPECT_EQ(window_scale_for(336, 189, 2016, 1134 + 40), 6);
}

TEST(WindowSize, AFrameOffTheDisplayMovesBackOntoIt) {
    const SDL_Rect usable = {0, 0, 1280, 720};
    // A portrait window under a landscape one's corner: its bottom ran off the display.
    int left = 136, top = 76;
    window_fit_frame(&left, &top, 378, 672 + 30, usable);
    EXPECT_EQ(left, 136);
    EXPECT_EQ(top, 18);
    left = 1100, top = -20;
    window_fit_frame(&left, &top, 378, 400, usable);
    EXPECT_EQ(left, 902);
    EXPECT_EQ(top, 0);
    // Larger than the display: the top-left corner stays on it.
    window_fit_frame(&left, &top, 1400, 800, usable);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
}

}  // namespace
