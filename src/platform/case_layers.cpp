// The decoded case sets: PNG decoding, the colour index of each set, composing a set in the case
// colour, the A/B label swap and the choice of the set the compositor shows. Called by start-up,
// the settings, the frame loop (F3, F5) and the compositors.
#include "platform/case_layers.h"

#include <stb_image.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "platform/case_art.h"
#include "platform/case_art_data.h"
#include "platform/case_layers_internal.h"
#include "platform/case_recolor.h"
#include "platform/palette.h"
#include "render/screen.h"

namespace {

constexpr uint32_t INDEX_SLOTS = 131072;
constexpr uint32_t INDEX_COLOURS_MAX = 65536;
constexpr uint32_t PLAIN_PAD_BODY = 0xFF2860C8;  // the art's blue, as the plain pad's body

// [art set][model][orientation], plus the reserved set of case colour 8, which stays empty.
CaseLayerSet case_sets[CASE_ART_SET_COUNT][CASE_MODEL_COUNT][2];
CaseLayerSet case_own_set;
bool case_set_decoded[CASE_ART_SET_COUNT][CASE_MODEL_COUNT];

int32_t case_colour = CASE_COLOR_DEFAULT;
int32_t case_swap_ab = 0;

// Every colour of the sheet and the buttons gets a 16-bit index; false when there are too many.
bool index_colours(CaseLayerSet& s) {
    std::vector<uint32_t> keys(INDEX_SLOTS);
    std::vector<int32_t> slot_index(INDEX_SLOTS, -1);
    s.distinct.clear();
    auto index_of = [&](uint32_t c, uint16_t* out) {
        uint32_t slot = (c * 0x9E3779B1u) >> 15;
        while (slot_index[slot] >= 0 && keys[slot] != c) slot = (slot + 1) & (INDEX_SLOTS - 1);
        if (slot_index[slot] < 0) {
            if (s.distinct.size() >= INDEX_COLOURS_MAX) return false;
            keys[slot] = c;
            slot_index[slot] = (int32_t)s.distinct.size();
            s.distinct.push_back(c);
        }
        *out = (uint16_t)slot_index[slot];
        return true;
    };
    s.index.resize(s.source.size());
    for (size_t i = 0; i < s.source.size(); i++)
        if (!index_of(s.source[i], &s.index[i])) return false;
    for (int b = 0; b < s.button_count; b++) {
        CaseButtonLayer& l = s.buttons[b];
        l.index.resize(l.source.size());
        for (size_t i = 0; i < l.source.size(); i++)
            if (!index_of(l.source[i], &l.index[i])) return false;
    }
    return true;
}

void drop_indices(CaseLayerSet& s) {
    s.index = {};
    s.distinct = {};
    s.recoloured = {};
    for (int b = 0; b < s.button_count; b++) s.buttons[b].index = {};
}

// A picture recoloured without index maps, reusing the last result while pixels repeat.
void recolour_plain(const std::vector<uint32_t>& src, std::vector<uint32_t>& out, int colour, int w, int h, int ox,
                    int oy, int sheet_w, int sheet_h) {
    out.resize(src.size());
    uint32_t last_in = 0, last_out = 0;
    bool have = false;
    for (size_t i = 0; i < src.size(); i++) {
        const uint32_t p = src[i];
        if (colour == CASE_RAINBOW) {
            const int x = ox + (int)(i % (size_t)w), y = oy + (int)(i / (size_t)w);
            out[i] = case_recolor_rainbow(p, x, y, sheet_w, sheet_h);
            continue;
        }
        if (!have || p != last_in) {
            last_in = p;
            last_out = case_recolor(p, colour);
            have = true;
        }
        out[i] = last_out;
    }
    (void)h;
}

void recolour_indexed(const std::vector<uint16_t>& idx, std::vector<uint32_t>& out, const CaseLayerSet& s,
                      int colour, int w, int ox, int oy) {
    out.resize(idx.size());
    if (colour == CASE_RAINBOW) {
        for (size_t i = 0; i < idx.size(); i++) {
            const int x = ox + (int)(i % (size_t)w), y = oy + (int)(i / (size_t)w);
            const int step = case_rainbow_step(x, y, s.width, s.height);
            out[i] = s.recoloured[(size_t)idx[i] * RAINBOW_STEPS + step];
        }
        return;
    }
    for (size_t i = 0; i < idx.size(); i++) out[i] = s.recoloured[idx[i]];
}

void compose_pictures(CaseLayerSet& s, int colour) {
    const bool indexed = !s.distinct.empty();
    if (indexed) {
        const size_t per = colour == CASE_RAINBOW ? RAINBOW_STEPS : 1;
        s.recoloured.resize(s.distinct.size() * per);
        for (size_t i = 0; i < s.distinct.size(); i++) {
            if (colour == CASE_RAINBOW)
                for (int l = 0; l < RAINBOW_STEPS; l++)
                    s.recoloured[i * RAINBOW_STEPS + l] = case_rainbow_variant(s.distinct[i], l);
            else
                s.recoloured[i] = case_recolor(s.distinct[i], colour);
        }
        recolour_indexed(s.index, s.composed, s, colour, s.width, 0, 0);
    } else {
        recolour_plain(s.source, s.composed, colour, s.width, s.height, 0, 0, s.width, s.height);
    }
    for (int b = 0; b < s.button_count; b++) {
        CaseButtonLayer& l = s.buttons[b];
        if (indexed) recolour_indexed(l.index, l.composed, s, colour, l.width, l.x, l.y);
        else recolour_plain(l.source, l.composed, colour, l.width, l.height, l.x, l.y, s.width, s.height);
    }
}

void swap_squares(std::vector<uint32_t>& pix, std::vector<uint16_t>* idx, int stride, int ax, int ay, int bx, int by,
                  int h) {
    for (int r = 0; r < h; r++)
        for (int c = 0; c < h; c++) {
            const size_t a = (size_t)(ay + r) * stride + ax + c, b = (size_t)(by + r) * stride + bx + c;
            std::swap(pix[a], pix[b]);
            if (idx && !idx->empty()) std::swap((*idx)[a], (*idx)[b]);
        }
}

}  // namespace

