// The running state's update: the dispatch over the state word, and the updates of the screens
// that live in the tick itself (splash, title, run end, stats, demo end).
#include "camp/camp.h"
#include "classes/class_select.h"
#include "combat/combat.h"
#include "combat/training.h"
#include "game/bag_screen.h"
#include "game/explore.h"
#include "game/menus.h"
#include "game/run_start.h"
#include "game/state.h"
#include "game/tick_parts.h"
#include "levelup/levelup.h"
#include "world/buttons.h"
#include "services/confirm.h"
#include "services/services.h"
#include "services/toast.h"
#include "profile/profile.h"
#include "dungeon/particles.h"
#include "render/fxfield.h"
#include "render/screen.h"
#include "runfile/run_file.h"
#include "screens/screens.h"
#include "shrine/shrine.h"
#include "sound/audio.h"
#include "telemetry/run_record.h"

const char* const STORE_PAGE_URL = "https://store.steampowered.com/search/?term=quillmarch";

// Each line fits the toast box on the narrow portrait view; the text check walks every one.
const TitleNoticeText TITLE_NOTICE_TEXTS[TITLE_NOTICE_KINDS] = {
    {.notice = TITLE_NOTICE_RUN, .line1 = "SAVED RUN UNREADABLE", .line2 = "IT WAS KEPT ASIDE"},
    {.notice = TITLE_NOTICE_RUN_OLD, .line1 = "RUN OF OLDER VERSION", .line2 = "IT WAS KEPT ASIDE"},
    {.notice = TITLE_NOTICE_RUN_IN_PLACE, .line1 = "SAVED RUN UNREADABLE", .line2 = "NEXT RUN REPLACES IT"},
    {.notice = TITLE_NOTICE_PROFILE, .line1 = "PROFILE UNREADABLE", .line2 = "IT WAS SET ASIDE"},
    {.notice = TITLE_NOTICE_PROFILE_IN_PLACE, .line1 = "PROFILE UNREADABLE", .line2 = "PROGRESS WON'T SAVE"},
    {.notice = TITLE_NOTICE_PROFILE_OLD, .line1 = "OLD PROFILE FORMAT", .line2 = "IT WAS KEPT ASIDE"},
};

namespace {

// The flame backdrop of the title and demo-end screens: its strength and a simulation step every
// tick, like every other field, and fresh hot spots on odd ticks so the fire keeps changing shape.
void title_backdrop(float strength) {
    fxfield_set_slot0(strength);
    if (frame_counter & 1) fxfield_reseed(0);
    const ScreenRect& v = screen_layout.view;
    fxfield_update(0, v.x1 - v.x0 + 1 - 9, v.y1 - v.y0 + 1 - 9);
    flame_embers_update(strength, v.x1 - v.x0 + 1 - 9, v.y1 - v.y0 + 1 - 9);
}

// Each refused file found at start-up is told once, one notice after the other.
void title_notice_step() {
    if (!title_notices || toast_timer > 0) return;
    for (const TitleNoticeText& t : TITLE_NOTICE_TEXTS)
        if (title_notices & t.notice) {
            title_notices &= (uint8_t)~t.notice;
            toast_show2(t.line1, t.line2);
            return;
        }
    title_notices = 0;  // no notice has the bits left
}

void title_act(int32_t row) {
    switch (row) {
    case TITLE_CONTINUE:
        if (run_summary.valid && load_run()) {
            play_sfx(SFX_CONFIRM);
            run_start_snapshot();
            run_active = 1;
            way_out_open = 0;
            game_state = run_resume_state();
        } else {
            play_sfx(SFX_DENY);
        }
        break;
    case TITLE_NEW_RUN:
        play_sfx(SFX_CONFIRM);
        if (run_summary.valid) {
            confirm_ask("Abandon your run?", CONFIRM_ABANDON_RUN);
        } else if (TRAINING_OFFER_ENABLED && training_offer_on()) {
            confirm_ask("Play the training?", CONFIRM_PLAY_TRAINING);
        } else {
            class_cursor = 0;
            game_state = STATE_CLASS_SELECT;
        }
        break;
    case TITLE_UNLOCKS:
        play_sfx(SFX_CONFIRM);
        unlocks_cursor = 1;
        game_state = STATE_UNLOCKS;
        break;
    case TITLE_SHRINE:
        shrine_enter();
        break;
    case TITLE_OPTIONS:
        options_open(STATE_TITLE);
        break;
    case TITLE_STATS:
        play_sfx(SFX_CONFIRM);
        game_state = STATE_STATS;
        break;
    case TITLE_QUIT:
        quit_requested = 1;
        break;
    default:
        break;
    }
}
}  // namespace

void update_splash(uint8_t presses) {
    if (splash_timer > 0) splash_timer--;
    if (splash_timer <= 0 || (presses & (BTN_A | BTN_START))) game_state = STATE_TITLE;
}

