// What the classic fight view's action panel promises: the damage ATTACK would do and what the
// monster's next move would do to the player. Both read the fight as it stands and draw nothing.
#include <algorithm>

#include "classes/gear_rules.h"
#include "combat/combat.h"
#include "combat/combat_queue.h"
#include "combat/duel.h"
#include "combat/turn_fight.h"
#include "items/equip.h"
#include "items/item.h"
#include "world/player.h"

int preview_attack_damage(int32_t* low, int32_t* high) {
    const int head = combat_head_move();
    const int m = head < 0 ? MOVE_HIT : head;
    *low = *high = 0;
    if (m == MOVE_FLIT || m == MOVE_WARD) return 0;
    const int a = turn_attack_value();
    const Item& main = player.main_hand;
    const bool twice = item_id_is_weapon(main.id) && !item_is_broken(main) &&
                       (item_def(main.id).flags & ITEM_FLAG_DOUBLE_STRIKE);
    const bool hardened = m == MOVE_HARDEN;
    int blows;
    if (twice) {
        blows = 2;
        *low = hardened ? 3 * a / 10 : 3 * a / 5;
        *high = hardened ? (3 * a + 6) / 10 : (3 * a + 6) / 5;
    } else {
        blows = 1;
        *low = hardened ? a / 2 : a;
        *high = hardened ? (a + 2) / 2 : a + 2;
    }
    *low = std::max(*low, 1);
    *high = std::max(*high, 1);
    return blows;
}

MonsterMovePreview preview_monster_move(bool guarding) {
    MonsterMovePreview p{};
    const int m = combat_head_move();
    if (m < 0) return p;
    const int a = combat_monster_attack();
    const int defence = player_defence_value(gear_rules_now());
    int b = a;
    p.blows = 1;
    switch (m) {
    case MOVE_SMASH: case MOVE_CHOMP: case MOVE_BLAST: case MOVE_CRUSH: case MOVE_SLAM: b = 2 * a; break;
    case MOVE_DOUBLE_BITE: b = a - 1; p.blows = 2; break;
    case MOVE_VENOM_BITE: case MOVE_FLIT: case MOVE_SPIT: b = a - 1; break;
    case MOVE_BREATH: b = 2 * a + a / 2; break;
    case MOVE_SWEEP: b = 3 * a / 2; break;
    case MOVE_EYE_GOLD: case MOVE_GRAB_RUN: case MOVE_INHALE: case MOVE_HARDEN: case MOVE_ROAR: case MOVE_DROOL:
    case MOVE_CHANT: case MOVE_WARD: case MOVE_RAISE: case MOVE_JAB: case MOVE_WIND_UP: case MOVE_SLASH:
    case MOVE_CLAW: case MOVE_TAIL: case MOVE_LUNGE: return MonsterMovePreview{};
    default: break;
    }
    if (!guarding) {
        p.low = std::max(1, b - defence);
        p.high = std::max(1, b - defence + 1);
    } else if (move_is_heavy(m)) {
        if (shield_ready()) {
            p.shield_stops = 1;
            p.low = p.high = 0;
        } else {
            const Item& main = player.main_hand;
            p.can_parry = item_id_is_weapon(main.id) && item_def(main.id).two_handed && !item_is_broken(main);
            p.low = std::max(1, b / 4 - defence);
            p.high = std::max(1, (b + 1) / 4 - defence);
        }
    } else {
        p.low = std::max(1, b / 2 - defence);
        p.high = std::max(1, (b + 1) / 2 - defence);
    }
    p.low *= p.blows;
    p.high *= p.blows;
    return p;
}
