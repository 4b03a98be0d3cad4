// The note of a failed settings or profile write; set by the writers, taken by the game's tick.
#include "saves/write_notice.h"

static bool write_failure_noted = false;

void write_failure_note() { write_failure_noted = true; }

bool write_failure_take() {
    const bool noted = write_failure_noted;
    write_failure_noted = false;
    return noted;
}
