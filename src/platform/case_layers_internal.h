// The decoded case sets inside the platform: the case module, the sheen and the tests read them.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/case_layers.h"

constexpr uint8_t CASE_KEY_A = 0x10, CASE_KEY_B = 0x20;

struct CaseButtonLayer {
    std::vector<uint32_t> source, composed;  // ARGB, width x height
    std::vector<uint16_t> index;             // colour index per source pixel; empty without one
    int32_t width = 0, height = 0, x = 0, y = 0;
    uint8_t key = 0;
};

// One decoded descriptor: the case sheet of one model and orientation with its buttons.
struct CaseLayerSet {
    bool loaded = false;
    int32_t art_set = 0;
    std::vector<uint32_t> source, composed;  // width x height
    int32_t width = 0, height = 0;
    int32_t colour = -1;  // the case colour `composed` was made for; -1 must recompose
    std::vector<uint16_t> index;       // per source pixel
    std::vector<uint32_t> distinct;    // the set's distinct colours; empty when indexing failed
    std::vector<uint32_t> recoloured;  // per distinct colour (x 128 steps for the rainbow)
    CaseButtonLayer buttons[CASE_LAYERS_MAX];
    int32_t button_count = 0;
    int32_t swap_ab = 0;
    std::vector<uint32_t> glow;  // the sheen's mask, opaque grey words, width x height
    int32_t glow_colour = -1;
};

// Decodes PNG bytes into ARGB words (A<<24 | R<<16 | G<<8 | B); false on a decode failure.
bool png_load_rgba(const uint8_t* bytes, uint32_t len, std::vector<uint32_t>& out, int* w, int* h);
struct CaseArtDescriptor;
// Decodes a descriptor whose sheet must be want_w x want_h; the set stays unloaded otherwise.
void case_layers_load(CaseLayerSet& s, const CaseArtDescriptor* d, int art_set, int want_w, int want_h);
// Recomposes the set in `colour` when it is loaded and stale.
void case_layers_rebuild(CaseLayerSet& s, int colour);
// Brings the A and B labels of the set to the wanted state and marks it for recomposing.
void case_layers_swap_ab(CaseLayerSet& s, int on);
// The set the compositor shows for the current model, orientation and case colour.
CaseLayerSet* case_current_layers();
int case_orientation_now();
int case_color_current();
