// The telemetry files read back after damage: fuzzed session.txt and sending files, and writers
// killed with SIGKILL mid-write in a child process.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/events.h"
#include "telemetry/file_writer.h"
#include "telemetry/sender.h"
#include "telemetry/session.h"

namespace {

uint32_t fuzz_state = 0x1234567u;
uint32_t fuzz_next() {
    fuzz_state ^= fuzz_state << 13;
    fuzz_state ^= fuzz_state >> 17;
    fuzz_state ^= fuzz_state << 5;
    return fuzz_state;
}

// Text of up to `max` bytes made of key words, separators and noise; `ascii` keeps it printable,
// otherwise the noise is any byte.
std::string fuzz_text(int max, bool ascii) {
    static const char* const PIECES[] = {"build=", "secs=", "state=", "floor=", "away=", "ended=", "1", "0", "-7",
                                         "99999999999999999999", "=", "\n", "\r\n", " ", "\"", "\\", "{", "}"};
    std::string s;
    int n = (int)(fuzz_next() % (uint32_t)max);
    while ((int)s.size() < n) {
        uint32_t r = fuzz_next();
        if (r % 3 == 0) s += PIECES[(r >> 8) % (sizeof PIECES / sizeof *PIECES)];
        else s += ascii ? (char)(32 + (r >> 8) % 95) : (char)(r >> 8);
    }
    return s;
}

struct TelemetryFilesTest : ::testing::Test {
    TempSaveDir tmp;
    TelemetryConsent consent;
    void TearDown() override {
        file_writer_stop();
        session_open = 0;
        crash_log_release();
        sender_post = http_post;
    }
};

TEST_F(TelemetryFilesTest, FuzzedSessionFilesGiveOneVerdictAndValidJson) {
    for (int i = 0; i < 400; i++) {
        const bool ascii = i % 2 == 0;
        tmp.write("session.txt", fuzz_text(300, ascii));
        if (i % 3 == 0) tmp.write("crash.txt", fuzz_text(600, ascii));
        std::remove(tmp.path("events_outbox.jsonl").c_str());
        session_start(1, 1, 1);
        const std::string out = tmp.read("events_outbox.jsonl");
        ASSERT_FALSE(out.empty());
        size_t start = 0;
        while (start < out.size()) {
            size_t end = out.find('\n', start);
            ASSERT_NE(end, std::string::npos);
            nlohmann::json j;
            ASSERT_NO_THROW(j = nlohmann::json::parse(out.substr(start, end - start))) << out;
            if (j["kind"] == "session") {
                const std::string prev = j["data"]["prev"];
                EXPECT_TRUE(prev == "clean" || prev == "background" || prev == "crash") << prev;
            }
            start = end + 1;
        }
    }
}

int fuzz_status = 0;
std::vector<std::string> fuzz_posts;
int fuzz_post(const char*, const char* body, size_t length) {
    fuzz_posts.emplace_back(body, length);
    static const int STATUSES[] = {201, 200, 429, 500, 0, 404, 302};
    return STATUSES[(fuzz_status++) % 7];
}

TEST_F(TelemetryFilesTest, FuzzedSendingFilesPostOnlyWholeRecords) {
    sender_post = fuzz_post;
    telemetry_queue_paths();
    for (int i = 0; i < 200; i++) {
        fuzz_posts.clear();
        // Noise, whole records and records cut short.
        std::string text;
        for (int part = 0; part < 6; part++) {
            const std::string whole = "{\"n\":" + std::to_string(part) + ",\"s\":\"\\\"\\u00e9\xc3\xa9\",\"x\":[1.5e3,true,null,{}]}";
            const uint32_t r = fuzz_next();
            text += r % 3 == 0 ? fuzz_text(400, i % 2 == 0) : r % 3 == 1 ? whole : whole.substr(0, (r >> 8) % whole.size());
            text += "\n";
        }
        tmp.write("events_outbox.jsonl", text);
        // The lines as sent: split at line feeds, one carriage return cut from the end, empty ones and
        // those that are not one whole JSON object skipped.
        std::vector<std::string> expected;
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(at, end - at);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (nlohmann::json::accept(line) && nlohmann::json::parse(line).is_object()) expected.push_back(line);
            at = end + 1;
        }
        telemetry_send_queues();
        EXPECT_EQ(fuzz_posts, expected);
        // What was kept is a subset of what was posted, each line ended by one line feed.
        const std::string kept = tmp.read("events_sending.jsonl");
        EXPECT_TRUE(kept.empty() || kept.back() == '\n');
        std::remove(tmp.path("events_sending.jsonl").c_str());
    }
}

