// Placeholders until the session and crash records land: nothing is written yet.
#include "telemetry/session.h"

void session_start(int, int) {}
void session_write(int) {}
void session_end() {}
void crash_filter_install() {}
