// Until the case pictures are decoded and recoloured there is no case art: the composition draws
// the plain pad, with no spotlight and no sheen.
#include "platform/case_layers.h"

uint32_t case_art_generation = 0;

bool case_get_layers(const uint32_t**, CaseLayer*, int*, int) { return false; }

int button_glow_level() { return 0; }
uint8_t button_glow_which() { return 0; }

const uint32_t* case_glow_map(int*, int*) { return nullptr; }
const uint32_t* sheen_band(int*, int*) { return nullptr; }
int sheen_offset() { return 0; }
