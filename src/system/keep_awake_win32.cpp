// Holding off sleep for idleness while a countdown runs: a sleeping machine delivers no ticks.
#include <windows.h>

#include "system/keep_awake.h"

bool KeepSystemAwake(bool awake) {
    const EXECUTION_STATE state =
        awake ? (ES_CONTINUOUS | ES_SYSTEM_REQUIRED) : EXECUTION_STATE{ES_CONTINUOUS};
    return SetThreadExecutionState(state) != 0;
}
