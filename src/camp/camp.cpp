// The camp's rules: arrival, the prices, the shop's stock, the sell, forge and buy-back lists, and
// the input of every page. The state machine hands it the camp's input; the camp screen draws it.
#include "camp/camp.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "boons/boons.h"
#include "classes/classes.h"
#include "classes/gear_rules.h"
#include "combat/fx.h"
#include "combat/meters.h"
#include "dungeon/floor.h"
#include "dungeon/fxfield.h"
#include "items/bag.h"
#include "items/enchant.h"
#include "items/item.h"
#include "items/item_random.h"
#include "items/potion.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "services/confirm.h"
#include "services/toast.h"
#include "sound/audio.h"
#include "telemetry/run_record.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

Camp camp;
int32_t camp_page = CAMP_PAGE_HUB;

namespace {

// Floors 3, 6 and 9 of every ten (bits of floor % 10).
constexpr uint32_t CAMP_FLOOR_MASK = (1u << 3) | (1u << 6) | (1u << 9);
static_assert(CAMP_FLOOR_MASK == 584);
constexpr int FORGE_ROWS = 4;
constexpr int BOON_PAGE_ROWS = 4;  // three offers and the redraw
constexpr int BOON_REDRAW_ROW = 3;
constexpr int REDRAW_DOUBLINGS_MAX = 12;
constexpr uint32_t STOCK_SEED_MUL = 0x9E3779B1u;
constexpr uint32_t FORGE_SEED_MUL = 0x85EBCA6Bu;
constexpr uint32_t FORGE_SEED_SALT = 0xF0F6E5u;
constexpr int FX_SLOT_CAMPFIRE = 2;
constexpr int FIRE_HEIGHT = 14;

// The hub's tiles in grid order (the boon banner above them, ONWARD below).
constexpr int32_t HUB_TILES[4] = {CAMP_TILE_SELL, CAMP_TILE_SHOP, CAMP_TILE_FORGE, CAMP_TILE_REST};

uint32_t xorshift(uint32_t s) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}

// The shop's stock stream, reseeded each time the stock is made.
uint32_t stock_state = 1;
int stock_rand(int n) {
    stock_state = xorshift(stock_state);
    return n > 0 ? (int)(stock_state % (uint32_t)n) + 1 : 1;
}

int discount_percent() { return boon_value(BOON_CAMP_DISCOUNT); }

void deny(const char* text) {
    if (text) toast_show(text);
    play_sfx(SFX_DENY);
}

// Pays a price when the purse holds it; otherwise says so.
bool pay(int price) {
    if (player.gold < price) {
        deny("NOT ENOUGH GOLD");
        return false;
    }
    player.gold -= price;
    return true;
}

// Puts one bought unit in the bag; false when it has no room for it, a stack at its bound included,
// where the unit would be paid for and counted nowhere.
bool bag_take(const Item& item) { return bag_add(player.bag, item, 1) >= 0; }

// Whether the purse can take `gold` whole. A sale past the bound would take the item for gold
// counted nowhere, so it is refused as a buy onto a full stack is.
bool purse_takes(int64_t gold) {
    if (gold_fits(player.gold, gold)) return true;
    deny(PURSE_FULL_TEXT);
    return false;
}

void short_name_toast(const char* format, const Item& item) {
    char text[TOAST_LINE_BYTES];
    std::snprintf(text, sizeof text, format, item_def(item.id).short_name);
    toast_show(text);
}

// Cursor moves over a list of n rows, wrapping; an empty list keeps the cursor at 0.
void list_move(uint8_t presses, int n) {
    if (n <= 0) {
        camp.cursor = 0;
        return;
    }
    const int32_t before = camp.cursor;
    if (presses & BTN_UP) camp.cursor = (camp.cursor + n - 1) % n;
    if (presses & BTN_DOWN) camp.cursor = (camp.cursor + 1) % n;
    if (camp.cursor < 0 || camp.cursor >= n) camp.cursor = n - 1;
    if (camp.cursor != before) play_sfx(SFX_MOVE);
}

