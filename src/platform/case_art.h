// The console-case model and its margins around the framebuffer, and pointer mapping onto the case.
// The case pictures themselves (decoding, recolouring, buttons, sheen) build on this.
#pragma once
#include <cstdint>

enum CaseModel : int32_t { CASE_PHONE = 0, CASE_16_9 = 1, CASE_16_10 = 2, CASE_MODEL_COUNT = 3 };

struct CaseMargins {
    int32_t left, right, top, bottom;
};

// [model][landscape]
extern const CaseMargins CASE_MARGINS[CASE_MODEL_COUNT][2];
extern const char* const CASE_MODEL_NAMES[CASE_MODEL_COUNT];

constexpr int CASE_COLOR_COUNT = 18;
constexpr int CASE_COLOR_DEFAULT = 9;       // BEIGE
constexpr int CASE_PLAIN_PAD_COLOUR = 8;    // a set of its own that holds no art: the plain pad
// Names of the case colours; only the selectable ones have a name, the rest are empty.
extern const char* const CASE_COLOR_NAMES[CASE_COLOR_COUNT];
extern int32_t case_model;

// The margins of the current model and orientation.
CaseMargins case_margins();
// Window-picture size (3 x (margins + framebuffer)) of the current model and orientation.
int case_picture_width();
int case_picture_height();

void case_select_model(int model);
// Case colour 0..17; anything else becomes 9 (BEIGE).
void case_set_color(int colour);
// Exchanges the A and B labels of the case pictures when on.
void case_set_swap_ab(int on);
bool case_art_load();
void case_point_from_window(int x, int y, int* out_x, int* out_y);
