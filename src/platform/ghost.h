// LCD ghosting: each screen pixel's shown colour eases toward its new palette colour over a few
// frames, except inside sharp rectangles. Both compositors show the colours kept here.
#pragma once
#include <cstdint>

// Blends the view's new palette colours into the history, once per frame serial; with ghosting
// off it only forgets the remembered size, so switching it on starts unblended.
void ghost_update(uint32_t frame_serial);
// The colours to show on framebuffer row y of the view after ghost_update, as red, green, blue
// bytes, three per pixel from x = 0.
const uint8_t* ghost_row(int y);
// For framebuffer row y, per pixel the framebuffer value (below 0x80) whose palette colour the
// history holds, or 0x80; null when no such record is kept (rainbow palette, ghosting off).
const uint8_t* ghost_settled_row(int y);
// One channel step: snaps within 2 of the target, else moves (256 - strength) / 256 of the way.
int ghost_channel(int old_value, int new_value, int strength);
