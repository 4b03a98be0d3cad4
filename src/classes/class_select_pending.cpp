// Placeholder until class selection lands.
#include "classes/class_select.h"

int32_t class_cursor = 0;
void update_class_select(uint8_t) {}
