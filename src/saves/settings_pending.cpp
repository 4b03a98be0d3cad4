// Temporary settings record until the settings files land: the record exists, nothing is stored.
#include "saves/settings.h"

Settings settings = {};

bool settings_save() { return false; }
