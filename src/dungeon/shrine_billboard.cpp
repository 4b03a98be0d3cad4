// Heights of the shrine's see-through fire glyphs, which the view draws as upright boxes.
#include "dungeon/shrine_billboard.h"
#include "world/glyphs.h"

float shrine_billboard_height(int glyph) {
    switch (glyph) {
        case GLYPH_FIRE: return 1.5f;
        case GLYPH_BRAZIER: return 0.35f;
        case GLYPH_SOUL_FIRE: return 1.3f;
        case GLYPH_FIRE_LOW: return 1.0f;
        case GLYPH_SOUL_FIRE_LOW: return 0.375f;
        default: return 0.0f;
    }
}
