// The console-case art: recolouring known colours, decoding the built-in sets and damaged ones,
// the colour index and its fallback, the A/B label swap, and the spotlight and sheen steps.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/case_art.h"
#include "platform/case_art_data.h"
#include "platform/case_layers.h"
#include "platform/case_layers_internal.h"
#include "platform/case_recolor.h"
#include "platform/case_sheen.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/palette.h"
#include "render/screen.h"
#include "services/services.h"
#include "world/buttons.h"

namespace {

void png_append(void* ctx, void* data, int size) {
    auto* v = static_cast<std::vector<uint8_t>*>(ctx);
    v->insert(v->end(), (const uint8_t*)data, (const uint8_t*)data + size);
}

// A w x h PNG from ARGB words.
std::vector<uint8_t> png_of(const std::vector<uint32_t>& argb, int w, int h) {
    std::vector<uint8_t> rgba(argb.size() * 4), out;
    for (size_t i = 0; i < argb.size(); i++) {
        rgba[4 * i] = (uint8_t)(argb[i] >> 16);
        rgba[4 * i + 1] = (uint8_t)(argb[i] >> 8);
        rgba[4 * i + 2] = (uint8_t)argb[i];
        rgba[4 * i + 3] = (uint8_t)(argb[i] >> 24);
    }
    stbi_write_png_to_func(png_append, &out, w, h, 4, rgba.data(), w * 4);
    return out;
}

struct CaseArt : ::testing::Test {
    void SetUp() override {
        layout_set_portrait();
        case_select_model(CASE_16_9);
        case_set_swap_ab(0);
        case_set_color(CASE_COLOR_DEFAULT);
    }
    void TearDown() override {
        case_set_swap_ab(0);
        case_set_color(CASE_COLOR_DEFAULT);
        case_shine_on = 0;
        layout_set_portrait();
        case_select_model(CASE_16_9);
    }
};

}  // namespace

TEST(CaseRecolor, KnownColours) {
    // Labels: white turns dark on the pale cases, other marked pixels only become opaque.
    EXPECT_EQ(case_recolor(0xFEFFFFFF, CASE_BEIGE), 0xFF2E3038u);
    EXPECT_EQ(case_recolor(0xFEFFFFFF, CASE_LIGHT_GREY), 0xFF2E3038u);
    EXPECT_EQ(case_recolor(0xFE808080, CASE_BEIGE), 0xFF808080u);
    EXPECT_EQ(case_recolor(0xFEFFFFFF, 13), 0xFFFFFFFFu);
    // The art's own blue: unchanged for SOLID BLUE, shifted for SOLID GREEN, ramped for BLACK.
    EXPECT_EQ(case_recolor(0xFF0000FF, CASE_SOLID_BLUE), 0xFF0000FFu);
    EXPECT_EQ(case_recolor(0xFF0000FF, 13), 0xFF00FF33u);       // hue 240 -> 132
    EXPECT_EQ(case_recolor(0xFF0000FF, CASE_BLACK), 0xFF555963u);  // full value: the ramp's top
    EXPECT_EQ(case_recolor(0x800000FF, CASE_BLACK), 0x80555963u);  // alpha kept
    EXPECT_EQ(case_recolor(0xFF000033, CASE_BLACK), 0xFF050507u);  // value 0.2: the ramp's foot
    // The plain pad's body follows the case colour.
    case_set_color(CASE_SOLID_BLUE);
    EXPECT_EQ(PAD_COLORS[0], 0xFF2860C8u);
    case_set_color(CASE_BLACK);
    EXPECT_EQ(PAD_COLORS[0], case_recolor(0xFF2860C8, CASE_BLACK));
    case_set_color(CASE_COLOR_DEFAULT);
}

TEST(CaseRecolor, ColoursOutsideTheBlueAndGreysKeepTheirColour) {
    const uint32_t green100 = 0xFF55CC00;  // hue 100
    for (int c = 0; c < CASE_COLOUR_TABLE; c++) {
        EXPECT_EQ(case_recolor(green100, c), green100) << c;
        EXPECT_EQ(case_recolor(0xFF808080, c), 0xFF808080u) << c;
        EXPECT_EQ(case_recolor(0xFF000000, c), 0xFF000000u) << c;
        EXPECT_EQ(case_recolor_rainbow(green100, 3, 4, 10, 10), green100);
    }
    // Hue 190 is inside the hue shift's window but outside the ramps'.
    EXPECT_EQ(case_recolor(0xFF00AACC, CASE_BEIGE), 0xFF00AACCu);
    EXPECT_NE(case_recolor(0xFF00AACC, 13), 0xFF00AACCu);
}