// Decodes one descriptor into a set; the set stays unloaded when the sheet is not the expected size.
void case_layers_load(CaseLayerSet& s, const CaseArtDescriptor* d, int art_set, int want_w, int want_h) {
    s = CaseLayerSet{};
    s.art_set = art_set;
    if (!d || d->kind != CASE_ART_KIND) return;
    int w = 0, h = 0;
    if (!png_load_rgba(d->sheet_png, d->sheet_bytes, s.source, &w, &h) || w != want_w || h != want_h) {
        s.source = {};
        return;
    }
    s.width = w;
    s.height = h;
    const int n = d->button_count < CASE_ART_BUTTONS_READ ? d->button_count : CASE_ART_BUTTONS_READ;
    for (int i = 0; i < n && d->buttons; i++) {
        const CaseArtButton& src = d->buttons[i];
        CaseButtonLayer& l = s.buttons[s.button_count];
        if (!png_load_rgba(src.png, src.png_bytes, l.source, &l.width, &l.height)) continue;
        if (src.x < 0 || src.y < 0 || src.x + l.width > w || src.y + l.height > h) {
            l = CaseButtonLayer{};
            continue;
        }
        l.x = src.x;
        l.y = src.y;
        l.key = src.key;
        s.button_count++;
    }
    s.loaded = true;
    try {
        if (!index_colours(s)) drop_indices(s);
    } catch (const std::bad_alloc&) {
        drop_indices(s);
    }
    case_layers_swap_ab(s, case_swap_ab);
    case_layers_rebuild(s, case_colour);
}

namespace {

void decode_set(int art_set, int model) {
    if (case_set_decoded[art_set][model]) return;
    case_set_decoded[art_set][model] = true;
    for (int o = 0; o < 2; o++) {
        const CaseMargins m = CASE_MARGINS[model][o];
        const int fw = o ? FB_LONG : FB_SHORT, fh = o ? FB_SHORT : FB_LONG;
        case_layers_load(case_sets[art_set][model][o], CASE_ART_SETS[art_set][model][o], art_set,
                    3 * (m.left + fw + m.right), 3 * (m.top + fh + m.bottom));
    }
}

}  // namespace

uint32_t case_art_generation = 0;

