// The atomic file replacement every save goes through: links written through to their target,
// failures that leave the old file and no temporary one, and the one line a failed save prints.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "game/game.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "saves/file_io.h"
#include "saves/save_lock.h"
#include "saves/settings.h"
#include "telemetry/events.h"
#include "telemetry/file_writer.h"
#include "telemetry/perf.h"
#include "telemetry/sender.h"
#include "telemetry/session.h"
#include "world/game_state.h"
#include "support/fresh_game.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"

namespace {

const uint8_t NEW_BYTES[] = {'n', 'e', 'w', '!'};

bool is_link(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

TEST(FileWriteAtomic, LinkedFileIsWrittenThroughAndStaysALink) {
    TempSaveDir target_dir, link_dir;
    target_dir.write("real.sav", "old");
    // Relative, absolute and chained links.
    ASSERT_EQ(symlink(target_dir.path("real.sav").c_str(), link_dir.path("abs.sav").c_str()), 0);
    ASSERT_EQ(symlink("abs.sav", link_dir.path("chain.sav").c_str()), 0);
    for (const char* name : {"abs.sav", "chain.sav"}) {
        target_dir.write("real.sav", "old");
        ASSERT_TRUE(file_write_atomic(link_dir.path(name).c_str(), NEW_BYTES, sizeof NEW_BYTES, LINKS_FOLLOWED)) << name;
        EXPECT_TRUE(is_link(link_dir.path(name))) << name;
        EXPECT_EQ(target_dir.read("real.sav"), "new!") << name;
        EXPECT_EQ(link_dir.read(name), "new!") << name;
        EXPECT_EQ(target_dir.temps(), 0);
        EXPECT_EQ(link_dir.temps(), 0);
    }
    // A link to a file not made yet makes it in the target's folder.
    ASSERT_EQ(symlink(target_dir.path("later.sav").c_str(), link_dir.path("later.sav").c_str()), 0);
    ASSERT_TRUE(file_write_atomic(link_dir.path("later.sav").c_str(), NEW_BYTES, sizeof NEW_BYTES, LINKS_FOLLOWED));
    EXPECT_EQ(target_dir.read("later.sav"), "new!");
    EXPECT_TRUE(is_link(link_dir.path("later.sav")));
    // A loop of links is refused.
    ASSERT_EQ(symlink("loop_b", link_dir.path("loop_a").c_str()), 0);
    ASSERT_EQ(symlink("loop_a", link_dir.path("loop_b").c_str()), 0);
    file_write_failure_reset();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(file_write_atomic(link_dir.path("loop_a").c_str(), NEW_BYTES, sizeof NEW_BYTES, LINKS_FOLLOWED));
    testing::internal::GetCapturedStderr();
    for (const char* n : {"abs.sav", "chain.sav", "later.sav", "loop_a", "loop_b"}) std::remove(link_dir.path(n).c_str());
}

// The temporary file is made new: links planted at its next names (one to nothing yet, one to a
// file) are passed over, nothing is written where they lead, and the saved file stays a file.
TEST(FileWriteAtomic, ALinkAtTheTemporaryNameIsNeverFollowed) {
    TempSaveDir tmp, elsewhere;
    tmp.write("best.dat", "old");
    elsewhere.write("theirs.txt", "theirs");
    const uint32_t next = file_temp_number_next();
    auto temp_name = [&](uint32_t n) {
        return tmp.path("best.dat") + "." + std::to_string(getpid()) + "-" + std::to_string(n) + ".tmp";
    };
    ASSERT_EQ(symlink(elsewhere.path("made.txt").c_str(), temp_name(next).c_str()), 0);
    ASSERT_EQ(symlink(elsewhere.path("theirs.txt").c_str(), temp_name(next + 1).c_str()), 0);
    ASSERT_TRUE(file_write_atomic(tmp.path("best.dat").c_str(), NEW_BYTES, sizeof NEW_BYTES));
    EXPECT_FALSE(is_link(tmp.path("best.dat")));
    EXPECT_EQ(tmp.read("best.dat"), "new!");
    EXPECT_FALSE(elsewhere.exists("made.txt"));
    EXPECT_EQ(elsewhere.read("theirs.txt"), "theirs");
    EXPECT_TRUE(is_link(temp_name(next)) && is_link(temp_name(next + 1)));
}

TEST(FileWriteAtomic, FailuresKeepTheOldFileAndReportOnce) {
    TempSaveDir tmp;
    tmp.write("blocker", "a file where a folder should be");
    file_write_failure_reset();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(file_write_atomic(tmp.path("blocker/run.sav").c_str(), NEW_BYTES, sizeof NEW_BYTES));
    EXPECT_FALSE(file_write_atomic(tmp.path("blocker/run.sav").c_str(), NEW_BYTES, sizeof NEW_BYTES));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("Could not save"), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    // The rename fails (a folder holds the name): the temporary file goes, the folder stays.
    ASSERT_EQ(mkdir(tmp.path("run.sav").c_str(), 0700), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(file_write_atomic(tmp.path("run.sav").c_str(), NEW_BYTES, sizeof NEW_BYTES));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // reported once a session
    EXPECT_EQ(tmp.temps(), 0);
    rmdir(tmp.path("run.sav").c_str());

    // A read-only folder keeps the old file (root writes anywhere, so only as a user).
    if (geteuid() != 0) {
        tmp.write("kept.sav", "old");
        chmod(tmp.dir.c_str(), 0555);
        EXPECT_FALSE(file_write_atomic(tmp.path("kept.sav").c_str(), NEW_BYTES, sizeof NEW_BYTES));
        chmod(tmp.dir.c_str(), 0700);
        EXPECT_EQ(tmp.read("kept.sav"), "old");
        EXPECT_EQ(tmp.temps(), 0);
    }
    file_write_failure_reset();
}

}  // namespace

// A FIFO where a file of the game should be would block its open forever; every file is refused
// unless it is a regular one, and a link to a regular file still works where it is followed.
TEST(FileOpenRegular, FifosInTheDataFolderAreRefusedWithoutBlocking) {
    TempSaveDir tmp;
    const char* names[] = {"settings.dat", "profile.dat", "run.sav", "session.txt", "crash.txt",
                           "events_outbox.jsonl", "events_sending.jsonl", "install_id.txt"};
    for (const char* n : names) ASSERT_EQ(mkfifo(tmp.path(n).c_str(), 0600), 0) << n;
    alarm(20);  // a blocked open ends the test binary here rather than hanging the run
    for (const char* mode : {"rb", "wb", "ab"}) EXPECT_EQ(file_open_regular(tmp.path("run.sav").c_str(), mode), nullptr);
    game_init();
    session_start(1920, 1080, 0);
    settings.share_stats = 1;
    event_append("probe", "{}");
    telemetry_queue_paths();
    telemetry_send_queues();
    alarm(0);
    settings.share_stats = 0;

    tmp.write("real.txt", "kept");
    ASSERT_EQ(symlink("real.txt", tmp.path("link.txt").c_str()), 0);
    FILE* f = file_open_regular(tmp.path("link.txt").c_str(), "rb", LINKS_FOLLOWED);
    ASSERT_NE(f, nullptr);
    char buf[8] = {};
    EXPECT_EQ(std::fread(buf, 1, sizeof buf, f), 4u);
    std::fclose(f);
    EXPECT_STREQ(buf, "kept");
    std::remove(tmp.path("link.txt").c_str());
}

// A save goes over a regular file or over nothing: a link that leads to a FIFO leaves it a FIFO.
TEST(FileWriteAtomic, ALinkToAFifoIsRefusedAndTheFifoStays) {
    TempSaveDir tmp, elsewhere;
    ASSERT_EQ(mkfifo(elsewhere.path("pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink(elsewhere.path("pipe").c_str(), tmp.path("run.sav").c_str()), 0);
    file_write_failure_reset();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(file_write_atomic(tmp.path("run.sav").c_str(), NEW_BYTES, sizeof NEW_BYTES, LINKS_FOLLOWED));
    testing::internal::GetCapturedStderr();
    struct stat st;
    ASSERT_EQ(lstat(elsewhere.path("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(elsewhere.temps(), 0);
    file_write_failure_reset();
    std::remove(tmp.path("run.sav").c_str());
}

// Setting a refused file aside moves that file and no other: one put at its name since it was read
// stays, a name taken before is never replaced, and a profile with no free name left is never
// written over by a save.
TEST(FileSetAside, MovesOnlyTheJudgedFileAndReplacesNothing) {
    TempSaveDir tmp{"/dev/shm"};
    const std::string run = tmp.path("run.sav");
    tmp.write("run.sav", "damaged");
    uint8_t buf[16];
    FileId judged{};
    ASSERT_EQ(file_read_some(run.c_str(), buf, sizeof buf, LINKS_FOLLOWED, &judged), 7);
    tmp.write("good", "good run");
    ASSERT_EQ(std::rename(tmp.path("good").c_str(), run.c_str()), 0);
    EXPECT_FALSE(file_set_aside(run.c_str(), judged, "run_bad", ".sav"));
    EXPECT_EQ(tmp.read("run.sav"), "good run");
    EXPECT_FALSE(tmp.exists("run_bad.sav"));

    tmp.write("run_bad.sav", "kept before");
    ASSERT_EQ(file_read_some(run.c_str(), buf, sizeof buf, LINKS_FOLLOWED, &judged), 8);
    EXPECT_TRUE(file_set_aside(run.c_str(), judged, "run_bad", ".sav"));
    EXPECT_FALSE(tmp.exists("run.sav"));
    EXPECT_EQ(tmp.read("run_bad.sav"), "kept before");
    EXPECT_EQ(tmp.read("run_bad_2.sav"), "good run");

    // "profile_bad_9999.dat" is the last name tried.
    tmp.write("profile_bad.dat", "");
    for (int n = 2; n <= 9999; n++) tmp.write(("profile_bad_" + std::to_string(n) + ".dat").c_str(), "");
    tmp.write("profile.dat", "QMPD damaged");
    EXPECT_EQ(profile_load(), PROFILE_REFUSED_IN_PLACE);
    profile_add_souls(3);
    EXPECT_EQ(tmp.read("profile.dat"), "QMPD damaged");
}

// Every file of the game but the four saves refuses a link at its name. Links planted at each,
// pointing out of the data folder at a file or at nothing yet: nothing out there is read into a
// queued line, written, cut, created or replaced. The four saves alone still write through theirs.
TEST(FileOpenRegular, OnlyTheFourSavesFollowALinkOutOfTheDataFolder) {
    TempSaveDir elsewhere, tmp;  // the second is the data folder
    TelemetryConsent consent;
    install_id_set("");  // the id is the one install_id.txt gives, as in the game
    install_id_forget();
    std::map<std::string, std::string> outside;  // every file out there, with the bytes it must keep
    auto link_to = [&](const char* name, const std::string& target) {
        std::remove(tmp.path(name).c_str());
        ASSERT_EQ(symlink(elsewhere.path(target.c_str()).c_str(), tmp.path(name).c_str()), 0) << name;
    };
    auto link_to_file = [&](const char* name, const std::string& target, const std::string& bytes) {
        elsewhere.write(target.c_str(), bytes);
        outside[target] = bytes;
        link_to(name, target);
    };

    // After a session that did not end, crash.txt and install_id.txt lead out of the folder.
    tmp.write("session.txt", "build=d487d46\nsecs=5\nstate=2\nfloor=1\naway=0\nended=0\n");
    link_to_file("crash.txt", "token.txt", "PRIVATE-TOKEN=abc123\n");
    link_to_file("install_id.txt", "api_key.txt", "sk4f9Qz7Lm2Xv8Rt");
    session_start(1, 1, 1);
    install_id_display();  // what the OPTIONS page shows on SHARE STATS
    const std::string queued = tmp.read("events_outbox.jsonl");
    EXPECT_NE(queued.find("\"kind\":\"crash\""), std::string::npos) << queued;
    EXPECT_EQ(queued.find("PRIVATE-TOKEN"), std::string::npos) << queued;
    EXPECT_EQ(queued.find("sk4f9Qz7Lm2Xv8Rt"), std::string::npos) << queued;
    install_id_forget();
    link_to_file("install_id.txt", "document.txt", "A document of the player's, no id.\n");
    install_id();
    // Crash lines, from the game and from the handler's descriptor, to a link to nothing yet.
    link_to("crash.txt", "crash_made.txt");
    crash_log_append("assert here.cpp:1");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        crash_filter_install();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    file_writer_stop();
    session_open = 0;

    // session.txt leads out: the record there is not the last session's, and is never replaced.
    std::remove(tmp.path("events_outbox.jsonl").c_str());
    link_to_file("session.txt", "notes.txt", "build=LEAKED\nsecs=77\nstate=3\nfloor=9\naway=0\nended=0\n");
    session_start(1, 1, 1);
    for (int i = 0; i < 600; i++) session_tick();
    file_writer_wait();
    session_write(1);
    session_end();
    file_writer_stop();
    EXPECT_NE(tmp.read("events_outbox.jsonl").find("\"prev\":\"first\""), std::string::npos);
    EXPECT_EQ(tmp.read("events_outbox.jsonl").find("LEAKED"), std::string::npos);

    // The capped play files lead to a log over their cap: trimmed at the start, cut, appended to.
    std::string log;
    for (int i = 0; (long)log.size() < TELEMETRY_QUEUE_MAX + 100000; i++) log += "line " + std::to_string(i) + " of a log\n";
    const char* const PLAY_FILES[] = {"runs.jsonl", "runs_outbox.jsonl", "events_outbox.jsonl"};
    for (const char* name : PLAY_FILES) link_to_file(name, std::string(name) + ".log", log);
    telemetry_files_trim();
    for (const char* name : PLAY_FILES) telemetry_file_cut(tmp.path(name).c_str(), TELEMETRY_QUEUE_MAX / 4 * 3);
    event_append("probe", "{}");
    run_line_append("{\"floor\":1}");

    // The trace, a gpu-check picture, the folder's lock and an old slot file.
    link_to("trace.json", "trace_made.json");
    perf_reset();
    perf_trace_start();
    for (int i = 0; i < TRACE_FRAMES; i++) perf_frame_end();
    link_to_file("gpu_check_gpu.ppm", "picture.ppm", "P6 1 1 255\nabc");
    const uint32_t pixel = 0xFF102030;
    ppm_write("gpu_check_gpu.ppm", &pixel, 1, 1);
    link_to("instance.lock", "lock_made");
    save_lock_release();
    EXPECT_EQ(save_lock_take(), SAVE_LOCK_UNAVAILABLE);
    save_lock_release();
    knight_run_start(7);
    game_state = STATE_DUNGEON;
    RunRecord slot;
    run_record_build(&slot, STATE_DUNGEON);
    link_to_file("slot0.sav", "old_slot.sav", std::string((const char*)slot.bytes, RUN_FILE_BYTES));
    saves_migrate_slots();
    EXPECT_FALSE(tmp.exists("run.sav"));

    // The four saves write through their links to the files the player keeps elsewhere.
    const char* const SAVES[] = {"run.sav", "settings.dat", "profile.dat", "best.dat"};
    for (const char* name : SAVES) {
        elsewhere.write((std::string(name) + ".kept").c_str(), "old");
        link_to(name, std::string(name) + ".kept");
    }
    EXPECT_TRUE(save_run());
    EXPECT_TRUE(settings_save());
    EXPECT_TRUE(profile_save());
    EXPECT_TRUE(best_floor_save(3));
    for (const char* name : SAVES) {
        EXPECT_TRUE(is_link(tmp.path(name))) << name;
        const std::string kept = elsewhere.read((std::string(name) + ".kept").c_str());
        EXPECT_NE(kept, "old") << name;
        outside[std::string(name) + ".kept"] = kept;
    }

    // Out there every file is as it was, and none was made.
    std::vector<std::string> found;
    if (DIR* d = opendir(elsewhere.dir.c_str())) {
        while (const dirent* e = readdir(d))
            if (e->d_name[0] != '.') found.push_back(e->d_name);
        closedir(d);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> planted;
    for (const auto& [name, bytes] : outside) {
        planted.push_back(name);
        EXPECT_TRUE(elsewhere.read(name.c_str()) == bytes) << name << " changed";
    }
    EXPECT_EQ(found, planted);
}