TEST_F(CaseArt, OutOfRangeColoursAndModelsFallBack) {
    case_set_color(20);
    EXPECT_EQ(case_color_current(), CASE_COLOR_DEFAULT);
    case_set_color(CASE_BLACK);
    case_set_color(-3);
    EXPECT_EQ(case_color_current(), CASE_COLOR_DEFAULT);
    case_select_model(5);
    EXPECT_EQ(case_model, CASE_PHONE);
    case_select_model(-1);
    EXPECT_EQ(case_model, CASE_PHONE);
    int x, y;
    case_point_from_window(-1, -1, &x, &y);
    EXPECT_EQ(x, -1 - CASE_MARGINS[CASE_PHONE][0].left);
    EXPECT_EQ(y, -1 - CASE_MARGINS[CASE_PHONE][0].top);
}

TEST_F(CaseArt, EveryModelAndOrientationDecodesAtTheWindowSize) {
    EXPECT_TRUE(case_art_load());
    for (int model = 0; model < CASE_MODEL_COUNT; model++)
        for (int land = 0; land < 2; land++) {
            if (land) layout_set_landscape();
            else layout_set_portrait();
            case_select_model(model);
            const uint32_t* sheet = nullptr;
            CaseLayer layers[CASE_LAYERS_MAX];
            int n = 0;
            ASSERT_TRUE(case_get_layers(&sheet, layers, &n, CASE_LAYERS_MAX)) << model << " " << land;
            EXPECT_EQ(n, 8);
            const CaseLayerSet* s = case_current_layers();
            EXPECT_EQ(s->width, case_picture_width());
            EXPECT_EQ(s->height, case_picture_height());
            EXPECT_FALSE(s->distinct.empty());
            // Every button lies on the case outside the screen area.
            const CaseMargins m = case_margins();
            const ScreenRect& v = screen_layout.view;
            for (int i = 0; i < n; i++) {
                const bool apart = layers[i].x + layers[i].width <= 3 * (m.left + v.x0) ||
                                   layers[i].x >= 3 * (m.left + v.x1 + 1) ||
                                   layers[i].y + layers[i].height <= 3 * (m.top + v.y0) ||
                                   layers[i].y >= 3 * (m.top + v.y1 + 1);
                EXPECT_TRUE(apart) << model << " " << land << " key " << (int)layers[i].key;
            }
        }
}

TEST_F(CaseArt, PlainPadColoursAndTheOwnSetShowNoArt) {
    const uint32_t* sheet;
    CaseLayer layers[CASE_LAYERS_MAX];
    int n;
    case_set_color(CASE_PLAIN_PAD_COLOUR);
    EXPECT_FALSE(case_get_layers(&sheet, layers, &n, CASE_LAYERS_MAX));
    case_set_color(2);  // the first set's colours: empty
    EXPECT_FALSE(case_get_layers(&sheet, layers, &n, CASE_LAYERS_MAX));
    case_set_color(CASE_BLACK);
    EXPECT_TRUE(case_get_layers(&sheet, layers, &n, 3));
    EXPECT_EQ(n, 3);  // no more than asked for
}

TEST_F(CaseArt, SolidBlueComposesTheSourceWithOpaqueLabels) {
    case_set_color(CASE_SOLID_BLUE);
    const CaseLayerSet* s = case_current_layers();
    ASSERT_TRUE(s->loaded);
    int marked = 0;
    for (size_t i = 0; i < s->source.size(); i++) {
        const uint32_t p = s->source[i];
        if (p >> 24 == 0xFE) {
            marked++;
            EXPECT_EQ(s->composed[i], p | 0xFF000000u);
        } else {
            ASSERT_EQ(s->composed[i], p) << i;
        }
    }
    EXPECT_GT(marked, 100);
}

