// The sender: what is posted, what is kept for later, and when a send starts. Posts go to a fake,
// except one test that makes the real request to a listener of its own on 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "saves/settings.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/events.h"
#include "telemetry/sender.h"

namespace {

struct Post {
    std::string path, body;
};
std::vector<Post> posts;
std::vector<int> answers;  // status per post in order; 201 once they run out
std::string append_during_post;

int fake_post(const char* path, const char* body, size_t length) {
    posts.push_back({path, std::string(body, length)});
    if (!append_during_post.empty()) {
        event_append("floor", append_during_post.c_str());
        append_during_post.clear();
    }
    size_t i = posts.size() - 1;
    return i < answers.size() ? answers[i] : 201;
}

struct SenderTest : ::testing::Test {
    TempSaveDir tmp;
    TelemetryConsent consent;
    void SetUp() override {
        telemetry_queue_paths();
        sender_post = fake_post;
        posts.clear();
        answers.clear();
        append_during_post.clear();
        sender_last_count = -1;
        sender_kept_lines = 0;
    }
    void TearDown() override {
        for (int i = 0; i < 500 && sender_busy.load(); i++) usleep(2000);
        sender_post = http_post;
        sender_sync = fsync;
        sender_last_count = -1;
    }
    void wait_idle() {
        for (int i = 0; i < 1000 && sender_busy.load(); i++) usleep(2000);
        ASSERT_EQ(sender_busy.load(), 0);
    }
};

TEST_F(SenderTest, AcceptedLinesGoAndBusyOrFailedOnesStayInOrder) {
    tmp.write("events_outbox.jsonl", "{\"a\":1}\n{\"b\":2}\n{\"c\":3}\n{\"d\":4}\n{\"e\":5}\n");
    answers = {201, 429, 503, 404, 0};
    telemetry_send_queues();
    ASSERT_EQ(posts.size(), 5u);
    EXPECT_EQ(posts[0].path, "/api/collections/events/records");
    EXPECT_EQ(posts[0].body, "{\"a\":1}");
    // 404 is refused for good and dropped; 429, 5xx and no answer are kept.
    EXPECT_EQ(tmp.read("events_sending.jsonl"), "{\"b\":2}\n{\"c\":3}\n{\"e\":5}\n");
    EXPECT_FALSE(tmp.exists("events_outbox.jsonl"));
    EXPECT_FALSE(tmp.exists("events_sending.jsonl.tmp"));
    EXPECT_EQ(sender_kept_lines.load(), 1);

    // The next send retries the sending file before anything else; all accepted now.
    posts.clear();
    answers.clear();
    telemetry_send_queues();
    EXPECT_EQ(posts.size(), 3u);
    EXPECT_FALSE(tmp.exists("events_sending.jsonl"));
    EXPECT_EQ(sender_kept_lines.load(), 0);
}

TEST_F(SenderTest, RunsQueueGoesFirstToItsOwnPath) {
    tmp.write("events_outbox.jsonl", "{\"e\":1}\n");
    tmp.write("runs_outbox.jsonl", "{\"r\":1}\n");
    telemetry_send_queues();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0].path, "/api/collections/runs/records");
    EXPECT_EQ(posts[1].path, "/api/collections/events/records");
    EXPECT_FALSE(tmp.exists("runs_sending.jsonl"));
}

TEST_F(SenderTest, CarriageReturnsAndEmptyLinesAreCutAndKeptLinesRewrittenClean) {
    tmp.write("events_outbox.jsonl", "{\"a\":1}\r\n\r\n\n{\"b\":2}");
    answers = {0, 0};  // unreachable host
    telemetry_send_queues();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0].body, "{\"a\":1}");
    EXPECT_EQ(posts[1].body, "{\"b\":2}");
    EXPECT_EQ(tmp.read("events_sending.jsonl"), "{\"a\":1}\n{\"b\":2}\n");
}

