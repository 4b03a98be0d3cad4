// The data folder's lock: a second copy cannot take it while the first lives, the kernel lets go of
// it when the first is killed, the first removes what a killed writer left (and no file of the
// player's named like it), and two writers at once never rename each other's half-written file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

#include "saves/file_io.h"
#include "saves/save_lock.h"
#include "support/temp_save_dir.h"

namespace {

TEST(SaveLock, OneCopyAtATimeAndNoTornFileFromTwoWriters) {
    TempSaveDir tmp{"/dev/shm"};
    tmp.write("run.sav.4242-7.tmp", "left by a killed writer");
    tmp.write("notes.tmp", "not ours");
    tmp.write("notes.txt.12-3.tmp", "not ours either, though named like ours");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t first = fork();
    ASSERT_GE(first, 0);
    if (first == 0) {
        const char taken = save_lock_take() == SAVE_LOCK_TAKEN ? 'y' : 'n';
        if (write(ready[1], &taken, 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    char taken = 0;
    ASSERT_EQ(read(ready[0], &taken, 1), 1);
    EXPECT_EQ(taken, 'y');
    EXPECT_EQ(save_lock_take(), SAVE_LOCK_HELD);
    EXPECT_FALSE(tmp.exists("run.sav.4242-7.tmp"));
    EXPECT_EQ(tmp.read("notes.tmp"), "not ours");
    EXPECT_EQ(tmp.read("notes.txt.12-3.tmp"), "not ours either, though named like ours");
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    EXPECT_EQ(save_lock_take(), SAVE_LOCK_TAKEN);
    save_lock_release();
    close(ready[0]);
    close(ready[1]);

    // Two writers of one file, each with its own bytes: every read finds one whole file.
    const std::string path = tmp.path("run.sav");
    pid_t writers[2];
    for (int w = 0; w < 2; w++) {
        writers[w] = fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            static uint8_t bytes[4232];
            std::memset(bytes, 'a' + w, sizeof bytes);
            for (;;) file_write_atomic(path.c_str(), bytes, sizeof bytes);
        }
    }
    int torn = 0, reads = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < until) {
        const std::string got = tmp.read("run.sav");
        if (got.empty()) continue;
        reads++;
        if (got.size() != 4232 || got.find_first_not_of(got[0]) != std::string::npos) torn++;
    }
    for (pid_t w : writers) {
        kill(w, SIGKILL);
        waitpid(w, nullptr, 0);
    }
    EXPECT_GT(reads, 0);
    EXPECT_EQ(torn, 0) << reads << " reads";
}

}  // namespace
