// The session record (session.txt), the crash record and the crash filter.
#pragma once
#include <cstdint>

extern uint8_t session_open;
extern uint8_t session_away;
extern int64_t session_ticks;

void session_start(int screen_width, int screen_height);
void session_write(int away);
void session_end();
void crash_filter_install();

// Once per tick while the session is open: counts the tick and rewrites session.txt every 600.
void session_tick();
// Rewrites session.txt whole with the current state; skipped when it cannot be opened.
void session_file_write(int ended);
// Appends one line to crash.txt.
void crash_log_append(const char* line);
