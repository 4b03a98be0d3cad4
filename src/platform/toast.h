// Toasts: one or two short lines shown over the screen for a moment.
#pragma once

// Shows one line (cut to 27 characters) for 90 ticks.
void toast_show(const char* text);