void clamp_cursor(int n) {
    if (camp.cursor >= n) camp.cursor = n > 0 ? n - 1 : 0;
    if (camp.cursor < 0) camp.cursor = 0;
}

void go_page(int32_t page, int32_t cursor) {
    camp_page = page;
    camp.cursor = cursor;
}

void back_to_hub(int32_t tile) { go_page(CAMP_PAGE_HUB, tile); }

// Enters one sold unit in the buy-back list: counted up on an equal entry, else appended, the
// oldest dropped when the list is full. Entries are kept without the junk mark, so the unit is
// compared without it too.
void buy_back_add(const Item& item, int price) {
    Item kept = item;
    kept.junk = 0;
    for (int i = 0; i < camp.buy_back_count; i++) {
        CampBuyBack& e = camp.buy_back[i];
        if (e.price == price && item_equal(e.item, kept)) {
            e.count = bound_stack(e.count, 1);
            return;
        }
    }
    if (camp.buy_back_count >= CAMP_BUY_BACK_MAX) {
        std::memmove(&camp.buy_back[0], &camp.buy_back[1], sizeof(CampBuyBack) * (CAMP_BUY_BACK_MAX - 1));
        camp.buy_back_count = CAMP_BUY_BACK_MAX - 1;
    }
    camp.buy_back[camp.buy_back_count++] = CampBuyBack{kept, 1, price};
}

// ---- hub ----

int hub_index(int32_t tile) {
    for (int i = 0; i < 4; i++)
        if (HUB_TILES[i] == tile) return i;
    return -1;
}

void hub_move(uint8_t presses) {
    const int cols = camp_hub_columns();
    const int32_t before = camp.cursor;
    const int t = hub_index(camp.cursor);
    if (t >= 0) camp.hub_tile = t;
    if (presses & BTN_UP) {
        if (camp.cursor == CAMP_TILE_ONWARD) camp.cursor = HUB_TILES[camp.hub_tile >= 0 && camp.hub_tile < 4 ? camp.hub_tile : 0];
        else if (t >= cols) camp.cursor = HUB_TILES[t - cols];
        else if (t >= 0) camp.cursor = CAMP_TILE_BOONS;
    } else if (presses & BTN_DOWN) {
        if (camp.cursor == CAMP_TILE_BOONS) camp.cursor = HUB_TILES[camp.hub_tile >= 0 && camp.hub_tile < 4 ? camp.hub_tile : 0];
        else if (t >= 0 && t + cols < 4) camp.cursor = HUB_TILES[t + cols];
        else if (t >= 0) camp.cursor = CAMP_TILE_ONWARD;
    } else if (t >= 0 && (presses & BTN_LEFT) && t % cols > 0) {
        camp.cursor = HUB_TILES[t - 1];
    } else if (t >= 0 && (presses & BTN_RIGHT) && t % cols < cols - 1 && t + 1 < 4) {
        camp.cursor = HUB_TILES[t + 1];
    }
    const int now = hub_index(camp.cursor);
    if (now >= 0) camp.hub_tile = now;
    if (camp.cursor != before) play_sfx(SFX_MOVE);
}

CampAction hub_pick() {
    switch (camp.cursor) {
        case CAMP_TILE_SELL:
            if (player.bag.count > 0 || camp.buy_back_count > 0) go_page(CAMP_PAGE_SELL, 0);
            else deny("NOTHING TO SELL");
            break;
        case CAMP_TILE_BOONS:
            if (camp.boon_taken) deny("BOON ALREADY TAKEN");
            else go_page(CAMP_PAGE_BOONS, 0);
            break;
        case CAMP_TILE_SHOP: go_page(CAMP_PAGE_SHOP, 0); break;
        case CAMP_TILE_FORGE:
            if (camp_has_gear()) go_page(CAMP_PAGE_FORGE, 0);
            else deny("NO GEAR TO FORGE");
            break;
        case CAMP_TILE_REST:
            if (camp.rested) deny("YOU'VE RESTED HERE");
            else if (player.hp >= player.max_hp) deny("YOU'RE AT FULL HP");
            else if (camp_floor_last() || camp_rest_keeps_meters()) camp_rest();
            else confirm_lose_flow();
            break;
        case CAMP_TILE_ONWARD: return CAMP_ONWARD;
        default: camp.cursor = CAMP_TILE_SELL; break;
    }
    return CAMP_STAY;
}

