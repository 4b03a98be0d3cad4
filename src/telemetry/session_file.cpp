// session.txt as the running game keeps it: rewritten every ten seconds of ticks, so a process
// that dies leaves a record of where it stood; and the crash.txt line writer.
#include <cstdio>

#include "world/game_state.h"
#include "world/player.h"
#include "saves/file_io.h"
#include "saves/save_path.h"
#include "telemetry/events.h"
#include "telemetry/file_writer.h"
#include "telemetry/session.h"

uint8_t session_open = 0;
uint8_t session_away = 0;
int64_t session_ticks = 0;

namespace {
// The record's text; false when it does not fit (it always does).
bool session_text(char* text, size_t size, int ended, size_t* len) {
    const int n = std::snprintf(text, size, "build=%s\nsecs=%lld\nstate=%d\nfloor=%d\naway=%d\nended=%d\n", game_build,
                                (long long)(session_ticks / 60), game_state, current_floor + 1, session_away, ended);
    if (n <= 0 || n >= (int)size) return false;
    *len = (size_t)n;
    return true;
}
}  // namespace

// Written whole through the atomic writer: a full disk leaves the last record, never an empty file
// that the next start would read as a crash. The end's record is the last: none handed over to the
// writer before it lands after it.
void session_file_write(int ended, bool durable) {
    char text[SESSION_FILE_MAX];
    size_t len = 0;
    if (session_text(text, sizeof text, ended, &len)) file_writer_session_now(text, len, durable, ended != 0);
}

void session_tick() {
    if (!session_open) return;
    session_ticks++;
    // Still replaced whole by a rename, so a killed game leaves a whole record, but on the writer's
    // thread and with no sync, as the rename alone can hold a frame on a busy disk; after a power cut
    // the next start may find an older record or an empty one, and an empty one is read as the
    // crash it was.
    char text[SESSION_FILE_MAX];
    size_t len = 0;
    if (session_ticks % 600 == 0 && session_text(text, sizeof text, 0, &len)) file_writer_session(text, len);
}

void crash_log_append(const char* line) {
    FILE* f = file_open_regular(save_path("crash.txt"), "ab");
    if (!f) return;
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
}
