// The session record (session.txt), the crash record and the crash filter.
#pragma once

void session_start(int screen_width, int screen_height);
void session_write(int away);
void session_end();
void crash_filter_install();
