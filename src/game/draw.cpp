// The draw pass: clears the frame, draws the running state (overlays over what lies beneath
// them), then the pad, the transition, the tips, the caption, the message box and the performance
// overlay.
#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/fight_peek.h"
#include "combat/training.h"
#include "dungeon/map.h"
#include "game/bag_screen.h"
#include "game/explore.h"
#include "game/game.h"
#include "game/menus.h"
#include "game/run_start.h"
#include "game/shell_calls.h"
#include "game/state.h"
#include "services/confirm.h"
#include "render/draw.h"
#include "render/row_spans.h"
#include "runfile/run_file.h"
#include "render/screen.h"
#include "render/view.h"
#include "screens/controls.h"
#include "screens/pad.h"
#include "screens/screens.h"
#include "screens/tips_draw.h"
#include "screens/transition.h"
#include "shrine/shrine.h"
#include "profile/profile.h"
#include "render/perf_overlay.h"
#include "telemetry/perf.h"

ViewScene view_scene_now() {
    ViewScene s = view_scene_empty();
    s.shrine = game_state == STATE_SHRINE;
    s.training = training_active();
    s.berserk = berserk_this_floor();
    s.monster_buff = combat_monster_buff();
    s.lunge = combat_lunge_offset();
    s.mimic_revealing = mimic_revealing;
    s.mimic_ticks = mimic_revealing >= 0 ? frame_counter - mimic_reveal_tick : -1;
    if (chest_opening.floor == current_floor) {
        s.chest_x = chest_opening.x;
        s.chest_y = chest_opening.y;
        s.chest_ticks = frame_counter - chest_opening.tick;
    }
    for (int u = 0; u < VIEW_UPGRADE_COUNT; u++) {
        s.upgrade_rank[u] = upgrade_rank(u);
        s.upgrade_max_rank[u] = upgrade_max_rank(u);
    }
    s.bought_upgrade = shrine_bought_upgrade();
    s.bought_tick = shrine_bought_tick();
    if (s.shrine)
        for (int y = 0; y < MAP_H; y++)
            for (int x = 0; x < MAP_W; x++) {
                s.brazier_lit[y][x] = shrine_brazier_lit(x, y) ? 1 : 0;
                if (gmap[y][x] != GLYPH_PEDESTAL || shrine_tile_index(x, y) < 0) continue;
                s.pedestal_variant[y][x] = (int8_t)(shrine_tile_index(x, y) & 1);
                for (int c = 0; c < VIEW_PEDESTAL_SLOTS; c++)
                    s.pedestal_items[y][x][c] = (uint8_t)shrine_pedestal_item(x, y, c);
            }
    return s;
}

