// The soft-assertion reporter and the telemetry records it writes through.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>
#include <unistd.h>

#include "dungeon/map.h"
#include "world/player.h"
#include "game/state.h"
#include "saves/file_io.h"
#include "saves/settings.h"
#include "support/full_disk.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/check.h"
#include "telemetry/events.h"

namespace {

std::vector<std::string> split_lines(const std::string& s) {
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = s.find('\n', at)) != std::string::npos; at = end + 1) lines.push_back(s.substr(at, end - at));
    if (at < s.size()) lines.push_back(s.substr(at));  // a line without its end
    return lines;
}

int count_lines(const std::string& s) {
    int n = 0;
    for (char c : s) n += c == '\n';
    return n;
}

struct ReporterTest : ::testing::Test {
    TempSaveDir tmp;
    void SetUp() override {
        settings.share_stats = 1;
        install_id_set("testid12");
        assert_sites_reset();
        game_state = STATE_TITLE;
        current_floor = 0;
        player = Player{};
    }
    void TearDown() override {
        player = Player{};
        current_floor = 0;
        settings.share_stats = 0;
        install_id_set("");
        install_id_forget();
        assert_sites_reset();
    }
};

TEST_F(ReporterTest, WritesTheExactEventLineWithEscapedFields) {
    check_failed("a \"b\"", "src/x\\dir/my\"file.cpp", 12, "fn", "m \"q\"\n%d", 5);
    EXPECT_EQ(tmp.read("events_outbox.jsonl"),
              "{\"install\":\"testid12\",\"platform\":\"linux\",\"v\":\"0.28.1-demo\",\"build\":\"d487d46\","
              "\"kind\":\"assert\",\"data\":{\"expr\":\"a \\\"b\\\"\",\"at\":\"my\\\"file.cpp:12\",\"func\":\"fn\","
              "\"msg\":\"m \\\"q\\\"\\u000a5\",\"where\":\"state 1, floor 1, player (0,0) hp 0/0\",\"fatal\":false}}\n");
}

TEST_F(ReporterTest, WhereNamesTheLivePlayerAndFloor) {
    game_state = STATE_DUNGEON;
    current_floor = 6;
    player.x = 3;
    player.y = 9;
    player.hp = 7;
    player.max_hp = 21;
    check_failed("x", "src/items", 40, "f", nullptr);
    EXPECT_NE(tmp.read("events_outbox.jsonl").find("\"where\":\"state 2, floor 7, player (3,9) hp 7/21\""),
              std::string::npos);
}

TEST_F(ReporterTest, EachSiteOnceAndAtMost32Sites) {
    for (int tick = 0; tick < 5; tick++) check_failed("x", "src/game", 7, "f", "%s", "");
    EXPECT_EQ(count_lines(tmp.read("events_outbox.jsonl")), 1);
    // Same line in another file is another site.
    check_failed("x", "src/items", 7, "f", "%s", "");
    EXPECT_EQ(count_lines(tmp.read("events_outbox.jsonl")), 2);
    for (int line = 100; line < 130; line++) check_failed("x", "src/game", line, "f", "%s", "");
    EXPECT_EQ(count_lines(tmp.read("events_outbox.jsonl")), 32);
    check_failed("x", "src/game", 500, "f", "%s", "");  // the 33rd site
    check_failed("x", "src/game", 7, "f", "%s", "");    // an old one
    EXPECT_EQ(count_lines(tmp.read("events_outbox.jsonl")), 32);
    EXPECT_EQ(event_lines_appended >= 32, true);
}

TEST_F(ReporterTest, NothingIsWrittenWithoutConsentButTheSiteIsStillUsedUp) {
    settings.share_stats = 0;
    int before = records_appended();
    check_failed("x", "src/game", 9, "f", nullptr);
    EXPECT_FALSE(tmp.exists("events_outbox.jsonl"));
    EXPECT_EQ(records_appended(), before);
    settings.share_stats = 1;
    check_failed("x", "src/game", 9, "f", nullptr);
    EXPECT_FALSE(tmp.exists("events_outbox.jsonl"));
}

TEST_F(ReporterTest, AnOversizedRecordIsDroppedWholeAndLongTextsAreCut) {
    std::string huge(2000, 'q');
    check_failed(huge.c_str(), "src/game", 1, huge.c_str(), "%s", huge.c_str());
    std::string line = tmp.read("events_outbox.jsonl");
    ASSERT_EQ(count_lines(line), 1);  // cut fields keep the record within its buffer
    EXPECT_LT(line.size(), 1400u);
    // Many escapes expand each character six-fold; the field stops before overflowing.
    std::string ctrl(300, '\x01');
    check_failed(ctrl.c_str(), "src/game", 2, "f", "%s", ctrl.c_str());
    std::string all = tmp.read("events_outbox.jsonl");
    EXPECT_EQ(count_lines(all), 2);
    EXPECT_EQ(all.compare(all.size() - 17, 17, ",\"fatal\":false}}\n"), 0);  // the record still closes
}

