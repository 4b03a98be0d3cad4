// Placeholders until the training and its tips land: nothing is written (the bytes stay zero) and
// nothing is taken back.
#include "combat/training_save.h"

void training_save_write(uint8_t*) {}
void training_save_read(const uint8_t*) {}
