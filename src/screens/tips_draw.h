// The training spotlight: the view darkened but for a target rectangle, framed, with a caption.
#pragma once
#include "render/screen.h"

// Darkens the view outside (x, y, w, h) widened by 3 pixels, frames it and puts the caption
// (placeholders expanded) in a box below it, or above it when below does not fit. With
// `clear_behind` the lines the caption's box touches are first cleared whole (on a card, where it
// would cut a line of text in half: the bag's item card, the level-up's next card).
void draw_spotlight(int x, int y, int w, int h, const char* caption, bool clear_behind = false);
// What the training's tip box or its end prompt covers, the shadow included; false when neither
// is up.
bool tip_box_area(ScreenRect* area);
// Clears behind the tip box or the end prompt, when one is up, within the frame it stands in.
void tip_clear_behind();