TEST_F(ReporterTest, FatalAssertLeavesACrashLine) {
    assert_event("e", "src/game/tick.cpp", 33, "f", "", "w", true);
    EXPECT_EQ(tmp.read("crash.txt"), "assert tick.cpp:33\n");
}

TEST(JsonEscape, ControlsQuotesAndBackslashesAndTheSevenByteRule) {
    char out[64];
    json_escape(out, sizeof out, "a\"b\\c\td");
    EXPECT_STREQ(out, "a\\\"b\\\\c\\u0009d");
    char small[10];
    json_escape(small, sizeof small, "abcdefghij");
    EXPECT_STREQ(small, "abcd");  // a character is written only while 7 bytes remain
}

TEST(BufAppendf, StopsAtTheEndWithoutOverflow) {
    char buf[8];
    size_t pos = 0;
    buf_appendf(buf, sizeof buf, &pos, "%s", "abc");
    EXPECT_EQ(pos, 3u);
    buf_appendf(buf, sizeof buf, &pos, "%s", "defghij");
    EXPECT_EQ(pos, 7u);
    EXPECT_STREQ(buf, "abcdefg");
    buf_appendf(buf, sizeof buf, &pos, "%s", "x");
    EXPECT_STREQ(buf, "abcdefg");
}

struct InstallIdTest : ::testing::Test {
    TempSaveDir tmp;
    void SetUp() override { install_id_forget(); }
    void TearDown() override { install_id_forget(); }
};

TEST_F(InstallIdTest, MadeOnceAs32HexDigitsWithoutLineEnd) {
    std::string id = install_id();
    ASSERT_EQ(id.size(), 32u);
    for (char c : id) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << c;
    EXPECT_EQ(tmp.read("install_id.txt"), id);
    install_id_forget();
    EXPECT_EQ(std::string(install_id()), id);
}

TEST_F(InstallIdTest, ReadBackOnlyWhenItLooksLikeAnId) {
    tmp.write("install_id.txt", "0123456789abcdef\r\n");
    EXPECT_STREQ(install_id(), "0123456789abcdef");
    EXPECT_STREQ(install_id_display(), "01234567");
    install_id_forget();
    tmp.write("install_id.txt", "abc");
    EXPECT_EQ(std::string(install_id()).size(), 32u);
    install_id_forget();
    tmp.write("install_id.txt", "bad\"id\\with-junk");
    std::string made = install_id();
    EXPECT_EQ(made.size(), 32u);
    EXPECT_EQ(made.find('"'), std::string::npos);
    install_id_forget();
    tmp.write("install_id.txt", "abcdef12ffff");
    EXPECT_STREQ(install_id_display(), "ABCDEF12");
}

TEST(RunLines, LocalHistoryAlwaysOutboxOnlyWithConsent) {
    TempSaveDir tmp;
    install_id_set("testid12");
    settings.share_stats = 0;
    int before = runs_appended();
    run_line_append("{\"floor\":3}");
    EXPECT_EQ(tmp.read("runs.jsonl"), "{\"floor\":3}\n");
    EXPECT_FALSE(tmp.exists("runs_outbox.jsonl"));
    EXPECT_EQ(runs_appended(), before);
    settings.share_stats = 1;
    run_line_append("{\"floor\":4}");
    EXPECT_EQ(tmp.read("runs_outbox.jsonl"),
              "{\"install\":\"testid12\",\"platform\":\"linux\",\"v\":\"0.28.1-demo\",\"data\":{\"floor\":4}}\n");
    EXPECT_EQ(runs_appended(), before + 1);
    tmp.write("events_sending.jsonl.tmp", "{}\n");  // a rewrite of kept lines cut short
    telemetry_discard_queued();
    EXPECT_FALSE(tmp.exists("runs_outbox.jsonl"));
    EXPECT_FALSE(tmp.exists("events_sending.jsonl.tmp"));
    EXPECT_TRUE(tmp.exists("runs.jsonl"));
    settings.share_stats = 0;
    install_id_set("");
}

TEST(RunLines, ALongRunSummaryIsKeptWhole) {
    TempSaveDir tmp;
    install_id_set("testid12");
    settings.share_stats = 1;
    // A run summary may be built up to 14999 characters long.
    std::string obj = "{\"pad\":\"" + std::string(14999 - 10, 'p') + "\"}";
    ASSERT_EQ(obj.size(), 14999u);
    int before = runs_appended();
    run_line_append(obj.c_str());
    EXPECT_EQ(tmp.read("runs.jsonl"), obj + "\n");
    std::string out = tmp.read("runs_outbox.jsonl");
    EXPECT_NE(out.find(obj + "}\n"), std::string::npos);
    EXPECT_EQ(runs_appended(), before + 1);
    settings.share_stats = 0;
    install_id_set("");
}

