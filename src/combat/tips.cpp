// The one-time tips: thirty texts typed into a box during training, each shown once, the hint line
// the driver keeps up to date, and the threat text of normal play. The tick runs the driver.
#include <cstdio>
#include <cstring>

#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/reflex.h"
#include "combat/status.h"
#include "combat/training.h"
#include "dungeon/monsters.h"
#include "items/bag.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "services/rumble.h"
#include "services/services.h"
#include "services/toast.h"
#include "sound/audio.h"
#include "world/game_state.h"
#include "world/player.h"

Tips tips = {};

const char* const TIPS[TIP_COUNT] = {
    [0] = "FIND A WAY OUT. PRESS {UP} TO STEP FORWARD AND {DOWN} TO BACK UP; PRESS {LEFT} OR {RIGHT} TO TURN.",
    [1] = "A RAT! FIGHTS HAPPEN AS YOU PLAY, NOT IN TURNS. PRESS {A} TO JAB: A QUICK HIT. JAB IT THREE TIMES.",
    [2] = "THE THIRD JAB IN A ROW IS A FINISHER: IT HITS MUCH HARDER, BUT YOU'RE OPEN AFTER IT. PRESS {A} THREE "
          "TIMES IN A ROW. LAND THREE FINISHERS.",
    [3] = "YOU'VE NO SHIELD. SOMETHING LIES AHEAD: WALK OVER IT TO PICK IT UP.",
    [4] = "A SHIELD! IT'S IN YOUR BAG. PRESS {SELECT} TO OPEN THE BAG, THEN PRESS {A} ON THE SHIELD TO EQUIP IT.",
    [5] = "THE SHIELD'S ON. PRESS {B} TO CLOSE THE BAG.",
    [6] = "BETTER: TAP {B} JUST AS THE RING TOUCHES IT. A PARRY: YOU TAKE NOTHING, AND IT REELS. TOO EARLY, AND "
          "IT'S ONLY A BLOCK. PARRY THREE.",
    [7] = "NOW FINISH IT: PRESS {A}. A PARRY LEAVES IT OPEN FOR A MOMENT -- AND KEEP PARRYING WHEN IT WINDS UP.",
    [8] = "YOU'RE HURT, AND HP DOESN'T COME BACK ON ITS OWN. A POTION HEALS WHERE IT LIES: WALK INTO THE ONE IN "
          "THE ROOM. AT FULL HP IT STAYS PUT, FOR LATER.",
    [9] = "LEVEL UP! YOU PICK ONE OF THREE. TAKE BLOODTHIRST: A BOON IS A POWER FOR THE WHOLE RUN -- THIS ONE "
          "HEALS YOU A LITTLE WITH EVERY KILL.",
    [10] = "AN ANTIDOTE: IT CURES POISON. DRINK IT FROM THE BAG WHEN YOU NEED IT.",
    [11] = "ANOTHER RAT, AND ITS BITE POISONS. PARRY IT, AND IT CAN'T BITE YOU.",
    [12] = "POISONED! IT EATS YOUR HP UNTIL IT WEARS OFF. PRESS {SELECT} FOR THE BAG, THEN PRESS {A} ON THE "
           "ANTIDOTE.",
    [13] = "CURED. PRESS {B} TO CLOSE THE BAG.",
    [14] = "THE ORC CHARGES! A HEAVY BLOW CAN'T BE PARRIED: IT LEANS ONE WAY, AND ARROWS POINT THE OTHER. PRESS "
           "{LEFT} OR {RIGHT} TO DODGE WHERE THEY POINT. DODGE THREE.",
    [15] = "A FULL HEAVY ALSO STOPS AN ATTACK: HOLD {A} AND LET GO SO IT LANDS WHILE IT WINDS UP, AND IT'S KNOCKED "
           "OUT OF IT.",
    [16] = "EVERY HIT FILLS THE STARS OVER ITS HEAD. FILL THEM ALL AND IT REELS, WIDE OPEN: HIT IT THEN FOR MORE "
           "DAMAGE.",
    [17] = "ONE LAST FIGHT: A SKELETON. THERE'S A POTION ON THE WAY: WALK INTO IT IF YOU'RE HURT.",
    [18] = "IT RAISES A SHIELD. JABS ONLY CRACK IT. HOLD {A} FOR A FULL HEAVY, THEN LET GO: IT SMASHES THE SHIELD.",
    [19] = "NOW THE REAL THING: IT MIXES EVERYTHING. READ EACH WIND-UP, AND ANSWER IT.",
    [20] = "FLOW! CLEAN PLAY BUILDS IT, AND IT RAISES YOUR DAMAGE. A HIT ON YOU DROPS IT. PLAY CLEAN LONG ENOUGH "
           "AND THREAT RISES: THE FIGHT PUSHES BACK, FOR MORE SOULS.",
    [21] = "HEAVIES TIRE YOU: AFTER TWO IN A ROW THEY CHARGE SLOWER AND HIT SOFTER. MIX IN A JAB.",
    [22] = "ANOTHER LEVEL, AND BLOODTHIRST AGAIN: A BOON YOU PICK AGAIN RANKS UP, I TO V. LATER ON, TWO BOONS AT "
           "RANK V CAN MERGE INTO ONE STRONGER EVOLUTION.",
    [23] = "ANOTHER LEVEL. A BOON YOU PICK AGAIN RANKS UP, STRONGER.",
    [24] = "A CAMP. EVERY THIRD FLOOR HAS ONE. THE BIG ONE IS THE BOON: A POWER FOR THIS RUN. ONE OF THE THREE IS "
           "ALWAYS FREE.",
    [25] = "SELL WHAT YOU DON'T NEED FOR GOLD: GOLD BUYS THE BETTER BOONS. MONSTERS DROP GOLD, GEAR AND POTIONS AS "
           "YOU GO.",
    [26] = "SHOP: POTIONS, GEAR AND KEYS -- KEYS OPEN LOCKED DOORS AND CHESTS. REST: THE FIRE HEALS YOU.",
    [27] = "FORGE: REPAIR WORN GEAR OR MAKE IT STRONGER. LEAVE WHEN YOU'RE READY.",
    [28] = "A GOBLIN. WATCH IT WIND UP: A RING CLOSES IN ON IT. HOLD {B}: A BLOCK. YOUR SHIELD TAKES MOST OF THE "
           "BLOW -- YOU TAKE A LITTLE.",
    [29] = "NOW FINISH IT: PRESS {A}. KEEP DODGING ITS HEAVY BLOWS.",
};

