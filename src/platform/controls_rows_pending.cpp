// Placeholders until the button names and the controls list land: no rows, no names, and texts
// handed back with their placeholders as they stand.
#include <cstdio>

#include "services/controls_rows.h"

int controls_list(ControlsRow*) { return 0; }
const char* key_name(int) { return ""; }
const char* action_glyph_name_for(uint8_t, int) { return ""; }
void text_expand_glyphs_for(const char* text, char* out, int size, int) {
    if (size > 0) std::snprintf(out, (size_t)size, "%s", text ? text : "");
}
