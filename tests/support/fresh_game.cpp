// The fresh game every test starts from: see fresh_game.h. The listener at the end runs
// game_records_reset() before each test, in a save folder of the test's own.
#include "support/fresh_game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "boons/boons.h"
#include "camp/camp.h"
#include "classes/class_select.h"
#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/fx.h"
#include "combat/loot.h"
#include "combat/meters.h"
#include "combat/reflex.h"
#include "combat/training.h"
#include "combat/turn_fight.h"
#include "dungeon/floor.h"
#include "dungeon/fxfield.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/particles.h"
#include "dungeon/view_pos.h"
#include "game/explore.h"
#include "game/menus.h"
#include "game/run_start.h"
#include "game/shell_calls.h"
#include "game/state.h"
#include "items/floor_items.h"
#include "items/item_random.h"
#include "levelup/levelup.h"
#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/input.h"
#include "platform/palette.h"
#include "platform/shell.h"
#include "profile/profile.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/icons.h"
#include "render/objects.h"
#include "render/screen.h"
#include "render/view.h"
#include "render/view_frame.h"
#include "render/view_shade.h"
#include "runfile/run_file.h"
#include "saves/file_io.h"
#include "saves/settings.h"
#include "saves/write_notice.h"
#include "screens/bag_draw.h"
#include "screens/fight_reflex_view.h"
#include "screens/run_end.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "screens/unlocks_list.h"
#include "screens/widgets.h"
#include "services/confirm.h"
#include "services/rumble.h"
#include "services/services.h"
#include "services/toast.h"
#include "shrine/shrine.h"
#include "sound/audio_fixture.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "telemetry/check.h"
#include "telemetry/events.h"
#include "telemetry/perf.h"
#include "telemetry/run_record.h"
#include "telemetry/sender.h"
#include "telemetry/session.h"
#include "telemetry/softlock.h"
#include "world/bag_view.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

// The state words, the input, the menus and the dialogs of the tick: what tick_globals_reset
// leaves as it was, too.
void tick_records_reset() {
    tick_globals_reset(STATE_POWER_ON);
    frame_counter = 0;
    cheats_used = 0;
    title_slide_from = 1;
    title_slide_tick = 0;
    title_fx_level = -1;
    power_on_delay = 0;
    pad_blink_lit = 0;
    options_page = OPTIONS_TOP;
    options_cursor = 0;
    credits_scroll = 0;
    controls_device = controls_cursor = controls_scroll = 0;
    class_cursor = 0;
    unlocks_cursor = 0;
    for (uint8_t& c : unlocks_collapsed) c = 0;
    unlocks_message = UnlocksMessage{};
    confirm_question[0] = '\0';
    message_box_text[0] = '\0';
    way_out_cursor = 0;
    caption_index = 0;
    toast_line2[0] = '\0';
    rumble_low = rumble_high = 0.0f;
    rumble_ms = 0;
}

// The run: the player, the floor, its monsters and items, the fight, the camp and the run's dice.
void run_records_reset() {
    player = Player{};
    current_floor = 0;
    run_class = 0;
    fixed_seed = 0;
    fixed_seed_runs = 0;
    run_start_rating = 0;
    run_start_met = 0;
    run_heat = 0;
    run_end_souls = 0;
    item_luck = 0;
    next_random_state = 1;
    run_seed = monster_seed = floor_rng = 1;
    floor_room_count = 0;
    std::memset(gmap, 0, sizeof gmap);
    std::memset(explored, 0, sizeof explored);
    monsters = MonsterList{};
    floor_items = FloorItems{};
    view_pos = ViewPos{0.5f, 0.5f, 0.0f, 0.0f, VIEW_EYE_REST, VIEW_EYE_REST, VIEW_HORIZON_REST, VIEW_HORIZON_REST};
    encounter_disarm();
    mimic_revealing = -1;
    mimic_reveal_tick = 0;
    chest_opening = ChestOpening{-1, 0, 0, 0};
    bag_view = BagView{};
    combat = Combat{};
    killer_type = 0;
    reflex_fights = 1;
    reflex_started = 0;
    reflex_clear();
    turn_fight_run_reset();
    fight_rng_state = FIGHT_RNG_START;
    loot_rng_state = LOOT_RNG_START;
    run_stats_reset();
    berserk_floor = -1;
    fx_reset();
    training_stop();
    tips = Tips{};
    levelup_clear();
    boon_seed = 1;
    for (int32_t& b : boon_offers) b = BOON_NONE;
    camp = Camp{};
    camp_page = CAMP_PAGE_HUB;
    shrine = Shrine{};
    run_summary = RunSummary{};
    resume_in_camp = resume_in_fight = 0;
    particles_reset();
    flame_embers.count = 0;
    particle_rng = PARTICLE_RNG_START;
    fxfields_reset();
}

