// Placeholder until the music sequencer lands: requests are not heard yet.
#include "sound/music.h"

void play_song(int) {}
