// The effects synthesiser: the effect table, the queue that play_sfx fills on the main thread, and
// audio_mix, which SDL's audio thread runs through audio_callback to start queued effects, step the
// music and mix every voice into mono float samples.
#include "sound/audio.h"

#include <cmath>
#include <cstring>

#include "sound/music.h"

namespace {

constexpr SfxLayer pulse(float duty, float f0, float f1, int32_t delay, int32_t dur, float vol, float decay) {
    return {.wave = WAVE_PULSE, .duty = duty, .freq_start = f0, .freq_end = f1, .delay_ms = delay,
            .duration_ms = dur, .volume = vol, .decay = decay, .attack_ms = 0};
}
constexpr SfxLayer triangle(float f0, float f1, int32_t delay, int32_t dur, float vol, float decay) {
    return {.wave = WAVE_TRIANGLE, .duty = 0, .freq_start = f0, .freq_end = f1, .delay_ms = delay,
            .duration_ms = dur, .volume = vol, .decay = decay, .attack_ms = 0};
}
constexpr SfxLayer noise(float f0, float f1, int32_t delay, int32_t dur, float vol, float decay,
                         int32_t attack = 0) {
    return {.wave = WAVE_NOISE, .duty = 0, .freq_start = f0, .freq_end = f1, .delay_ms = delay,
            .duration_ms = dur, .volume = vol, .decay = decay, .attack_ms = attack};
}

// Output gains at full volume: the music sits under the effects.
constexpr float MUSIC_GAIN = 0.75f;
constexpr float MASTER_GAIN = 0.8f;
constexpr float DRONE_VOLUME = 0.07f;
constexpr int32_t DRONE_ATTACK_DIVISOR = 8;    // an eighth of a second to swell
constexpr int32_t DRONE_RELEASE_TICKS = 4;     // unheld this long, it fades
constexpr int32_t TICKS_PER_SECOND = 60;

}  // namespace

