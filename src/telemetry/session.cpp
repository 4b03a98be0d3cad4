// Session start and end: how the last session ended is read back from session.txt (and crash.txt)
// and sent as the "session" event, with a "crash" event first when it did not end.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "saves/file_io.h"
#include "saves/save_path.h"
#include "telemetry/events.h"
#include "telemetry/file_writer.h"
#include "telemetry/perf.h"
#include "telemetry/run_record.h"
#include "telemetry/session.h"

namespace {
constexpr int CRASH_TEXT_READ = 299;
constexpr int CAUSE_FIELD = 400;

struct PrevSession {
    char build[64];
    long long secs;
    int state, floor, away, ended;
    bool found, parsed;
};

PrevSession prev_session_read() {
    PrevSession p = {};
    std::strcpy(p.build, "unknown");
    p.state = -1;
    // Only what a session file can hold is read: a huge file costs no more than a real one.
    char text[SESSION_FILE_MAX + 1];
    const long got = file_read_some(save_path("session.txt"), (uint8_t*)text, SESSION_FILE_MAX);
    if (got < 0) return p;
    p.found = true;
    text[got] = 0;
    char key[16], value[64];
    int used = 0;
    for (const char* at = text; std::sscanf(at, " %15[^=]=%63[^\n]%n", key, value, &used) == 2; at += used) {
        p.parsed = true;
        if (std::strcmp(key, "build") == 0) std::snprintf(p.build, sizeof p.build, "%s", value);
        else if (std::strcmp(key, "secs") == 0) p.secs = std::atoll(value);
        else if (std::strcmp(key, "state") == 0) p.state = std::atoi(value);
        else if (std::strcmp(key, "floor") == 0) p.floor = std::atoi(value);
        else if (std::strcmp(key, "away") == 0) p.away = std::atoi(value);
        else if (std::strcmp(key, "ended") == 0) p.ended = std::atoi(value);
    }
    if (!p.parsed) {
        p.state = -1;
        p.floor = 0;
        p.secs = 0;
    }
    return p;
}

// crash.txt's first lines as one text, each line ending in ";".
void crash_cause_read(char* out, size_t size) {
    char raw[CRASH_TEXT_READ + 1] = {};
    char joined[CRASH_TEXT_READ + 1] = {};
    if (FILE* f = file_open_regular(save_path("crash.txt"), "rb")) {
        size_t n = std::fread(raw, 1, CRASH_TEXT_READ, f);
        std::fclose(f);
        size_t o = 0;
        for (size_t i = 0; i < n; i++) {
            if (raw[i] == '\r') continue;
            joined[o++] = raw[i] == '\n' ? ';' : raw[i];
        }
    }
    json_escape(out, size, joined);
}
}  // namespace

void session_start(int screen_width, int screen_height, int form) {
    file_writer_start();
    PrevSession p = prev_session_read();
    const char* verdict = !p.found ? "first" : !p.parsed ? "crash" : p.ended ? "clean" : p.away ? "background" : "crash";
    if (std::strcmp(verdict, "crash") == 0) {
        char cause[CAUSE_FIELD], data[640];
        crash_cause_read(cause, sizeof cause);
        std::snprintf(data, sizeof data, "{\"secs\":%lld,\"state\":%d,\"floor\":%d,\"cause\":\"%s\"}", p.secs, p.state,
                      p.floor, cause);
        event_append_build("crash", data, p.build);  // the envelope escapes it
    }
    std::remove(save_path("crash.txt"));
    crash_log_reopen();

    char data[256];
    std::snprintf(data, sizeof data, "{\"screen\":\"%dx%d\",\"form\":%d,\"prev\":\"%s\",\"prev_secs\":%lld}",
                  screen_width, screen_height, form, verdict, p.secs);
    event_append("session", data);

    session_open = 1;
    session_away = 0;
    session_ticks = 0;
    session_file_write(0);
}

void session_write(int away) {
    session_away = away ? 1 : 0;
    if (session_open) session_file_write(0);
}

void session_end() {
    if (!session_open) return;
    run_record_emit("quit");
    perf_event();
    file_writer_stop();  // the cuts asked for are written; the end's record then lands last
    session_file_write(1);
    session_open = 0;
    crash_log_release();
}
