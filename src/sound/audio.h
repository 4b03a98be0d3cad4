// Sound effects and music: the queue the game writes and the callback the audio thread runs.
#pragma once
#include <cstdint>

enum SfxId : int {
    SFX_NONE = 0,
    SFX_STEP = 1, SFX_SWISH = 2, SFX_HIT = 3, SFX_DENY = 4, SFX_5 = 5, SFX_BREAK = 6,
    SFX_HOLLOW = 7, SFX_SECRET = 8, SFX_DESCEND = 9, SFX_PICKUP = 10, SFX_COIN = 11,
    SFX_HEAVY = 12, SFX_HURT = 13, SFX_KILL = 14, SFX_REWARD = 15, SFX_HEAL = 16,
    SFX_POPUP = 17, SFX_BANNER = 18, SFX_STATUS = 19, SFX_MOVE = 20, SFX_CONFIRM = 21,
    SFX_BACK = 22, SFX_BELL = 23,
    SFX_COUNT = 24
};

void play_sfx(int id);
void audio_set_rate(int hz);
void audio_set_master_volume(int v);
void audio_set_music_volume(int v);
void audio_callback(void* userdata, uint8_t* stream, int bytes);
