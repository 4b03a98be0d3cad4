// One step of the player: what the next cell holds decides whether they bump, open, take or walk.
// Stairs, the exit, urns and hollow walls act only on a forward step; backing into them bumps.
#include <cstdio>
#include <cstring>

#include "classes/classes.h"
#include "classes/gear_rules.h"
#include "combat/run_stats.h"
#include "profile/profile.h"
#include "dungeon/particles.h"
#include "render/screen.h"
#include "combat/combat.h"
#include "combat/loot.h"
#include "combat/status.h"
#include "combat/training.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/secrets.h"
#include "dungeon/view_pos.h"
#include "dungeon/wander.h"
#include "game/explore.h"
#include "world/player.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/floor_items.h"
#include "items/item_random.h"
#include "items/potion.h"
#include "services/toast.h"
#include "services/rumble.h"
#include "screens/screens.h"
#include "sound/audio.h"
#include "telemetry/run_record.h"

namespace {

// The gold the chest's potion becomes when the player is at full hp.
constexpr int32_t CHEST_POTION_GOLD = 25;

// Statuses tick once per step moved, and outside a fight they never take the last hit point.
void status_step() {
    for (int i = 0; i < ST_COUNT; ++i) {
        if (player.status[i] == 0) continue;
        if (status_tick_player(i, 1) < 0) play_sfx(SFX_STATUS);
        if (player.status[i] == 0) {
            char line[TOAST_LINE_BYTES];
            std::snprintf(line, sizeof line, "%s wore off", STATUS_TICK[i].name);
            toast_show(line);
        }
    }
}

// A wear item the class cannot use goes into the bag already marked for selling.
void mark_junk_if_unusable(int entry) {
    Item& item = player.bag.entries[entry].item;
    if (item_is_wearable(item) && !class_can_use(item)) item.junk = 1;
}

// A name that fits a toast line: the quality word (when there is one) and the short name, with
// the upgrade when asked. The word is the item's own, so a Fine sword never reads as Rare.
void short_item_name(const Item& item, char* out, size_t size, bool with_upgrade) {
    const char* word = item_quality_word(item);
    const char* short_name = item_def(item.id).short_name;
    int n = word ? std::snprintf(out, size, "%s %s", word, short_name) : std::snprintf(out, size, "%s", short_name);
    if (with_upgrade && n > 0 && (size_t)n < size) std::snprintf(out + n, size - (size_t)n, " +%d", item.upgrade);
}

// Drinks a healing potion where it was found and counts it in the run's statistics.
int drink_potion(int id) {
    int gained = potion_drink_heal(id, upgrade_active_rank(UPGRADE_FORAGER));
    if (gained > 0) {
        run_stats_count_potion();
        run_record_potion(gained);
    }
    return gained;
}

void open_chest(int x, int y) {
    int fi = floor_item_find(x, y);
    Item item = fi >= 0 ? floor_items.entries[fi].item : item_make_gear(current_floor, next_random, gear_rules_now());
    int entry = bag_add(player.bag, item, 1);
    if (entry < 0) {
        toast_show("BAG IS FULL");
        play_sfx(SFX_DENY);
        return;
    }
    if (fi >= 0) floor_item_remove(fi);
    run_record_item_event("pickup", item, 1, "chest");
    mark_junk_if_unusable(entry);
    luck_reset_if_better(item, gear_rules_now());
    player.keys--;
    gmap[y][x] = GLYPH_CHEST_OPEN;
    chest_opening = ChestOpening{current_floor, x, y, frame_counter};
    // At full hp the chest's potion pays instead; what the purse cannot take is told over the item.
    bool purse_full = false;
    if (drink_potion(floor_potion_id(current_floor)) == 0) purse_full = !gold_take(&player.gold, CHEST_POTION_GOLD);

    char name[40];
    item_name(item, name, sizeof name);
    if (std::strlen(name) > 21) short_item_name(item, name, sizeof name, true);
    toast_show2(purse_full ? PURSE_FULL_TEXT : "CHEST OPENED!", name);
    play_sfx(SFX_REWARD);
    rumble_add(0.4f, 0.4f, 160);
}

void take_item(int x, int y, char letter) {
    int fi = floor_item_find(x, y);
    Item item = fi >= 0 ? floor_items.entries[fi].item : item_from_letter(letter);
    const ItemDef& def = item_def(item.id);
    char line[TOAST_LINE_BYTES + 16];
    if (item_id_is_healing(item.id)) {
        int gained = drink_potion((int)item.id);
        if (gained == 0) {
            toast_show("FULL HP: LEFT IT");
            return;
        }
        if (fi >= 0) floor_item_remove(fi);
        gmap[y][x] = GLYPH_FLOOR;
        play_sfx(SFX_HEAL);
        std::snprintf(line, sizeof line, "%s: +%d HP", def.short_name, gained);
        toast_show(line);
        return;
    }
    const char* where = fi >= 0 ? floor_item_source_word(fi) : "floor";
    int entry = bag_add(player.bag, item, 1);
    if (entry < 0) {
        toast_show("Bag is full!");
        play_sfx(SFX_DENY);
        run_record_item_event("bagfull", item, 1, where);
        return;
    }
    run_record_item_event("pickup", item, 1, where);
    mark_junk_if_unusable(entry);
    luck_reset_if_better(item, gear_rules_now());
    play_sfx(SFX_PICKUP);
    int count = player.bag.entries[entry].count;
    if (item_id_is_stackable(item.id) && count > 1) {
        std::snprintf(line, sizeof line, "Found %s (x%d)", def.short_name, count);
    } else {
        char name[32];
        item_name(item, name, sizeof name);
        if (std::strlen(name) > 17) short_item_name(item, name, sizeof name, false);
        std::snprintf(line, sizeof line, "Found %s", name);
    }
    toast_show(line);
    if (fi >= 0) floor_item_remove(fi);
    gmap[y][x] = GLYPH_FLOOR;
}

void take_pickup(int x, int y, char letter) {
    char line[TOAST_LINE_BYTES];
    // Gold or a key the purse or the keyring cannot take whole stays on the floor, as an item
    // stays when the bag is full.
    if (letter == GLYPH_GOLD && !gold_fits(player.gold, gold_pickup_amount())) {
        toast_show(PURSE_FULL_TEXT);
        play_sfx(SFX_DENY);
    } else if (letter == GLYPH_KEY && !keys_fit(player.keys, 1)) {
        toast_show(KEYRING_FULL_TEXT);
        play_sfx(SFX_DENY);
    } else if (letter == GLYPH_GOLD) {
        player.gold = bound_gold(player.gold, gold_pickup_amount());
        play_sfx(SFX_COIN);
        std::snprintf(line, sizeof line, "Gold! (%d total)", player.gold);
        toast_show(line);
        gmap[y][x] = GLYPH_FLOOR;
    } else if (letter == GLYPH_KEY) {
        player.keys = bound_keys(player.keys, 1);
        play_sfx(SFX_PICKUP);
        std::snprintf(line, sizeof line, "Found a key! (x%d)", player.keys);
        toast_show(line);
        gmap[y][x] = GLYPH_FLOOR;
    } else {
        take_item(x, y, letter);
    }
}

// The player walked into monster slot m standing on (x, y), going in direction dir.
void bump_monster(int m, int x, int y, int dir) {
    const Monster& mon = monsters.list[m];
    if (dir == player.facing) {
        if (mon.type == M_MIMIC && !mimic_is_revealed(mon))
            encounter_arm(mon.type, x, y, 1);
        else
            start_combat(mon.type, x, y);
        return;
    }
    // Backing into it: the view swings round first and the fight waits for the turn to finish.
    int quarters = (dir - player.facing + 4) % 4;
    for (int q = 0; q < quarters; ++q) view_pos.angle_target += VIEW_QUARTER_TURN;
    player.facing = dir;
    play_sfx(SFX_SWISH);
    encounter_arm(mon.type, x, y, 3);
}

void walk_to(int x, int y, int dir) {
    int m = monster_at(x, y);
    if (m >= 0) {
        bump_monster(m, x, y, dir);
        return;
    }
    char c = gmap_at(x, y);
    if (glyph_is_pickup(c)) take_pickup(x, y, c);
    player.x = x;
    player.y = y;
    play_sfx(SFX_STEP);
    status_step();
    explore_mark_view();
    if (game_state == STATE_DUNGEON) monsters_step(explore_monsters_frozen());
}

bool dragon_alive() {
    for (int i = 0; i < monsters.count && i < MAX_MONSTERS; ++i)
        if (monsters.list[i].type == M_DRAGON) return true;
    return false;
}

void open_door(int x, int y) {
    if (player.keys < 1) {
        toast_show("Locked! Need a key.");
        play_sfx(SFX_DENY);
        return;
    }
    player.keys--;
    gmap[y][x] = GLYPH_FLOOR;
    toast_show("The door creaks open.");
    play_sfx(SFX_5);
}

// What the player hears and sees on finding a hollow wall or opening a secret room.
void secret_feedback(SecretFind found) {
    if (found == SECRET_OPENED) {
        play_sfx(SFX_SECRET);
        spawn_motes(true, screen_view_width(), screen_view_height());
        rumble_add(0.6f, 0.35f, 220);
        toast_show("A SECRET ROOM!");
        profile_count_secret();
    } else if (found == SECRET_HOLLOW) {
        play_sfx(SFX_HOLLOW);
        spawn_motes(false, screen_view_width(), screen_view_height());
        rumble_add(0.2f, 0.05f, 60);
        toast_show("THE WALL SOUNDS HOLLOW");
    }
}

// The cells that act only when walked into face first.
void step_forward_only(int x, int y, char c) {
    switch (c) {
    case GLYPH_HOLLOW:
    case GLYPH_CRACKED: secret_feedback(wall_bump_secret(x, y)); break;
    case GLYPH_URN: urn_break(x, y); break;
    case GLYPH_STAIRS:
        if (training_step_gate()) {
            play_sfx(SFX_DENY);
            break;
        }
        status_step();
        floor_banner();
        break;
    case GLYPH_EXIT:
        if (dragon_alive()) {
            toast_show("THE DRAGON BARS THE WAY");
            play_sfx(SFX_DENY);
            break;
        }
        way_out_open = 1;
        way_out_cursor = current_floor >= MAX_FLOOR ? 1 : 0;
        play_sfx(SFX_CONFIRM);
        break;
    }
}

}  // namespace