bool png_load_rgba(const uint8_t* bytes, uint32_t len, std::vector<uint32_t>& out, int* w, int* h) {
    if (!bytes || len == 0 || len > 0x7FFFFFFF) return false;
    int n = 0;
    stbi_uc* px = stbi_load_from_memory(bytes, (int)len, w, h, &n, 4);
    if (!px) return false;
    bool ok = true;
    try {
        out.resize((size_t)*w * *h);
        for (size_t i = 0; i < out.size(); i++) {
            const stbi_uc* p = px + 4 * i;
            out[i] = (uint32_t)p[3] << 24 | (uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2];
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    stbi_image_free(px);
    return ok;
}

void case_layers_rebuild(CaseLayerSet& s, int colour) {
    if (!s.loaded || (s.colour == colour && !s.composed.empty())) return;
    case_art_generation++;
    try {
        compose_pictures(s, colour);
    } catch (const std::bad_alloc&) {
        s.composed = s.source;
        for (int b = 0; b < s.button_count; b++) s.buttons[b].composed = s.buttons[b].source;
    }
    s.colour = colour;
}

void case_layers_swap_ab(CaseLayerSet& s, int on) {
    if (!s.loaded || s.swap_ab == on) return;
    s.swap_ab = on;
    CaseButtonLayer *a = nullptr, *b = nullptr;
    for (int i = 0; i < s.button_count; i++) {
        if (s.buttons[i].key == CASE_KEY_A && !a) a = &s.buttons[i];
        if (s.buttons[i].key == CASE_KEY_B && !b) b = &s.buttons[i];
    }
    if (a && b) {
        int h = a->width;
        for (int v : {a->height, b->width, b->height}) h = v < h ? v : h;
        h /= 2;
        if (h > 0) {
            swap_squares(s.source, &s.index, s.width, a->x + (a->width - h) / 2, a->y + (a->height - h) / 2,
                         b->x + (b->width - h) / 2, b->y + (b->height - h) / 2, h);
            if (a->width == b->width && a->height == b->height) {
                const int ox = (a->width - h) / 2, oy = (a->height - h) / 2;
                for (int r = 0; r < h; r++)
                    for (int c = 0; c < h; c++) {
                        const size_t k = (size_t)(oy + r) * a->width + ox + c;
                        std::swap(a->source[k], b->source[k]);
                        if (!a->index.empty() && !b->index.empty()) std::swap(a->index[k], b->index[k]);
                    }
            }
        }
    }
    for (int i = 0; i < s.button_count; i++) s.buttons[i].composed = {};
    s.composed = {};
    s.colour = -1;
}

int case_orientation_now() { return screen_layout.landscape ? 1 : 0; }

void case_select_model(int model) {
    if (model < 0 || model >= CASE_MODEL_COUNT) model = 0;
    case_model = model;
    decode_set(0, model);
    for (int o = 0; o < 2; o++) case_layers_rebuild(case_sets[0][model][o], case_colour);
}

// The first set is empty, so the case colours' own set is decoded too: start-up only falls back to
// the plain pad when neither decodes.
bool case_art_load() {
    const int model = case_model >= 0 && case_model < CASE_MODEL_COUNT ? case_model : 0;
    bool any = false;
    for (int set = 0; set < CASE_ART_SET_COUNT; set++) {
        decode_set(set, model);
        any = any || (case_sets[set][model][0].loaded && case_sets[set][model][1].loaded);
    }
    return any;
}

void case_set_color(int colour) {
    if (colour < 0 || colour >= CASE_COLOR_COUNT) colour = CASE_COLOR_DEFAULT;
    PAD_COLORS[0] = case_recolor(PLAIN_PAD_BODY, colour);
    if (colour == case_colour) return;
    case_colour = colour;
    const int model = case_model >= 0 && case_model < CASE_MODEL_COUNT ? case_model : 0;
    for (int o = 0; o < 2; o++) case_layers_rebuild(case_sets[0][model][o], colour);
}

int case_color_current() { return case_colour; }

void case_set_swap_ab(int on) {
    on = on ? 1 : 0;
    if (on == case_swap_ab) return;
    case_swap_ab = on;
    for (auto& set : case_sets)
        for (auto& model : set)
            for (CaseLayerSet& s : model) {
                case_layers_swap_ab(s, on);
                // The shown first set follows at once; the others when they are next used.
                if (s.art_set == 0) case_layers_rebuild(s, case_colour);
            }
}

CaseLayerSet* case_current_layers() {
    const int model = case_model >= 0 && case_model < CASE_MODEL_COUNT ? case_model : 0;
    const int o = case_orientation_now();
    const int c = case_colour;
    if (c == CASE_PLAIN_PAD_COLOUR) return &case_own_set;
    CaseLayerSet* first = &case_sets[0][model][o];
    if (c == CASE_GOLD || c == CASE_RAINBOW || c >= CASE_BEIGE) {
        decode_set(1, model);
        if (case_sets[1][model][0].loaded && case_sets[1][model][1].loaded) {
            CaseLayerSet* s = &case_sets[1][model][o];
            case_layers_rebuild(*s, c);
            return s;
        }
    }
    return first;
}

bool case_get_layers(const uint32_t** sheet, CaseLayer* layers, int* count, int max) {
    *count = 0;
    *sheet = nullptr;
    const CaseLayerSet* s = case_current_layers();
    if (!s->loaded || s->composed.empty()) return false;
    if (s->width != case_picture_width() || s->height != case_picture_height()) return false;
    *sheet = s->composed.data();
    for (int i = 0; i < s->button_count && *count < max; i++) {
        const CaseButtonLayer& l = s->buttons[i];
        if (l.composed.empty()) continue;
        layers[(*count)++] = {l.composed.data(), l.width, l.height, l.x, l.y, l.key};
    }
    return true;
}