const SfxDef SFX[SFX_COUNT] = {
    [SFX_NONE] = {},
    [SFX_STEP] = {.priority = 1, .layer_count = 1, .layers = {noise(2600, 1400, 0, 35, 0.12f, 2)}},
    [SFX_SWISH] = {.priority = 1, .layer_count = 2,
                   .layers = {noise(1200, 4200, 0, 160, 0.14f, 2, 70), noise(450, 900, 0, 140, 0.07f, 2, 60)}},
    [SFX_HIT] = {.priority = 2, .layer_count = 2,
                 .layers = {pulse(0.5f, 120, 70, 0, 80, 0.35f, 2), noise(900, 300, 0, 40, 0.15f, 2)}},
    [SFX_DENY] = {.priority = 3, .layer_count = 2,
                  .layers = {pulse(0.5f, 196, 196, 0, 60, 0.28f, 1), pulse(0.5f, 147, 147, 75, 110, 0.28f, 1)}},
    [SFX_5] = {.priority = 3, .layer_count = 2,
               .layers = {noise(500, 150, 0, 260, 0.3f, 1), pulse(0.25f, 110, 82, 0, 200, 0.2f, 1)}},
    [SFX_BREAK] = {.priority = 3, .layer_count = 3,
                   .layers = {noise(1800, 200, 0, 420, 0.3f, 1), noise(3200, 900, 60, 120, 0.12f, 2),
                              pulse(0.25f, 98, 62, 0, 160, 0.18f, 1)}},
    [SFX_HOLLOW] = {.priority = 3, .layer_count = 3,
                    .layers = {triangle(196, 150, 0, 90, 0.5f, 2), noise(700, 250, 0, 50, 0.18f, 2),
                               triangle(196, 150, 150, 110, 0.22f, 2)}},
    [SFX_SECRET] = {.priority = 4, .layer_count = 3,
                    .layers = {noise(1400, 120, 0, 650, 0.38f, 1), pulse(0.5f, 82, 41, 0, 380, 0.3f, 1),
                               noise(3400, 900, 120, 320, 0.14f, 2)}},
    [SFX_DESCEND] = {.priority = 4, .layer_count = 4,
                     .layers = {triangle(523, 523, 0, 80, 0.45f, 1), triangle(392, 392, 80, 80, 0.45f, 1),
                                triangle(330, 330, 160, 80, 0.45f, 1), triangle(262, 262, 240, 180, 0.45f, 1)}},
    [SFX_PICKUP] = {.priority = 3, .layer_count = 2,
                    .layers = {pulse(0.25f, 988, 988, 0, 55, 0.25f, 1), pulse(0.25f, 1319, 1319, 55, 110, 0.25f, 1)}},
    [SFX_COIN] = {.priority = 3, .layer_count = 2,
                  .layers = {pulse(0.25f, 1319, 1319, 0, 45, 0.22f, 1), pulse(0.25f, 1760, 1760, 45, 120, 0.22f, 1)}},
    [SFX_HEAVY] = {.priority = 4, .layer_count = 2,
                   .layers = {noise(4000, 900, 0, 90, 0.4f, 2), pulse(0.5f, 220, 110, 0, 80, 0.25f, 2)}},
    [SFX_HURT] = {.priority = 5, .layer_count = 2,
                  .layers = {pulse(0.125f, 420, 110, 0, 170, 0.35f, 1), noise(1600, 400, 0, 120, 0.28f, 2)}},
    [SFX_KILL] = {.priority = 5, .layer_count = 2,
                  .layers = {noise(2200, 150, 0, 300, 0.4f, 1), pulse(0.5f, 330, 55, 0, 280, 0.28f, 1)}},
    [SFX_REWARD] = {.priority = 6, .layer_count = 4,
                    .layers = {pulse(0.5f, 523, 523, 250, 70, 0.25f, 1), pulse(0.5f, 659, 659, 320, 70, 0.25f, 1),
                               pulse(0.5f, 784, 784, 390, 70, 0.25f, 1),
                               pulse(0.5f, 1047, 1047, 460, 200, 0.25f, 1)}},
    [SFX_HEAL] = {.priority = 4, .layer_count = 1, .layers = {triangle(392, 1047, 0, 260, 0.45f, 1)}},
    [SFX_POPUP] = {.priority = 5, .layer_count = 3,
                   .layers = {pulse(0.25f, 1568, 2093, 0, 90, 0.24f, 2), pulse(0.125f, 2093, 2637, 60, 140, 0.18f, 1),
                              noise(6000, 3000, 0, 120, 0.16f, 2)}},
    [SFX_BANNER] = {.priority = 6, .layer_count = 4,
                    .layers = {pulse(0.5f, 392, 392, 0, 60, 0.24f, 1), pulse(0.5f, 523, 523, 50, 60, 0.24f, 1),
                               pulse(0.25f, 784, 1047, 100, 260, 0.26f, 1), noise(700, 120, 0, 320, 0.3f, 1)}},
    [SFX_STATUS] = {.priority = 2, .layer_count = 1, .layers = {pulse(0.125f, 180, 120, 0, 70, 0.2f, 2)}},
    [SFX_MOVE] = {.priority = 1, .layer_count = 1, .layers = {pulse(0.25f, 880, 880, 0, 28, 0.16f, 1)}},
    [SFX_CONFIRM] = {.priority = 2, .layer_count = 2,
                     .layers = {pulse(0.5f, 660, 660, 0, 40, 0.2f, 1), pulse(0.5f, 990, 990, 40, 70, 0.2f, 1)}},
    [SFX_BACK] = {.priority = 2, .layer_count = 2,
                  .layers = {pulse(0.5f, 660, 660, 0, 40, 0.2f, 1), pulse(0.5f, 440, 440, 40, 70, 0.2f, 1)}},
    [SFX_BELL] = {.priority = 7, .layer_count = 3,
                  .layers = {pulse(0.5f, 1047, 1047, 0, 80, 0.2f, 1), pulse(0.5f, 2093, 2093, 80, 1100, 0.2f, 2),
                             triangle(1047, 1047, 80, 900, 0.22f, 2)}},
};

Voice sfx_voices[SFX_VOICE_COUNT];
SfxRing sfx_ring;
int32_t sfx_serial = 0;
std::atomic<int32_t> master_volume{VOLUME_MAX};
std::atomic<int32_t> music_volume{VOLUME_MAX};
std::atomic<int32_t> drone_setting{0};
std::atomic<uint32_t> drone_holds{0};
std::atomic<int32_t> audio_rate{AUDIO_DEFAULT_RATE};

