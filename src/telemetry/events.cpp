// Telemetry records: the envelope of every event line, run lines, the outbox files and their lock.
// Every file is opened, appended and closed per line, so the sender can take an outbox between lines.
#include "telemetry/events.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

#include "saves/file_io.h"
#include "saves/save_path.h"
#include "saves/settings.h"
#include "telemetry/file_writer.h"

const char* const game_version = "0.28.1-demo";
const char* const game_build = "d487d46";
#ifdef _WIN32
const char* const game_platform = "windows";
#else
const char* const game_platform = "linux";
#endif

int32_t event_lines_appended = 0;
int32_t run_lines_appended = 0;

namespace {
// The envelope's texts escaped: the install id whole even when every character needs six bytes.
constexpr size_t INSTALL_FIELD = INSTALL_ID_MAX * 6 + 8;
constexpr size_t BUILD_FIELD = 64;
constexpr size_t KIND_FIELD = 32;

std::mutex outbox_mutex;
std::atomic<uint32_t> discards{0};

// A file past its cap is cut to its newest lines within three quarters of the cap at the next start,
// off the frames of play: the rewrite and its syncs take milliseconds. Until then lines go on past
// the cap, up to twice it, where a line cuts the file back at once so it never grows without end.
long trim_target(long limit) { return limit / 4 * 3; }
long hard_limit(long limit) { return limit * 2; }
static_assert(TELEMETRY_HISTORY_MAX <= TELEMETRY_QUEUE_MAX);
char trim_buf[TELEMETRY_QUEUE_MAX / 4 * 3];  // under outbox_mutex

// Replaces the file by its newest whole lines that fit in `keep` bytes (at most the size of trim_buf).
bool keep_newest_lines(const char* path, long size, long keep) {
    FILE* f = file_open_regular(path, "rb");
    if (!f) return false;
    const long from = size > keep ? size - keep : 0;
    const size_t n = std::fseek(f, from, SEEK_SET) == 0 ? std::fread(trim_buf, 1, (size_t)(size - from), f) : 0;
    std::fclose(f);
    if (n != (size_t)(size - from)) return false;
    size_t start = 0;
    if (from > 0) {  // the first line read is cut: it goes too
        const char* end = (const char*)std::memchr(trim_buf, '\n', n);
        start = end ? (size_t)(end - trim_buf) + 1 : n;
    }
    return file_write_atomic(path, (const uint8_t*)trim_buf + start, n - start);
}

// The writer's own room for a cut, apart from trim_buf, as it reads outside the lock.
char cut_buf[TELEMETRY_QUEUE_MAX / 4 * 3];

// Copies the bytes of `from` after its first `at` into `to` (the lines appended during a cut).
bool copy_tail(FILE* from, long at, FILE* to) {
    char chunk[4096];
    if (std::fseek(from, at, SEEK_SET) != 0) return false;
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, from)) > 0;)
        if (std::fwrite(chunk, 1, n, to) != n) return false;
    return !std::ferror(from);
}

// Whether the file of `size` bytes (one at least) ends in a line end. One that cannot be read is
// taken as cut: an empty line costs nothing, a joined one loses two.
bool ends_a_line(const char* path, long size) {
    FILE* f = file_open_regular(path, "rb");
    if (!f) return false;
    const bool ends = std::fseek(f, size - 1, SEEK_SET) == 0 && std::fgetc(f) == '\n';
    std::fclose(f);
    return ends;
}

