// Stand-in until the settings files land: the record itself, zeroed.
#include "saves/settings.h"

Settings settings = {};
