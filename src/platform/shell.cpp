// Program start-up and shutdown; called by main().
#include "platform/shell.h"

#include <SDL.h>
#include <cstdio>

int shell_main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Quit();
    return 0;
}
