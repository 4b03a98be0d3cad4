// Frame selection and name look-up over the generated sprite table.
// Used by the named-sprite icons and the monster and item picture look-ups.
#include "render/sprites.h"

#include <cstring>

const Image* anim_frame(const Anim* anim, int32_t counter) {
    if (!anim || !anim->frames || anim->count < 1) return nullptr;
    int32_t ticks = anim->ticks_per_frame > 0 ? anim->ticks_per_frame : 1;
    int32_t i = (counter / ticks) % anim->count;
    if (i < 0) i += anim->count;
    return &anim->frames[i];
}

const Image* sprite_entry_image(const SpriteEntry* entry, int32_t counter) {
    if (!entry) return nullptr;
    if (entry->still) return entry->still;
    return anim_frame(entry->anim, counter);
}

const SpriteEntry* sprite_find(const char* name) {
    if (!name) return nullptr;
    for (const SpriteEntry& e : SPRITES)
        if (std::strcmp(e.name, name) == 0) return &e;
    return nullptr;
}