// ---- sell and buy back ----

void sell_junk() {
    int total = 0;
    camp_junk_total(nullptr, &total);
    if (!purse_takes(total)) return;
    int units = 0, gold = 0;
    // Entered for buying back in bag order, then removed from the end so the indices hold.
    for (int i = 0; i < player.bag.count; i++) {
        const BagEntry& e = player.bag.entries[i];
        if (!e.item.junk) continue;
        const int value = item_value(e.item);
        for (int u = 0; u < e.count; u++) buy_back_add(e.item, value);
        units += e.count;
        gold += value * e.count;
        run_record_item_event("sell", e.item, value * e.count, "junk");
    }
    for (int i = player.bag.count - 1; i >= 0; i--)
        if (player.bag.entries[i].item.junk) bag_remove(player.bag, i);
    player.gold = bound_gold(player.gold, gold);
    char text[TOAST_LINE_BYTES];
    std::snprintf(text, sizeof text, "SOLD %d JUNK +%dG", units, gold);
    toast_show(text);
    play_sfx(SFX_COIN);
}

void sell_unit(int idx) {
    BagEntry& e = player.bag.entries[idx];
    const Item item = e.item;
    const int value = item_value(item);
    if (!purse_takes(value)) return;
    player.gold = bound_gold(player.gold, value);
    char text[TOAST_LINE_BYTES];
    std::snprintf(text, sizeof text, "SOLD %s +%dG", item_def(item.id).short_name, value);
    toast_show(text);
    run_record_item_event("sell", item, value, "bag");
    buy_back_add(item, value);
    if (e.count > 1) e.count--;
    else bag_remove(player.bag, idx);
    play_sfx(SFX_COIN);
}

void update_sell(uint8_t presses) {
    int32_t rows[CAMP_LIST_MAX];
    int n = camp_sell_rows(rows);
    list_move(presses, n);
    if ((presses & BTN_A) && n > 0) {
        clamp_cursor(n);
        const int32_t row = rows[camp.cursor];
        if (row == CAMP_ROW_JUNK) sell_junk();
        else if (row == CAMP_ROW_BUY_BACK) {
            go_page(CAMP_PAGE_BUY_BACK, 0);
            play_sfx(SFX_CONFIRM);
            return;
        } else if (row >= 0 && row < player.bag.count) sell_unit(row);
        n = camp_sell_rows(rows);
        clamp_cursor(n);
    }
    if (presses & BTN_B) {
        if (camp.return_to_boons) {
            camp.return_to_boons = 0;
            go_page(CAMP_PAGE_BOONS, camp.boon_row);
        } else {
            back_to_hub(CAMP_TILE_SELL);
        }
    }
}

void update_buy_back(uint8_t presses) {
    list_move(presses, camp.buy_back_count);
    if ((presses & BTN_A) && camp.buy_back_count > 0) {
        clamp_cursor(camp.buy_back_count);
        CampBuyBack& e = camp.buy_back[camp.cursor];
        if (player.gold < e.price) {
            deny("NOT ENOUGH GOLD");
        } else if (!bag_take(e.item)) {
            deny("BAG IS FULL");
        } else {
            player.gold -= e.price;
            short_name_toast("BOUGHT BACK %s", e.item);
            run_record_item_event("buyback", e.item, e.price, "shop");
            play_sfx(SFX_COIN);
            if (--e.count <= 0) {
                // Keep the oldest-first order.
                std::memmove(&camp.buy_back[camp.cursor], &camp.buy_back[camp.cursor + 1],
                             sizeof(CampBuyBack) * (size_t)(camp.buy_back_count - camp.cursor - 1));
                camp.buy_back_count--;
            }
            clamp_cursor(camp.buy_back_count);
        }
    }
    if ((presses & BTN_B) || camp.buy_back_count == 0) go_page(CAMP_PAGE_SELL, 0);
}

