// The music sequencer: parses the score texts once, and on the audio thread steps each channel
// through its events on the sixteenth-note grid, fading between songs. play_song is the tick's request.
#include "sound/music.h"

#include <cmath>

namespace {

constexpr int NOTE_A4 = 69;
constexpr float A4_HZ = 440.0f;
constexpr int32_t TONE_ATTACK_MS = 6;
constexpr int32_t DRUM_ATTACK_PER_SECOND = 500;  // 2 ms
constexpr float DRUM_DECAY = 2.0f;
constexpr int32_t MIN_NOTE_SAMPLES = 2;
constexpr float FADE_PER_SECOND = 4.0f;  // a switch fades the old song out over a quarter second

// Semitones above C of the letters A..G.
constexpr int NOTE_SEMITONES[7] = {9, 11, 0, 2, 4, 5, 7};

bool songs_parsed = false;

// The note of a token's name, or -1 when the name is none of: r, K, S, H, or a letter A..G with an
// optional # or b and one octave digit 0..8.
int score_note(const char* name, int len) {
    if (len == 1) {
        switch (name[0]) {
        case 'r': return NOTE_REST;
        case 'K': return NOTE_KICK;
        case 'S': return NOTE_SNARE;
        case 'H': return NOTE_HAT;
        default: return -1;
        }
    }
    if (len < 2 || len > 3 || name[0] < 'A' || name[0] > 'G') return -1;
    int note = NOTE_SEMITONES[name[0] - 'A'];
    int at = 1;
    if (len == 3) {
        if (name[1] == '#') note++;
        else if (name[1] == 'b') note--;
        else return -1;
        at = 2;
    }
    char octave = name[at];
    if (octave < '0' || octave > '8') return -1;
    return note + 12 * (octave - '0' + 1);
}

// atoi over [p, end) only, so a token never reads into the next one; large values saturate.
int32_t score_duration(const char* p, const char* end) {
    while (p < end && (*p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r')) p++;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    int64_t value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; p++)
        if (value < 100000) value = value * 10 + (*p - '0');
    return (int32_t)(negative ? -value : value);
}

void music_voices_stop() {
    for (Voice& v : sequencer.voices) v.active = 0;
}

void music_start_note(Voice* v, const SongChannel& ch, int note, int32_t duration, int32_t tick, int32_t rate) {
    if (note >= NOTE_KICK) {
        if (note - NOTE_KICK >= DRUM_COUNT) {
            v->active = 0;
            return;
        }
        const SfxLayer& drum = DRUMS[note - NOTE_KICK];
        int32_t length = (int32_t)((int64_t)rate * drum.duration_ms / 1000);
        if (length < MIN_NOTE_SAMPLES) length = MIN_NOTE_SAMPLES;
        int32_t attack = rate / DRUM_ATTACK_PER_SECOND;
        if (attack > length - 1) attack = length - 1;
        voice_start(v, drum.wave, drum.duty, drum.freq_start, drum.freq_end, length, attack,
                    drum.volume * ch.volume, DRUM_DECAY);
        return;
    }
    // The gate is cut to whole milliseconds; 64-bit so long notes at high rates cannot overflow.
    int64_t gate_ms = (int64_t)((double)duration * tick * ch.length * 1000.0 / rate);
    int64_t length = (int64_t)rate * gate_ms / 1000;
    if (length < MIN_NOTE_SAMPLES) length = MIN_NOTE_SAMPLES;
    if (length > INT32_MAX) length = INT32_MAX;
    int32_t attack = (int32_t)((int64_t)rate * TONE_ATTACK_MS / 1000);
    if (attack > length - 1) attack = (int32_t)length - 1;
    float freq = A4_HZ * exp2f((float)(note - NOTE_A4) / 12.0f);
    voice_start(v, ch.wave, ch.wave == WAVE_PULSE ? ch.duty : 0.0f, freq, freq, (int32_t)length, attack, ch.volume,
                ch.decay);
}

// The first sample of a sixteenth: each channel whose event has run out takes its next one.
void music_tick(int32_t song, int32_t tick, int32_t rate) {
    const SongDef& def = SONGS[song];
    SongPlayback& pb = sequencer.playback[song];
    for (int ch = 0; ch < SONG_CHANNELS; ch++) {
        int32_t count = song_events[song].count[ch];
        if (count <= 0) continue;
        if (pb.ticks_left[ch] < 1) {
            int32_t pos = pb.position[ch];
            if (pos < 0 || pos >= count) pos = 0;
            uint16_t event = song_events[song].events[ch][pos];
            pb.position[ch] = pos + 1 < count ? pos + 1 : 0;
            int32_t duration = event >> 8;
            int note = event & 0xFF;
            pb.ticks_left[ch] = duration;
            if (note == NOTE_REST) sequencer.voices[ch].active = 0;
            else music_start_note(&sequencer.voices[ch], def.channels[ch], note, duration, tick, rate);
        }
        pb.ticks_left[ch]--;
    }
}

}  // namespace

SongEvents song_events[SONG_COUNT];
Sequencer sequencer = {.song_request{SONG_NONE}, .current = SONG_NONE, .gain = 1.0f, .tick_sample = 0,
                       .playback = {}, .voices = {}};

void play_song(int id) {
    sequencer.song_request.store(id >= SONG_NONE && id < SONG_COUNT ? id : SONG_NONE, std::memory_order_relaxed);
}

int32_t score_parse(const char* text, uint16_t* events, int32_t cap) {
    int32_t count = 0;
    if (!text) return 0;
    const char* p = text;
    while (*p) {
        while (*p == ' ') p++;
        if (!*p) break;
        const char* start = p;
        while (*p && *p != ' ') p++;
        if (count >= cap) continue;
        const char* colon = start;
        while (colon < p && *colon != ':') colon++;
        int32_t duration = colon < p ? score_duration(colon + 1, p) : 1;
        if (duration < 1 || duration > SONG_MAX_DURATION || colon == start) continue;
        int note = score_note(start, (int)(colon - start));
        if (note < 0) continue;
        events[count++] = (uint16_t)(duration << 8 | note);
    }
    return count;
}

void parse_songs() {
    if (songs_parsed) return;
    for (int s = SONG_MAIN; s < SONG_COUNT; s++)
        for (int ch = 0; ch < SONG_CHANNELS; ch++)
            song_events[s].count[ch] = score_parse(SONGS[s].score[ch], song_events[s].events[ch], SONG_MAX_EVENTS);
    songs_parsed = true;
}

int32_t song_length_ticks(int song, int channel) {
    parse_songs();
    if (song < SONG_MAIN || song >= SONG_COUNT || channel < 0 || channel >= SONG_CHANNELS) return 0;
    int32_t total = 0;
    for (int i = 0; i < song_events[song].count[channel]; i++) total += song_events[song].events[channel][i] >> 8;
    return total;
}

int32_t song_tick_samples(int32_t rate, int32_t bpm) {
    if (bpm <= 0) return 1;
    int64_t t = (int64_t)rate * 60 / ((int64_t)bpm * 4);
    return t < 1 ? 1 : t > INT32_MAX ? INT32_MAX : (int32_t)t;
}

float music_sample(int32_t rate) {
    Sequencer& s = sequencer;
    int32_t request = s.song_request.load(std::memory_order_relaxed);
    if (request < SONG_NONE || request >= SONG_COUNT) request = SONG_NONE;
    if (request != s.current) {
        s.gain -= FADE_PER_SECOND / (float)rate;
        if (s.current == SONG_NONE || s.gain <= 0.0f) {
            music_voices_stop();
            s.current = request;
            s.gain = 1.0f;
            s.tick_sample = 0;
            // The fight always opens on its first bar; the dungeon theme picks up where it left off.
            if (request == SONG_FIGHT) s.playback[SONG_FIGHT] = SongPlayback{};
        }
    }
    if (s.current == SONG_NONE) return 0.0f;
    int32_t tick = song_tick_samples(rate, SONGS[s.current].bpm);
    if (s.tick_sample == 0) music_tick(s.current, tick, rate);
    if (++s.tick_sample >= tick) s.tick_sample = 0;
    float m = 0.0f;
    for (Voice& v : s.voices)
        if (v.active) m += voice_step(&v, rate);
    return m * s.gain;
}