// Appends one whole line or nothing: a write that fails (a full disk) is cut off again, so the next
// line does not continue a torn one. A file whose last line is cut (a crash of an older build, a
// copied file) gets its line end first, so the two lines are not joined into one unreadable line.
// A file past its cap `limit` is only appended to; one nearing twice the cap drops its oldest lines
// on the writer's thread. The caller holds outbox_mutex.
bool append_line(const char* name, const char* line, long limit) {
    char path[SAVE_PATH_CAP];
    std::snprintf(path, sizeof path, "%s", save_path(name));
    const long len = (long)std::strlen(line);
    const long keep = trim_target(limit), most = hard_limit(limit);
    if (len + 1 > limit - keep) return false;
    // Never through a link (as every play file is opened, read, cut and replaced): a link planted
    // at a queue's name would have play lines added to a file outside the data folder.
    FILE* f = file_open_regular(path, "ab");
    if (!f) return false;
    long size = std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
    // A quarter cap short of twice the cap the writer's thread is asked to cut the file back while
    // lines go on; only one that would take it past twice the cap (or with no writer) cuts it here.
    if (size >= 0 && size + 1 + len > most - (limit - keep)) file_writer_cut(path, keep);
    if (size >= 0 && size + 1 + len > most) {
        std::fclose(f);
        if (!keep_newest_lines(path, size, keep)) return false;
        f = file_open_regular(path, "ab");
        if (!f) return false;
        size = std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
    }
    const bool last_cut = size > 0 && !ends_a_line(path, size);
    if (size < 0 || size + (last_cut ? 1 : 0) + len > most) {
        std::fclose(f);
        return false;
    }
    std::setvbuf(f, nullptr, _IONBF, 0);  // each write reaches the file now, so a failure is seen here
    const bool written =
        (!last_cut || std::fputc('\n', f) != EOF) && std::fwrite(line, 1, (size_t)len, f) == (size_t)len;
    if (!written) {
        const int cut = ftruncate(fileno(f), size);  // nothing more to do when even this fails
        (void)cut;
    }
    const bool closed = std::fclose(f) == 0;
    if (!written && size == 0) std::remove(path);  // nor leaves an empty file it made
    return closed && written;
}
}  // namespace

void telemetry_file_cut(const char* path, long keep) {
    if (keep > (long)sizeof cut_buf) return;
    outbox_mutex.lock();
    FILE* f = file_open_regular(path, "rb");
    struct stat st;
    const bool known = f && fstat(fileno(f), &st) == 0;
    outbox_mutex.unlock();
    if (!known || st.st_size <= keep) {
        if (f) std::fclose(f);
        return;
    }
    // What lies before the size seen is only ever appended to, so it is read outside the lock.
    const long size = (long)st.st_size, from = size - keep;
    const size_t n = std::fseek(f, from, SEEK_SET) == 0 ? std::fread(cut_buf, 1, (size_t)keep, f) : 0;
    const char* end = n ? (const char*)std::memchr(cut_buf, '\n', n) : nullptr;  // the first line read is cut
    FileTemp t;
    if (n != (size_t)keep || !end || !file_temp_open(&t, path)) {
        std::fclose(f);
        return;
    }
    const size_t start = (size_t)(end - cut_buf) + 1;
    bool ok = std::fwrite(cut_buf + start, 1, n - start, t.f) == n - start;
    ok = std::fflush(t.f) == 0 && fsync(fileno(t.f)) == 0 && ok;
    // Under the lock: the lines appended meanwhile follow (unsynced, as an append is), and the file
    // is replaced only when it is still the one read; one taken or deleted meanwhile is left so.
    outbox_mutex.lock();
    const FileId now = file_id_of(path);
    const bool same = now.known && now.dev == (uint64_t)st.st_dev && now.ino == (uint64_t)st.st_ino;
    ok = ok && same && copy_tail(f, size, t.f);
    if (ok) file_temp_commit(&t);
    else file_temp_drop(&t);
    outbox_mutex.unlock();
    std::fclose(f);
}

void outbox_lock() { outbox_mutex.lock(); }
void outbox_unlock() { outbox_mutex.unlock(); }
bool outbox_try_lock() { return outbox_mutex.try_lock(); }
uint32_t telemetry_discards() { return discards.load(); }

bool telemetry_enabled() { return settings.share_stats == 1; }

void buf_appendf(char* buf, size_t size, size_t* pos, const char* fmt, ...) {
    if (*pos >= size) return;
    va_list ap;
    va_start(ap, fmt);
    int n = std::vsnprintf(buf + *pos, size - *pos, fmt, ap);
    va_end(ap);
    if (n < 0) return;
    *pos += (size_t)n;
    if (*pos > size - 1) *pos = size - 1;
}

namespace {
// The length of the well-formed UTF-8 sequence at `p` (1 to 4 bytes), or 0 when the bytes there are
// not one: stray continuation bytes, overlong forms, surrogates and code points past U+10FFFF.
int utf8_sequence_length(const unsigned char* p) {
    const unsigned char c = p[0];
    if (c < 0x80) return 1;
    unsigned char lo = 0x80, hi = 0xBF;  // the second byte's range
    int n;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (p[1] < lo || p[1] > hi) return 0;  // the terminator fails here too, so nothing past it is read
    for (int i = 2; i < n; i++)
        if (p[i] < 0x80 || p[i] > 0xBF) return 0;
    return n;
}
}  // namespace