// Runs `write_forever` in a child, kills it with SIGKILL after `us` microseconds.
template <typename F>
void kill_mid_write(F write_forever, useconds_t us) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        write_forever();
        _exit(0);
    }
    usleep(us);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
}

TEST_F(TelemetryFilesTest, KilledSenderRewriteLeavesTheWholeOldOrNewFile) {
    std::string lines;
    for (int i = 0; i < 3000; i++) lines += "{\"line\":" + std::to_string(i) + ",\"pad\":\"xxxxxxxxxxxxxxxxxxxx\"}\n";
    sender_post = [](const char*, const char*, size_t) { return 0; };  // unreachable: every line kept
    telemetry_queue_paths();
    for (int round = 0; round < 12; round++) {
        tmp.write("events_sending.jsonl", lines);
        kill_mid_write(
            [] {
                for (;;) telemetry_send_queues();
            },
            (useconds_t)(2000 + round * 1500));
        ASSERT_EQ(tmp.read("events_sending.jsonl"), lines) << "round " << round;
    }
}

// What a watcher sees of a file: which file is at the name, its size and its first bytes.
struct FileLook {
    bool there;
    ino_t ino;
    off_t size;
    char head[64];
    bool operator==(const FileLook&) const = default;
};

FileLook look_at(const std::string& path) {
    FileLook l{};
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return l;
    l.there = true;
    l.ino = st.st_ino;
    l.size = st.st_size;
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd >= 0) {
        (void)!pread(fd, l.head, sizeof l.head, 0);
        close(fd);
    }
    return l;
}

int entries_in(const std::string& dir) {
    int n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (readdir(d)) n++;
        closedir(d);
    }
    return n;
}

// Runs `write_once` in a child and kills it with SIGKILL at the first sign of its write in the
// folder: any change of the file at `path` (another file or none there, another size, other first
// bytes), or, with `at_new_file`, a file made beside it. So the kill lands inside the write, not
// before or after it, wherever the write goes. False when no sign came within ten seconds.
template <typename F>
bool kill_at_first_sign(F write_once, const std::string& dir, const std::string& path, bool at_new_file) {
    const FileLook before = look_at(path);
    const int entries = entries_in(dir);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        write_once();
        _exit(0);
    }
    bool seen = false;
    for (const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         !seen && std::chrono::steady_clock::now() < until;)
        seen = !(look_at(path) == before) || (at_new_file && entries_in(dir) != entries);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return seen;
}

// Killed as it makes its new file or as the file at the name changes, the cut leaves the whole old
// file or its newest lines. A cut written in place is caught mid-write in either kind of round.
TEST_F(TelemetryFilesTest, KilledCutOfAPlayFileLeavesTheWholeOldFileOrItsNewestLines) {
    std::string lines;
    for (int i = 0; (long)lines.size() < 2 * TELEMETRY_QUEUE_MAX; i++)
        lines += "{\"line\":" + std::to_string(i) + ",\"pad\":\"" + std::string(200, 'x') + "\"}\n";
    const std::string path = tmp.path("events_outbox.jsonl");
    for (int round = 0; round < 8; round++) {
        tmp.write("events_outbox.jsonl", lines);
        const bool at_new_file = round % 2 == 0;
        EXPECT_TRUE(kill_at_first_sign([&] { telemetry_file_cut(path.c_str(), TELEMETRY_QUEUE_MAX / 4 * 3); },
                                       tmp.dir, path, at_new_file))
            << "round " << round << ": the cut wrote nothing";
        const std::string now = tmp.read("events_outbox.jsonl");
        const bool newest = !now.empty() && now.size() <= (size_t)TELEMETRY_QUEUE_MAX &&
                            lines.compare(lines.size() - now.size(), now.size(), now) == 0 &&
                            lines[lines.size() - now.size() - 1] == '\n';
        EXPECT_TRUE(now == lines || newest) << "round " << round << ", " << now.size() << " bytes";
    }
}

TEST_F(TelemetryFilesTest, KilledSessionWriterStillReadsAsACrash) {
    session_start(1, 1, 1);
    for (int round = 0; round < 8; round++) {
        kill_mid_write(
            [] {
                for (;;) session_file_write(0, false);  // the ten-second write
            },
            (useconds_t)(500 + round * 700));
        std::remove(tmp.path("events_outbox.jsonl").c_str());
        session_start(1, 1, 1);
        EXPECT_NE(tmp.read("events_outbox.jsonl").find("\"prev\":\"crash\""), std::string::npos);
    }
}

}  // namespace
