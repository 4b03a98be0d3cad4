// Renders the game's sound through its own synthesiser, for listening and review:
//   qm_audio_render OUT_DIR     every effect and one loop of each song (plus the bars after the
//                               loop point) as 48000 Hz 16-bit mono WAV files, with a report of
//                               the level, cut notes and the voices still sounding at the loop
//                               and a waveform picture of each song (the whole take above, the
//                               50 ms on either side of the loop point below)
//   qm_audio_render --bench     times audio_mix of one 512-sample block with all eight effect
//                               voices and all four music voices busy
#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sound/audio.h"
#include "sound/audio_fixture.h"
#include "sound/music.h"

namespace {

constexpr int RATE = 48000;
constexpr int BLOCK = 512;

const char* const SFX_NAMES[SFX_COUNT] = {
    "", "step", "swish", "hit", "deny", "thud", "break", "hollow", "secret", "descend", "pickup", "coin",
    "heavy", "hurt", "kill", "reward", "heal", "popup", "banner", "status", "move", "confirm", "back", "bell"};


void put16(FILE* f, uint16_t v) {
    uint8_t b[2] = {(uint8_t)(v & 0xFF), (uint8_t)(v >> 8)};
    std::fwrite(b, 1, 2, f);
}
void put32(FILE* f, uint32_t v) {
    uint8_t b[4] = {(uint8_t)(v & 0xFF), (uint8_t)(v >> 8 & 0xFF), (uint8_t)(v >> 16 & 0xFF), (uint8_t)(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

// A canonical 44-byte RIFF header, then the samples as signed 16-bit little-endian.
bool write_wav(const std::string& path, const std::vector<float>& s) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    uint32_t data = (uint32_t)(s.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + data);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);        // fmt chunk size
    put16(f, 1);         // PCM
    put16(f, 1);         // mono
    put32(f, RATE);      // sample rate
    put32(f, RATE * 2);  // bytes per second
    put16(f, 2);         // block align
    put16(f, 16);        // bits per sample
    std::fwrite("data", 1, 4, f);
    put32(f, data);
    for (float x : s) put16(f, (uint16_t)(int16_t)std::lrintf(std::fmax(-1.0f, std::fmin(1.0f, x)) * 32767.0f));
    return std::fclose(f) == 0;
}

struct Level {
    float peak = 0;
    double rms = 0;
    int clipped = 0;
};

Level level(const std::vector<float>& s) {
    Level l;
    double sum = 0;
    for (float x : s) {
        l.peak = std::fmax(l.peak, std::fabs(x));
        l.clipped += std::fabs(x) >= 1.0f;
        sum += (double)x * x;
    }
    l.rms = s.empty() ? 0 : std::sqrt(sum / (double)s.size());
    return l;
}

int render_effects(const std::string& dir) {
    int failures = 0;
    for (int id = 1; id < SFX_COUNT; id++) {
        audio_globals_reset();
        play_sfx(id);
        std::vector<float> out;
        float block[BLOCK];
        do {
            audio_mix(block, BLOCK);
            out.insert(out.end(), block, block + BLOCK);
        } while (std::any_of(std::begin(sfx_voices), std::end(sfx_voices), [](const Voice& v) { return v.active; }));
        out.resize(out.size() + RATE / 20, 0.0f);  // a little silence after the tail
        char name[64];
        std::snprintf(name, sizeof name, "sfx_%02d_%s.wav", id, SFX_NAMES[id]);
        Level l = level(out);
        std::printf("%-22s %5d ms  peak %.3f  rms %.3f%s\n", name, (int)(out.size() * 1000 / RATE), l.peak, l.rms,
                    l.clipped ? "  CLIPPED" : "");
        if (!write_wav(dir + "/" + name, out)) failures++;
    }
    return failures;
}

// Draws min/max columns of samples [from, to) into rows [top, top + h) of a grey picture.
void plot(std::vector<uint8_t>& px, int w, int top, int h, const std::vector<float>& s, size_t from, size_t to,
          size_t mark) {
    for (int x = 0; x < w; x++) {
        size_t a = from + (to - from) * (size_t)x / (size_t)w, b = from + (to - from) * (size_t)(x + 1) / (size_t)w;
        if (b <= a) b = a + 1;
        float lo = 1, hi = -1;
        for (size_t i = a; i < b && i < s.size(); i++) lo = std::fmin(lo, s[i]), hi = std::fmax(hi, s[i]);
        int y0 = top + (int)((1 - hi) * 0.5f * (h - 1)), y1 = top + (int)((1 - lo) * 0.5f * (h - 1));
        for (int y = top; y < top + h; y++) {
            uint8_t c = y == top + h / 2 ? 70 : 24;
            if (y >= y0 && y <= y1) c = 220;
            if (mark >= a && mark < b) c = 140;
            px[(size_t)y * w + x] = c;
        }
    }
}

bool write_wave_png(const std::string& path, const std::vector<float>& s, size_t loop) {
    const int w = 1200, h = 160;
    std::vector<uint8_t> px((size_t)w * h * 2, 0);
    plot(px, w, 0, h, s, 0, s.size(), loop);
    size_t span = RATE / 20;
    plot(px, w, h, h, s, loop - span, loop + span, loop);
    return stbi_write_png(path.c_str(), w, h * 2, 1, px.data(), w) != 0;
}

// One loop of a song and `extra` sixteenths past the loop point, counting notes that a new event
// cut before their gate ended and the voices still sounding in the last sample before the loop.
int render_song(const std::string& dir, int song, const char* name, int extra) {
    audio_globals_reset();
    play_song(song);
    int32_t tick = song_tick_samples(RATE, SONGS[song].bpm);
    int32_t loop = song_length_ticks(song, 0);
    int64_t total = (int64_t)(loop + extra) * tick;
    std::vector<float> out((size_t)total);
    int cut[SONG_CHANNELS] = {};
    float loop_env[SONG_CHANNELS] = {};
    for (int64_t i = 0; i < total; i++) {
        if (sequencer.current == song && sequencer.tick_sample == 0)
            for (int ch = 0; ch < SONG_CHANNELS; ch++)
                if (sequencer.voices[ch].active && sequencer.playback[song].ticks_left[ch] < 1) cut[ch]++;
        if (i == (int64_t)loop * tick - 1)
            for (int ch = 0; ch < SONG_CHANNELS; ch++) {
                const Voice& v = sequencer.voices[ch];
                if (!v.active) continue;
                float left = 1.0f - (float)(v.age - v.attack) / (float)(v.duration - v.attack);
                loop_env[ch] = v.age < v.attack ? (float)v.age / v.attack : std::pow(left, v.decay);
            }
        audio_mix(&out[(size_t)i], 1);
    }
    Level l = level(out);
    // The largest step between neighbouring samples across the loop point, against the song's own.
    size_t at = (size_t)loop * tick;
    float jump_loop = 0, jump_all = 0;
    for (size_t i = 1; i < out.size(); i++) {
        float j = std::fabs(out[i] - out[i - 1]);
        jump_all = std::fmax(jump_all, j);
        if (i + 64 > at && i < at + 64) jump_loop = std::fmax(jump_loop, j);
    }
    std::printf("%-22s %5d ms  peak %.3f  rms %.3f%s  loop at %.2f s\n", name, (int)(total * 1000 / RATE), l.peak,
                l.rms, l.clipped ? "  CLIPPED" : "", (double)at / RATE);
    std::printf("  cut notes by channel: %d %d %d %d; envelopes in the last sample before the loop: %.3f %.3f %.3f %.3f\n",
                cut[0], cut[1], cut[2], cut[3], loop_env[0], loop_env[1], loop_env[2], loop_env[3]);
    std::printf("  largest sample step: %.3f at the loop point, %.3f in the whole song\n", jump_loop, jump_all);
    std::string png = dir + "/" + name;
    png.replace(png.size() - 4, 4, ".png");
    return write_wav(dir + "/" + name, out) && write_wave_png(png, out, at) ? 0 : 1;
}

void bench() {
    audio_globals_reset();
    play_song(SONG_FIGHT);
    float block[BLOCK];
    audio_mix(block, BLOCK);
    const int rounds = 2000;
    double worst = 0, sum = 0;
    for (int r = 0; r < rounds; r++) {
        // Keep every voice busy with a long note on a curved release (a powf per sample).
        for (Voice& v : sfx_voices)
            if (!v.active) voice_start(&v, WAVE_NOISE, 0, 3000, 900, RATE * 4, 96, 0.05f, 2.0f);
        for (int i = 0; i < SONG_CHANNELS; i++)
            if (!sequencer.voices[i].active)
                voice_start(&sequencer.voices[i], i == 3 ? WAVE_NOISE : WAVE_PULSE, 0.25f, 220, 220, RATE, 288,
                            0.05f, 1.5f);
        auto t0 = std::chrono::steady_clock::now();
        audio_mix(block, BLOCK);
        auto t1 = std::chrono::steady_clock::now();
        double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
        sum += us;
        worst = std::fmax(worst, us);
    }
    double block_us = BLOCK * 1e6 / RATE;
    std::printf("audio_mix of %d samples, 8 effect and 4 music voices busy: mean %.1f us (%.2f %% of %.0f us), "
                "worst %.1f us\n",
                BLOCK, sum / rounds, 100.0 * sum / rounds / block_us, block_us, worst);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--bench") == 0) {
        bench();
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: qm_audio_render OUT_DIR | --bench\n");
        return 2;
    }
    std::string dir = argv[1];
    int failures = render_effects(dir);
    failures += render_song(dir, SONG_MAIN, "song_main.wav", 32);
    failures += render_song(dir, SONG_FIGHT, "song_fight.wav", 48);
    if (failures) std::fprintf(stderr, "%d files could not be written to %s\n", failures, dir.c_str());
    return failures ? 1 : 0;
}