// ---- boons ----

void update_boons(uint8_t presses) {
    list_move(presses, BOON_PAGE_ROWS);
    if (presses & BTN_A) {
        if (camp.cursor == BOON_REDRAW_ROW) {
            const int cost = camp_redraw_cost();
            if (pay(cost)) {
                if (player.boon_redraws != -1) player.boon_redraws++;
                run_record_item_n("reroll", "BOONS", cost);
                camp_redraw_boons();
                play_sfx(SFX_COIN);
            }
        } else {
            const int row = camp.cursor;
            const int offer = boon_offers[row];
            const char* names[3];
            for (int i = 0; i < 3; i++) {
                const BoonDef* b = boon_def(boon_offers[i]);
                names[i] = b ? b->name : "";
            }
            switch (camp_buy_boon(row)) {
                case 0:
                    run_record_pick("boon", names, row);
                    camp.boon_taken = 1;
                    play_sfx(SFX_REWARD);
                    back_to_hub(CAMP_TILE_BOONS);
                    return;
                case 1: {
                    const BoonDef* b = boon_def(offer);
                    const int missing = (b ? b->price : 0) - player.gold;
                    if (camp_bag_value() >= missing) {
                        camp.return_to_boons = 1;
                        camp.boon_row = row;
                        toast_show("SELL FINDS FOR GOLD");
                        play_sfx(SFX_CONFIRM);
                        go_page(CAMP_PAGE_SELL, 0);
                        return;
                    }
                    deny("NOT ENOUGH GOLD");
                    break;
                }
                default: deny(nullptr); break;
            }
        }
    }
    if (presses & BTN_B) back_to_hub(CAMP_TILE_BOONS);
}

// ---- shop ----

void update_shop(uint8_t presses) {
    const int n = camp_shop_rows();
    list_move(presses, n);
    if ((presses & BTN_A) && n > 0) {
        clamp_cursor(n);
        uint32_t ids[4];
        const int nc = camp_consumables(ids);
        Item stock[3];
        const int ns = camp_make_stock(stock);  // the spares, then the sale item last
        const int row = camp.cursor;
        if (row < nc) {
            const int price = consumable_price(ids[row]);
            if (player.gold < price) deny("NOT ENOUGH GOLD");
            else if (!bag_take(item_make(ids[row]))) deny("BAG IS FULL");
            else {
                player.gold -= price;
                const Item bought = item_make(ids[row]);
                short_name_toast("BOUGHT %s", bought);
                run_record_item_event("buy", bought, price, "shop");
                play_sfx(SFX_COIN);
            }
        } else if (row < nc + ns) {
            const bool sale = row == nc + ns - 1;
            const Item& item = stock[row - nc];
            const int price = sale ? sale_price() : spare_price(item);
            if (sale && camp.sale_sold) deny("SOLD OUT");
            else if (player.gold < price) deny("NOT ENOUGH GOLD");
            else if (!bag_take(item)) deny("BAG IS FULL");
            else {
                player.gold -= price;
                if (sale) camp.sale_sold = 1;
                short_name_toast("BOUGHT %s", item);
                run_record_item_event("buy", item, price, sale ? "sale" : "spare");
                play_sfx(SFX_COIN);
            }
        } else {
            if (camp.key_sold) deny("SOLD OUT");
            else if (!keys_fit(player.keys, 1)) deny(KEYRING_FULL_TEXT);  // a key bought would count nowhere
            else if (pay(key_price())) {
                camp.key_sold = 1;
                player.keys = bound_keys(player.keys, 1);
                toast_show("BOUGHT A KEY");
                play_sfx(SFX_COIN);
            }
        }
    }
    if (presses & BTN_B) back_to_hub(CAMP_TILE_SHOP);
}

// ---- forge ----