void play_sfx(int id) {
    if (id <= SFX_NONE || id >= SFX_COUNT) return;
    uint32_t w = sfx_ring.write_count.load(std::memory_order_relaxed);
    uint32_t r = sfx_ring.read_count.load(std::memory_order_acquire);
    if (w - r >= SFX_RING_CAP) return;  // full: the newest is dropped, the queued ones still play
    sfx_ring.ids[w % SFX_RING_CAP] = (uint8_t)id;
    sfx_ring.write_count.store(w + 1, std::memory_order_release);
}

static int32_t volume_clamp(int v) { return v < 0 ? 0 : v > VOLUME_MAX ? VOLUME_MAX : v; }

void audio_set_master_volume(int v) { master_volume.store(volume_clamp(v), std::memory_order_relaxed); }
void audio_set_music_volume(int v) { music_volume.store(volume_clamp(v), std::memory_order_relaxed); }

void audio_hold_drone(int setting) {
    drone_setting.store(setting > 0 ? setting : 0, std::memory_order_relaxed);
    drone_holds.fetch_add(1, std::memory_order_release);
}

void audio_set_rate(int hz) {
    if (hz > 0) audio_rate.store(hz, std::memory_order_relaxed);
    parse_songs();
}

void audio_callback(void*, uint8_t* stream, int bytes) {
    if (!stream || bytes <= 0) return;
    int n = bytes / (int)sizeof(float);
    // SDL hands a byte buffer; a float copy keeps the mix free of alignment assumptions.
    float block[1024];
    uint8_t* at = stream;
    while (n > 0) {
        int chunk = n < 1024 ? n : 1024;
        audio_mix(block, chunk);
        std::memcpy(at, block, (size_t)chunk * sizeof(float));
        at += (size_t)chunk * sizeof(float);
        n -= chunk;
    }
    int tail = bytes % (int)sizeof(float);
    if (tail) std::memset(at, 0, (size_t)tail);
}

void voice_start(Voice* v, int32_t wave, float duty, float f0, float f1, int32_t length, int32_t attack,
                 float volume, float decay) {
    v->active = 1;
    v->wave = wave;
    v->duty = duty;
    v->phase = 0;
    v->freq = f0;
    v->ratio = f0 > 0 && f1 > 0 ? powf(f1 / f0, 1.0f / (float)length) : 1.0f;
    v->delay = 0;
    v->duration = length;
    v->attack = attack;
    v->age = 0;
    v->volume = volume;
    v->decay = decay;
    v->noise = NOISE_SEED;
    v->noise_value = 1.0f;
}

float voice_step(Voice* v, int32_t rate) {
    float p = v->phase;
    float next = p + v->freq / (float)rate;
    float wave;
    switch (v->wave) {
    case WAVE_PULSE:
        wave = p < v->duty ? 1.0f : -1.0f;
        v->phase = next - floorf(next);
        break;
    case WAVE_TRIANGLE:
        wave = fabsf(p - 0.5f) * 4.0f - 1.0f;
        v->phase = next - floorf(next);
        break;
    default:
        // The noise register steps once per whole period passed; between steps it holds its value.
        if (next >= 1.0f) {
            uint16_t r = v->noise;
            while (next >= 1.0f) {
                next -= 1.0f;
                r = (uint16_t)(((((r >> 1) ^ r) & 1) << 14) | (r >> 1));
            }
            v->noise = r;
            v->noise_value = (r & 1) ? 1.0f : -1.0f;
        }
        wave = v->noise_value;
        v->phase = next;
        break;
    }
    float env;
    if (v->age < v->attack) {
        env = (float)v->age / (float)v->attack;
    } else {
        float left = 1.0f - (float)(v->age - v->attack) / (float)(v->duration - v->attack);
        env = v->decay == 1.0f ? left : powf(left, v->decay);
    }
    v->freq *= v->ratio;
    if (++v->age >= v->duration) v->active = 0;
    return wave * env * v->volume;
}

// The voice an effect layer takes: a free one, else the lowest priority not above the effect's,
// the oldest among equals; -1 when every voice matters more.
static int sfx_pick_voice(uint8_t priority) {
    int best = -1;
    for (int i = 0; i < SFX_VOICE_COUNT; i++) {
        const Voice& v = sfx_voices[i];
        if (!v.active) return i;
        if (v.priority > priority) continue;
        if (best < 0 || v.priority < sfx_voices[best].priority ||
            (v.priority == sfx_voices[best].priority && v.serial < sfx_voices[best].serial))
            best = i;
    }
    return best;
}

