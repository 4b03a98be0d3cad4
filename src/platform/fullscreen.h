// Full-screen decisions: what the settings and the case model ask for, and the F8 toggle.
#pragma once

bool fullscreen_wanted();
void fullscreen_toggle_setting();
