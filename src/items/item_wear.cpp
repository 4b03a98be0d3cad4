// Wear from use: fights wear the hands one step per blow given or taken, and a worn-out item breaks.
#include <cstdio>

#include "items/item.h"
#include "sound/audio.h"
#include "telemetry/run_record.h"

bool item_wear(Item& item, const char* where, char* broke_line, size_t size) {
    if (!item_is_wearable(item) || item_is_broken(item)) return false;
    item.wear++;
    if (!item_is_broken(item)) return false;
    if (broke_line && size > 0) std::snprintf(broke_line, size, "%s broke!", item_def(item.id).short_name);
    run_record_item_event("broke", item, 0, where);
    play_sfx(SFX_DENY);
    return true;
}
