// Heights of the shrine's see-through fire glyphs, which the view draws as upright boxes.
#include "dungeon/shrine_billboard.h"

float shrine_billboard_height(int glyph) {
    switch (glyph) {
        case 'H': return 1.5f;
        case 'P': return 0.35f;
        case 'Q': return 1.3f;
        case 'h': return 1.0f;
        case 'q': return 0.375f;
        default: return 0.0f;
    }
}