void repair_all() {
    const int total = camp_repair_total();
    if (!pay(total)) return;
    for (int32_t slot : {CAMP_SLOT_MAIN, CAMP_SLOT_OFF})
        if (Item* it = slot_item_ptr(slot)) it->wear = 0;
    for (int i = 0; i < player.bag.count; i++)
        if (item_is_wearable(player.bag.entries[i].item)) player.bag.entries[i].item.wear = 0;
    run_record_item_n("repair-all", "GEAR", total);
    toast_show("ALL GEAR REPAIRED!");
    play_sfx(SFX_REWARD);
}

void update_forge(uint8_t presses) {
    int32_t rows[CAMP_LIST_MAX];
    const int n = camp_forge_list(rows);
    list_move(presses, n);
    if ((presses & BTN_A) && n > 0) {
        clamp_cursor(n);
        const int32_t row = rows[camp.cursor];
        if (row == CAMP_ROW_REPAIR_ALL) {
            repair_all();
            clamp_cursor(camp_forge_list(rows));
        } else {
            camp.forge_slot = row;
            go_page(CAMP_PAGE_FORGE_ITEM, 0);
            play_sfx(SFX_CONFIRM);
            return;
        }
    }
    if (presses & BTN_B) back_to_hub(CAMP_TILE_FORGE);
}

// Back to the forge list with the cursor on the slot worked on.
void back_to_forge_list() {
    int32_t rows[CAMP_LIST_MAX];
    const int n = camp_forge_list(rows);
    int32_t at = 0;
    for (int i = 0; i < n; i++)
        if (rows[i] == camp.forge_slot) at = i;
    go_page(CAMP_PAGE_FORGE, at);
    clamp_cursor(n);
}

void forge_enchant(Item& item) {
    const int price = enchant_price(item);
    if (!pay(price)) return;
    int candidates[ENCHANT_COUNT];
    int count = 0;
    for (int e = ENCHANT_KEEN; e <= ENCHANT_THORNS; e++)
        if (e != item.enchant && enchant_fits_item(item, e)) candidates[count++] = e;
    if (count > 0) {
        camp.seed = xorshift(camp.seed);
        item.enchant = (int8_t)candidates[camp.seed % (uint32_t)count];
    }
    if (item.rerolls < 255) item.rerolls++;
    run_record_item_event("enchant", item, price, "forge");
    char text[TOAST_LINE_BYTES];
    std::snprintf(text, sizeof text, "%s!", enchant_def(item.enchant).name);
    toast_show(text);
    play_sfx(SFX_REWARD);
}

void forge_upgrade(Item& item) {
    if (item.upgrade >= CAMP_UPGRADE_MAX) {
        deny("FULLY UPGRADED");
        return;
    }
    const int price = forge_upgrade_price(item);
    if (!pay(price)) return;
    item.upgrade++;
    char text[TOAST_LINE_BYTES];
    std::snprintf(text, sizeof text, "UPGRADED TO +%d", item.upgrade);
    toast_show(text);
    run_record_item_event("upgrade", item, price, "forge");
    play_sfx(SFX_REWARD);
}

void forge_repair(Item& item) {
    const int price = camp_repair_price(item);
    if (price <= 0) {
        deny("GOOD AS NEW");
        return;
    }
    if (!pay(price)) return;
    item.wear = 0;
    toast_show("REPAIRED!");
    run_record_item_event("repair", item, price, "forge");
    play_sfx(SFX_REWARD);
}

// The kept item's wear after a merge: the copy's wear left over mends it.
int merged_wear(const Item& kept, const Item& other) {
    const int l1 = item_wear_max(kept), l2 = item_wear_max(other);
    const int wear = l1 - (l1 + l1 / 10 + l2 - kept.wear - other.wear);
    return wear < 0 ? 0 : wear;
}

