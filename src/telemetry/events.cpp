// Telemetry records: the envelope of every event line, run lines, the outbox files and their lock.
// Every file is opened, appended and closed per line, so the sender can take an outbox between lines.
#include "telemetry/events.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "saves/file_io.h"
#include "saves/save_path.h"
#include "saves/settings.h"

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

// Appends one line; a file that already holds `limit` bytes (when given) takes no more.
bool append_line(const char* name, const char* line, long limit = 0) {
    FILE* f = file_open_regular(save_path(name), "ab");
    if (!f) return false;
    const bool room = limit <= 0 || (std::fseek(f, 0, SEEK_END) == 0 && std::ftell(f) < limit);
    if (room) std::fputs(line, f);
    std::fclose(f);
    return room;
}
}  // namespace

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
    append_line("runs.jsonl", line);
    if (!telemetry_enabled()) return;
    char e_install[INSTALL_FIELD];
    json_escape(e_install, sizeof e_install, install_id());
    n = std::snprintf(line, sizeof line, "{\"install\":\"%s\",\"platform\":\"%s\",\"v\":\"%s\",\"data\":%s}\n", e_install,
                      game_platform, game_version, run_object);
    if (n < 0 || n >= (int)sizeof line) return;
    std::lock_guard<std::mutex> hold(outbox_mutex);
    if (append_line("runs_outbox.jsonl", line, TELEMETRY_QUEUE_MAX)) run_lines_appended++;
}

int32_t records_appended() { return event_lines_appended + run_lines_appended; }
int32_t runs_appended() { return run_lines_appended; }

void telemetry_discard_queued() {
    std::lock_guard<std::mutex> hold(outbox_mutex);
    for (const char* name : {"runs_outbox.jsonl", "events_outbox.jsonl", "runs_sending.jsonl", "events_sending.jsonl",
                             "runs_taken.jsonl", "events_taken.jsonl"})
        std::remove(save_path(name));
    discards++;
}
