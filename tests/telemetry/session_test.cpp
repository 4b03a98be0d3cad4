// The session record: how the previous session ended, the crash event it sends, and the crash
// handler's line written by a child process that really crashes.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "saves/file_io.h"
#include "saves/settings.h"
#include "support/full_disk.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/events.h"
#include "telemetry/file_writer.h"
#include "telemetry/session.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

struct SessionTest : ::testing::Test {
    TempSaveDir tmp;
    TelemetryConsent consent;
    void SetUp() override {
        session_open = 0;
        game_state = STATE_DUNGEON;
        current_floor = 4;
    }
    void TearDown() override {
        file_writer_stop();
        session_open = 0;
        crash_log_release();
        game_state = 0;
        current_floor = 0;
    }
    std::string events() { return tmp.read("events_outbox.jsonl"); }
};

TEST_F(SessionTest, FirstStartThenACleanQuitThenAKill) {
    session_start(1920, 1080, 1);
    EXPECT_EQ(events(),
              "{\"install\":\"testid12\",\"platform\":\"linux\",\"v\":\"0.28.1-demo\",\"build\":\"d487d46\","
              "\"kind\":\"session\",\"data\":{\"screen\":\"1920x1080\",\"form\":1,\"prev\":\"first\",\"prev_secs\":0}}\n");
    EXPECT_EQ(tmp.read("session.txt"), "build=d487d46\nsecs=0\nstate=2\nfloor=5\naway=0\nended=0\n");

    for (int i = 0; i < 1260; i++) session_tick();
    file_writer_wait();
    EXPECT_NE(tmp.read("session.txt").find("secs=20\n"), std::string::npos);  // rewritten at 1200 ticks
    session_end();
    EXPECT_NE(tmp.read("session.txt").find("ended=1\n"), std::string::npos);
    EXPECT_FALSE(tmp.exists("crash.txt"));  // an unused crash file does not stay behind

    std::remove(tmp.path("events_outbox.jsonl").c_str());
    session_start(800, 600, 0);
    EXPECT_NE(events().find("\"prev\":\"clean\",\"prev_secs\":21}"), std::string::npos);
    EXPECT_EQ(events().find("\"crash\""), std::string::npos);

    // Killed while playing: session.txt still says ended=0.
    for (int i = 0; i < 600; i++) session_tick();
    file_writer_wait();
    std::remove(tmp.path("events_outbox.jsonl").c_str());
    session_start(800, 600, 0);
    std::string e = events();
    EXPECT_EQ(e.rfind("{\"install\":\"testid12\",\"platform\":\"linux\",\"v\":\"0.28.1-demo\",\"build\":\"d487d46\","
                      "\"kind\":\"crash\",\"data\":{\"secs\":10,\"state\":2,\"floor\":5,\"cause\":\"\"}}\n",
                      0),
              0u);
    EXPECT_NE(e.find("\"prev\":\"crash\",\"prev_secs\":10}"), std::string::npos);
}

TEST_F(SessionTest, TheTenSecondRecordAndTheCutAtTwiceTheCapAreWrittenOffTheGameThread) {
    uint32_t syncs = file_syncs_done();
    session_start(800, 600, 0);
    EXPECT_GT(file_syncs_done(), syncs);  // the start is written here, and synced
    const uint32_t writes = file_writes_done();
    for (int i = 0; i < 600; i++) session_tick();
    EXPECT_EQ(file_writes_done(), writes);  // this thread only handed the record over
    file_writer_wait();
    EXPECT_NE(tmp.read("session.txt").find("secs=10\n"), std::string::npos);

    // An outbox near twice its cap is cut by the writer too, and keeps its newest line.
    std::string full;
    for (int n = 0; (long)full.size() < 2 * TELEMETRY_QUEUE_MAX - 2000; n++)
        full += "{\"old\":" + std::to_string(n) + ",\"pad\":\"" + std::string(1000, 'x') + "\"}\n";
    tmp.write("events_outbox.jsonl", full);
    event_append("floor", "{\"newest\":1}");
    EXPECT_EQ(file_writes_done(), writes);
    file_writer_wait();
    const std::string outbox = tmp.read("events_outbox.jsonl");
    EXPECT_LE((long)outbox.size(), TELEMETRY_QUEUE_MAX);
    EXPECT_EQ(outbox.rfind("{\"old\":", 0), 0u);
    EXPECT_NE(outbox.find("{\"newest\":1}"), std::string::npos);

    // The end's record, synced, is the last to land, whatever the writer had in hand.
    for (int round = 0; round < 20; round++) {
        for (int i = 0; i < 600; i++) session_tick();
        syncs = file_syncs_done();
        session_end();
        EXPECT_GT(file_syncs_done(), syncs);
        file_writer_wait();
        EXPECT_NE(tmp.read("session.txt").find("ended=1\n"), std::string::npos) << round;
        session_start(800, 600, 0);
    }
}