TEST(RunLines, AFailedAppendLeavesEveryFileAsItWasAndIsNotCounted) {
    TempSaveDir tmp;
    TelemetryConsent consent;
    event_append("floor", "{\"n\":1}");
    run_line_append("{\"floor\":1}");
    const std::vector<std::string> names = {"events_outbox.jsonl", "runs_outbox.jsonl", "runs.jsonl"};
    std::vector<std::string> before;
    for (const std::string& name : names) before.push_back(tmp.read(name.c_str()));
    const int32_t counted = records_appended();
    {
        FullDisk full(before[2].size() + 5);  // room for part of a line only
        event_append("floor", "{\"n\":2}");
        run_line_append("{\"floor\":2}");
    }
    for (size_t i = 0; i < names.size(); i++) EXPECT_EQ(tmp.read(names[i].c_str()), before[i]) << names[i];
    EXPECT_EQ(records_appended(), counted);
    event_append("floor", "{\"n\":3}");
    run_line_append("{\"floor\":3}");
    for (const std::string& name : names)
        for (const std::string& line : split_lines(tmp.read(name.c_str())))
            EXPECT_TRUE(nlohmann::json::accept(line)) << name << ": " << line;
}

TEST(RunLines, AFailedFirstAppendLeavesNoEmptyFileBehind) {
    TempSaveDir tmp;
    TelemetryConsent consent;
    {
        FullDisk full(0);  // not a byte fits
        event_append("floor", "{\"n\":1}");
        run_line_append("{\"floor\":1}");
    }
    for (const char* name : {"events_outbox.jsonl", "runs_outbox.jsonl", "runs.jsonl"})
        EXPECT_FALSE(tmp.exists(name)) << name;
}

TEST(RunLines, NoLineIsAppendedThroughALink) {
    TempSaveDir tmp;
    TelemetryConsent consent;
    const std::vector<std::string> names = {"events_outbox.jsonl", "runs_outbox.jsonl", "runs.jsonl"};
    for (const std::string& name : names) {
        const std::string target = name + ".mine";  // a file of the user's that the link points at
        tmp.write(target.c_str(), "mine\n");
        ASSERT_EQ(symlink((tmp.dir + "/" + target).c_str(), (tmp.dir + "/" + name).c_str()), 0);
    }
    event_append("floor", "{\"n\":1}");
    run_line_append("{\"floor\":1}");
    for (const std::string& name : names) EXPECT_EQ(tmp.read((name + ".mine").c_str()), "mine\n") << name;
}

TEST(RunLines, ALineAfterACutOneStartsALineOfItsOwn) {
    TempSaveDir tmp;
    TelemetryConsent consent;
    const std::vector<std::string> names = {"events_outbox.jsonl", "runs_outbox.jsonl", "runs.jsonl"};
    for (const std::string& name : names) tmp.write(name.c_str(), "{\"cut\":");  // left by a crash
    event_append("floor", "{\"n\":1}");
    run_line_append("{\"floor\":1}");
    for (const std::string& name : names) {
        const std::vector<std::string> lines = split_lines(tmp.read(name.c_str()));
        ASSERT_EQ(lines.size(), 2u) << name;
        EXPECT_EQ(lines[0], "{\"cut\":");
        EXPECT_TRUE(nlohmann::json::accept(lines[1])) << name << ": " << lines[1];
    }
}

TEST(RunLines, PlayOnlyAppendsToTheHistoryAndTheNextStartCutsItBackToItsCap) {
    TempSaveDir tmp;
    const std::string pad(780, 'x');  // about the size of a real run's line
    auto append_run = [&](int n) {
        run_line_append(("{\"run\":" + std::to_string(n) + ",\"pad\":\"" + pad + "\"}").c_str());
    };
    const int runs = (int)(TELEMETRY_HISTORY_MAX / 790) + 50;
    append_run(0);
    const FileId first = file_id_of(tmp.path("runs.jsonl").c_str());
    for (int n = 1; n < runs; n++) append_run(n);
    std::string history = tmp.read("runs.jsonl");
    EXPECT_GT((long)history.size(), TELEMETRY_HISTORY_MAX);  // no rewrite at a run's end
    EXPECT_TRUE(file_id_same(file_id_of(tmp.path("runs.jsonl").c_str()), first));
    EXPECT_EQ(history.rfind("{\"run\":0,", 0), 0u);

    telemetry_files_trim();  // as the next start does
    history = tmp.read("runs.jsonl");
    EXPECT_LE((long)history.size(), TELEMETRY_HISTORY_MAX);
    EXPECT_EQ(history.find("{\"run\":0,"), std::string::npos);
    EXPECT_EQ(history.rfind("{\"run\":", 0), 0u);
    EXPECT_NE(history.find("{\"run\":" + std::to_string(runs - 1) + ","), std::string::npos);

    for (int n = runs; n < 3 * runs; n++) append_run(n);  // a session that never ends
    EXPECT_LE((long)tmp.read("runs.jsonl").size(), 2 * TELEMETRY_HISTORY_MAX);
}

}  // namespace