namespace {

constexpr const char* THREAT_TEXT =
    "THREAT: YOU'RE CRUISING, SO THE FIGHT PUSHES BACK. FASTER BLOWS, MORE SOULS. A HIT ON YOU COOLS IT.";
constexpr int32_t PARRY_LATE_MS = 400;  // a guard press this soon after the hurt came too late
constexpr int HEAVIES_IN_A_ROW = 3;
constexpr int32_t ORC_CHARGE_TICKS = 40;

bool shown(int id) { return (tips.shown >> id) & 1u; }

void hint_set(const char* text) { std::snprintf(training.hint, sizeof training.hint, "%s", text); }

bool monster_on(int x, int y) { return monster_at(x, y) >= 0; }

void tip_expand() {
    tips.buffer ^= 1;
    text_expand_glyphs(tips.text, tips.expanded[tips.buffer], TIP_TEXT_BYTES);
}

void tip_show(const char* text, int id) {
    tips.text = text;
    tips.typed = 0;
    tips.id = id;
    tip_expand();
    play_sfx(SFX_CONFIRM);
}

void dungeon_tips(const TipsWorld& world) {
    const int f = current_floor;
    if (f != tips.last_floor) {
        tips.last_floor = f;
        training.hint[0] = '\0';
        if (f == 0 && show_tip_once(TIP_FIND_WAY)) return;
        if (f == 1 && show_tip_once(TIP_NO_SHIELD)) return;
        if (f == 3 && show_tip_once(TIP_SKELETON)) return;
    }
    const bool has_shield = bag_find(ITEM_WOODEN_SHIELD) >= 0;
    const bool has_antidote = bag_find(ITEM_ANTIDOTE) >= 0;
    const bool poisoned = status_has(player.status, ST_POISON);
    switch (f) {
    case 0:
        if (player.x == 10 && player.y >= 4 && player.y <= 6 && monster_on(10, 7))
            hint_set("A RAT BLOCKS THE WAY. WALK INTO IT TO FIGHT");
        else if (!monster_on(10, 7) && shown(TIP_JAB))
            hint_set("GO UP THE STAIRS");
        break;
    case 1:
        if (has_shield && show_tip_once(TIP_SHIELD)) return;
        if (player.off_hand.id == ITEM_WOODEN_SHIELD && monster_on(8, 8)) {
            hint_set("YOUR SHIELD BLOCKS PART OF EVERY HIT");
        } else if (!monster_on(8, 8)) {
            if (player.hp < player.max_hp && map_has_potion() && levelup.pending == 0 && show_tip_once(TIP_POTION))
                return;
            hint_set(training_potion_due() ? "WALK INTO THE POTION IN THE ROOM TO DRINK IT" : "GO UP THE STAIRS");
        }
        break;
    case 2: {
        if (has_antidote && show_tip_once(TIP_ANTIDOTE)) {
            hint_set("AN ANTIDOTE CURES POISON");
            return;
        }
        if (poisoned && has_antidote && levelup.pending == 0 && show_tip_once(TIP_POISONED)) return;
        if (training_antidote_due()) return;
        bool orc_here = false;
        for (int i = 0; i < monsters.count; i++) orc_here = orc_here || monsters.list[i].type == M_ORC;
        if (orc_here && player.x < 8 && player.y >= 3 && player.y <= 5 && !world.encounter_armed) {
            show_orc_charge(world);
        } else if (orc_here) {
            if (monster_on(9, 1))
                hint_set("AN ANTIDOTE CURES POISON");
            else if (player.y == 4 && player.x > 7)
                hint_set("SOMETHING BIG AHEAD...");
        } else {
            hint_set("GO UP THE STAIRS");
        }
        break;
    }
    case 3: hint_set(monster_on(7, 4) ? "GO UP THE STAIRS" : "GO UP THE STAIRS. A CAMP WAITS ABOVE"); break;
    default: break;
    }
}

// The parry drill's word after a hurt: pressed too late, or not at all.
bool parry_late_word() {
    if (training.drill != DRILL_PARRY || training.hurt_at < 0) return false;
    const Reflex& r = reflex;
    if (r.last_guard_press_at >= training.hurt_at && r.last_guard_press_at - training.hurt_at <= PARRY_LATE_MS) {
        show_tip_text("TOO LATE: PRESS IT AS IT LANDS");
        training.hurt_at = -1;
        return true;
    }
    if (r.clock - training.hurt_at > PARRY_LATE_MS) {
        show_tip_text("TAP {B} AS THE RING TOUCHES IT");
        training.hurt_at = -1;
        return true;
    }
    return false;
}

void duel_tips() {
    if (parry_late_word()) return;
    const int s = reflex.monster_state;
    if (s == MS_RECOVER || s == MS_ATTACK || s == MS_DEAD) return;
    switch (training.drill) {
    case DRILL_JAB: show_tip_once(TIP_JAB); break;
    case DRILL_FINISHER: show_tip_once(TIP_FINISHER); break;
    case DRILL_BLOCK: show_tip_once(TIP_BLOCK); break;
    case DRILL_PARRY: show_tip_once(TIP_PARRY); break;
    case DRILL_FINISH_IT: show_tip_once(combat.type == M_GOBLIN ? TIP_FINISH_GOBLIN : TIP_POISON_RAT); break;
    case DRILL_DODGE: show_tip_once(TIP_DODGE); break;
    case DRILL_FINISH_ORC: show_tip_once(TIP_FINISH_ORC); break;
    case DRILL_SMASH: show_tip_once(TIP_SMASH); break;
    case DRILL_STOP: show_tip_once(TIP_STOP); break;
    case DRILL_STARS: show_tip_once(TIP_STARS); break;
    case DRILL_MIXED:
        if (show_tip_once(TIP_MIXED)) break;
        if (combo_tier_percent() > 100 && show_tip_once(TIP_FLOW)) break;
        if (reflex.heavy_chain >= HEAVIES_IN_A_ROW) show_tip_once(TIP_HEAVIES);
        break;
    default: break;
    }
}

void levelup_tips() {
    if (show_tip_once(TIP_LEVEL_UP)) return;
    if (current_floor < 3 || shown(TIP_BOON_AGAIN) || shown(TIP_BOON_NEW)) return;
    int offer = levelup.boon_offer;
    bool owned = offer >= 0 && offer < BOON_SLOTS && player.boon_ranks[offer] > 0;
    show_tip_once(owned ? TIP_BOON_AGAIN : TIP_BOON_NEW);
}

}  // namespace

