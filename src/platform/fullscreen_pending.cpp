// Stand-in until the settings application lands: the same rule, read from the settings record.
#include "platform/case_art.h"
#include "platform/fullscreen.h"
#include "render/screen.h"
#include "saves/settings.h"

bool fullscreen_wanted() {
    if (layout_is_square()) return true;
    return case_model != CASE_PHONE && settings.fullscreen == 1;
}
