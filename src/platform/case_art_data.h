// The embedded console-case pictures: per art set, per case model and orientation, one descriptor
// with the case sheet and the pressed pictures of its buttons, all as PNG bytes. The second set is
// drawn by tools/caseart and compiled in at build time; the first set is empty.
#pragma once
#include <cstdint>

#include "platform/case_art.h"

constexpr int32_t CASE_ART_KIND = 3;  // the only descriptor kind the decoder reads
constexpr int CASE_ART_SET_COUNT = 2;
constexpr int CASE_ART_BUTTONS = 8;
constexpr int CASE_ART_BUTTONS_READ = 16;  // at most this many button entries are read

struct CaseArtButton {
    uint8_t key;     // input bit
    int16_t x, y;    // top-left on the sheet, sheet pixels
    const uint8_t* png;
    uint32_t png_bytes;
};

struct CaseArtDescriptor {
    int32_t kind;
    const uint8_t* sheet_png;
    uint32_t sheet_bytes;
    const CaseArtButton* buttons;
    int32_t button_count;
};

// [set][model][0 portrait, 1 landscape]; null where a set has no picture.
extern const CaseArtDescriptor* const CASE_ART_SETS[CASE_ART_SET_COUNT][CASE_MODEL_COUNT][2];
