// Toasts: one line for 90 ticks or two for 150; the tick counts them down, the HUD draws them.
#include <cstdio>

#include "services/toast.h"

char toast_line1[TOAST_LINE_BYTES];
char toast_line2[TOAST_LINE_BYTES];
int32_t toast_timer = 0;

void toast_show(const char* text) {
    std::snprintf(toast_line1, sizeof toast_line1, "%s", text ? text : "");
    toast_line2[0] = 0;
    toast_timer = TOAST_TICKS;
}

void toast_show2(const char* text1, const char* text2) {
    std::snprintf(toast_line1, sizeof toast_line1, "%s", text1 ? text1 : "");
    std::snprintf(toast_line2, sizeof toast_line2, "%s", text2 ? text2 : "");
    toast_timer = TOAST2_TICKS;
}