namespace {
TitleView title_view_now() {
    TitleView v{};
    v.cursor = title_cursor;
    v.slide_from_row = title_slide_from;
    v.slide_age = frame_counter - title_slide_tick;
    v.has_run = run_summary.valid;
    v.run_training = run_summary.training;
    v.run_floor = run_summary.floor;
    v.run_level = run_summary.level;
    return v;
}

OptionsView options_view_now() {
    OptionsView v{};
    v.page = options_page;
    v.cursor = options_cursor;
    v.count = options_visible_rows(v.ids);
    v.training_offer = training_offer_on();
    return v;
}

void draw_title_now() { draw_title(title_view_now()); }

// What an overlay shows beneath itself.
void draw_underlay() {
    if (state_under_pause == STATE_CAMP)
        draw_camp();
    else if (state_under_pause == STATE_COMBAT)
        draw_fight();
    else
        draw_dungeon_view(view_scene_now());
}

void draw_panel_base() {
    if (options_from == STATE_TITLE)
        draw_title_now();
    else
        draw_underlay();
    dim_screen();
}

void draw_state() {
    switch (game_state) {
    case STATE_SPLASH: draw_splash(); break;
    case STATE_TITLE: {
        draw_title_now();
        if (confirm_open) {
            row_spans_clear_behind(confirm_dialog_area());
            draw_confirm_dialog();
        }
        if (consent_open) {
            row_spans_clear_behind(consent_dialog_area());
            draw_consent_dialog();
        }
        draw_title_toast();
        break;
    }
    case STATE_DUNGEON:
        draw_dungeon_view(view_scene_now());
        draw_toast();
        draw_hud();
        draw_status_border();
        if (way_out_open) draw_way_out_dialog();
        break;
    case STATE_COMBAT:
        draw_fight();
        // The drills' words and wrong-move texts come as toasts.
        if (training_active()) draw_toast();
        draw_status_border();
        if (combat_is_reflex() && !combat_auto_paused() && combat_victory_delay() <= 0) draw_low_hp_strip();
        break;
    case STATE_PAUSE: {
        draw_underlay();
        dim_screen();
        row_spans_clear_behind(pause_area());
        draw_pause(pause_cursor);
        if (confirm_open) {
            row_spans_clear_behind(confirm_dialog_area());
            draw_confirm_dialog();
        }
        break;
    }
    case STATE_BAG:
        if (state_under_pause == STATE_LEVELUP)
            draw_levelup();
        else
            draw_underlay();
        dim_screen();
        if (!message_box_open) {  // the box takes the bag's place
            draw_bag();
            float ring_x, ring_y;
            int32_t hold;
            bag_hold_ring_state(&ring_x, &ring_y, &hold);
            draw_hold_ring(ring_x, ring_y, hold);
            if (bag_item_card_open()) draw_item_info_panel();
        }
        break;
    case STATE_CAMP:
        draw_camp();  // with its messages, placed clear of the rows
        if (confirm_open) {
            row_spans_clear_behind(confirm_dialog_area());
            draw_confirm_dialog();
        }
        break;
    case STATE_DEATH: draw_run_end(0, input_locked(), run_start_met); break;
    case STATE_ESCAPED: draw_run_end(1, input_locked(), run_start_met); break;
    case STATE_OPTIONS:
        draw_panel_base();
        row_spans_clear_behind(options_area());
        draw_options(options_view_now());
        break;
    case STATE_STATS: draw_stats(); break;
    case STATE_CREDITS: draw_credits(&credits_scroll); break;
    case STATE_POWER_ON: draw_power_on(power_on_counter); break;
    case STATE_LEVELUP:
        draw_dungeon_view(view_scene_now());
        dim_screen();
        draw_levelup();
        draw_levelup_toast();
        break;
    case STATE_CLASS_SELECT:
        draw_title_now();
        dim_screen();
        draw_class_select();
        draw_toast();
        break;
    case STATE_UNLOCKS: draw_unlocks(); break;
    case STATE_SHRINE:
        // The room in first person, then what the shrine screen lays over it.
        draw_dungeon_view(view_scene_now());
        draw_shrine();
        draw_toast();
        break;
    case STATE_CONTROLS:
        draw_panel_base();
        row_spans_clear_behind(controls_area());
        {
            int action = -1, kind = 0;
            if (!rebind_pending(&action, &kind)) action = -1;
            controls_scroll = draw_controls({controls_device, controls_cursor, controls_scroll, action});
        }
        break;
    case STATE_DEMO_END: draw_demo_end(input_locked()); break;
    default: break;
    }
}
}  // namespace

void draw_frame() {
    perf_begin(ZONE_RENDER);
    hit_regions_clear();
    sharp_rects_clear();
    screen_clear();
    draw_state();
    if (game_state >= 0 && game_state < STATE_COUNT) draw_pad(input_raw | pad_blink_lit);
    if (hook_overlay_enabled()) hook_overlay_draw();
    transition_draw();
    // The message box waits for a press and takes it before the training's tips and prompt: they
    // wait unseen under it, so the box neither hides nor cuts them.
    if (!message_box_open) {
        tip_clear_behind();
        draw_tips_overlay(bag_cursor_view());
    }
    draw_caption();
    if (message_box_open) {
        row_spans_clear_behind(message_box_area());
        draw_message_box();
    }
    perf_overlay_draw();
    perf_end(ZONE_RENDER);
}
