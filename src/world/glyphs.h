// The map's glyph alphabet: one byte per cell of the floor. Builders, walking, drawing, saving and
// the item letters all speak it, so it lives at the bottom; dungeon/map.h re-exports it.
#pragma once

// The floor itself.
constexpr char GLYPH_WALL = '#';
constexpr char GLYPH_FLOOR = '.';
constexpr char GLYPH_START = '@';         // the player's start in fixed layouts; read as floor
constexpr char GLYPH_DOOR = '+';          // locked door: a key opens it
constexpr char GLYPH_STAIRS = '>';        // stairs down, in the wall ring of a room
constexpr char GLYPH_EXIT = 'X';          // the way out of a boss floor
constexpr char GLYPH_HOLLOW = '%';        // hollow wall: bumping it cracks it
constexpr char GLYPH_CRACKED = '&';       // cracked hollow wall: bumping it opens it
constexpr char GLYPH_URN = 'b';

// Things lying on the floor; the item letters are these too.
constexpr char GLYPH_GOLD = 'g';
constexpr char GLYPH_KEY = 'k';
constexpr char GLYPH_POTION = 'p';
constexpr char GLYPH_WEAPON = 'w';
constexpr char GLYPH_SHIELD = 's';
constexpr char GLYPH_ANTIDOTE = 'a';
constexpr char GLYPH_CHEST = 'C';         // closed: its item is a floor item inside it
constexpr char GLYPH_CHEST_OPEN = 'c';
constexpr char GLYPH_MIMIC = 'M';         // a chest that is a monster

// Monster letters, which live only between building a floor and loading it.
constexpr char GLYPH_GOBLIN = 'G';
constexpr char GLYPH_RAT = 'R';
constexpr char GLYPH_SKELETON = 'S';
constexpr char GLYPH_DRAGON = 'D';
constexpr char GLYPH_BAT = 'B';
constexpr char GLYPH_SLIME = 'J';
constexpr char GLYPH_ORC = 'O';
constexpr char GLYPH_ORC_BODY = 'o';      // an orc's second cell

// The shrine's room objects.
constexpr char GLYPH_STATUE = 'T';
constexpr char GLYPH_PEDESTAL = 'K';      // weapon pedestal
constexpr char GLYPH_BONE_WALL = 'L';
constexpr char GLYPH_BRAZIER = 'P';
constexpr char GLYPH_CASE_SHELF = 'V';
constexpr char GLYPH_STATUE_WALL = 'W';   // decorated walls
constexpr char GLYPH_BANNER_WALL = 'N';
constexpr char GLYPH_DOOR_WALL = 'E';     // the long door face, drawn over runs of cells
constexpr char GLYPH_FIRE = 'H';          // fire glyphs seen through
constexpr char GLYPH_SOUL_FIRE = 'Q';     // the soul fire; its first cell is the centre
constexpr char GLYPH_FIRE_LOW = 'h';
constexpr char GLYPH_SOUL_FIRE_LOW = 'q';
