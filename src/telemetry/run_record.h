// The per-floor run record queued as telemetry when a floor ends.
#pragma once

#include "world/item_record.h"

// Notes a potion drunk on this floor with the hit points it gave.
void run_record_potion(int value);
// Every tick while playing: starts, counts and rolls the floor's record.
void run_record_tick();
// Closes the floor's record with an end word ("saved", "quit", ...) and queues it.
void run_record_emit(const char* end);
void run_record_item_note(const char* what, const char* detail);
// Notes an item event ("pickup", "bagfull", ...) with the item, its count and where it came from.
void run_record_item_event(const char* what, const Item& item, int count, const char* where);
// Notes a choice ("level", "boon", ...) among three offers and the index taken.
void run_record_pick(const char* kind, const char* const options[3], int chosen);

// Notes an item line with a gold amount, and a rest with the hit points it gave.
void run_record_item_n(const char* what, const char* detail, int n);
void run_record_rest(int value);

// Starts the per-floor record afresh for a new run.
void run_record_reset();
// Ends the run: 0 lost, else escaped; writes the run summary and the profile's run end.
void run_finish(int escaped);
