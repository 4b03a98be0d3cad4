// Sound effects and the synthesiser: the queue the game writes from the main thread, the voice model
// shared with the music, and the mix that SDL's audio thread runs through audio_callback.
#pragma once
#include <atomic>
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

enum Wave : int32_t { WAVE_PULSE = 0, WAVE_TRIANGLE = 1, WAVE_NOISE = 2 };

constexpr int SFX_MAX_LAYERS = 4;
constexpr int SFX_VOICE_COUNT = 8;
constexpr uint32_t SFX_RING_CAP = 64;
constexpr int32_t VOLUME_MAX = 10;
constexpr int32_t AUDIO_DEFAULT_RATE = 48000;
constexpr int32_t SFX_DEFAULT_ATTACK_MS = 2;
constexpr uint16_t NOISE_SEED = 0x7FFF;

// One oscillator of an effect (or a drum): frequencies in Hz, times in ms; attack 0 means 2 ms.
struct SfxLayer {
    int32_t wave;
    float duty;
    float freq_start;
    float freq_end;
    int32_t delay_ms;
    int32_t duration_ms;
    float volume;
    float decay;  // exponent of the release curve: 1 linear, 2 quadratic
    int32_t attack_ms;
};

struct SfxDef {
    uint8_t priority;
    int32_t layer_count;  // 1..4; 0 counts as 1
    SfxLayer layers[SFX_MAX_LAYERS];
};

extern const SfxDef SFX[SFX_COUNT];

// One sounding oscillator; times are in samples.
struct Voice {
    uint8_t active;
    int32_t wave;
    float duty;
    float phase;  // 0..1 through one period
    float freq;
    float ratio;  // frequency factor per sample, for the sweep
    int32_t delay;
    int32_t duration;
    int32_t attack;
    int32_t age;
    float volume;
    float decay;
    uint16_t noise;
    float noise_value;
    uint8_t priority;
    int32_t serial;  // start order, for stealing the oldest
};

// The effect queue: the main thread moves only write_count, the audio thread only read_count;
// both run on and are taken mod SFX_RING_CAP.
struct SfxRing {
    uint8_t ids[SFX_RING_CAP];  // published by the release store of write_count
    std::atomic<uint32_t> write_count;
    std::atomic<uint32_t> read_count;
};

extern Voice sfx_voices[SFX_VOICE_COUNT];
extern SfxRing sfx_ring;
extern int32_t sfx_serial;
extern std::atomic<int32_t> master_volume;
extern std::atomic<int32_t> music_volume;
extern std::atomic<int32_t> audio_rate;

// The shrine's drone, held on voice 6: the main thread holds it once a tick with a setting (its
// pitch in Hz); the audio thread sounds a low triangle while held and lets it fade a few ticks
// after the last hold. Effects never take its voice while it sounds.
constexpr int DRONE_VOICE = 6;
constexpr uint8_t DRONE_PRIORITY = 255;
extern std::atomic<int32_t> drone_setting;
extern std::atomic<uint32_t> drone_holds;

// Main thread.
void play_sfx(int id);
// Holds the drone for this tick at `setting` Hz (0 lets it go).
void audio_hold_drone(int setting);
void audio_set_rate(int hz);
void audio_set_master_volume(int v);
void audio_set_music_volume(int v);

// Audio thread.
void audio_callback(void* userdata, uint8_t* stream, int bytes);
void audio_mix(float* out, int n);
// Starts a voice of `length` samples sweeping exponentially from f0 to f1 over that length.
void voice_start(Voice* v, int32_t wave, float duty, float f0, float f1, int32_t length, int32_t attack,
                 float volume, float decay);
// One sample of a sounding voice; ages it and stops it at the end of its length.
float voice_step(Voice* v, int32_t rate);