bool show_tip_once(int id) {
    if (id < 0 || id >= TIP_COUNT || shown(id)) return false;
    tips.shown |= 1u << id;
    tip_show(TIPS[id], id);
    return true;
}

void show_tip_text(const char* text) {
    char line[TIP_TEXT_BYTES];
    text_expand_glyphs(text, line, sizeof line);
    int len = (int)std::strlen(line);
    if (len < TOAST_LINE_BYTES) {
        toast_show(line);
        return;
    }
    // Too long for one toast line: break at the last blank that leaves a first line that fits.
    int cut = TOAST_LINE_BYTES - 1;
    while (cut > 0 && line[cut] != ' ') cut--;
    if (cut == 0) cut = TOAST_LINE_BYTES - 1;
    char first[TOAST_LINE_BYTES];
    std::snprintf(first, sizeof first, "%.*s", cut, line);
    const char* rest = line + cut;
    while (*rest == ' ') rest++;
    toast_show2(first, rest);
}

bool tip_or_prompt_showing() { return tips.text != nullptr || training.over_prompt != 0; }

const char* tip_shown_text(int* reveal) {
    if (!tips.text) return nullptr;
    const char* t = tips.expanded[tips.buffer];
    int len = (int)std::strlen(t);
    if (reveal) *reveal = tips.typed < len ? tips.typed : len;
    return t;
}

