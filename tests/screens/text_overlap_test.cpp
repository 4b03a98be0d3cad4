// Every screen, in both layouts and with the keyboard's and a PS5 controller's longest button
// names: the text record of each drawn frame holds no two runs of text over or against each
// other, no run off the view, across a frame line, a rule line or a status border, none cut by a
// box drawn after it or by the edge of its list, no row box cut by its list's edge, no label plate
// laid across a frame line, no box or shadow drawn across another box's outline or a slot's frame,
// no frame line taken out behind a box but under a dialog wider than a screen's frame, and no
// footer that lost a hint for room. One walk over every state
// and page and the boxes that open over them (the failed save's box wherever a run saves, the
// training's tips); a finding names the screen, the layout, the names and the texts. With
// QM_PNG_DIR set, the first frame of each finding is written out to look at.
// What the check does not see: the record holds texts, fills, outlines drawn with screen_rect,
// lines drawn with screen_hline or screen_vline and the status borders, so a line or frame drawn
// pixel by pixel (screen_pixel, screen_line, circles: corner lights, the hold ring, drawn marks)
// is never checked, and a picture (a sprite, an icon, a blit) drawn over a text or a frame line
// hides or cuts it unseen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "boons/boons.h"
#include "camp/camp.h"
#include "classes/class_select.h"
#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/fx.h"
#include "combat/meters.h"
#include "combat/reflex.h"
#include "combat/status.h"
#include "combat/training.h"
#include "combat/turn_fight.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "game/bag_screen.h"
#include "game/game.h"
#include "game/load_floor.h"
#include "game/menus.h"
#include "game/run_start.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/item.h"
#include "levelup/levelup.h"
#include "platform/input.h"
#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "render/text_runs.h"
#include "saves/settings.h"
#include "screens/bag_draw.h"
#include "screens/controls.h"
#include "screens/run_end.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "screens/unlocks_list.h"
#include "services/confirm.h"
#include "services/toast.h"
#include "shrine/shrine.h"
#include "support/fresh_game.h"
#include "support/item_maker.h"
#include "support/png_out.h"
#include "support/tick_reset.h"
#include "world/bag_view.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/glyphs.h"
#include "world/player.h"