void forge_merge() {
    const int copy = camp_find_merge_copy(camp.forge_slot);
    if (copy < 0) {
        deny("NO COPY IN THE BAG");
        return;
    }
    Item* kept = slot_item_ptr(camp.forge_slot);
    if (!kept) return;
    if (!camp_merge_gains(camp.forge_slot)) {
        deny("AS GOOD AS IT GETS");
        return;
    }
    const int price = forge_upgrade_cost(*kept);
    if (!pay(price)) return;
    kept->wear = (uint8_t)merged_wear(*kept, player.bag.entries[copy].item);
    if (kept->upgrade < CAMP_UPGRADE_MAX) kept->upgrade++;
    const Item merged = *kept;
    // Removing moves the last entry into the copy's place: a slot that named it follows it.
    const int last = player.bag.count - 1;
    bag_remove(player.bag, copy);
    if (camp.forge_slot == last) camp.forge_slot = copy;
    char text[TOAST_LINE_BYTES];
    std::snprintf(text, sizeof text, "MERGED: +%d", merged.upgrade);
    toast_show(text);
    run_record_item_event("merge", merged, price, "forge");
    play_sfx(SFX_REWARD);
}

void update_forge_item(uint8_t presses) {
    list_move(presses, FORGE_ROWS);
    if (presses & BTN_A) {
        Item* item = slot_item_ptr(camp.forge_slot);
        if (!item) {
            back_to_forge_list();
            return;
        }
        switch (camp.cursor) {
            case CAMP_FORGE_ENCHANT: forge_enchant(*item); break;
            case CAMP_FORGE_UPGRADE: forge_upgrade(*item); break;
            case CAMP_FORGE_REPAIR: forge_repair(*item); break;
            case CAMP_FORGE_MERGE: forge_merge(); break;
            default: break;
        }
    }
    if (presses & BTN_B) back_to_forge_list();
}

}  // namespace

bool floor_has_camp(int n) { return n >= 3 && ((CAMP_FLOOR_MASK >> (n % 10)) & 1u); }

bool camp_floor_last() { return current_floor % 10 == 9; }

int camp_hub_columns() { return screen_layout.landscape ? 4 : 2; }

void camp_fire_rect(int out[4]) {
    const ScreenRect& v = screen_layout.view;
    const int L = screen_layout.landscape ? 1 : 0;
    const int w = v.x1 - v.x0, h = v.y1 - v.y0;
    const int tw = (w - 6 * L - 14) / (L ? 4 : 2);
    out[0] = v.x0 + (tw + 3) * (L ? 3 : 1) + 12;
    out[1] = L ? v.y0 + 56 : v.y0 + (h - 120) / 2 + 79;
    out[2] = tw - 12;
    out[3] = FIRE_HEIGHT;
}

void camp_enter() {
    if (player.boon_ranks[BOON_LAST_STAND] >= 2) player.last_stand_used = 0;
    camp = Camp{};
    camp_page = CAMP_PAGE_HUB;
    camp.seed = (((uint32_t)current_floor * FORGE_SEED_MUL) ^ run_seed) ^ FORGE_SEED_SALT;
    if (camp.seed == 0) camp.seed = 1;
    camp_draw_boons();
    camp.boon_taken = boon_offers[0] == BOON_NONE ? 1 : 0;
    game_state = STATE_CAMP;
}

bool camp_rest_keeps_meters() { return flow <= 0 && combo <= 0; }

void camp_rest() {
    const int target = run_heat > 0 ? player.max_hp / 2 : player.max_hp;
    const int heal = target - player.hp > 0 ? target - player.hp : 0;
    player_heal(heal);
    if (!camp_floor_last()) {
        flow = 0;
        combo = upgrade_active_rank(UPGRADE_EMBERS) > 0 ? combo / 2 : 0;
    }
    camp.rested = 1;
    run_record_rest(heal);
    char text[TOAST_LINE_BYTES];
    if (heal > 0) std::snprintf(text, sizeof text, "YOU REST: +%d HP", heal);
    else std::snprintf(text, sizeof text, "YOU REST");
    toast_show(text);
    play_sfx(SFX_HEAL);
}

