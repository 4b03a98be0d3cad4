// Rectangle arithmetic of the button spotlight and the hint outlines, shared by both compositors.
#include <cmath>

#include "platform/case_layers.h"

CaseRect glow_rect(CaseRect b) { return {b.x - 9, b.y - 9, b.w + 18, b.h + 18}; }

int rect_proximity(int x, int y, CaseRect r) {
    int dx = 0, dy = 0;
    if (x < r.x) dx = r.x - x;
    else if (x >= r.x + r.w) dx = x - (r.x + r.w) + 1;
    if (y < r.y) dy = r.y - y;
    else if (y >= r.y + r.h) dy = y - (r.y + r.h) + 1;
    if (dx > 23 || dy > 23) return 150;
    float d = sqrtf((float)(dx * dx + dy * dy));
    if (d >= 24.0f) return 150;
    return (int)(d * 150.0f / 24.0f + 0.5f);
}

void case_outline_rect(CaseRect b, CaseRect bars[4]) {
    bars[0] = {b.x - 3, b.y - 6, b.w + 6, 3};
    bars[1] = {b.x - 3, b.y + b.h + 3, b.w + 6, 3};
    bars[2] = {b.x - 6, b.y - 3, 3, b.h + 6};
    bars[3] = {b.x + b.w + 3, b.y - 3, 3, b.h + 6};
}
