// The hash of the game values the softlock detector watches; read once per tick.
#pragma once
#include <cstdint>

uint32_t softlock_watch_hash();
