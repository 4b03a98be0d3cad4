// Full-screen wish from the settings and the case model; read by the frame loop and the presentation.
#include "platform/fullscreen.h"

#include "platform/case_art.h"
#include "services/toast.h"
#include "render/screen.h"
#include "saves/settings.h"

bool fullscreen_wanted() {
    if (layout_is_square()) return true;
    return case_model != CASE_PHONE && settings.fullscreen == 1;
}

void fullscreen_toggle_setting() {
    if (layout_is_square() || case_model == CASE_PHONE) return;
    settings.fullscreen = settings.fullscreen ? 0 : 1;
    settings_save();
    toast_show(settings.fullscreen ? "FULL SCREEN: ON" : "FULL SCREEN: OFF");
}