// What lives beyond a run: the profile, the settings and what telemetry counts.
void lifetime_records_reset() {
    profile = Profile{};
    profile_counters_forget();
    settings_defaults();
    file_write_failure_reset();
    write_failure_take();
    run_record_reset();
    softlock_reset();
    assert_sites_reset();
    perf_reset();
    perf_overlay_on = 0;
    session_open = session_away = 0;
    session_ticks = 0;
    event_lines_appended = run_lines_appended = 0;
    sender_last_count = -1;
    sender_last_start_ms = 0;
    sender_kept_lines = 0;
    install_id_set("");
    install_id_forget();
    case_shine_on = timing_bar_on = 0;
    audio_globals_reset();
}

// What the platform layer keeps of the picture and the input, which the game reads back.
void platform_records_reset() {
    case_model = CASE_16_9;
    screen_palette = PAL_SLATE;
    screen_effect = EFFECT_LCD;
    ghosting_applied = 1;
    hint_outline_mask = 0;
    input_device = INPUT_KEYBOARD;
    pad_glyph_style_set(PAD_XBOX);
    rebind_reset();
    handheld_mode = 0;
    scripted_input = 0;
    perf_test_on = perf_test_verdict = perf_trace_on = 0;
    gpu_path_failed = false;
}

// The draw pass's state and the screens' own records.
void draw_records_reset() {
    screen_layout = ScreenLayout{};
    layout_set_portrait();
    screen_clear();
    screen_reset_draw_state();
    sprite_clip = SpriteClip{0, 0, -1, -1, 0, 0};
    sprite_scaled_reuse = 0;
    icon_quarter_turn = 0;
    sharp_rects_clear();
    hit_regions_clear();
    for (RotSprite& r : rot_sprite_cache) r = RotSprite{};
    rot_sprite_renders = 0;
    view_flicker = view_detail_look = view_in_shrine = 0;
    view_horizon = VIEW_HORIZON_START;
    view_eye_height = 0.5f;
    view_stairs_distance = 0.0f;
    view_object_count = 0;
    vignette_w = vignette_h = 0;
    bag_layout = BagLayout{};
    item_card_compare = 0;
    fight_anchor = FightAnchor{0, 0};
    screen_snapshot = ScreenSnapshot{.pixels = {}, .width = 0, .height = 0, .stamp = -1, .used = 0};
    run_end_new_best = 0;
    run_end_best_floor = 0;
}

}  // namespace

void game_records_reset() {
    tick_records_reset();
    run_records_reset();
    lifetime_records_reset();
    platform_records_reset();
    draw_records_reset();
}

void knight_run_start(uint32_t seed) {
    fixed_seed = seed;
    fixed_seed_runs = 0;
    new_run();
    class_apply(CLASS_KNIGHT);
}

namespace {

// Before each test: a save folder of its own and a fresh game; the folder goes after the test.
struct FreshGameListener : ::testing::EmptyTestEventListener {
    std::unique_ptr<TempSaveDir> dir;
    void OnTestStart(const ::testing::TestInfo&) override {
        dir = std::make_unique<TempSaveDir>();
        game_records_reset();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { dir.reset(); }
};

const bool fresh_game_installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshGameListener);
    return true;
}();

}  // namespace