TEST_F(SessionTest, BackgroundGarbageAndTheOldBuildInTheEnvelope) {
    tmp.write("session.txt", "build=abc\"1\nsecs=7\nstate=3\nfloor=2\naway=1\nended=0\n");
    session_start(1, 1, 2);
    EXPECT_NE(events().find("\"prev\":\"background\",\"prev_secs\":7"), std::string::npos);
    EXPECT_EQ(events().find("\"crash\""), std::string::npos);

    std::remove(tmp.path("events_outbox.jsonl").c_str());
    session_write(1);
    EXPECT_NE(tmp.read("session.txt").find("away=1\n"), std::string::npos);
    tmp.write("session.txt", "build=abc\"1\nsecs=7\nstate=3\nfloor=2\naway=0\nended=0\n");
    tmp.write("crash.txt", "exception 0x0000000b at +0x1a2b\r\nassert x.cpp:4\n");
    session_start(1, 1, 2);
    EXPECT_NE(events().find("\"build\":\"abc\\\"1\",\"kind\":\"crash\",\"data\":{\"secs\":7,\"state\":3,\"floor\":2,"
                            "\"cause\":\"exception 0x0000000b at +0x1a2b;assert x.cpp:4;\"}}"),
              std::string::npos);
    EXPECT_EQ(tmp.read("crash.txt"), "");  // the old lines are gone

    std::remove(tmp.path("events_outbox.jsonl").c_str());
    tmp.write("session.txt", "\x01\x02 no equals sign here");
    session_start(1, 1, 2);
    EXPECT_NE(events().find("\"kind\":\"crash\",\"data\":{\"secs\":0,\"state\":-1,\"floor\":0,\"cause\":\"\"}"),
              std::string::npos);
    EXPECT_NE(events().find("\"build\":\"unknown\""), std::string::npos);
}

TEST_F(SessionTest, SharingOffQueuesNothingButKeepsTheFile) {
    settings.share_stats = 0;
    session_start(1, 1, 1);
    EXPECT_FALSE(tmp.exists("events_outbox.jsonl"));
    EXPECT_TRUE(tmp.exists("session.txt"));
}

TEST_F(SessionTest, CrashHandlerWritesTheSignalLineAndTheNextStartSendsIt) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer owns the fatal signals";
#endif
    session_start(1, 1, 1);  // session.txt says ended=0, as in a live game
    std::remove(tmp.path("events_outbox.jsonl").c_str());
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        crash_filter_install();
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);  // the default action still ends the process

    const std::string line = tmp.read("crash.txt");
    ASSERT_EQ(line.rfind("exception 0x0000000b at +0x", 0), 0u) << line;
    ASSERT_EQ(line.back(), '\n');
    const std::string offset = line.substr(27, line.size() - 28);
    EXPECT_FALSE(offset.empty());
    EXPECT_EQ(offset.find_first_not_of("0123456789abcdef"), std::string::npos);

    session_start(1, 1, 1);
    std::string e = events();
    EXPECT_NE(e.find("\"kind\":\"crash\""), std::string::npos);
    EXPECT_NE(e.find("\"cause\":\"exception 0x0000000b at +0x" + offset + ";\""), std::string::npos);
    EXPECT_EQ(tmp.read("crash.txt"), "");
}

// A SIGSEGV sent from outside stops the program wherever it is, here in the C library's kill: that
// address is written as it is, not as an offset from the program's base.
TEST_F(SessionTest, AFaultOutsideTheProgramIsWrittenAsThePlainAddress) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer owns the fatal signals";
#endif
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        crash_filter_install();
        kill(getpid(), SIGSEGV);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string line = tmp.read("crash.txt");
    ASSERT_EQ(line.rfind("exception 0x0000000b at 0x", 0), 0u) << line;
    const uintptr_t at = (uintptr_t)std::strtoull(line.c_str() + 26, nullptr, 16);
    // The child was a copy of this process: the address lies in a library, not in the program.
    Dl_info where = {}, program = {};
    ASSERT_NE(dladdr((void*)at, &where), 0) << line;
    ASSERT_NE(dladdr((void*)&crash_filter_install, &program), 0);
    EXPECT_NE(where.dli_fbase, program.dli_fbase) << where.dli_fname;
}

TEST_F(SessionTest, OnAFullDiskTheLastSessionAndNoEmptyIdAreLeft) {
    session_start(800, 600, 0);
    session_end();
    const std::string clean = tmp.read("session.txt");
    install_id_set("");
    install_id_forget();
    {
        FullDisk full(8);
        session_start(800, 600, 0);
        for (int i = 0; i < 600; i++) session_tick();
        EXPECT_EQ(std::string(install_id()).size(), 32u);  // made, and used this session
    }
    EXPECT_EQ(tmp.read("session.txt"), clean);  // the next start still sees the clean end
    EXPECT_FALSE(tmp.exists("install_id.txt"));  // nor an empty id to replace
}

}  // namespace
