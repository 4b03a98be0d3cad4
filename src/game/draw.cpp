// The draw pass: clears the frame, draws the running state (overlays over what lies beneath
// them), then the pad, the transition, the tips, the caption and the performance overlay.
#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/fight_peek.h"
#include "combat/training.h"
#include "dungeon/map.h"
#include "game/explore.h"
#include "game/game.h"
#include "game/menus.h"
#include "game/state.h"
#include "services/confirm.h"
#include "render/draw.h"
#include "render/screen.h"
#include "render/view.h"
#include "screens/pad.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "shrine/shrine.h"
#include "profile/profile.h"
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
            for (int x = 0; x < MAP_W; x++) s.brazier_lit[y][x] = shrine_brazier_lit(x, y) ? 1 : 0;
    return s;
}

namespace {
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
        draw_title();
    else
        draw_underlay();
    dim_screen();
}

void draw_state() {
    switch (game_state) {
    case STATE_SPLASH: draw_splash(); break;
    case STATE_TITLE:
        draw_title();
        if (confirm_open) draw_confirm_dialog();
        if (consent_open) draw_consent_dialog();
        draw_toast();
        break;
    case STATE_DUNGEON:
        draw_dungeon_view(view_scene_now());
        draw_toast();
        draw_hud();
        draw_status_border();
        if (way_out_open) draw_way_out_dialog();
        break;
    case STATE_COMBAT:
        draw_fight();
        draw_status_border();
        if (combat_is_reflex() && !combat_auto_paused() && combat_victory_delay() <= 0) draw_low_hp_strip();
        break;
    case STATE_PAUSE:
        draw_underlay();
        dim_screen();
        draw_pause();
        if (confirm_open) draw_confirm_dialog();
        break;
    case STATE_BAG:
        if (state_under_pause == STATE_LEVELUP)
            draw_levelup();
        else
            draw_underlay();
        dim_screen();
        if (message_box_open) {
            draw_message_box();
        } else {
            draw_bag();
            draw_hold_ring();
            if (bag_item_card_open()) draw_item_info_panel();
        }
        break;
    case STATE_CAMP:
        draw_camp();
        draw_toast();
        if (confirm_open) draw_confirm_dialog();
        break;
    case STATE_DEATH: draw_run_end(0); break;
    case STATE_ESCAPED: draw_run_end(1); break;
    case STATE_OPTIONS:
        draw_panel_base();
        draw_options();
        break;
    case STATE_STATS: draw_stats(); break;
    case STATE_CREDITS: draw_credits(); break;
    case STATE_POWER_ON: draw_power_on(); break;
    case STATE_LEVELUP:
        draw_dungeon_view(view_scene_now());
        dim_screen();
        draw_levelup();
        draw_toast();
        break;
    case STATE_CLASS_SELECT:
        draw_title();
        dim_screen();
        draw_class_select();
        draw_toast();
        break;
    case STATE_UNLOCKS: draw_unlocks(); break;
    case STATE_SHRINE:
        draw_shrine();
        draw_toast();
        break;
    case STATE_CONTROLS:
        draw_panel_base();
        draw_controls();
        break;
    case STATE_DEMO_END: draw_demo_end(); break;
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
    if (game_state >= 0 && game_state < STATE_COUNT) draw_pad(input_held);
    if (hook_overlay_enabled()) hook_overlay_draw();
    transition_draw();
    draw_tips_overlay();
    draw_caption();
    perf_overlay_draw();
    perf_end(ZONE_RENDER);
}