TEST_F(CaseArt, IndexedComposingMatchesPixelByPixel) {
    for (int c : {(int)CASE_BEIGE, (int)CASE_BLACK, 13, (int)CASE_RAINBOW, (int)CASE_GOLD}) {
        case_set_color(c);
        const CaseLayerSet* s = case_current_layers();
        ASSERT_TRUE(s->loaded);
        for (size_t i = 0; i < s->source.size(); i += 97) {
            const int x = (int)(i % (size_t)s->width), y = (int)(i / (size_t)s->width);
            const uint32_t want = c == CASE_RAINBOW ? case_recolor_rainbow(s->source[i], x, y, s->width, s->height)
                                                    : case_recolor(s->source[i], c);
            ASSERT_EQ(s->composed[i], want) << c << " at " << x << "," << y;
        }
        const CaseButtonLayer& b = s->buttons[4];
        EXPECT_EQ(b.composed[0], c == CASE_RAINBOW ? case_recolor_rainbow(b.source[0], b.x, b.y, s->width, s->height)
                                                   : case_recolor(b.source[0], c));
    }
}

TEST(CaseLayers, MoreThan65536ColoursFallBackToPixelByPixel) {
    const int w = 300, h = 300;  // 90,000 colours
    std::vector<uint32_t> px((size_t)w * h);
    for (size_t i = 0; i < px.size(); i++) px[i] = 0xFF000000u | (uint32_t)(i * 167u + 0x1000u);
    const std::vector<uint8_t> png = png_of(px, w, h);
    const CaseArtDescriptor d = {.kind = CASE_ART_KIND, .sheet_png = png.data(), .sheet_bytes = (uint32_t)png.size(),
                                 .buttons = nullptr, .button_count = 0};
    CaseLayerSet s;
    case_layers_load(s, &d, 1, w, h);
    ASSERT_TRUE(s.loaded);
    EXPECT_TRUE(s.distinct.empty());
    EXPECT_TRUE(s.index.empty());
    for (size_t i = 0; i < px.size(); i += 131) ASSERT_EQ(s.composed[i], case_recolor(px[i], case_color_current()));

    // Exactly 65,536 colours still index.
    std::vector<uint32_t> few((size_t)256 * 256);
    for (size_t i = 0; i < few.size(); i++) few[i] = 0xFF000000u | (uint32_t)i;
    const std::vector<uint8_t> png2 = png_of(few, 256, 256);
    const CaseArtDescriptor d2 = {.kind = CASE_ART_KIND, .sheet_png = png2.data(),
                                  .sheet_bytes = (uint32_t)png2.size(), .buttons = nullptr, .button_count = 0};
    case_layers_load(s, &d2, 1, 256, 256);
    ASSERT_TRUE(s.loaded);
    EXPECT_EQ(s.distinct.size(), 65536u);
}

TEST(CaseLayers, DamagedOrMisfittingArtStaysUnloaded) {
    std::vector<uint32_t> px(40 * 30, 0xFF2860C8);
    std::vector<uint8_t> png = png_of(px, 40, 30);
    const std::vector<uint32_t> btn(10 * 10, 0xFF102030);
    const std::vector<uint8_t> bpng = png_of(btn, 10, 10);
    const CaseArtButton buttons[3] = {
        {.key = 16, .x = 5, .y = 5, .png = bpng.data(), .png_bytes = (uint32_t)bpng.size()},
        {.key = 32, .x = 35, .y = 5, .png = bpng.data(), .png_bytes = (uint32_t)bpng.size()},  // past the edge
        {.key = 64, .x = -1, .y = 5, .png = bpng.data(), .png_bytes = (uint32_t)bpng.size()},
    };
    CaseArtDescriptor d = {.kind = CASE_ART_KIND, .sheet_png = png.data(), .sheet_bytes = (uint32_t)png.size(),
                           .buttons = buttons, .button_count = 3};
    CaseLayerSet s;
    case_layers_load(s, &d, 1, 40, 30);
    ASSERT_TRUE(s.loaded);
    EXPECT_EQ(s.button_count, 1);  // the two that do not lie on the sheet are skipped
    case_layers_load(s, &d, 1, 41, 30);
    EXPECT_FALSE(s.loaded);
    d.kind = 2;
    case_layers_load(s, &d, 1, 40, 30);
    EXPECT_FALSE(s.loaded);
    d.kind = CASE_ART_KIND;
    for (size_t cut : {(size_t)0, (size_t)8, png.size() / 2}) {
        std::vector<uint8_t> bad(png.begin(), png.begin() + (long)cut);
        d.sheet_png = bad.empty() ? nullptr : bad.data();
        d.sheet_bytes = (uint32_t)bad.size();
        case_layers_load(s, &d, 1, 40, 30);
        EXPECT_FALSE(s.loaded) << cut;
    }
    std::vector<uint8_t> flipped = png;
    for (size_t i = 40; i < flipped.size(); i += 7) flipped[i] ^= 0x5A;
    d.sheet_png = flipped.data();
    d.sheet_bytes = (uint32_t)flipped.size();
    case_layers_load(s, &d, 1, 40, 30);
    EXPECT_FALSE(s.loaded);
}

