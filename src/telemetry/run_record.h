// The per-floor run record queued as telemetry when a floor ends.
#pragma once

// Notes a potion drunk on this floor with the hit points it gave.
void run_record_potion(int value);