static int32_t ms_to_samples(int32_t rate, int32_t ms) { return (int32_t)((int64_t)rate * ms / 1000); }

static void sfx_start(int id, int32_t rate) {
    const SfxDef& def = SFX[id];
    int layers = def.layer_count < 1 ? 1 : def.layer_count > SFX_MAX_LAYERS ? SFX_MAX_LAYERS : def.layer_count;
    for (int l = 0; l < layers; l++) {
        int slot = sfx_pick_voice(def.priority);
        if (slot < 0) return;
        const SfxLayer& layer = def.layers[l];
        int32_t length = ms_to_samples(rate, layer.duration_ms);
        if (length < 1) length = 1;
        int32_t attack = ms_to_samples(rate, layer.attack_ms ? layer.attack_ms : SFX_DEFAULT_ATTACK_MS);
        if (attack > length - 1) attack = length - 1;
        Voice* v = &sfx_voices[slot];
        voice_start(v, layer.wave, layer.duty, layer.freq_start, layer.freq_end, length, attack, layer.volume,
                    layer.decay);
        v->delay = ms_to_samples(rate, layer.delay_ms);
        v->priority = def.priority;
        v->serial = sfx_serial++;
    }
}

static void sfx_start_queued(int32_t rate) {
    uint32_t r = sfx_ring.read_count.load(std::memory_order_relaxed);
    uint32_t w = sfx_ring.write_count.load(std::memory_order_acquire);
    for (; r != w; r++) {
        int id = sfx_ring.ids[r % SFX_RING_CAP];
        if (id > SFX_NONE && id < SFX_COUNT) sfx_start(id, rate);
    }
    sfx_ring.read_count.store(w, std::memory_order_release);
}

// The audio thread's view of the drone: the last hold count it saw and samples since it changed.
static uint32_t drone_seen = 0;
static int32_t drone_idle = 0;

static void drone_update(int32_t rate, int n) {
    const uint32_t holds = drone_holds.load(std::memory_order_acquire);
    const int32_t setting = drone_setting.load(std::memory_order_relaxed);
    if (holds != drone_seen) {
        drone_seen = holds;
        drone_idle = 0;
    } else if (drone_idle < INT32_MAX - n) {
        drone_idle += n;
    }
    Voice& v = sfx_voices[DRONE_VOICE];
    const bool held = setting > 0 && drone_idle < DRONE_RELEASE_TICKS * rate / TICKS_PER_SECOND;
    if (held) {
        if (!v.active || v.priority != DRONE_PRIORITY) {
            voice_start(&v, WAVE_TRIANGLE, 0.5f, (float)setting, (float)setting, rate, rate / DRONE_ATTACK_DIVISOR,
                        DRONE_VOLUME, 1.0f);
            v.priority = DRONE_PRIORITY;
        }
        v.freq = (float)setting;
        v.ratio = 1.0f;
        if (v.age > v.attack) v.age = v.attack;  // sustain: the release waits until the holds stop
    } else if (v.active && v.priority == DRONE_PRIORITY && v.age < v.attack) {
        v.age = v.attack;  // let go while still swelling: fade from here
    }
    if (!v.active && v.priority == DRONE_PRIORITY) v.priority = 0;
}

void audio_mix(float* out, int n) {
    int32_t rate = audio_rate.load(std::memory_order_relaxed);
    drone_update(rate, n);
    sfx_start_queued(rate);
    float music_gain = (float)music_volume.load(std::memory_order_relaxed) * MUSIC_GAIN / (float)VOLUME_MAX;
    float master_gain = (float)master_volume.load(std::memory_order_relaxed) * MASTER_GAIN / (float)VOLUME_MAX;
    for (int i = 0; i < n; i++) {
        float x = music_sample(rate) * music_gain;
        for (Voice& v : sfx_voices) {
            if (!v.active) continue;
            if (v.delay > 0) {
                v.delay--;
                continue;
            }
            x += voice_step(&v, rate);
        }
        x *= master_gain;
        x = fminf(1.0f, x);
        out[i] = fmaxf(-1.0f, x);
    }
}