TEST_F(CaseArt, SwappingTheLabelsExchangesTheCentreSquaresAndTwiceRestores) {
    case_set_color(CASE_SOLID_BLUE);
    const CaseLayerSet* s = case_current_layers();
    ASSERT_TRUE(s->loaded);
    const std::vector<uint32_t> before = s->source;
    const CaseButtonLayer *a = nullptr, *b = nullptr;
    for (int i = 0; i < s->button_count; i++) {
        if (s->buttons[i].key == CASE_KEY_A) a = &s->buttons[i];
        if (s->buttons[i].key == CASE_KEY_B) b = &s->buttons[i];
    }
    ASSERT_TRUE(a && b);
    const std::vector<uint32_t> a_pressed = a->source;
    const int h = a->width / 2;  // 79 x 79 buttons: squares of 39
    const int ax = a->x + (a->width - h) / 2, ay = a->y + (a->height - h) / 2;
    const int bx = b->x + (b->width - h) / 2, by = b->y + (b->height - h) / 2;
    const uint32_t gen = case_art_generation;
    case_set_swap_ab(1);
    case_current_layers();
    EXPECT_NE(case_art_generation, gen);  // recomposed
    for (int r = 0; r < h; r++)
        for (int c = 0; c < h; c++) {
            ASSERT_EQ(s->source[(size_t)(ay + r) * s->width + ax + c], before[(size_t)(by + r) * s->width + bx + c]);
            ASSERT_EQ(s->source[(size_t)(by + r) * s->width + bx + c], before[(size_t)(ay + r) * s->width + ax + c]);
        }
    // Just outside the squares nothing moved.
    EXPECT_EQ(s->source[(size_t)(ay - 1) * s->width + ax], before[(size_t)(ay - 1) * s->width + ax]);
    EXPECT_EQ(s->composed[(size_t)(ay + 5) * s->width + ax + 5], s->source[(size_t)(ay + 5) * s->width + ax + 5]);
    EXPECT_NE(a->source, a_pressed);  // the pressed pictures swap their letters too
    case_set_swap_ab(0);
    case_current_layers();
    EXPECT_EQ(s->source, before);
    EXPECT_EQ(a->source, a_pressed);
}

TEST(CaseSpotlight, EasesTowardsTheRequestAndBack) {
    for (int i = 0; i < 200; i++) button_glow_step(0);
    EXPECT_EQ(button_glow_level(), 0);
    button_glow_step(CASE_KEY_A);
    EXPECT_EQ(button_glow_level(), 51);  // a fifth of the gap
    EXPECT_EQ(button_glow_which(), CASE_KEY_A);
    for (int i = 0; i < 40; i++) button_glow_step(CASE_KEY_A);
    EXPECT_EQ(button_glow_level(), 255);
    button_glow_step(0);
    EXPECT_EQ(button_glow_level(), 204);
    EXPECT_EQ(button_glow_which(), CASE_KEY_A);  // kept while it fades
    for (int i = 0; i < 60; i++) button_glow_step(0);
    EXPECT_EQ(button_glow_level(), 0);
}

