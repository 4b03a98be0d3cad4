// Things the player breaks open by bumping: hollow walls and the urns of the boss floors.
#pragma once

enum SecretFind : int { SECRET_NOTHING = 0, SECRET_HOLLOW = 1, SECRET_OPENED = 2 };
// The player bumped (x, y): a hollow wall cracks, a cracked one opens into a secret room. Says
// which happened; the caller gives the feedback (sound, dust, rumble, toast, the lifetime count).
SecretFind wall_bump_secret(int x, int y);
// The player breaks the urn at (x, y); every second urn of the layout leaves gold.
void urn_break(int x, int y);