namespace {

// The keyboard's longest fixed key names (A on ENTER, B on SPACE, SELECT on SHIFT, START ESC)
// and the PS5 controller's (CROSS, CIRCLE, CREATE, OPTIONS).
constexpr int SC_ENTER = 40, SC_SPACE_KEY = 44, SC_SHIFT = 225;
enum Names { NAMES_KEYBOARD, NAMES_PS5, NAMES_COUNT };
const char* const NAMES_TEXT[NAMES_COUNT] = {"keyboard", "PS5 pad"};

void names_use(int names) {
    bindings_default();
    settings.key_binds[action_of_mask(BTN_A)][0] = SC_ENTER;
    settings.key_binds[action_of_mask(BTN_B)][0] = SC_SPACE_KEY;
    settings.key_binds[action_of_mask(BTN_SELECT)][0] = SC_SHIFT;
    input_device_set(names == NAMES_PS5 ? INPUT_PAD : INPUT_KEYBOARD);
    pad_glyph_style_set(PAD_PS5);
}

void layout_use(int portrait) { portrait ? layout_set_portrait() : layout_set_landscape(); }

// ---- The check over one frame's record ----

int gap(int a0, int a1, int b0, int b1) { return std::max(a0, b0) - std::min(a1, b1) - 1; }

bool inside(const TextBox& a, int x0, int y0, int x1, int y1) {
    return a.x0 >= x0 && a.x1 <= x1 && a.y0 >= y0 && a.y1 <= y1;
}

bool meets(int ax0, int ay0, int ax1, int ay1, int bx0, int by0, int bx1, int by1) {
    return ax0 <= bx1 && bx0 <= ax1 && ay0 <= by1 && by0 <= ay1;
}

std::string quoted(const TextRun& r) { return "\"" + std::string(r.text) + "\""; }

// Whether a box filled between two draws hides the piece of a frame line.
bool piece_hidden(int x0, int y0, int x1, int y1, int after, int before) {
    for (int i = 0; i < text_runs.cover_count; i++) {
        const TextBox& c = text_runs.covers[i];
        if (c.seq > after && c.seq < before && c.x0 <= x0 && c.x1 >= x1 && c.y0 <= y0 && c.y1 >= y1) return true;
    }
    return false;
}

// Whether the box (x0, y0)-(x1, y1), drawn at `seq`, meets a line of the frame that still shows
// there: a line drawn after it, or before it with no box filled in between over that spot.
bool box_on_frame_line(int x0, int y0, int x1, int y1, int seq, const TextBox& f) {
    if (!meets(x0, y0, x1, y1, f.x0, f.y0, f.x1, f.y1)) return false;
    if (x0 > f.x0 && x1 < f.x1 && y0 > f.y0 && y1 < f.y1) return false;
    const int sides[4][4] = {{f.x0, f.y0, f.x1, f.y0}, {f.x0, f.y1, f.x1, f.y1}, {f.x0, f.y0, f.x0, f.y1},
                             {f.x1, f.y0, f.x1, f.y1}};
    for (const auto& s : sides) {
        if (!meets(x0, y0, x1, y1, s[0], s[1], s[2], s[3])) continue;
        const int px0 = std::max(x0, s[0]), py0 = std::max(y0, s[1]), px1 = std::min(x1, s[2]), py1 = std::min(y1, s[3]);
        if (seq < f.seq || !piece_hidden(px0, py0, px1, py1, f.seq, seq)) return true;
    }
    return false;
}

bool same_rect(const TextBox& a, const TextBox& b) { return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1; }

// A fill a pixel wide or high along one of the frame's lines, drawn after it: the clearing behind
// a box taking that line out, not a box over it.
bool erases_line(const TextBox& c, const TextBox& f) {
    const bool column = c.x0 == c.x1 && (c.x0 == f.x0 || c.x0 == f.x1) && c.y0 >= f.y0 && c.y1 <= f.y1;
    const bool row = c.y0 == c.y1 && (c.y0 == f.y0 || c.y0 == f.y1) && c.x0 >= f.x0 && c.x1 <= f.x1;
    return c.seq > f.seq && (column || row);
}

// Whether every line of the frame went whole (a panel drawn in the screen's place over it).
bool outline_gone(const TextBox& f) {
    const int sides[4][4] = {{f.x0, f.y0, f.x1, f.y0}, {f.x0, f.y1, f.x1, f.y1}, {f.x0, f.y0, f.x0, f.y1},
                             {f.x1, f.y0, f.x1, f.y1}};
    for (const auto& s : sides)
        if (!piece_hidden(s[0], s[1], s[2], s[3], f.seq, text_runs.seq + 1)) return false;
    return true;
}

// A box's outline: drawn on a fill of its own rectangle (the box's body), or inside such an
// outline (its inner outline). A screen's frame has no body of its own.
bool box_outline(const TextBox& f) {
    for (int g = 0; g < text_runs.frame_count; g++) {
        const TextBox& o = text_runs.frames[g];
        if (o.seq > f.seq || !inside(f, o.x0, o.y0, o.x1, o.y1)) continue;
        for (int i = 0; i < text_runs.cover_count; i++)
            if (text_runs.covers[i].seq < o.seq && same_rect(text_runs.covers[i], o)) return true;
    }
    return false;
}

// What a dialog covers: a fill with its shadow, the fill of the same size drawn just before or
// after it.
TextBox dialog_of(const TextBox& b) {
    TextBox d = b;
    for (int i = 0; i < text_runs.cover_count; i++) {
        const TextBox& c = text_runs.covers[i];
        const bool pair = (c.seq == b.seq - 1 || c.seq == b.seq + 1) && c.x1 - c.x0 == b.x1 - b.x0 &&
                          c.y1 - c.y0 == b.y1 - b.y0 && meets(c.x0, c.y0, c.x1, c.y1, b.x0, b.y0, b.x1, b.y1);
        if (!pair) continue;
        d = {std::min(d.x0, c.x0), std::min(d.y0, c.y0), std::max(d.x1, c.x1), std::max(d.y1, c.y1), d.seq};
    }
    return d;
}

// A frame's line taken out along a box's rows passes only where a dialog drawn over that spot is
// wider than the frame, so the frame's sides run behind it; never on another box's outline.
bool erasure_allowed(const TextBox& e, const TextBox& f) {
    if (box_outline(f)) return false;
    for (int i = 0; i < text_runs.cover_count; i++) {
        const TextBox& b = text_runs.covers[i];
        if (b.seq <= e.seq || erases_line(b, f) || !meets(b.x0, b.y0, b.x1, b.y1, e.x0, e.y0, e.x1, e.y1)) continue;
        const TextBox d = dialog_of(b);
        if (d.x0 <= f.x0 && d.x1 >= f.x1 && d.y0 <= e.y0 && d.y1 >= e.y1) return true;
    }
    return false;
}

// The first box drawn over a spot after `seq` that takes out no line of the frame (seq 0: none).
TextBox box_over(const TextBox& e, const TextBox& f) {
    for (int i = 0; i < text_runs.cover_count; i++) {
        const TextBox& b = text_runs.covers[i];
        if (b.seq > e.seq && !erases_line(b, f) && meets(b.x0, b.y0, b.x1, b.y1, e.x0, e.y0, e.x1, e.y1)) return b;
    }
    return {0, 0, 0, 0, 0};
}

// A run's ink lies wholly inside a frame's inner space or clear of it; it may touch a line (a
// toast's or the compass's letters stand against their box by design), never cross one.
bool run_on_frame(const TextRun& r, const TextBox& f) {
    return box_on_frame_line(r.box.x0, r.box.y0, r.box.x1, r.box.y1, r.box.seq, f);
}

// A label's plate lies within a frame (its own outline among them) or clear of it, not across it.
bool plate_on_frame(const TextBox& p, const TextBox& f) {
    if (p.x0 >= f.x0 && p.x1 <= f.x1 && p.y0 >= f.y0 && p.y1 <= f.y1) return false;
    return box_on_frame_line(p.x0, p.y0, p.x1, p.y1, p.seq, f);
}

// A frame drawn again after `seq` shows whole whatever was drawn over it before.
bool redrawn(const TextBox& frame, int seq) {
    for (int i = 0; i < text_runs.frame_count; i++)
        if (text_runs.frames[i].seq > seq && same_rect(text_runs.frames[i], frame)) return true;
    return false;
}

// A label's plate is checked as the label's own.
bool a_plate(const TextBox& fill) {
    for (int i = 0; i < text_runs.run_count; i++)
        if (text_runs.runs[i].plate.seq == fill.seq) return true;
    return false;
}

// What a finding about a box calls it: its corners and the first text that stands in it.
std::string box_named(const char* what, const TextBox& b) {
    char at[64];
    std::snprintf(at, sizeof at, "%s (%d,%d)-(%d,%d)", what, b.x0, b.y0, b.x1, b.y1);
    std::string named = at;
    for (int i = 0; i < text_runs.run_count; i++)
        if (inside(text_runs.runs[i].box, b.x0, b.y0, b.x1, b.y1)) return named + " around " + quoted(text_runs.runs[i]);
    return named;
}

bool in_sharp_rect(int x, int y) {
    for (int i = 0; i < sharp_rects.count; i++) {
        const int32_t* s = sharp_rects.rects[i];
        if (x >= s[0] && x <= s[2] && y >= s[1] && y <= s[3]) return true;
    }
    for (int i = 0; i < text_runs.spared_count; i++) {
        const TextBox& s = text_runs.spared[i];
        if (x >= s.x0 && x <= s.x1 && y >= s.y0 && y <= s.y1) return true;
    }
    return false;
}

bool run_in_band(const TextRun& r, const TextBand& b) {
    for (int y = r.box.y0; y <= r.box.y1; y++)
        for (int x = r.box.x0; x <= r.box.x1; x++) {
            if (x < b.x0 || x > b.x1 || y < b.y0 || y > b.y1) continue;
            const bool in = x < b.x0 + b.left || x > b.x1 - b.right || y < b.y0 + b.top || y > b.y1 - b.bottom;
            if (in && !(b.spare_sharp && in_sharp_rect(x, y))) return true;
        }
    return false;
}

// Every finding of the frame just drawn, one line each.
std::vector<std::string> frame_findings() {
    std::vector<std::string> out;
    const ScreenRect& v = screen_layout.view;
    if (text_runs.dropped) out.push_back("the text record was full: " + std::to_string(text_runs.dropped) + " dropped");
    for (int i = 0; i < text_runs.cut_hint_count; i++)
        out.push_back("\"" + std::string(text_runs.cut_hints[i]) + "\" loses its last hint for want of room");
    // A box drawn over a frame and not within it (a shadow, a tip over a bag slot) breaks the
    // frame's outline where its edge crosses; one standing on the outline continues it.
    for (int c = 0; c < text_runs.cover_count; c++)
        for (int f = 0; f < text_runs.frame_count; f++) {
            const TextBox &b = text_runs.covers[c], &l = text_runs.frames[f];
            if (l.seq > b.seq || inside(b, l.x0, l.y0, l.x1, l.y1)) continue;
            // The console picture beside the view is drawn to its own plan, cross over trim.
            if (!inside(l, v.x0, v.y0, v.x1, v.y1) && !inside(b, v.x0, v.y0, v.x1, v.y1)) continue;
            if (!box_on_frame_line(b.x0, b.y0, b.x1, b.y1, b.seq, l) || a_plate(b) || redrawn(l, b.seq)) continue;
            out.push_back("the " + box_named("frame", l) + " is cut by the " + box_named("box", b) + " drawn over it");
        }
    // The clearing behind a box may take a frame's line out: where the box is a dialog wider than
    // a screen's frame, and where the whole outline goes (a panel in the screen's place). Anywhere
    // else the line shows cut beside the box, though no box lies across it.
    for (int f = 0; f < text_runs.frame_count; f++) {
        const TextBox& l = text_runs.frames[f];
        if (outline_gone(l) && !box_outline(l)) continue;
        for (int c = 0; c < text_runs.cover_count; c++) {
            const TextBox& e = text_runs.covers[c];
            if (!erases_line(e, l) || erasure_allowed(e, l) || redrawn(l, e.seq)) continue;
            const TextBox over = box_over(e, l);
            const std::string by = over.seq ? " under the " + box_named("box", over) : " with no box over it";
            const char* why = box_outline(l) ? ", over another box's outline"
                              : over.seq     ? ", which is not wider than it"
                                             : "";
            out.push_back("the " + box_named("frame", l) + " has its line taken out" + by + why);
            break;
        }
    }
    // A list's edge cuts a row's box off even where the row's text stays whole above it.
    for (int f = 0; f < text_runs.frame_count; f++)
        if (text_runs.frame_cut[f]) out.push_back("the " + box_named("row box", text_runs.frames[f]) + " is cut by the edge of its list");
    for (int i = 0; i < text_runs.run_count; i++) {
        const TextRun& r = text_runs.runs[i];
        bool placed = inside(r.box, v.x0, v.y0, v.x1, v.y1);
        for (int p = 0; p < screen_layout.panel_count && !placed; p++) {
            const ScreenRect& pr = screen_layout.panels[p];
            placed = inside(r.box, pr.x0, pr.y0, pr.x1, pr.y1);
        }
        if (!placed) {
            out.push_back(quoted(r) + " crosses the view's edge");
            continue;
        }
        if (r.cut_by) {
            out.push_back(quoted(r) + " is cut by a box drawn over it");
            continue;
        }
        // A clipped list shows its rows whole or not at all.
        if (r.box.y1 - r.box.y0 + 1 < (FONT_CELL_H - 1) * r.cell) {
            out.push_back(quoted(r) + " is cut by the edge of its list");
            continue;
        }
        bool framed = false;
        for (int f = 0; f < text_runs.frame_count && !framed; f++)
            if (run_on_frame(r, text_runs.frames[f])) {
                out.push_back(quoted(r) + " lies on a frame line");
                framed = true;
            }
        // A label's plate may not hide a frame line that no box hid before it.
        for (int f = 0; f < text_runs.frame_count && !framed && r.plate.seq; f++)
            if (plate_on_frame(r.plate, text_runs.frames[f])) {
                out.push_back(quoted(r) + " has its plate over a frame line");
                framed = true;
            }
        for (int l = 0; l < text_runs.rule_count && !framed; l++)
            if (box_on_frame_line(r.box.x0, r.box.y0, r.box.x1, r.box.y1, r.box.seq, text_runs.rules[l])) {
                out.push_back(quoted(r) + " is crossed by a rule line");
                framed = true;
            }
        for (int b = 0; b < text_runs.band_count && !framed; b++)
            if (run_in_band(r, text_runs.bands[b])) {
                out.push_back(quoted(r) + " lies under the status border");
                framed = true;
            }
        // Runs side by side need two dark columns (one reads as a letter space), runs one above
        // the other one dark row.
        for (int j = i + 1; j < text_runs.run_count; j++) {
            const TextRun& o = text_runs.runs[j];
            if (o.cut_by) continue;
            const int h = gap(r.box.x0, r.box.x1, o.box.x0, o.box.x1), g = gap(r.box.y0, r.box.y1, o.box.y0, o.box.y1);
            if (h < 2 && g < 1) out.push_back(quoted(r) + " and " + quoted(o) + " run into each other");
        }
    }
    return out;
}

// ---- What the walk already knows it finds ----

// Findings a screen means to make, each by its screen and the texts it names. An entry whose
// finding is gone is printed as no longer seen: take it off then.
struct Expected {
    const char* screen;
    const char* text;
    const char* other;  // a second text the finding names, or nullptr
};
const Expected INTENDED[] = {
    // The training's caption box is a call-out under the spotlit cell: wherever it stands in the
    // bag's grid it covers cell lines, as it is meant to.
    {"TRAINING BAG", "\"PRESS ", "has its plate over a frame line"},
};

template <int N>
bool listed(const Expected (&list)[N], const std::string& screen, const std::string& finding, std::vector<int>* seen) {
    for (int i = 0; i < N; i++) {
        const Expected& e = list[i];
        if (screen.rfind(e.screen, 0) != 0) continue;
        if (finding.find(e.text) == std::string::npos) continue;
        if (e.other && finding.find(e.other) == std::string::npos) continue;
        (*seen)[i]++;
        return true;
    }
    return false;
}

// ---- The walk ----

// Opens the item card of the cell (or hand) under a fresh cursor and lets it ease in; false when
// nothing there opens one.
bool bag_card_opened(int zone, int col, int row) {
    bag_view_reset();
    bag_view.zone = zone;
    bag_view.col = col;
    bag_view.row = row;
    update_bag(BTN_A, BTN_A);
    update_bag(0, 0);
    if (!bag_item_card_open()) return false;
    for (int i = 0; i < 60; i++) bag_screen_ease();
    return true;
}


// A run's save fails with the box up on entering a play state, on SAVE & QUIT and on a window
// closed in any state of a run (the duel pauses first; the way out closes before it saves).
bool save_box_can_rise() {
    if (!run_active || message_box_open) return false;
    switch (game_state) {
    case STATE_DUNGEON: return !way_out_open;
    case STATE_COMBAT: return !combat_is_reflex();
    case STATE_PAUSE:
    case STATE_BAG:
    case STATE_CAMP:
    case STATE_LEVELUP:
    case STATE_OPTIONS:
    case STATE_CONTROLS: return true;
    default: return false;
    }
}

struct Walk {
    int names = 0, portrait = 0;
    int frames = 0, pictures = 0;
    std::vector<std::string> failures;
    std::set<std::string> told, pictured;
    std::vector<int> seen_intended = std::vector<int>(std::size(INTENDED), 0);