void show_orc_charge(const TipsWorld& world) {
    for (int i = 0; i < monsters.count; i++) {
        Monster& m = monsters.list[i];
        if (m.type != M_ORC) continue;
        m.x = player.x - 1;
        m.y = player.y - 1;
        m.orc_vertical = 0;
        if (world.arm_encounter) world.arm_encounter(M_ORC, m.x, m.y, ORC_CHARGE_TICKS);
        training.hint[0] = '\0';
        play_sfx(SFX_BANNER);
        rumble_add(0.6f, 0.4f, 300);
        toast_show("THE ORC CHARGES!");
        return;
    }
}

void tips_update(const TipsWorld& world) {
    if (tips.text) {
        tip_expand();
        int len = (int)std::strlen(tips.expanded[tips.buffer]);
        if (tips.typed < len) tips.typed++;
        return;
    }
    if (world.transition_running) return;
    if (!training_active()) {
        if (game_state == STATE_DUNGEON && !profile_hint_seen() && flow_level() > 0) {
            profile_hint_mark();
            tip_show(THREAT_TEXT, TIP_THREAT);
        }
        return;
    }
    if (training.over_prompt) return;
    switch (game_state) {
    case STATE_DUNGEON: dungeon_tips(world); break;
    case STATE_BAG:
        if (current_floor == 1 && player.off_hand.id == ITEM_WOODEN_SHIELD)
            show_tip_once(TIP_SHIELD_ON);
        else if (shown(TIP_POISONED) && !status_has(player.status, ST_POISON))
            show_tip_once(TIP_CURED);
        break;
    case STATE_LEVELUP: levelup_tips(); break;
    case STATE_CAMP:
        if (world.camp_on_hub)
            for (int id = TIP_CAMP; id <= TIP_FORGE; id++)
                if (show_tip_once(id)) break;
        break;
    case STATE_COMBAT:
        if (combat.reflex) duel_tips();
        break;
    default: break;
    }
}
