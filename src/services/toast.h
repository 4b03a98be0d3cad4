// Toasts: one line shown for 90 ticks or two for 150. Anyone may raise one; the tick counts them
// down and the HUD draws them.
#pragma once
#include <cstdint>

constexpr int TOAST_LINE_BYTES = 28;  // 27 characters and the terminator
constexpr int TOAST_TICKS = 90;
constexpr int TOAST2_TICKS = 150;

extern char toast_line1[TOAST_LINE_BYTES];
extern char toast_line2[TOAST_LINE_BYTES];
extern int32_t toast_timer;

void toast_show(const char* text);
void toast_show2(const char* text1, const char* text2);
