// Placeholders until the synthesiser lands: the device plays silence and effects are not queued.
#include "sound/audio.h"

#include <cstring>

void play_sfx(int) {}
void audio_set_rate(int) {}
void audio_set_master_volume(int) {}
void audio_set_music_volume(int) {}
void audio_callback(void*, uint8_t* stream, int bytes) { std::memset(stream, 0, (size_t)bytes); }
