// Puts the synthesiser and the sequencer back to a silent start at 48000 Hz, full volumes, an empty
// queue and no song, so each sound test mixes from a known place.
#pragma once
#include <vector>

#include "sound/audio.h"
#include "sound/music.h"

inline void audio_globals_reset() {
    for (Voice& v : sfx_voices) v = Voice{};
    sfx_ring.read_count.store(sfx_ring.write_count.load());
    sfx_serial = 0;
    master_volume.store(VOLUME_MAX);
    music_volume.store(VOLUME_MAX);
    audio_rate.store(AUDIO_DEFAULT_RATE);
    drone_setting.store(0);
    sequencer.song_request.store(SONG_NONE);
    sequencer.current = SONG_NONE;
    sequencer.gain = 1.0f;
    sequencer.tick_sample = 0;
    for (SongPlayback& p : sequencer.playback) p = SongPlayback{};
    for (Voice& v : sequencer.voices) v = Voice{};
    parse_songs();
}

inline std::vector<float> audio_render(int n) {
    std::vector<float> out((size_t)n);
    audio_mix(out.data(), n);
    return out;
}

inline int sfx_active_voices() {
    int n = 0;
    for (const Voice& v : sfx_voices) n += v.active;
    return n;
}
