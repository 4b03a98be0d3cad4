// Whether the window should be full screen (the settings, the case model and the layout decide).
#pragma once

bool fullscreen_wanted();