TEST_F(SenderTest, NoQueueFileIsReadOrWrittenThroughALinkAndACutLineIsDropped) {
    // A link at the old fixed temporary name must not lead the kept lines into another file.
    tmp.write("mine.txt", "mine\n");
    ASSERT_EQ(symlink(tmp.path("mine.txt").c_str(), tmp.path("events_sending.jsonl.tmp").c_str()), 0);
    tmp.write("events_sending.jsonl", "{\"a\":1}\n{\"b\":");  // its last line cut short
    answers = {0, 0};
    telemetry_send_queues();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].body, "{\"a\":1}");
    EXPECT_EQ(tmp.read("mine.txt"), "mine\n");
    struct stat st;
    ASSERT_EQ(lstat(tmp.path("events_sending.jsonl").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(tmp.read("events_sending.jsonl"), "{\"a\":1}\n");
    EXPECT_EQ(tmp.temps(), 0);

    // A link at a queue file gets nothing posted from the file it points to.
    std::remove(tmp.path("events_sending.jsonl").c_str());
    tmp.write("secret.txt", "{\"secret\":1}\n");
    ASSERT_EQ(symlink(tmp.path("secret.txt").c_str(), tmp.path("events_taken.jsonl").c_str()), 0);
    posts.clear();
    telemetry_send_queues();
    EXPECT_TRUE(posts.empty());
    EXPECT_EQ(tmp.read("secret.txt"), "{\"secret\":1}\n");
}

TEST_F(SenderTest, OversizedEmptyAndBlankFilesAreDeletedUnsent) {
    tmp.write("events_outbox.jsonl", std::string(5 * 1024 * 1024, 'x') + "\n");
    tmp.write("runs_sending.jsonl", "\r\n\n\n");
    telemetry_send_queues();
    EXPECT_TRUE(posts.empty());
    EXPECT_FALSE(tmp.exists("events_sending.jsonl"));
    EXPECT_FALSE(tmp.exists("runs_sending.jsonl"));
    tmp.write("events_outbox.jsonl", "");
    telemetry_send_queues();
    EXPECT_FALSE(tmp.exists("events_sending.jsonl"));
}

TEST_F(SenderTest, LinesAppendedDuringASendGoInTheNextOne) {
    event_append("floor", "{\"n\":1}");
    append_during_post = "{\"n\":2}";
    telemetry_send_queues();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_NE(posts[0].body.find("{\"n\":1}"), std::string::npos);
    EXPECT_NE(tmp.read("events_outbox.jsonl").find("{\"n\":2}"), std::string::npos);
    telemetry_send_queues();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_NE(posts[1].body.find("{\"n\":2}"), std::string::npos);
    EXPECT_FALSE(tmp.exists("events_outbox.jsonl"));
}

TEST_F(SenderTest, SharingOffSendsNothingNotEvenOldQueues) {
    tmp.write("events_sending.jsonl", "{\"old\":1}\n");
    tmp.write("runs_outbox.jsonl", "{\"old\":2}\n");
    settings.share_stats = 0;
    telemetry_start();
    telemetry_pump_at(1000000);
    wait_idle();
    telemetry_send_queues();
    EXPECT_TRUE(posts.empty());
    // Switched off while lines were kept: they are not written back.
    EXPECT_FALSE(tmp.exists("events_sending.jsonl"));
}

TEST_F(SenderTest, WhileTheHostCannotBeReachedEverySendTakesTheOutboxAndKeepsOnlyTheNewestLines) {
    answers.assign(1000, 0);  // no answer, ever
    tmp.write("events_sending.jsonl", "{\"kept\":\"earlier\"}\n");
    const std::string pad(15000, 'x');  // 40 such lines pass the cap
    for (int n = 0; n < 40; n++) {
        event_append("floor", ("{\"n\":" + std::to_string(n) + ",\"pad\":\"" + pad + "\"}").c_str());
        if (n % 20 != 19) continue;
        telemetry_send_queues();
        ASSERT_FALSE(tmp.exists("events_outbox.jsonl"));  // taken over although lines were kept
        ASSERT_FALSE(tmp.exists("events_taken.jsonl"));
    }
    const std::string kept = tmp.read("events_sending.jsonl");
    EXPECT_LE((long)kept.size(), TELEMETRY_QUEUE_MAX);
    EXPECT_EQ(kept.find("earlier"), std::string::npos);  // the oldest lines went first
    EXPECT_EQ(kept.find("{\"n\":0,"), std::string::npos);
    EXPECT_NE(kept.find("{\"n\":39,"), std::string::npos);
    EXPECT_EQ(kept.rfind("{\"install\":", 0), 0u);  // whole lines only
    EXPECT_EQ(kept.back(), '\n');

    // An outbox that no send takes over is cut back to its newest lines within the same cap at the
    // next start.
    std::string full;
    for (int n = 0; (long)full.size() < TELEMETRY_QUEUE_MAX - 100; n++)
        full += "{\"old\":" + std::to_string(n) + ",\"pad\":\"" + std::string(1000, 'x') + "\"}\n";
    tmp.write("events_outbox.jsonl", full);
    const int32_t before = records_appended();
    event_append("floor", ("{\"newest\":1,\"pad\":\"" + std::string(1000, 'y') + "\"}").c_str());
    telemetry_files_trim();
    const std::string outbox = tmp.read("events_outbox.jsonl");
    EXPECT_LE((long)outbox.size(), TELEMETRY_QUEUE_MAX);
    EXPECT_EQ(outbox.find("{\"old\":0,"), std::string::npos);
    EXPECT_EQ(outbox.rfind("{\"old\":", 0), 0u);  // whole lines only
    EXPECT_NE(outbox.find("{\"newest\":1,"), std::string::npos);
    EXPECT_EQ(records_appended(), before + 1);
}

// Stands for the main thread while the sender syncs its kept lines: finds the append lock free and
// says "no" to sharing, which deletes the queues.
int lock_free_at_sync = -1;
int discarding_sync(int fd) {
    std::thread main_thread([] {
        lock_free_at_sync = outbox_try_lock() ? 1 : 0;
        if (!lock_free_at_sync) return;
        outbox_unlock();
        telemetry_discard_queued();
    });
    main_thread.join();
    return fsync(fd);
}

TEST_F(SenderTest, KeptLinesAreSyncedOutsideTheAppendLockAndADiscardMeanwhileWins) {
    tmp.write("events_outbox.jsonl", "{\"a\":1}\n");
    answers = {0};
    sender_sync = discarding_sync;
    telemetry_send_queues();
    EXPECT_EQ(lock_free_at_sync, 1);  // -1: never synced, 0: synced under the lock
    EXPECT_FALSE(tmp.exists("events_sending.jsonl"));
    EXPECT_FALSE(tmp.exists("events_sending.jsonl.tmp"));
}

TEST_F(SenderTest, PumpStartsOnNewLinesAndRetriesKeptOnesAfterFiveMinutes) {
    telemetry_start();
    wait_idle();
    const uint32_t t0 = sender_last_start_ms;
    telemetry_pump_at(t0 + 10);
    wait_idle();
    EXPECT_TRUE(posts.empty());  // nothing new, nothing kept

    answers = {429};
    event_append("floor", "{\"n\":1}");
    telemetry_pump_at(t0 + 20);
    wait_idle();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(sender_kept_lines.load(), 1);

    telemetry_pump_at(t0 + 20 + SENDER_RETRY_MS - 1);
    wait_idle();
    EXPECT_EQ(posts.size(), 1u);
    telemetry_pump_at(t0 + 20 + SENDER_RETRY_MS);
    wait_idle();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[1].body, posts[0].body);
    EXPECT_FALSE(tmp.exists("events_sending.jsonl"));
}

