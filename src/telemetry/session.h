// The session record (session.txt), the crash record (crash.txt) and the crash handler. The shell
// starts and ends the session; the tick counts it; the application events mark it away.
#pragma once
#include <cstdint>

extern uint8_t session_open;
extern uint8_t session_away;
extern int64_t session_ticks;

// Classifies the previous session, sends its crash event when it did not end, and opens this one.
// form: the console-case model in use.
void session_start(int screen_width, int screen_height, int form);
void session_write(int away);
void session_end();
// The crash handler on fatal signals; builds the crash.txt path and opens it now, as nothing else
// may be done once a crash is under way.
void crash_filter_install();
// Re-opens crash.txt after session_start has deleted the previous one.
void crash_log_reopen();
// At a clean end: closes crash.txt and removes it when nothing was written.
void crash_log_release();

// Once per tick while the session is open: counts the tick and every 600 hands session.txt's new
// text to the play files' writer, which rewrites it without syncing it to the disk, as even the
// rename could stall a frame.
void session_tick();
// Replaces session.txt whole with the current state now, on the calling thread; a failed write
// leaves the last one. The start, the end and a move to the background sync it (`durable`).
void session_file_write(int ended, bool durable = true);
// The most session.txt holds, and all of it that is read: six lines of a key of at most 15
// characters and a value of at most 63.
constexpr int SESSION_FILE_MAX = 512;
// Appends one line to crash.txt.
void crash_log_append(const char* line);
