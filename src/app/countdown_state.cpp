#include "app/countdown_state.h"

int32_t CountdownSeconds = 0;