TEST_F(SenderTest, PumpWaitsForStartAndForARunningSender) {
    event_append("floor", "{\"n\":1}");
    telemetry_pump_at(5);
    EXPECT_EQ(sender_busy.load(), 0);
    EXPECT_TRUE(posts.empty());
    const int32_t queued = records_appended();
    sender_last_count = queued - 1;
    sender_busy = 1;  // a sender runs: the pump leaves the count for the next step
    telemetry_pump_at(10);
    EXPECT_EQ(sender_last_count, queued - 1);
    sender_busy = 0;
    telemetry_pump_at(20);
    wait_idle();
    EXPECT_EQ(sender_last_count, queued);
    EXPECT_EQ(posts.size(), 1u);
}

// A one-request HTTP listener on 127.0.0.1: reads the request, answers 201, hands back what it read.
struct LocalListener {
    int fd = -1;
    int port = 0;
    std::string request;
    std::thread worker;
    LocalListener() {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        bind(fd, (sockaddr*)&a, sizeof a);
        listen(fd, 1);
        socklen_t len = sizeof a;
        getsockname(fd, (sockaddr*)&a, &len);
        port = ntohs(a.sin_port);
        worker = std::thread([this] { serve(); });
    }
    void serve() {
        int c = accept(fd, nullptr, nullptr);
        if (c < 0) return;
        char buf[4096];
        size_t want = std::string::npos;
        while (request.size() < want) {
            ssize_t n = read(c, buf, sizeof buf);
            if (n <= 0) break;
            request.append(buf, (size_t)n);
            size_t head = request.find("\r\n\r\n");
            size_t cl = request.find("Content-Length: ");
            if (head != std::string::npos && cl != std::string::npos)
                want = head + 4 + std::stoul(request.substr(cl + 16));
        }
        const char* answer = "HTTP/1.1 201 Created\r\nContent-Length: 2\r\nConnection: close\r\n\r\n{}";
        (void)!write(c, answer, std::strlen(answer));
        close(c);
    }
    ~LocalListener() {
        if (worker.joinable()) worker.join();
        close(fd);
    }
};

TEST(HttpPost, PostsTheLineThroughLibcurlToALocalListener) {
    http_global_init();
    LocalListener server;
    ASSERT_GT(server.port, 0);
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port);
    const char body[] = "{\"kind\":\"x\"}";
    int status = http_post_url(base.c_str(), "/api/collections/events/records", body, sizeof body - 1);
    server.worker.join();
    EXPECT_EQ(status, 201);
    EXPECT_EQ(server.request.rfind("POST /api/collections/events/records HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(server.request.find("User-Agent: Quillmarch\r\n"), std::string::npos);
    EXPECT_NE(server.request.find("Content-Type: application/json\r\n"), std::string::npos);
    EXPECT_EQ(server.request.substr(server.request.size() - (sizeof body - 1)), body);
}

TEST(HttpPost, NoListenerIsNoAnswer) {
    http_global_init();
    // Port 1 on the loopback refuses at once.
    EXPECT_EQ(http_post_url("http://127.0.0.1:1", "/x", "{}", 2), 0);
}

}  // namespace