void json_escape(char* out, size_t size, const char* text) {
    static const char REPLACEMENT[] = "\\ufffd";
    size_t o = 0;
    if (size == 0) return;
    const unsigned char* p = (const unsigned char*)(text ? text : "");
    while (*p && o + 7 <= size) {
        if (*p < 32) {
            o += (size_t)std::snprintf(out + o, size - o, "\\u%04x", *p++);
        } else if (*p == '"' || *p == '\\') {
            out[o++] = '\\';
            out[o++] = (char)*p++;
        } else if (int n = utf8_sequence_length(p)) {
            std::memcpy(out + o, p, (size_t)n);
            o += (size_t)n;
            p += n;
        } else {
            std::memcpy(out + o, REPLACEMENT, sizeof REPLACEMENT - 1);
            o += sizeof REPLACEMENT - 1;
            p++;
        }
    }
    out[o] = 0;
}

namespace {
// The nesting a queued line may have; every record is far shallower.
constexpr int JSON_DEPTH_MAX = 64;
constexpr unsigned SURROGATE_HIGH = 0xD800, SURROGATE_LOW = 0xDC00, SURROGATE_END = 0xE000;

struct JsonCursor {
    const unsigned char* p;
    const unsigned char* end;
    int depth;
};

bool json_is_space(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool json_is_digit(const JsonCursor& c) { return c.p < c.end && *c.p >= '0' && *c.p <= '9'; }

void json_space(JsonCursor& c) {
    while (c.p < c.end && json_is_space(*c.p)) c.p++;
}

bool json_take(JsonCursor& c, char ch) {
    if (c.p >= c.end || *c.p != (unsigned char)ch) return false;
    c.p++;
    return true;
}

bool json_word(JsonCursor& c, const char* word) {
    const size_t n = std::strlen(word);
    if ((size_t)(c.end - c.p) < n || std::memcmp(c.p, word, n) != 0) return false;
    c.p += n;
    return true;
}

bool json_hex4(JsonCursor& c, unsigned* out) {
    if (c.end - c.p < 4) return false;
    unsigned v = 0;
    for (int i = 0; i < 4; i++) {
        const unsigned char h = *c.p++;
        const int d = h >= '0' && h <= '9' ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10 : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
        if (d < 0) return false;
        v = v * 16 + (unsigned)d;
    }
    *out = v;
    return true;
}

bool json_string(JsonCursor& c) {
    if (!json_take(c, '"')) return false;
    while (c.p < c.end) {
        const unsigned char ch = *c.p;
        if (ch == '"') {
            c.p++;
            return true;
        }
        if (ch < 32) return false;
        if (ch != '\\') {
            const int n = utf8_sequence_length(c.p);
            if (n == 0 || c.end - c.p < n) return false;
            c.p += n;
            continue;
        }
        c.p++;
        if (c.p >= c.end) return false;
        const unsigned char e = *c.p++;
        if (e != 'u') {
            if (e == 0 || !std::strchr("\"\\/bfnrt", e)) return false;
            continue;
        }
        unsigned u = 0, low = 0;
        if (!json_hex4(c, &u)) return false;
        if (u >= SURROGATE_LOW && u < SURROGATE_END) return false;  // a second half alone
        if (u >= SURROGATE_HIGH && u < SURROGATE_LOW &&
            (!json_take(c, '\\') || !json_take(c, 'u') || !json_hex4(c, &low) || low < SURROGATE_LOW ||
             low >= SURROGATE_END))
            return false;
    }
    return false;
}

bool json_number(JsonCursor& c) {
    json_take(c, '-');
    if (!json_take(c, '0')) {
        if (!json_is_digit(c)) return false;
        while (json_is_digit(c)) c.p++;
    }
    if (json_take(c, '.')) {
        if (!json_is_digit(c)) return false;
        while (json_is_digit(c)) c.p++;
    }
    if (json_take(c, 'e') || json_take(c, 'E')) {
        if (!json_take(c, '+')) json_take(c, '-');
        if (!json_is_digit(c)) return false;
        while (json_is_digit(c)) c.p++;
    }
    return true;
}

bool json_value(JsonCursor& c);

// An object or an array, the cursor at its opening bracket.
bool json_container(JsonCursor& c) {
    if (++c.depth > JSON_DEPTH_MAX) return false;
    const bool object = *c.p++ == '{';
    const char close = object ? '}' : ']';
    json_space(c);
    if (json_take(c, close)) {
        c.depth--;
        return true;
    }
    for (;;) {
        if (object) {
            json_space(c);
            if (!json_string(c)) return false;
            json_space(c);
            if (!json_take(c, ':')) return false;
        }
        if (!json_value(c)) return false;
        json_space(c);
        if (json_take(c, close)) {
            c.depth--;
            return true;
        }
        if (!json_take(c, ',')) return false;
    }
}

bool json_value(JsonCursor& c) {
    json_space(c);
    if (c.p >= c.end) return false;
    switch (*c.p) {
    case '{':
    case '[': return json_container(c);
    case '"': return json_string(c);
    case 't': return json_word(c, "true");
    case 'f': return json_word(c, "false");
    case 'n': return json_word(c, "null");
    default: return json_number(c);
    }
}
}  // namespace

bool json_object_whole(const char* text, size_t len) {
    JsonCursor c = {(const unsigned char*)text, (const unsigned char*)text + len, 0};
    json_space(c);
    if (c.p >= c.end || *c.p != '{' || !json_value(c)) return false;
    json_space(c);
    return c.p == c.end;
}

void event_append_build(const char* kind, const char* data, const char* build) {
    if (!telemetry_enabled()) return;
    char e_install[INSTALL_FIELD], e_build[BUILD_FIELD], e_kind[KIND_FIELD];
    json_escape(e_install, sizeof e_install, install_id());
    json_escape(e_build, sizeof e_build, build);
    json_escape(e_kind, sizeof e_kind, kind);
    // Sized for the largest event payload plus the envelope; a line that does not fit is dropped whole.
    static char line[16384];
    int n = std::snprintf(line, sizeof line,
                          "{\"install\":\"%s\",\"platform\":\"%s\",\"v\":\"%s\",\"build\":\"%s\",\"kind\":\"%s\",\"data\":%s}\n",
                          e_install, game_platform, game_version, e_build, e_kind, data);
    if (n < 0 || n >= (int)sizeof line) return;
    std::lock_guard<std::mutex> hold(outbox_mutex);
    if (append_line("events_outbox.jsonl", line, TELEMETRY_QUEUE_MAX)) event_lines_appended++;
}

void event_append(const char* kind, const char* data) { event_append_build(kind, data, game_build); }

void run_line_append(const char* run_object) {
    // A run summary may be up to 14999 characters; the envelope and the id add about 150.
    static char line[16384];
    int n = std::snprintf(line, sizeof line, "%s\n", run_object);
    if (n < 0 || n >= (int)sizeof line) return;
    {
        std::lock_guard<std::mutex> hold(outbox_mutex);
        append_line("runs.jsonl", line, TELEMETRY_HISTORY_MAX);
    }
    if (!telemetry_enabled()) return;
    char e_install[INSTALL_FIELD];
    json_escape(e_install, sizeof e_install, install_id());
    n = std::snprintf(line, sizeof line, "{\"install\":\"%s\",\"platform\":\"%s\",\"v\":\"%s\",\"data\":%s}\n", e_install,
                      game_platform, game_version, run_object);
    if (n < 0 || n >= (int)sizeof line) return;
    std::lock_guard<std::mutex> hold(outbox_mutex);
    if (append_line("runs_outbox.jsonl", line, TELEMETRY_QUEUE_MAX)) run_lines_appended++;
}

void telemetry_files_trim() {
    struct Capped {
        const char* name;
        long limit;
    };
    static const Capped FILES[] = {{"runs.jsonl", TELEMETRY_HISTORY_MAX},
                                   {"runs_outbox.jsonl", TELEMETRY_QUEUE_MAX},
                                   {"events_outbox.jsonl", TELEMETRY_QUEUE_MAX}};
    std::lock_guard<std::mutex> hold(outbox_mutex);
    for (const Capped& file : FILES) {
        char path[SAVE_PATH_CAP];
        std::snprintf(path, sizeof path, "%s", save_path(file.name));
        struct stat st;  // the file itself: a link at its name is no play file to cut
        if (lstat(path, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > file.limit)
            keep_newest_lines(path, (long)st.st_size, trim_target(file.limit));
    }
}

int32_t records_appended() { return event_lines_appended + run_lines_appended; }
int32_t runs_appended() { return run_lines_appended; }

void telemetry_discard_queued() {
    std::lock_guard<std::mutex> hold(outbox_mutex);
    for (const char* name : {"runs_outbox.jsonl", "events_outbox.jsonl", "runs_sending.jsonl", "events_sending.jsonl",
                             "runs_taken.jsonl", "events_taken.jsonl", "runs_sending.jsonl.tmp",
                             "events_sending.jsonl.tmp"})
        std::remove(save_path(name));
    discards++;
}
