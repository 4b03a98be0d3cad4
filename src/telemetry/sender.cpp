// The sender thread: takes each outbox over, posts the lines one by one (those kept by earlier sends
// first) and keeps those that failed in its "sending" file for a later try, the newest of them up to
// a cap. Started by telemetry_start and by the per-step pump.
#include "telemetry/sender.h"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

#include "saves/file_io.h"
#include "saves/save_path.h"
#include "telemetry/events.h"

int (*sender_post)(const char* path, const char* body, size_t length) = http_post;
int32_t sender_last_count = -1;
uint32_t sender_last_start_ms = 0;
std::atomic<uint8_t> sender_kept_lines{0};
std::atomic<int> sender_busy{0};
int (*sender_sync)(int fd) = fsync;

namespace {
struct TelemetryQueue {
    const char* outbox;
    const char* sending;
    const char* taken;
    const char* url_path;
    char outbox_path[SAVE_PATH_CAP];
    char sending_path[SAVE_PATH_CAP];
    char taken_path[SAVE_PATH_CAP];
};

TelemetryQueue telemetry_queues[2] = {
    {.outbox = "runs_outbox.jsonl", .sending = "runs_sending.jsonl", .taken = "runs_taken.jsonl",
     .url_path = "/api/collections/runs/records", .outbox_path = {}, .sending_path = {}, .taken_path = {}},
    {.outbox = "events_outbox.jsonl", .sending = "events_sending.jsonl", .taken = "events_taken.jsonl",
     .url_path = "/api/collections/events/records", .outbox_path = {}, .sending_path = {}, .taken_path = {}},
};

constexpr int STATUS_TOO_MANY = 429;
constexpr int STATUS_SERVER_ERROR = 500;

uint32_t clock_ms() {
    using namespace std::chrono;
    return (uint32_t)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Busy answers and no answer at all keep the line; anything else (accepted, or refused for good) drops it.
bool status_keeps(int status) { return status == STATUS_TOO_MANY || status >= STATUS_SERVER_ERROR || status < 1; }

// The sender's own files are looked at and opened as they are, never through a link: a link
// planted at one of their names must not get another file posted or overwritten.
bool file_exists(const char* path) {
    struct stat st;
    return lstat(path, &st) == 0;
}

bool is_regular_file(const char* path) {
    struct stat st;
    return lstat(path, &st) == 0 && S_ISREG(st.st_mode);
}

// Every send takes the outbox over, whether or not lines were kept before, so the outbox holds only
// what came since the last send. It is renamed under the append lock, so no line lands in a file
// being taken; a taken file that an interrupted send left behind is sent before the outbox moves.
// Gives the count of discards that the lines read from now on belong to.
uint32_t take_outbox(const TelemetryQueue& q) {
    outbox_lock();
    const uint32_t discards = telemetry_discards();
    if (!file_exists(q.taken_path) && is_regular_file(q.outbox_path)) std::rename(q.outbox_path, q.taken_path);
    outbox_unlock();
    return discards;
}

struct QueueFile {
    FILE* f;
    long size;
};

// Opens a queue file and takes its size. A missing file is empty, as is one of 0 bytes or above
// SENDER_FILE_MAX, which is deleted unsent (something went wrong to make it); one that is there but
// cannot be read as a regular file (a link among them) gives false, and the queue is left as it is.
bool queue_file_open(const char* path, QueueFile* out) {
    *out = QueueFile{.f = nullptr, .size = 0};
    if (!file_exists(path)) return true;
    FILE* f = file_open_regular(path, "rb");
    if (!f) return false;
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    if (size <= 0 || size > SENDER_FILE_MAX) {
        std::fclose(f);
        std::remove(path);
        return true;
    }
    std::rewind(f);
    *out = QueueFile{.f = f, .size = size};
    return true;
}

// Where the newest kept lines that fit in TELEMETRY_QUEUE_MAX bytes begin; older ones are dropped,
// so a queue that can never be sent stops growing.
size_t newest_lines_start(const char* kept, size_t length) {
    size_t start = 0;
    while (length - start > (size_t)TELEMETRY_QUEUE_MAX) {
        const char* end = (const char*)std::memchr(kept + start, '\n', length - start);
        start = end ? (size_t)(end - kept) + 1 : length;
    }
    return start;
}

// Kept lines replace the sending file through a temporary file made new beside it and a rename, so
// a crash mid-write leaves the old file whole; the taken outbox goes once its lines are in. The
// write and its sync run outside the append lock, as the main thread must never wait on them; only
// the rename is done under it, where a "no" to sharing deletes the queues: lines it discarded
// meanwhile must not come back.
void keep_lines(const TelemetryQueue& q, const char* kept, size_t length, uint32_t discards_at_read) {
    FileTemp t;
    if (!file_temp_open(&t, q.sending_path)) return;  // both files stay and are sent again next time
    bool written = std::fwrite(kept, 1, length, t.f) == length;
    written = std::fflush(t.f) == 0 && sender_sync(fileno(t.f)) == 0 && written;
    outbox_lock();
    const bool discarded = !telemetry_enabled() || telemetry_discards() != discards_at_read;
    bool replaced = false;
    if (written && !discarded) replaced = file_temp_commit(&t);
    else file_temp_drop(&t);
    if (discarded) std::remove(q.sending_path);
    if (replaced || discarded) std::remove(q.taken_path);
    outbox_unlock();
}

// Sends one queue: the lines kept by earlier sends, then those the outbox gathered since. True when
// lines were kept for later.
bool send_queue(const TelemetryQueue& q) {
    const uint32_t discards = take_outbox(q);
    QueueFile files[2];  // in the order they are sent
    bool readable = queue_file_open(q.sending_path, &files[0]);
    readable = queue_file_open(q.taken_path, &files[1]) && readable;
    // Room for both files, a line end after each and the terminator.
    const size_t capacity = (size_t)files[0].size + (size_t)files[1].size + 3;
    char* text = nullptr;
    char* kept = nullptr;
    if (readable) {
        text = (char*)std::malloc(capacity);
        kept = (char*)std::malloc(capacity);
    }
    size_t got = 0;
    for (QueueFile& file : files) {
        if (!file.f) continue;
        if (text && kept) {
            got += std::fread(text + got, 1, (size_t)file.size, file.f);
            if (got > 0 && text[got - 1] != '\n') text[got++] = '\n';  // the next file starts a line
        }
        std::fclose(file.f);
    }
    if (!text || !kept) {
        std::free(text);
        std::free(kept);
        return readable;  // an allocation failure keeps both files for next time
    }
    text[got] = 0;

    size_t kept_len = 0;
    for (char* line = text; line < text + got;) {
        char* end = (char*)std::memchr(line, '\n', (size_t)(text + got - line));
        char* next = end ? end + 1 : text + got;
        if (!end) end = text + got;
        if (end > line && end[-1] == '\r') end--;
        size_t len = (size_t)(end - line);
        // A line that is not one whole record (cut short) is dropped: no service would ever take it.
        if (len > 0 && json_object_whole(line, len)) {
            // Sharing switched off while sending: the rest is not posted, and keep_lines drops it.
            int status = telemetry_enabled() ? sender_post(q.url_path, line, len) : 0;
            if (status_keeps(status)) {
                std::memcpy(kept + kept_len, line, len);
                kept_len += len;
                kept[kept_len++] = '\n';
            }
        }
        line = next;
    }
    std::free(text);
    const size_t start = newest_lines_start(kept, kept_len);
    const bool any_kept = start < kept_len;
    if (any_kept) {
        keep_lines(q, kept + start, kept_len - start, discards);
    } else {
        std::remove(q.sending_path);
        std::remove(q.taken_path);
    }
    std::free(kept);
    return any_kept;
}

void send_thread_body() {
    telemetry_send_queues();
    sender_busy.store(0);
}

// Starts the detached "qm-net" thread; the caller has set sender_busy.
bool start_thread() {
    try {
        std::thread t(send_thread_body);
        pthread_setname_np(t.native_handle(), "qm-net");
        t.detach();
        return true;
    } catch (const std::system_error&) {
        sender_busy.store(0);
        return false;
    }
}

bool claim_sender() {
    int idle = 0;
    return sender_busy.compare_exchange_strong(idle, 1);
}
}  // namespace

void telemetry_queue_paths() {
    for (TelemetryQueue& q : telemetry_queues) {
        save_path_into(q.outbox_path, sizeof q.outbox_path, q.outbox);
        save_path_into(q.sending_path, sizeof q.sending_path, q.sending);
        save_path_into(q.taken_path, sizeof q.taken_path, q.taken);
    }
}

void telemetry_send_queues() {
    bool kept = false;
    for (const TelemetryQueue& q : telemetry_queues) kept = send_queue(q) || kept;
    sender_kept_lines.store(kept ? 1 : 0);
}

void telemetry_start() {
    telemetry_queue_paths();
    telemetry_files_trim();
    http_global_init();
    sender_last_count = records_appended();
    sender_last_start_ms = clock_ms();
    // Consent first: nothing is sent while sharing is off, not even files left from earlier sessions.
    if (!telemetry_enabled()) return;
    if (claim_sender()) start_thread();
}

void telemetry_pump_at(uint32_t now_ms) {
    if (sender_last_count < 0 || !telemetry_enabled()) return;
    int32_t n = records_appended();
    bool retry = sender_kept_lines.load() == 1 && now_ms - sender_last_start_ms >= SENDER_RETRY_MS;
    if (n == sender_last_count && !retry) return;
    sender_last_start_ms = now_ms;
    if (!claim_sender()) return;  // a send runs; the next step tries again
    if (start_thread()) sender_last_count = n;
}

void telemetry_pump() { telemetry_pump_at(clock_ms()); }
