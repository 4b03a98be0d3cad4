// Case model selection, margins and pointer mapping; called by start-up, the frame loop (F3, F5)
// and the pointer input.
#include "platform/case_art.h"

#include "render/screen.h"

const CaseMargins CASE_MARGINS[CASE_MODEL_COUNT][2] = {
    {{6, 6, 22, 4}, {13, 13, 6, 6}},     // PHONE: portrait, landscape
    {{22, 23, 6, 18}, {12, 12, 18, 27}},  // 16:9
    {{33, 33, 6, 18}, {12, 12, 26, 40}},  // 16:10
};

const char* const CASE_MODEL_NAMES[CASE_MODEL_COUNT] = {"PHONE", "16:9", "16:10"};

const char* const CASE_COLOR_NAMES[CASE_COLOR_COUNT] = {
    "", "", "", "", "", "", "", "", "", "BEIGE", "BLACK", "", "SOLID BLUE", "SOLID GREEN", "", "", "", ""};

int32_t case_model = CASE_16_9;

CaseMargins case_margins() {
    int m = (case_model >= 0 && case_model < CASE_MODEL_COUNT) ? case_model : 0;
    return CASE_MARGINS[m][screen_layout.landscape ? 1 : 0];
}

int case_picture_width() {
    CaseMargins m = case_margins();
    return 3 * (m.left + screen_layout.width + m.right);
}

int case_picture_height() {
    CaseMargins m = case_margins();
    return 3 * (m.top + screen_layout.height + m.bottom);
}

static int floor_div3(int v) { return v >= 0 ? v / 3 : -((-v + 2) / 3); }

void case_point_from_window(int x, int y, int* out_x, int* out_y) {
    CaseMargins m = case_margins();
    *out_x = floor_div3(x) - m.left;
    *out_y = floor_div3(y) - m.top;
}
