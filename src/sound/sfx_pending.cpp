// Placeholder until the synthesiser lands: sounds are not queued yet.
#include "sound/sfx.h"

void play_sfx(int) {}
