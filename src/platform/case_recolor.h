// Recolouring one pixel of the case art to a case colour; used by the case sets and the plain pad.
#pragma once
#include <cstdint>

constexpr int CASE_COLOUR_TABLE = 18;
// Case colours the recolouring treats specially.
enum CaseColourId : int {
    CASE_UNCHANGED = 0,
    CASE_GOLD = 6,
    CASE_RAINBOW = 7,
    CASE_BEIGE = 9,
    CASE_BLACK = 10,
    CASE_LIGHT_GREY = 11,
    CASE_SOLID_BLUE = 12,
};
constexpr int RAINBOW_STEPS = 128;

// One ARGB pixel in case colour c. Marked pixels (alpha 0xFE, the labels) keep their hue and come
// out opaque; pixels outside the art's blue keep their colour.
uint32_t case_recolor(uint32_t argb, int c);
// The rainbow case: the hue follows the pixel's place (x, y) on a w x h sheet.
uint32_t case_recolor_rainbow(uint32_t argb, int x, int y, int w, int h);
// The rainbow step 0..127 of a sheet position, and the pixel's variant at that step.
int case_rainbow_step(int x, int y, int w, int h);
uint32_t case_rainbow_variant(uint32_t argb, int step);
