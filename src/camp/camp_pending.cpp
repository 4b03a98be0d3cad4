// Placeholders until the camp lands.
#include "camp/camp.h"

int32_t camp_page = 0;
void update_camp(uint8_t) {}
void camp_rest() {}
