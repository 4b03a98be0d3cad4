// The yes/no question: opened by the game and its screens, answered in the tick, drawn by the screens.
#pragma once
#include <cstdint>

enum ConfirmAction : int32_t { CONFIRM_NONE = 0, CONFIRM_ABANDON_RUN = 1, CONFIRM_PLAY_TRAINING = 2, CONFIRM_LOSE_FLOW = 3 };
extern uint8_t confirm_open;
extern char confirm_question[40];
extern int32_t confirm_action;

// Opens the yes/no dialog with a question and the action its yes performs.
void confirm_ask(const char* question, int32_t action);
void confirm_lose_flow();
bool confirm_is_open();