    // Draws the whole frame as the game would and checks what it shows; where a run's save can
    // fail there, again with the "SAVE FAILED!" box over it.
    void look(const std::string& screen) {
        look_drawn(screen, [] { draw_frame(); });
        if (!save_box_can_rise()) return;
        std::snprintf(message_box_text, sizeof message_box_text, "SAVE FAILED!");
        message_box_open = 1;
        look_drawn(screen + " save failed", [] { draw_frame(); });
        message_box_open = 0;
    }
    // The same for a screen drawn by hand.
    void look_drawn(const std::string& screen, const std::function<void()>& draw) {
        names_use(names);  // the scene's own set-up may have put the settings back
        text_runs_start();
        screen_clear();
        draw();
        text_runs_stop();
        frames++;
        const std::string where = screen + " (" + (portrait ? "portrait" : "landscape") + ", " + NAMES_TEXT[names] + ")";
        const std::vector<std::string> found = frame_findings();
        // With QM_PNG_DIR set, the first frame of each finding on each screen is written out.
        bool fresh = false;
        for (const std::string& f : found) fresh |= pictured.insert(screen.substr(0, screen.find(' ')) + f).second;
        if (fresh) {
            char name[64];
            std::snprintf(name, sizeof name, "text_overlap_%03d.png", pictures++);
            if (png_write_framebuffer(name, 2)) std::printf("%s: %s\n", name, where.c_str());
        }
        for (const std::string& f : found) {
            if (listed(INTENDED, screen, f, &seen_intended)) continue;
            const std::string line = where + ": " + f;
            if (told.insert(line).second) failures.push_back(line);
        }
    }
};

// A KNIGHT's run standing on its first floor with full hands and a bag of gear.
void run_with_gear() {
    tick_globals_reset(STATE_DUNGEON);
    knight_run_start(0x5EED1234u);
    run_active = 1;
    input_guard_ticks = 0;
    frame_counter = 100;
    player.gold = 1234;
    player.level = 12;
    player.hp = 31;
    player.main_hand = test_item(ITEM_LONG_SWORD, 2, 1, ENCHANT_VAMPIRIC, 3);
    player.off_hand = test_item(ITEM_IRON_SHIELD, 1, 0, 0, 1);
    bag_add(player.bag, test_item(ITEM_ENCHANTED_SWORD, 2, 0, ENCHANT_MIGHTY), 1);
    bag_add(player.bag, test_item(ITEM_BATTLE_AXE, 1, 0, 0, 5), 1);
    bag_add(player.bag, test_item(ITEM_TOWER_SHIELD), 1);
    bag_add(player.bag, test_item(ITEM_ANTIDOTE), 3);
    Item junk = test_item(ITEM_DAGGER);
    junk.junk = 1;
    bag_add(player.bag, junk, 1);
    for (int k = 1; k < M_COUNT; k++) {
        profile.met |= 1u << k;
        profile.slain[k] = 100 * k + 7;
    }
}

// A fight with a monster of `kind` in the run with gear, a duel or the classic view, its log and
// meters full.
void fight_start(int kind, int duel) {
    run_with_gear();
    bag_add(player.bag, test_item(ITEM_HEALING_POTION), 2);
    bag_add(player.bag, test_item(ITEM_SUPERIOR_POTION), 1);
    reflex_fights = (uint8_t)duel;
    game_state = STATE_COMBAT;
    start_combat(kind, player.x + 1, player.y);
    game_state = STATE_COMBAT;
    combat_log_push("ORC SMASHES 15");
    combat_log_push("YOU HIT FOR 12");
    flow = 720;
    combo = 30;
    threat_total = 40;
    settings.flashes = 1;
}

// The screen each training tip comes up on.
int tip_state(int id) {
    if (id >= TIP_CAMP && id <= TIP_FORGE) return STATE_CAMP;
    switch (id) {
    case TIP_FIND_WAY: case TIP_NO_SHIELD: case TIP_SHIELD: case TIP_POTION: case TIP_ANTIDOTE: case TIP_POISONED:
    case TIP_SKELETON: return STATE_DUNGEON;
    case TIP_SHIELD_ON: case TIP_CURED: return STATE_BAG;
    case TIP_LEVEL_UP: case TIP_BOON_AGAIN: case TIP_BOON_NEW: return STATE_LEVELUP;
    default: return STATE_COMBAT;
    }
}

// A training run on its second floor with every tip marked shown, on `state`: the dungeon, the
// bag over it, a duel with a rat, the level-up's fixed pick or the camp's hub.
void training_on(int state) {
    tick_globals_reset(STATE_DUNGEON);
    knight_run_start(0x5EED1234u);
    training_start();
    floor_begin(1);
    load_training_map(1);
    run_active = 1;
    input_guard_ticks = 0;
    tips.shown = (1u << TIP_COUNT) - 1u;
    if (state == STATE_BAG) {
        player.off_hand = item_make(ITEM_WOODEN_SHIELD);  // the tips there come once it is on
        state_under_pause = STATE_DUNGEON;
        bag_view_reset();
    } else if (state == STATE_COMBAT) {
        reflex_fights = 1;
        start_combat(M_RAT, player.x + 1, player.y);
    } else if (state == STATE_LEVELUP) {
        player.level = 2;
        player.xp = 0;
        levelup.pending = 1;
        ASSERT_TRUE(levelup_open(LevelupMode{true}));
    } else if (state == STATE_CAMP) {
        camp_enter();
        camp_page = CAMP_PAGE_HUB;
    }
    game_state = state;
}

// What a run's pause menu opens over.
enum Paused { PAUSED_DUNGEON, PAUSED_CAMP, PAUSED_CLASSIC_FIGHT, PAUSED_DUEL, PAUSED_COUNT };

void paused_over(int under) {
    if (under == PAUSED_CLASSIC_FIGHT || under == PAUSED_DUEL) {
        fight_start(M_ORC, under == PAUSED_DUEL);
    } else {
        run_with_gear();
        if (under == PAUSED_CAMP) {
            current_floor = 6;
            camp_enter();
            game_state = STATE_CAMP;
        }
    }
    state_under_pause = game_state;
    pause_cursor = 0;
    game_state = STATE_PAUSE;
}

// The options opened from the title (no run), or from a run's pause menu over the dungeon or the
// camp.
constexpr int FROM_TITLE = -1;
void options_from_place(int from) {
    if (from == FROM_TITLE)
        tick_globals_reset(STATE_TITLE);
    else
        paused_over(from);
    options_from = from == FROM_TITLE ? STATE_TITLE : STATE_PAUSE;
}

// A profile that has played a long while and owns most of the shrine.
void seasoned_profile() {
    profile.souls = 12345;
    profile.runs = 137;
    profile.runs_won = 14;
    profile.runs_lost = 123;
    profile.best_level = 19;
    profile.gold_gained = 987654;
    profile.seconds = 123 * 3600 + 45 * 60;
    profile.flags |= PROFILE_FLAG_TRAINING_SKIPPED;
    for (int row = 0; row < unlock_count(); row++) {
        const int bit = unlock_bit(row);
        if (bit >= 0 && row != 3) profile.unlocks[bit / 32] |= 1u << (bit % 32);  // all but one owned
    }
}

using Scene = std::function<void(Walk&)>;

// Each scene puts the game in place and looks at every page and cursor row it has.
std::vector<std::pair<const char*, Scene>> scenes() {
    std::vector<std::pair<const char*, Scene>> s;
    s.push_back({"POWER-ON", [](Walk& w) {
                     tick_globals_reset(STATE_POWER_ON);
                     // The logo drops in from above the view on purpose; from 60 on it stands.
                     for (int t : {-1, 60, 200}) {
                         power_on_counter = t;
                         w.look("POWER-ON " + std::to_string(t));
                     }
                 }});
    s.push_back({"SPLASH", [](Walk& w) {
                     tick_globals_reset(STATE_SPLASH);
                     for (int t : {SPLASH_TICKS, SPLASH_TICKS / 2, 10}) {
                         splash_timer = t;
                         w.look("SPLASH " + std::to_string(t));
                     }
                 }});
    s.push_back({"TITLE", [](Walk& w) {
                     tick_globals_reset(STATE_TITLE);
                     seasoned_profile();
                     for (int c = 0; c < 6; c++) {
                         title_cursor = c;
                         title_slide_tick = -1000;
                         w.look("TITLE row " + std::to_string(c));
                     }
                     for (const TitleNoticeText& t : TITLE_NOTICE_TEXTS) {
                         toast_show2(t.line1, t.line2);
                         w.look(std::string("TITLE notice ") + t.line1 + " / " + t.line2);
                     }
                     toast_timer = 0;
                     consent_open = 1;
                     w.look("TITLE consent");
                     consent_open = 0;
                     for (const char* q : {"ABANDON THIS RUN?", "PLAY THE TRAINING?"}) {
                         confirm_open = 1;
                         std::snprintf(confirm_question, sizeof confirm_question, "%s", q);
                         w.look(std::string("TITLE confirm ") + q);
                     }
                     confirm_open = 0;
                 }});
    s.push_back({"OPTIONS", [](Walk& w) {
                     // Over the title, and over a run's pause menu.
                     for (int from : {FROM_TITLE, (int)PAUSED_DUNGEON, (int)PAUSED_CAMP}) {
                         options_from_place(from);
                         seasoned_profile();        // the art unlocked: the MONSTERS row shows
                         settings.monster_art = 0;  // "HAND-DRAWN", the longer value
                         settings.case_color = 6;   // a case with the SHINE row
                         options_open(options_from);
                         for (int32_t page : {OPTIONS_TOP, (int32_t)OPT_PAGE_DISPLAY, (int32_t)OPT_PAGE_APPEARANCE,
                                              (int32_t)OPT_PAGE_SOUND, (int32_t)OPT_PAGE_GAMEPLAY}) {
                             options_page = page;
                             int32_t rows[OPTION_COUNT];
                             const int n = options_visible_rows(rows);
                             for (int i = 0; i < n; i++) {
                                 options_cursor = rows[i];
                                 w.look("OPTIONS page " + std::to_string(page) + " row " + std::to_string(i) +
                                        " from " + std::to_string(from));
                             }
                         }
                     }
                     // Every row of the appearance page, those the unlocks hide included, over the title.
                     const int32_t all[] = {OPT_CASE, OPT_SHINE, OPT_PALETTE, OPT_MONSTERS, OPT_BACK};
                     for (int i = 0; i < (int)std::size(all); i++)
                         w.look_drawn("OPTIONS APPEARANCE every row, row " + std::to_string(i), [&] {
                             OptionsView view{};
                             view.page = OPT_PAGE_APPEARANCE;
                             view.cursor = all[i];
                             view.count = (int)std::size(all);
                             for (int k = 0; k < view.count; k++) view.ids[k] = all[k];
                             draw_options(view);
                         });
                 }});
    s.push_back({"CONTROLS", [](Walk& w) {
                     for (int from : {FROM_TITLE, (int)PAUSED_DUNGEON, (int)PAUSED_CAMP}) {
                         options_from_place(from);
                         game_state = STATE_CONTROLS;
                         const std::string base = "CONTROLS from " + std::to_string(from) + " device ";
                         for (int d = 0; d < CONTROLS_DEVICE_COUNT; d++) {
                             controls_device = d;
                             controls_scroll = 0;
                             for (int c = 0; c < CONTROLS_ROW_MAX; c++) {
                                 controls_cursor = c;
                                 w.look(base + std::to_string(d) + " row " + std::to_string(c));
                             }
                         }
                         // The prompt on each row that can be bound anew, in its shown blink.
                         frame_counter = 0;
                         for (int d = INPUT_DEVICE_KEYBOARD; d <= INPUT_DEVICE_PAD; d++) {
                             controls_device = d;
                             ControlsRow rows[CONTROLS_ROW_MAX];
                             const int n = controls_list(d, rows);
                             for (int c = 0; c < n; c++) {
                                 if (rows[c].kind != CONTROLS_BIND) continue;
                                 controls_cursor = c;
                                 rebind_start(rows[c].action, d == INPUT_DEVICE_KEYBOARD ? 0 : 1);
                                 w.look(base + std::to_string(d) + " rebinding row " + std::to_string(c));
                                 rebind_reset();
                             }
                         }
                     }
                 }});
    s.push_back({"STATS", [](Walk& w) {
                     tick_globals_reset(STATE_STATS);
                     seasoned_profile();
                     w.look("STATS");
                 }});
    s.push_back({"CREDITS", [](Walk& w) {
                     tick_globals_reset(STATE_CREDITS);
                     for (int sc = 0; sc <= 2000; sc += 250) {
                         credits_scroll = sc;
                         w.look("CREDITS scroll " + std::to_string(sc));
                     }
                 }});
    s.push_back({"CLASS SELECT", [](Walk& w) {
                     tick_globals_reset(STATE_CLASS_SELECT);
                     for (int c = 0; c < CLASS_COUNT; c++) {
                         class_cursor = c;
                         w.look("CLASS SELECT " + std::to_string(c));
                     }
                 }});
    s.push_back({"UNLOCKS", [](Walk& w) {
                     tick_globals_reset(STATE_UNLOCKS);
                     seasoned_profile();
                     for (uint8_t& c : unlocks_collapsed) c = 0;
                     int32_t rows[UNLOCK_LIST_MAX];
                     const int n = unlock_rows_build(rows);
                     for (int i = 0; i < n; i++) {
                         unlocks_cursor = i;
                         w.look("UNLOCKS row " + std::to_string(i));
                     }
                 }});
    s.push_back({"DUNGEON", [](Walk& w) {
                     run_with_gear();
                     w.look("DUNGEON");
                     toast_show2("LEVEL UP! NOW LVL 12", "GOT A KEY");
                     w.look("DUNGEON toast");
                     toast_timer = 0;
                     way_out_open = 1;
                     for (int c = 0; c < 4; c++) {
                         way_out_cursor = c;
                         w.look("DUNGEON way out " + std::to_string(c));
                     }
                     way_out_open = 0;
                     for (int i = 0; i < ST_COUNT; i++) {
                         status_clear(player.status);
                         status_add(player.status, i, 5);
                         w.look("DUNGEON status " + std::to_string(i));
                     }
                 }});
    s.push_back({"PAUSE", [](Walk& w) {
                     // Over the dungeon, the camp, a classic fight and a duel.
                     for (int under = 0; under < PAUSED_COUNT; under++) {
                         paused_over(under);
                         for (int c = 0; c < 6; c++) {
                             pause_cursor = c;
                             w.look("PAUSE over " + std::to_string(under) + " row " + std::to_string(c));
                         }
                     }
                 }});
    s.push_back({"BAG", [](Walk& w) {
                     for (int under : {(int)STATE_DUNGEON, (int)STATE_LEVELUP, (int)STATE_CAMP}) {
                         run_with_gear();
                         if (under == STATE_LEVELUP) {
                             levelup_clear();
                             levelup.pending = 1;
                             levelup.picks[0] = PICK_CATCH_BREATH;
                             levelup.picks[1] = PICK_BOON;
                             levelup.picks[2] = PICK_TOUGHNESS;
                             levelup.boon_offer = BOON_VAMPIRIC;
                         }
                         if (under == STATE_CAMP) {
                             current_floor = 6;
                             camp_enter();
                         }
                         state_under_pause = under;
                         game_state = STATE_BAG;
                         const std::string base = "BAG over " + std::to_string(under);
                         for (int id : {BOON_VIGOR, BOON_SECOND_WIND, BOON_BLOODTHIRST, BOON_BLOOD_PACT,
                                        BOON_KEEN_EDGE, BOON_SIDESTEP})
                             player.boon_ranks[id] = (uint8_t)(1 + id % BOON_LEVELS);
                         for (int page = 0; page < BAG_PAGE_COUNT; page++) {
                             bag_view_reset();
                             bag_view.page = page;
                             bag_view.shown_page = (float)page;
                             for (int i = 0; i < 60; i++) bag_screen_ease();
                             w.look(base + " page " + std::to_string(page));
                             // The explanation of each row: the class line, every stat and boon.
                             int ids[BOON_ROWS];
                             const int rows = page == BAG_PAGE_STATS ? bag_tab_list(ids) + bag_page_flags_list(ids) : -1;
                             for (int c = 0; c <= rows; c++) {
                                 bag_view.stats_cursor = c;
                                 bag_view.stats_popup = 1;
                                 w.look(base + " stats pop-up " + std::to_string(c));
                             }
                             bag_view.stats_popup = 0;
                             bag_view.stats_cursor = 0;
                             if (page == BAG_PAGE_BESTIARY)
                                 for (int k = 0; k < M_COUNT; k++) {
                                     update_bag(BTN_DOWN, BTN_DOWN);
                                     update_bag(0, 0);
                                     w.look(base + " bestiary row " + std::to_string(k));
                                 }
                         }
                         // Each hand's and each bag item's card.
                         bag_view_reset();
                         bag_view.page = BAG_PAGE_INVENTORY;
                         for (int zone : {(int)BAG_ZONE_GRID, (int)BAG_ZONE_MAIN, (int)BAG_ZONE_OFF})
                             for (int row = 0; row < BAG_ROWS; row++)
                                 for (int col = 0; col < BAG_COLS; col++) {
                                     if (!bag_card_opened(zone, col, row)) continue;
                                     w.look(base + " card " + std::to_string(zone) + "," + std::to_string(col) + "," +
                                            std::to_string(row));
                                 }
                         bag_view_reset();
                         message_box_open = 1;
                         std::snprintf(message_box_text, sizeof message_box_text, "THE BAG IS FULL");
                         w.look(base + " message");
                         message_box_open = 0;
                     }
                 }});
    s.push_back({"LEVEL-UP", [](Walk& w) {
                     run_with_gear();
                     game_state = STATE_LEVELUP;
                     levelup_clear();
                     levelup.pending = 2;
                     levelup.boon_offer = BOON_VAMPIRIC;
                     const int decks[2][3] = {{PICK_CATCH_BREATH, PICK_REPAIR, PICK_SPARE_KEY},
                                              {PICK_BOON, PICK_FLASK, PICK_TOUGHNESS}};
                     for (const auto& deck : decks)
                         for (int c = 0; c < 3; c++) {
                             for (int i = 0; i < 3; i++) levelup.picks[i] = deck[i];
                             levelup.cursor = c;
                             w.look("LEVEL-UP card " + std::to_string(c) + " of " + levelup_pick_name(deck[0]));
                         }
                     toast_show2("LEVEL UP! NOW LVL 12", "GOT A KEY");
                     w.look("LEVEL-UP toast");
                 }});
    s.push_back({"CAMP", [](Walk& w) {
                     run_with_gear();
                     current_floor = 6;
                     camp_enter();
                     game_state = STATE_CAMP;
                     for (int page = 0; page < CAMP_PAGE_COUNT; page++)
                         for (int c = 0; c < 12; c++) {
                             camp_page = page;
                             camp.cursor = c;
                             if (page == CAMP_PAGE_FORGE_ITEM) camp.forge_slot = CAMP_SLOT_MAIN;
                             w.look("CAMP page " + std::to_string(page) + " row " + std::to_string(c));
                         }
                     // What the camp says when it refuses.
                     camp_page = CAMP_PAGE_BOONS;
                     camp.cursor = 3;
                     player.gold = 0;
                     update_camp(BTN_A);
                     w.look("CAMP boons, refused");
                     toast_timer = 0;
                     confirm_open = 1;
                     std::snprintf(confirm_question, sizeof confirm_question, "REST BY THE FIRE?");
                     camp_page = CAMP_PAGE_HUB;
                     w.look("CAMP confirm");
                 }});
    s.push_back({"FIGHT", [](Walk& w) {
                     for (int duel = 1; duel >= 0; duel--)
                         for (int border = -1; border <= ST_COUNT; border++) {
                             fight_start(M_ORC, duel);
                             status_clear(player.status);
                             if (border >= 0 && border < ST_COUNT) status_add(player.status, border, 5);
                             if (border == ST_COUNT) fx_hurt_from_damage(30);
                             if (border == ST_BURN)
                                 for (int i = 0; i < 60; i++) fx_update();  // the flames grow
                             const std::string base = std::string(duel ? "DUEL" : "CLASSIC FIGHT") + " border " +
                                                      std::to_string(border);
                             w.look(base);
                             // A number popping up and rising, and a banner.
                             popup_text("-15", 1);
                             for (int age = 0; age < FX_POPUP_TICKS; age += FX_POPUP_TICKS / 4) {
                                 fx_state.popup_timer = FX_POPUP_TICKS - age;
                                 w.look(base + " pop-up at " + std::to_string(age));
                             }
                             popup_banner("LAST STAND!");
                             w.look(base + " banner");
                         }
                     // Every kind of monster; in the classic view each action's lines and the item menu.
                     for (int kind = M_GOBLIN; kind < M_COUNT; kind++)
                         for (int duel = 1; duel >= 0; duel--) {
                             fight_start(kind, duel);
                             const std::string base = std::string(duel ? "DUEL" : "CLASSIC FIGHT") + " with " +
                                                      std::to_string(kind);
                             w.look(base);
                             if (duel) continue;
                             for (int a = 0; a < TURN_ACTION_COUNT; a++) {
                                 combat.action_cursor = a;
                                 w.look(base + " action " + std::to_string(a));
                             }
                             combat.item_menu = 1;
                             for (int i = 0; i < TURN_ITEM_MAX; i++) {
                                 combat.item_cursor = i;
                                 w.look(base + " item " + std::to_string(i));
                             }
                         }
                 }});
    s.push_back({"RUN END", [](Walk& w) {
                     for (int escaped = 0; escaped < 2; escaped++) {
                         run_with_gear();
                         current_floor = 6;
                         run_end_best_floor = 9;
                         game_state = escaped ? STATE_ESCAPED : STATE_DEATH;
                         for (int t : {0, 100, 400}) {
                             frame_counter = 100 + t;
                             w.look(std::string(escaped ? "ESCAPED" : "DEATH") + " at " + std::to_string(t));
                         }
                     }
                     game_state = STATE_DEMO_END;
                     w.look("DEMO END");
                 }});
    s.push_back({"SHRINE", [](Walk& w) {
                     tick_globals_reset(STATE_SHRINE);
                     seasoned_profile();
                     shrine_enter();
                     game_state = STATE_SHRINE;
                     std::set<std::string> cards;
                     for (int y = 0; y < MAP_H; y++)
                         for (int x = 0; x < MAP_W; x++)
                             for (int f = 0; f < 4; f++) {
                                 if (gmap[y][x] != GLYPH_FLOOR) continue;
                                 player.x = x;
                                 player.y = y;
                                 player.facing = f;
                                 player_view_sync();
                                 shrine.mode = 0;
                                 w.look("SHRINE at " + std::to_string(x) + "," + std::to_string(y) + " facing " +
                                        std::to_string(f));
                                 update_shrine(BTN_A);
                                 if (shrine.mode != 1) continue;
                                 ShrineCard card;
                                 if (!shrine_inspect_card(&card) || !cards.insert(card.lines[0]).second) {
                                     update_shrine(BTN_B);
                                     continue;
                                 }
                                 w.look("SHRINE card " + std::string(card.lines[0]));
                                 update_shrine(BTN_B);
                             }
                 }});
    s.push_back({"TRAINING BAG", [](Walk& w) {
                     tick_globals_reset(STATE_DUNGEON);
                     knight_run_start(0x5EED1234u);
                     training_start();
                     floor_begin(1);
                     load_training_map(1);
                     tips.shown = (1u << TIP_COUNT) - 1u;
                     input_guard_ticks = 0;
                     bag_add_new(ITEM_WOODEN_SHIELD, 1);
                     game_state = STATE_BAG;
                     state_under_pause = STATE_DUNGEON;
                     bag_view_reset();
                     w.look("TRAINING BAG");
                     for (int row = 0; row < BAG_ROWS; row++)
                         for (int col = 0; col < BAG_COLS; col++) {
                             if (!bag_card_opened(BAG_ZONE_GRID, col, row)) continue;
                             w.look("TRAINING BAG card " + std::to_string(col) + "," + std::to_string(row));
                         }
                 }});
    s.push_back({"TRAINING LEVEL UP", [](Walk& w) {
                     tick_globals_reset(STATE_DUNGEON);
                     knight_run_start(0x5EED1234u);
                     training_start();
                     tips.shown = (1u << TIP_COUNT) - 1u;
                     player.level = 2;
                     player.xp = 0;
                     levelup.pending = 1;
                     ASSERT_TRUE(levelup_open(LevelupMode{true}));
                     game_state = STATE_LEVELUP;
                     w.look("TRAINING LEVEL UP");
                     training_stop();
                     levelup.pending = 0;
                 }});
    s.push_back({"TRAINING TIPS", [](Walk& w) {
                     // Each tip typed out over the screen it comes up on, the threat text over a
                     // run's dungeon, then the question at the training's end and its last card.
                     for (int id = TIP_THREAT; id < TIP_COUNT; id++) {
                         if (id == TIP_THREAT) {
                             run_with_gear();
                             flow = 720;
                             tips_update(TipsWorld{});
                         } else {
                             training_on(tip_state(id));
                             tips.shown &= ~(1u << id);
                             show_tip_once(id);
                         }
                         ASSERT_TRUE(tips.text);
                         while (tips.typed < (int)std::strlen(tips.expanded[tips.buffer])) tips_update(TipsWorld{});
                         w.look("TRAINING TIPS " + std::to_string(id));
                         tips.text = nullptr;
                     }
                     training_on(STATE_CAMP);
                     training_offer_end();
                     w.look("TRAINING TIPS the end's question");
                     training.over_prompt = 0;
                     training_on(STATE_DUNGEON);
                     training_done_transition();
                     transition.phase = 2;  // the card held after the floor is loaded and saved
                     transition.frame = transition.typing + 1;
                     w.look("TRAINING TIPS the end's card");
                     transition = Transition{};
                 }});
    return s;
}

// The check itself, on frames drawn by hand in the view: each fault it once let through.
TEST(TextOverlap, TheCheckFindsRulesShadowsCutRowsAndBoxesOverSlots) {
    layout_set_landscape();
    const int x = screen_layout.view.x0, y = screen_layout.view.y0;
    const auto findings = [](const std::function<void()>& draw) {
        text_runs_start();
        screen_clear();
        draw();
        text_runs_stop();
        std::string all;
        for (const std::string& f : frame_findings()) all += f + "\n";
        return all;
    };
    // A rule line drawn through a text.
    EXPECT_NE(findings([&] {
                  text_draw(x + 10, y + 10, "RULED", 2);
                  screen_hline(x + 5, y + 13, 60, 2);
              }).find("\"RULED\" is crossed by a rule line"),
              std::string::npos);
    // A list ending half a row early: the row's text stays whole above the edge, its box does not.
    static int16_t clip[FB_LONG];
    for (int16_t& c : clip) c = (int16_t)(y + 30);
    EXPECT_NE(findings([&] {
                  screen_set_column_clip(clip);
                  screen_rect(x + 10, y + 20, 80, 13, 1);
                  text_draw(x + 14, y + 23, "ROW", 2);
                  screen_set_column_clip(nullptr);
              }).find("around \"ROW\" is cut by the edge of its list"),
              std::string::npos);
    // A box as wide as the box it stands in: its shadow lies across that box's outline.
    EXPECT_NE(findings([&] {
                  screen_fill_rect(x + 10, y + 10, 60, 40, 0);
                  screen_rect(x + 10, y + 10, 60, 40, 2);
                  screen_fill_rect(x + 13, y + 23, 60, 12, 1);
                  screen_fill_rect(x + 10, y + 20, 60, 12, 0);
                  screen_rect(x + 10, y + 20, 60, 12, 2);
                  text_draw(x + 14, y + 23, "FAILED", 2);
              }).find("is cut by the box (" + std::to_string(x + 13)),
              std::string::npos);
    // A box across a slot's frame, which has no fill of its own.
    EXPECT_NE(findings([&] {
                  screen_rect(x + 20, y + 20, 40, 22, 2);
                  screen_fill_rect(x + 10, y + 30, 100, 20, 0);
                  screen_rect(x + 10, y + 30, 100, 20, 2);
                  text_draw(x + 14, y + 36, "TIP", 2);
              }).find("is cut by the box (" + std::to_string(x + 10) + "," + std::to_string(y + 30) + ")-(" +
                      std::to_string(x + 109) + "," + std::to_string(y + 49) + ") around \"TIP\""),
              std::string::npos);

    // A box drawn as the dialogs draw it, the clearing behind it (its shadow's area) first; or
    // instead of that clearing, one line of the frame taken out along the box's rows at column
    // `cut_x`, as a clearing that did so would.
    constexpr int DIALOG_H = 46, SHADOW = 3;
    const auto dialog = [](int bx, int by, int bw, const char* text, int cut_x = -1) {
        if (cut_x < 0)
            row_spans_clear_behind({bx, by, bx + bw - 1 + SHADOW, by + DIALOG_H - 1 + SHADOW});
        else
            screen_fill_rect(cut_x, by, 1, DIALOG_H + SHADOW, 0);
        screen_fill_rect(bx + SHADOW, by + SHADOW, bw, DIALOG_H, 1);
        screen_fill_rect(bx, by, bw, DIALOG_H, 0);
        screen_rect(bx, by, bw, DIALOG_H, 2);
        screen_rect(bx + 2, by + 2, bw - 4, DIALOG_H - 4, 2);
        text_draw(bx + (bw - text_width(text)) / 2, by + 13, text, 2);
    };
    // Whether one line of the findings holds both texts.
    const auto line_with = [](const std::string& all, const std::string& a, const std::string& b) {
        for (size_t at = 0; at < all.size();) {
            const size_t end = all.find('\n', at);
            const std::string line = all.substr(at, end - at);
            if (line.find(a) != std::string::npos && line.find(b) != std::string::npos) return true;
            at = end + 1;
        }
        return false;
    };
    // Portrait: the failed save's box 4 pixels wider than the pause menu leaves it room for. Its
    // shadow ends on the right-hand line of the menu's inner outline, which the clearing behind
    // the box takes out: another box's outline is never taken out for a box over it.
    layout_set_portrait();
    const ScreenRect& pv = screen_layout.view;
    const auto over_pause = [&](int bw) {
        return findings([&] {
            row_spans_clear_behind(pause_area());
            draw_pause(0);
            dialog(pv.x0 + (pv.x1 - pv.x0 - bw + 1) / 2, pv.y0 + (pv.y1 - pv.y0 - 45) / 2, bw, "SAVE FAILED!");
        });
    };
    constexpr int PAUSE_BOX_INSET = 14;  // the box the game draws there is this much narrower
    const ScreenRect p = pause_area();
    char inner[64];
    std::snprintf(inner, sizeof inner, "the frame (%d,%d)-(%d,%d)", p.x0 + 2, p.y0 + 2, p.x1 - SHADOW - 2,
                  p.y1 - SHADOW - 2);
    EXPECT_TRUE(line_with(over_pause(pause_width() - PAUSE_BOX_INSET + 4), inner, "has its line taken out"));
    // A box wider than the pause menu, both its sides taken out along the box's rows: likewise.
    EXPECT_NE(over_pause(pause_width() + 10).find("over another box's outline"), std::string::npos);
    // A box wider than a screen's frame (an outline with no body of its own) passes its sides
    // behind it: no finding.
    const auto over_frame = [&](int fx0, int fx1, int cut_x) {
        return findings([&] {
            screen_rect(fx0, pv.y0 + 2, fx1 - fx0 + 1, 120, 1);
            row_spans_frame(BEHIND_ROWS, fx0 + 1, pv.y0 + 3, fx1 - 1, pv.y0 + 120);
            dialog(pv.x0 + 10, pv.y0 + 40, 100, "WIDE", cut_x);
        });
    };
    EXPECT_EQ(over_frame(pv.x0 + 12, pv.x0 + 105, -1), "");
    // The same box across the frame's right-hand line only, inside its left, that line taken out
    // along the box's rows: the line shows cut beside the box, and is seen.
    EXPECT_NE(over_frame(pv.x0 + 8, pv.x0 + 105, pv.x0 + 105).find("around \"WIDE\", which is not wider than it"),
              std::string::npos);
    layout_set_landscape();
}

TEST(TextOverlap, NoScreenDrawsTextOverTextAFrameOrTheEdge) {
    Walk w;
    for (auto& [name, scene] : scenes())
        for (w.names = 0; w.names < NAMES_COUNT; w.names++)
            for (w.portrait = 0; w.portrait < 2; w.portrait++) {
                game_records_reset();
                names_use(w.names);
                layout_use(w.portrait);
                scene(w);
            }
    layout_set_landscape();
    for (const std::string& f : w.failures) ADD_FAILURE() << f;
    // A listed finding that no longer shows is told, so the list can shrink with the mends.
    for (int i = 0; i < (int)w.seen_intended.size(); i++)
        if (!w.seen_intended[i])
            std::printf("listed finding no longer seen: %s: %s\n", INTENDED[i].screen, INTENDED[i].text);
    std::printf("%d frames looked at, %zu findings\n", w.frames, w.failures.size());
}

}  // namespace
