// settings.dat and best.dat: byte layout, older versions and their migrations, damaged files,
// and the save-folder paths.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/input.h"
#include "saves/bytes.h"
#include "saves/save_path.h"
#include "saves/settings.h"
#include "support/temp_save_dir.h"

namespace {

struct SettingsFileTest : ::testing::Test {
    TempSaveDir tmp;  // the save folder for the whole test
    Settings saved;
    void SetUp() override {
        saved = settings;
    }
    void TearDown() override {
        settings = saved;
    }
    void write(const char* name, const std::vector<uint8_t>& bytes) {
        std::ofstream f(tmp.path(name), std::ios::binary);
        f.write((const char*)bytes.data(), (std::streamsize)bytes.size());
    }
    std::vector<uint8_t> read(const char* name) {
        std::ifstream f(tmp.path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
};

// A file of `version` holding `size` bytes, every int32 field after the header set to `fill`.
std::vector<uint8_t> old_file(int version, int size, int32_t fill) {
    std::vector<uint8_t> b((size_t)size, 0);
    std::memcpy(b.data(), "QMST", 4);
    bytes_put_i32(b.data(), 4, version);
    for (int off = 8; off + 4 <= size && off < 80; off += 4) bytes_put_i32(b.data(), off, fill);
    return b;
}

TEST_F(SettingsFileTest, WrittenLayoutIsExact) {
    settings.screen = 2;
    settings.volume = 7;
    settings.rumble = 1;
    settings.music = 3;
    settings.ghosting = 0;
    settings.case_color = 12;
    settings.palette = 1;
    settings.flashes = 0;
    settings.effects = 1;
    settings.fullscreen = 1;
    settings.shine = 0;
    settings.timing_bar = 1;
    settings.monster_art = 1;
    settings.prompts = 0;
    settings.share_stats = 1;
    settings.stats_asked = 1;
    settings.rumble_level = 3;
    settings.vignette = 0;
    settings.key_binds[7][3] = 0x1234;
    settings.pad_binds[3] = 9;
    settings.swap_ab = 1;
    ASSERT_TRUE(settings_save());
    std::vector<uint8_t> b = read("settings.dat");
    ASSERT_EQ(b.size(), 152u);
    EXPECT_EQ(std::memcmp(b.data(), "QMST", 4), 0);
    const int32_t expect[] = {17, 2, 7, 1, 3, 0, 12, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 3, 0};
    for (int i = 0; i < 19; i++) EXPECT_EQ(bytes_get_i32(b.data(), 4 + 4 * i), expect[i]) << "offset " << 4 + 4 * i;
    EXPECT_EQ(bytes_get_i16(b.data(), 80), 82);          // UP's first key
    EXPECT_EQ(b[80 + 62], 0x34);                          // SELECT's fourth slot, little-endian
    EXPECT_EQ(b[80 + 63], 0x12);
    EXPECT_EQ(b[144], 0);
    EXPECT_EQ(b[147], 9);
    EXPECT_EQ(bytes_get_i32(b.data(), 148), 1);
    EXPECT_EQ(tmp.temps(), 0);
}

TEST_F(SettingsFileTest, RoundTrip) {
    settings.volume = 2;
    settings.palette = 2;
    settings.key_binds[4][0] = 29;
    settings.swap_ab = 1;
    Settings written = settings;
    ASSERT_TRUE(settings_save());
    settings = saved;
    ASSERT_TRUE(settings_load());
    EXPECT_EQ(std::memcmp(&settings.key_binds, &written.key_binds, sizeof written.key_binds), 0);
    EXPECT_EQ(settings.volume, 2);
    EXPECT_EQ(settings.palette, 2);
    EXPECT_EQ(settings.swap_ab, 1);
    EXPECT_EQ(settings.case_color, written.case_color);
}

TEST_F(SettingsFileTest, VersionThreeFillsDefaults) {
    settings.share_stats = 1;
    settings.key_binds[0][0] = 99;
    settings.flashes = 0;
    settings.rumble_level = 3;
    write("settings.dat", old_file(3, 28, 1));
    ASSERT_TRUE(settings_load());
    EXPECT_EQ(settings.screen, 1);
    EXPECT_EQ(settings.volume, 1);
    EXPECT_EQ(settings.rumble, 1);
    EXPECT_EQ(settings.music, 1);
    EXPECT_EQ(settings.ghosting, 1);
    EXPECT_EQ(settings.case_color, 9);
    EXPECT_EQ(settings.palette, 0);
    EXPECT_EQ(settings.flashes, 1);
    EXPECT_EQ(settings.effects, 1);
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(settings.shine, 1);
    EXPECT_EQ(settings.timing_bar, 0);
    EXPECT_EQ(settings.monster_art, 0);
    EXPECT_EQ(settings.prompts, 1);
    EXPECT_EQ(settings.stats_asked, 0);
    EXPECT_EQ(settings.rumble_level, 2);
    EXPECT_EQ(settings.vignette, 1);
    EXPECT_EQ(settings.share_stats, 1);         // kept
    EXPECT_EQ(settings.key_binds[0][0], 99);   // kept
}

TEST_F(SettingsFileTest, VersionOneReadsMusicAsFull) {
    write("settings.dat", old_file(1, 20, 4));
    ASSERT_TRUE(settings_load());
    EXPECT_EQ(settings.volume, 4);
    EXPECT_EQ(settings.music, 10);
}

TEST_F(SettingsFileTest, OldFilesGetTheCaseColourMigration) {
    for (int v = 4; v <= 16; v++) {
        std::vector<uint8_t> f = old_file(v, 80, 1);
        bytes_put_i32(f.data(), 28, 12);  // stored case colour
        write("settings.dat", f);
        ASSERT_TRUE(settings_load()) << v;
        EXPECT_EQ(settings.case_color, v <= 13 ? 9 : 12) << v;
        EXPECT_EQ(settings.timing_bar, v <= 10 ? 0 : 1) << v;
    }
}

TEST_F(SettingsFileTest, EachVersionNeedsItsWholeLength) {
    const int need[18] = {0, 20, 24, 28, 36, 40, 44, 48, 52, 56, 60, 64, 68, 72, 72, 76, 80, 152};
    for (int v = 1; v <= 17; v++) {
        Settings before = settings;
        write("settings.dat", old_file(v, need[v] - 1, 1));
        EXPECT_FALSE(settings_load()) << v;
        EXPECT_EQ(std::memcmp(&before, &settings, sizeof before), 0) << v;
        write("settings.dat", old_file(v, need[v], 1));
        EXPECT_TRUE(settings_load()) << v;
        settings = saved;
    }
}

TEST_F(SettingsFileTest, DamagedFilesChangeNothing) {
    Settings before = settings;
    EXPECT_FALSE(settings_load());  // missing
    write("settings.dat", {});
    EXPECT_FALSE(settings_load());
    write("settings.dat", {'Q', 'M', 'S'});
    EXPECT_FALSE(settings_load());
    std::vector<uint8_t> f = old_file(17, 152, 1);
    f[0] = 'X';
    write("settings.dat", f);
    EXPECT_FALSE(settings_load());
    for (int version : {0, -1, 18, 1000}) {
        f = old_file(17, 152, 1);
        bytes_put_i32(f.data(), 4, version);
        write("settings.dat", f);
        EXPECT_FALSE(settings_load()) << version;
    }
    f = old_file(17, 152, 1);
    bytes_put_i16(f.data(), 90, 700);  // no key has such a code
    write("settings.dat", f);
    EXPECT_FALSE(settings_load());
    f = old_file(17, 152, 1);
    f[145] = 200;  // no controller button has such a number
    write("settings.dat", f);
    EXPECT_FALSE(settings_load());
    EXPECT_EQ(std::memcmp(&before, &settings, sizeof before), 0);
}

TEST_F(SettingsFileTest, FlagsReadAsNonZero) {
    std::vector<uint8_t> f = old_file(16, 80, 0);
    bytes_put_i32(f.data(), 36, -7);   // flashes
    bytes_put_i32(f.data(), 16, 256);  // rumble
    write("settings.dat", f);
    ASSERT_TRUE(settings_load());
    EXPECT_EQ(settings.flashes, 1);
    EXPECT_EQ(settings.rumble, 1);
    EXPECT_EQ(settings.effects, 0);
}

TEST_F(SettingsFileTest, EveryRangeClampsToItsDefaultOrItsEnd) {
    struct Case {
        int32_t Settings::*field;
        int32_t low_becomes, high_becomes;
    } cases[] = {
        {&Settings::screen, 0, 0},       {&Settings::volume, 0, 10},    {&Settings::music, 0, 10},
        {&Settings::ghosting, 1, 1},     {&Settings::case_color, 9, 9}, {&Settings::palette, 0, 0},
        {&Settings::monster_art, 0, 0},  {&Settings::rumble_level, 2, 2},
    };
    for (const Case& c : cases) {
        for (int32_t bad : {-1, INT32_MIN, 99, INT32_MAX}) {
            Settings s = settings;
            s.*c.field = bad;
            settings_clamp_ranges(s);
            EXPECT_EQ(s.*c.field, bad < 0 ? c.low_becomes : c.high_becomes) << bad;
        }
        Settings fine = settings;
        const int32_t kept = fine.*c.field;
        settings_clamp_ranges(fine);
        EXPECT_EQ(fine.*c.field, kept);  // values in range stay
    }
    EXPECT_EQ(settings_fallback(&Settings::case_color), 9);
}

TEST_F(SettingsFileTest, EveryFieldSurvivesTheFileWithItsOwnValue) {
    // Each value set apart from its default and every other one, so a field written at another's
    // offset would show.
    Settings s = settings;
    s.screen = 2; s.volume = 3; s.rumble = 0; s.music = 7; s.ghosting = 3; s.case_color = 12;
    s.palette = 2; s.flashes = 0; s.effects = 0; s.fullscreen = 1; s.shine = 0; s.timing_bar = 1;
    s.monster_art = 1; s.prompts = 0; s.share_stats = 1; s.stats_asked = 1; s.rumble_level = 3;
    s.vignette = 0; s.swap_ab = 1;
    uint8_t buf[SETTINGS_FILE_BYTES];
    settings_encode(s, buf);
    Settings back = settings;
    ASSERT_TRUE(settings_decode(buf, sizeof buf, back));
    EXPECT_EQ(std::memcmp(&back, &s, sizeof s), 0);
}

TEST_F(SettingsFileTest, BestFloor) {
    EXPECT_EQ(best_floor_load(), 0);
    ASSERT_TRUE(best_floor_save(7));
    std::vector<uint8_t> b = read("best.dat");
    ASSERT_EQ(b.size(), 12u);
    EXPECT_EQ(std::memcmp(b.data(), "QMBF", 4), 0);
    EXPECT_EQ(bytes_get_i32(b.data(), 4), 1);
    EXPECT_EQ(best_floor_load(), 7);
    best_floor_save(-5);
    EXPECT_EQ(best_floor_load(), 0);
    b = read("best.dat");
    bytes_put_i32(b.data(), 8, 4);
    bytes_put_i32(b.data(), 4, 2);  // unknown version
    write("best.dat", b);
    EXPECT_EQ(best_floor_load(), 0);
    b.resize(11);
    bytes_put_i32(b.data(), 4, 1);
    write("best.dat", b);
    EXPECT_EQ(best_floor_load(), 0);
}

TEST(SavePath, PrefixAndSharedBuffer) {
    save_dir_set(nullptr);
    EXPECT_STREQ(save_path("run.sav"), "quillmarch_run.sav");
    save_dir_set("");
    EXPECT_STREQ(save_path("best.dat"), "quillmarch_best.dat");
    save_dir_set("/home/p/.local/share/QuillmarchDemo/");
    const char* first = save_path("settings.dat");
    EXPECT_STREQ(first, "/home/p/.local/share/QuillmarchDemo/settings.dat");
    const char* second = save_path("best.dat");
    EXPECT_EQ(first, second);  // one shared buffer
    EXPECT_STREQ(first, "/home/p/.local/share/QuillmarchDemo/best.dat");
    save_dir_set(nullptr);
}

TEST(SavePath, TooLongFolderIsNotCut) {
    std::string longdir(600, 'd');
    longdir += "/";
    save_dir_set(longdir.c_str());
    EXPECT_EQ(save_dir[0], 0);
    EXPECT_STREQ(save_path("run.sav"), "quillmarch_run.sav");
    std::string fits(510, 'e');
    fits += "/";
    save_dir_set(fits.c_str());
    EXPECT_EQ(std::strlen(save_dir), 511u);
    save_dir_set(nullptr);
}

}  // namespace