CampAction update_camp(uint8_t presses) {
    // The hub's campfire burns while the hub shows.
    if (camp_page == CAMP_PAGE_HUB) {
        int fire[4];
        camp_fire_rect(fire);
        fxfield_update(FX_SLOT_CAMPFIRE, fire[2], fire[3]);
    }
    if (presses & BTN_START) return CAMP_OPEN_PAUSE;
    switch (camp_page) {
        case CAMP_PAGE_HUB:
            if (presses & BTN_SELECT) return CAMP_OPEN_BAG;
            hub_move(presses);
            if (presses & BTN_A) return hub_pick();
            break;
        case CAMP_PAGE_SELL:
            // The bag marks junk for the junk row, so it opens from here as from the hub.
            if (presses & BTN_SELECT) return CAMP_OPEN_BAG;
            update_sell(presses);
            break;
        case CAMP_PAGE_BOONS: update_boons(presses); break;
        case CAMP_PAGE_SHOP: update_shop(presses); break;
        case CAMP_PAGE_FORGE: update_forge(presses); break;
        case CAMP_PAGE_FORGE_ITEM: update_forge_item(presses); break;
        case CAMP_PAGE_BUY_BACK: update_buy_back(presses); break;
        default: back_to_hub(CAMP_TILE_SELL); break;
    }
    return CAMP_STAY;
}

// ---- prices ----

int camp_discount_price(int price) {
    if (price <= 0) return price;
    const int p = price + price * discount_percent() / -100;
    return p < 1 ? 1 : p;
}

int consumable_price(uint32_t id) {
    const int f = current_floor;
    switch (id) {
        case ITEM_HEALING_POTION: return camp_discount_price(f * 2 + 12);
        case ITEM_ANTIDOTE: return camp_discount_price(f + 8);
        case ITEM_GREATER_POTION: return camp_discount_price(f * 3 + 30);
        case ITEM_SUPERIOR_POTION: return camp_discount_price(f * 4 + 60);
        default: return 0;
    }
}

int key_price() { return camp_discount_price(current_floor * 6 + 42); }

int spare_price(const Item& item) { return camp_discount_price(current_floor * 2 + item_value(item)); }

int sale_price() {
    const int base = current_floor * 3 + 60;
    return camp_discount_price(base < 120 ? base : 120);
}

int enchant_price(const Item& item) {
    if (item.enchant == ENCHANT_NONE) return camp_discount_price(current_floor * 2 + 60);
    return camp_discount_price(item.rerolls * 15 + 20);
}

int forge_upgrade_price(const Item& item) { return camp_discount_price(25 * (item.upgrade + 1)); }

int forge_upgrade_cost(const Item& item) { return forge_upgrade_price(item); }

int camp_repair_price(const Item& item) { return camp_discount_price(item_repair_cost(item)); }

int camp_redraw_cost() {
    int redraws = player.boon_redraws < 0 ? 0 : player.boon_redraws;
    if (redraws > REDRAW_DOUBLINGS_MAX) redraws = REDRAW_DOUBLINGS_MAX;
    const int base = 10 << redraws;
    const int cost = base - base * (discount_percent() / 2) / 100;
    return cost < 1 ? 1 : cost;
}

// ---- lists ----

int camp_consumables(uint32_t* out) {
    int n = 0;
    if (!drink_on_pickup) out[n++] = ITEM_HEALING_POTION;
    if (current_floor >= 6) out[n++] = ITEM_GREATER_POTION;
    if (current_floor >= 12) out[n++] = ITEM_SUPERIOR_POTION;
    out[n++] = ITEM_ANTIDOTE;
    return n;
}

int camp_make_stock(Item* out) {
    int n = 0;
    out[n++] = item_make(player.cls == CLASS_BRUTE ? ITEM_BATTLE_AXE : ITEM_SHORT_SWORD);
    const Item shield = item_make(ITEM_WOODEN_SHIELD);
    if (class_can_use(shield)) out[n++] = shield;
    stock_state = (run_seed * STOCK_SEED_MUL) ^ ((uint32_t)current_floor * 40503u + 7u);
    if (stock_state == 0) stock_state = 1;
    out[n++] = item_make_tier(current_floor, stock_rand, QUALITY_FINE, gear_rules_now());
    return n;
}