TEST_F(CaseArt, TheSheenRunsOnlyOnTheGoldAndRainbowCasesWithShineOn) {
    int w, h;
    case_shine_on = 1;
    EXPECT_FALSE(sheen_active());
    EXPECT_EQ(sheen_band(&w, &h), nullptr);
    case_set_color(CASE_GOLD);
    EXPECT_TRUE(sheen_active());
    ASSERT_NE(sheen_band(&w, &h), nullptr);
    EXPECT_EQ(w, 2 * case_picture_width());
    EXPECT_EQ(h, case_picture_height());
    const uint32_t* mask = case_glow_map(&w, &h);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(w, case_picture_width());
    int lit = 0;
    for (int i = 0; i < w * h; i++) lit += (mask[i] & 0xFF) != 0;
    EXPECT_GT(lit, w * h / 4);  // the gold body shines
    case_shine_on = 0;
    EXPECT_FALSE(sheen_active());
    for (int i = 0; i < 5000; i++) sheen_update();
    // The sheen stays within its swing of +-1.2, so the band's shift stays within -1.4 W .. 0.4 W.
    const int off = sheen_offset(), w0 = case_picture_width();
    EXPECT_GE(off, -w0 * 14 / 10);
    EXPECT_LE(off, w0 * 4 / 10);
}

// The frame loop's composition keeps the case part of its own window picture while nothing on it
// changes; every frame must still be the picture a full composition makes, whatever changed.
TEST_F(CaseArt, KeptCasePartMatchesAFullCompositionFrameAfterFrame) {
    layout_set_landscape();
    case_select_model(CASE_16_9);
    CaseArtView art;
    ASSERT_TRUE(case_art_view_current(&art));
    ASSERT_GT(art.layer_count, 0);
    const size_t n = (size_t)art.width * art.height;
    std::vector<uint32_t> kept(n), full(n);
    struct Step {
        uint8_t pressed;
        int32_t glow_level;
        uint8_t outline;
        uint8_t screen;  // framebuffer fill
        int32_t ghosting, palette, effect;
    };
    const uint8_t key = art.layers[0].key;
    const Step steps[] = {
        {0, 0, 0, 1, 0, PAL_SLATE, EFFECT_LCD},     {0, 0, 0, 2, 0, PAL_SLATE, EFFECT_LCD},
        {BTN_A, 0, 0, 2, 0, PAL_SLATE, EFFECT_LCD}, {BTN_A, 0, 0, 3, 0, PAL_SLATE, EFFECT_LCD},
        {0, 0, 0, 3, 0, PAL_SLATE, EFFECT_LCD},     {0, 200, 0, 1, 0, PAL_SLATE, EFFECT_LCD},
        {0, 200, 0, 2, 0, PAL_SLATE, EFFECT_LCD},   {0, 120, 0, 2, 0, PAL_SLATE, EFFECT_LCD},
        {0, 0, key, 0, 0, PAL_SLATE, EFFECT_LCD},   {0, 0, 0, 0, 0, PAL_SLATE, EFFECT_LCD},
        {0, 0, 0, 0, 0, PAL_SLATE, EFFECT_FLAT},    {0, 0, 0, 0, 0, PAL_AMBER, EFFECT_FLAT},
        {0, 0, 0, 2, 3, PAL_SLATE, EFFECT_LCD},     {0, 0, 0, 0, 3, PAL_SLATE, EFFECT_LCD},
        {0, 0, 0, 0, 3, PAL_SLATE, EFFECT_CRT},     {0, 0, 0, 1, 3, PAL_AMBER, EFFECT_CRT},
        {0, 0, 0, 1, 0, PAL_RAINBOW, EFFECT_CRT},   {0, 0, 0, 2, 2, PAL_RAINBOW, EFFECT_LCD},
        {BTN_LEFT, 0, 0, 2, 2, PAL_SLATE, EFFECT_LCD}};
    const int32_t saved_ghost = ghosting_applied, saved_palette = screen_palette, saved_effect = screen_effect;
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; i++) {
        const Step& s = steps[i];
        CaseArtView a = art;
        a.glow_mask = nullptr;  // no sheen: the case part can be kept
        a.glow_level = s.glow_level;
        a.glow_which = key;
        a.outline_mask = s.outline;
        ghosting_applied = s.ghosting;
        screen_palette = s.palette;
        screen_effect = s.effect;
        std::memset(framebuffer, s.screen, FB_BYTES);
        framebuffer[(FB_BYTES / 2) + (int)i] = 3;  // and one pixel that moves
        compose_frame_begin();
        compose_window_cpu_frame(kept.data(), s.pressed, &a);
        compose_window_cpu_with(full.data(), s.pressed, &a);
        ASSERT_TRUE(kept == full) << "step " << i;
        if (i == 4) {
            // Someone else writes into the kept picture: the next frame composes it whole again.
            compose_window_cpu_with(kept.data(), BTN_A, &a);
        }
    }
    ghosting_applied = saved_ghost;
    screen_palette = saved_palette;
    screen_effect = saved_effect;
    layout_set_portrait();
}