void dungeon_step(int dir) {
    int heading = dir < 0 ? (player.facing + 2) % 4 : player.facing;
    int dx, dy;
    facing_vector(heading, &dx, &dy);
    int x = player.x + dx, y = player.y + dy;
    char c = gmap_at(x, y);
    if (c == GLYPH_WALL) {
        play_sfx(SFX_HIT);
        return;
    }
    if (training_refuses_step(x, y)) {
        play_sfx(SFX_DENY);
        return;
    }
    switch (c) {
    case GLYPH_DOOR: open_door(x, y); break;
    case GLYPH_CHEST:
        if (player.keys < 1) {
            toast_show("LOCKED: NEED A KEY");
            play_sfx(SFX_DENY);
        } else {
            open_chest(x, y);
        }
        break;
    case GLYPH_CHEST_OPEN:
        toast_show("THE CHEST IS EMPTY");
        play_sfx(SFX_HIT);
        break;
    case GLYPH_HOLLOW:
    case GLYPH_CRACKED:
    case GLYPH_URN:
    case GLYPH_STAIRS:
    case GLYPH_EXIT:
        if (dir > 0)
            step_forward_only(x, y, c);
        else
            play_sfx(SFX_HIT);
        break;
    default:
        // Any other wall-like glyph is a wall to the feet, whatever it looks like.
        if (glyph_blocks(c))
            play_sfx(SFX_HIT);
        else
            walk_to(x, y, heading);
        break;
    }
}