void update_title(uint8_t presses) {
    title_notice_step();
    title_backdrop(title_fx_level >= 0 ? (float)title_fx_level / 100.0f : unlocks_completion());
    const int32_t was = title_cursor;
    title_cursor = menu_cursor_step(title_cursor, TITLE_ROWS, presses);
    if (title_cursor != was) {
        title_slide_from = was;
        title_slide_tick = frame_counter;
    }
    if (presses & (BTN_A | BTN_START)) title_act(title_cursor);
}

void update_death(uint8_t presses) {
    if (screen_snapshot_get()) {
        if ((presses & (BTN_A | BTN_B)) && screen_snapshot_age() > 19) screen_snapshot_drop();
        return;
    }
    update_escaped(presses);
}

void update_escaped(uint8_t presses) {
    if (!(presses & (BTN_A | BTN_B))) return;
    play_sfx(SFX_CONFIRM);
    run_summary_refresh();
    title_cursor = 1;
    demo_end_to_unlocks = (presses & BTN_A) ? 0 : 1;
    demo_end_store_opened = 0;
    game_state = STATE_DEMO_END;
}

void update_stats(uint8_t presses) {
    if (!(presses & (BTN_A | BTN_B | BTN_START))) return;
    play_sfx(SFX_BACK);
    game_state = STATE_TITLE;
}

void update_demo_end(uint8_t presses) {
    title_backdrop(1.0f);
    if (presses & BTN_A) {
        play_sfx(SFX_CONFIRM);
        // A player mashing A through a death must not launch a browser per press.
        if (open_url_fn && !demo_end_store_opened) open_url_fn(STORE_PAGE_URL);
        demo_end_store_opened = 1;
    } else if (presses & (BTN_B | BTN_START)) {
        play_sfx(SFX_BACK);
        if (demo_end_to_unlocks) {
            run_summary_refresh();
            title_cursor = 1;
            unlocks_cursor = 1;
            game_state = STATE_UNLOCKS;
        } else {
            demo_end_leave();
        }
    }
}

void update_pause(uint8_t presses) {
    const int32_t c = menu_cursor_step(pause_cursor, PAUSE_ROWS, presses);
    pause_cursor = c;
    if (presses & (BTN_B | BTN_START)) {
        game_state = state_under_pause;
        return;
    }
    if (!(presses & BTN_A)) return;
    if (c == PAUSE_RESUME) {
        game_state = state_under_pause;
    } else if (c == PAUSE_OPTIONS) {
        options_open(STATE_PAUSE);
    } else {
        run_save_and_quit();
    }
}

void tick_update_state(uint8_t presses) {
    switch (game_state) {
    case STATE_SPLASH: update_splash(presses); break;
    case STATE_TITLE: update_title(presses); break;
    case STATE_DUNGEON: update_dungeon(presses); break;
    case STATE_COMBAT:
        if (combat_is_reflex())
            combat_update(input_held, presses);
        else
            combat_player_input(presses);
        // A lost fight ends the run.
        if (game_state == STATE_DEATH) run_finish(0);
        break;
    case STATE_PAUSE: update_pause(presses); break;
    case STATE_BAG: update_bag(presses, input_held); break;
    case STATE_CAMP:
        switch (update_camp(presses)) {
        case CAMP_ONWARD:
            // The training ends at its camp: the prompt asks where to go.
            if (training_active())
                training_offer_end();
            else
                camp_onward();
            break;
        case CAMP_OPEN_BAG:
            // The bag and the pause open over the camp and return to it.
            state_under_pause = STATE_CAMP;
            bag_view_reset();
            game_state = STATE_BAG;
            play_sfx(SFX_CONFIRM);
            break;
        case CAMP_OPEN_PAUSE:
            state_under_pause = STATE_CAMP;
            pause_cursor = 0;
            game_state = STATE_PAUSE;
            play_sfx(SFX_CONFIRM);
            break;
        default: break;
        }
        break;
    case STATE_DEATH: update_death(presses); break;
    case STATE_ESCAPED: update_escaped(presses); break;
    case STATE_OPTIONS: update_options(presses); break;
    case STATE_STATS: update_stats(presses); break;
    case STATE_CREDITS: update_credits(presses); break;
    case STATE_POWER_ON: update_power_on(presses); break;
    case STATE_LEVELUP:
        if (presses & BTN_SELECT) {
            // The bag opens over the cards and returns to them.
            state_under_pause = STATE_LEVELUP;
            bag_view_reset();
            game_state = STATE_BAG;
            play_sfx(SFX_CONFIRM);
        }
        update_levelup(presses, levelup_mode_now());
        break;
    case STATE_CLASS_SELECT: {
        const int cls = update_class_select(presses);
        if (cls != CLASS_SELECT_STAY) run_start_transition(cls);
        break;
    }
    case STATE_UNLOCKS: update_unlocks(presses); break;
    case STATE_SHRINE: update_shrine(presses); break;
    case STATE_CONTROLS: update_controls(presses); break;
    case STATE_DEMO_END: update_demo_end(presses); break;
    default: break;
    }
}