TEST_F(CaseArt, ComposedFrameShowsPressedButtonsAndTheScreenWhereTheLayoutPutsIt) {
    for (int land = 0; land < 2; land++) {
        if (land) layout_set_landscape();
        else layout_set_portrait();
        case_select_model(CASE_16_10);
        CaseArtView art;
        ASSERT_TRUE(case_art_view_current(&art));
        std::vector<uint32_t> pixels((size_t)art.width * art.height);
        std::memset(framebuffer, 3, FB_BYTES);
        compose_frame_begin();
        compose_window_cpu_with(pixels.data(), BTN_A | BTN_LEFT, &art);
        const ComposeGeometry g = compose_geometry();
        const CaseMargins m = case_margins();
        EXPECT_EQ(g.screen_x, 3 * (m.left + screen_layout.view.x0));
        EXPECT_EQ(g.screen_y, 3 * (m.top + screen_layout.view.y0));
        // Pressed buttons show their pressed pictures, released ones the sheet.
        for (int i = 0; i < art.layer_count; i++) {
            const CaseLayer& l = art.layers[i];
            const size_t at = (size_t)(l.y + l.height / 2) * art.width + l.x + l.width / 2;
            const uint32_t want = (l.key & (BTN_A | BTN_LEFT)) ? l.picture[(size_t)(l.height / 2) * l.width + l.width / 2]
                                                               : art.sheet[at];
            EXPECT_EQ(pixels[at], want) << (int)l.key;
        }
        // Just outside the screen area the case shows; inside, the screen.
        const size_t corner = (size_t)(g.screen_y - 1) * art.width + g.screen_x - 1;
        EXPECT_EQ(pixels[corner], art.sheet[corner]);
        const size_t inside = (size_t)g.screen_y * art.width + g.screen_x;
        EXPECT_NE(pixels[inside], art.sheet[inside]);
    }
}

// Damaged art never crashes the decoder: random byte changes, cuts and growth of the built-in
// pictures either decode or are refused. QM_FUZZ_ROUNDS makes a longer run.
TEST(CaseLayers, FuzzedPicturesDecodeOrAreRefused) {
    const CaseArtDescriptor* d = CASE_ART_SETS[1][CASE_16_9][0];
    ASSERT_NE(d, nullptr);
    const char* env = std::getenv("QM_FUZZ_ROUNDS");
    const int rounds = env ? std::atoi(env) : 3000;
    uint32_t seed = 0x2468ACE1u;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed;
    };
    int refused = 0;
    for (int i = 0; i < rounds; i++) {
        const CaseArtButton& b = d->buttons[next() % (uint32_t)d->button_count];
        std::vector<uint8_t> bytes(b.png, b.png + b.png_bytes);
        const int flips = 1 + (int)(next() % 8);
        for (int f = 0; f < flips; f++) bytes[next() % bytes.size()] ^= (uint8_t)(1u << (next() % 8));
        if (next() % 4 == 0) bytes.resize(next() % bytes.size());
        if (next() % 8 == 0) bytes.resize(bytes.size() + next() % 64, (uint8_t)next());
        std::vector<uint32_t> out;
        int w = 0, h = 0;
        if (!png_load_rgba(bytes.empty() ? nullptr : bytes.data(), (uint32_t)bytes.size(), out, &w, &h)) refused++;
        else EXPECT_EQ(out.size(), (size_t)w * h);
    }
    EXPECT_GT(refused, 0);
}