int camp_shop_rows() {
    uint32_t ids[4];
    Item stock[3];
    return camp_consumables(ids) + camp_make_stock(stock) + 1;
}

int camp_sell_rows(int32_t* out) {
    int n = 0;
    bool junk = false;
    for (int i = 0; i < player.bag.count; i++) junk = junk || player.bag.entries[i].item.junk;
    if (junk) out[n++] = CAMP_ROW_JUNK;
    for (int i = 0; i < player.bag.count && i < BAG_MAX_ITEMS; i++) out[n++] = i;
    if (camp.buy_back_count > 0) out[n++] = CAMP_ROW_BUY_BACK;
    return n;
}

void camp_junk_total(int* units, int* gold) {
    int u = 0, g = 0;
    for (int i = 0; i < player.bag.count; i++) {
        const BagEntry& e = player.bag.entries[i];
        if (!e.item.junk) continue;
        u += e.count;
        g += item_value(e.item) * e.count;
    }
    if (units) *units = u;
    if (gold) *gold = g;
}

int camp_bag_value() {
    int g = 0;
    for (int i = 0; i < player.bag.count; i++) g += item_value(player.bag.entries[i].item) * player.bag.entries[i].count;
    return g;
}

bool camp_has_sellable() { return player.bag.count > 0 || camp.buy_back_count > 0; }

bool camp_has_gear() {
    int32_t rows[CAMP_LIST_MAX];
    const int n = camp_forge_list(rows);
    for (int i = 0; i < n; i++)
        if (rows[i] != CAMP_ROW_REPAIR_ALL) return true;
    return false;
}

int camp_repair_total() {
    int total = 0;
    for (int32_t slot : {CAMP_SLOT_MAIN, CAMP_SLOT_OFF})
        if (const Item* it = slot_item_ptr(slot)) total += camp_repair_price(*it);
    for (int i = 0; i < player.bag.count; i++)
        if (item_is_wearable(player.bag.entries[i].item)) total += camp_repair_price(player.bag.entries[i].item);
    return total;
}

int camp_forge_list(int32_t* out) {
    int n = 0;
    if (camp_repair_total() > 0) out[n++] = CAMP_ROW_REPAIR_ALL;
    if (slot_item_ptr(CAMP_SLOT_MAIN)) out[n++] = CAMP_SLOT_MAIN;
    if (slot_item_ptr(CAMP_SLOT_OFF)) out[n++] = CAMP_SLOT_OFF;
    for (int i = 0; i < player.bag.count && i < BAG_MAX_ITEMS; i++)
        if (item_is_wearable(player.bag.entries[i].item)) out[n++] = i;
    return n;
}

int camp_find_merge_copy(int32_t slot) {
    const Item* item = slot_item_ptr(slot);
    if (!item) return -1;
    int best = -1, best_score = 0;
    for (int i = 0; i < player.bag.count; i++) {
        if (i == slot) continue;
        const Item& other = player.bag.entries[i].item;
        if (other.id != item->id) continue;
        const int score = other.quality * 8 + other.upgrade * 2 + (other.enchant != ENCHANT_NONE ? 1 : 0);
        if (best < 0 || score < best_score) {
            best = i;
            best_score = score;
        }
    }
    return best;
}

bool camp_merge_gains(int32_t slot) {
    const int copy = camp_find_merge_copy(slot);
    const Item* kept = slot_item_ptr(slot);
    if (copy < 0 || !kept) return false;
    return kept->upgrade < CAMP_UPGRADE_MAX || merged_wear(*kept, player.bag.entries[copy].item) != kept->wear;
}

Item* slot_item_ptr(int32_t slot) {
    if (slot == CAMP_SLOT_MAIN) return player.main_hand.id != ITEM_NONE ? &player.main_hand : nullptr;
    if (slot == CAMP_SLOT_OFF) return player.off_hand.id != ITEM_NONE ? &player.off_hand : nullptr;
    if (slot >= 0 && slot < player.bag.count && slot < BAG_MAX_ITEMS) return &player.bag.entries[slot].item;
    return nullptr;
}
