// The atomic file replacement every save goes through: links written through to their target,
// failures that leave the old file and no temporary one, and the one line a failed save prints.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "game/game.h"
#include "profile/profile.h"
#include "saves/file_io.h"
#include "saves/settings.h"
#include "telemetry/events.h"
#include "telemetry/sender.h"
#include "telemetry/session.h"
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
        ASSERT_TRUE(file_write_atomic(link_dir.path(name).c_str(), NEW_BYTES, sizeof NEW_BYTES)) << name;
        EXPECT_TRUE(is_link(link_dir.path(name))) << name;
        EXPECT_EQ(target_dir.read("real.sav"), "new!") << name;
        EXPECT_EQ(link_dir.read(name), "new!") << name;
        EXPECT_EQ(target_dir.temps(), 0);
        EXPECT_EQ(link_dir.temps(), 0);
    }
    // A link to a file not made yet makes it in the target's folder.
    ASSERT_EQ(symlink(target_dir.path("later.sav").c_str(), link_dir.path("later.sav").c_str()), 0);
    ASSERT_TRUE(file_write_atomic(link_dir.path("later.sav").c_str(), NEW_BYTES, sizeof NEW_BYTES));
    EXPECT_EQ(target_dir.read("later.sav"), "new!");
    EXPECT_TRUE(is_link(link_dir.path("later.sav")));
    // A loop of links is refused.
    ASSERT_EQ(symlink("loop_b", link_dir.path("loop_a").c_str()), 0);
    ASSERT_EQ(symlink("loop_a", link_dir.path("loop_b").c_str()), 0);
    file_write_failure_reset();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(file_write_atomic(link_dir.path("loop_a").c_str(), NEW_BYTES, sizeof NEW_BYTES));
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
// unless it is a regular one, and a link to a regular file still works.
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
    FILE* f = file_open_regular(tmp.path("link.txt").c_str(), "rb");
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
    EXPECT_FALSE(file_write_atomic(tmp.path("run.sav").c_str(), NEW_BYTES, sizeof NEW_BYTES));
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
    ASSERT_EQ(file_read_some(run.c_str(), buf, sizeof buf, &judged), 7);
    tmp.write("good", "good run");
    ASSERT_EQ(std::rename(tmp.path("good").c_str(), run.c_str()), 0);
    EXPECT_FALSE(file_set_aside(run.c_str(), judged, "run_bad", ".sav"));
    EXPECT_EQ(tmp.read("run.sav"), "good run");
    EXPECT_FALSE(tmp.exists("run_bad.sav"));

    tmp.write("run_bad.sav", "kept before");
    ASSERT_EQ(file_read_some(run.c_str(), buf, sizeof buf, &judged), 8);
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
