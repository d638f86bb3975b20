// Keeping the machine awake while a countdown runs: a machine that falls asleep on its own
// stops delivering ticks and never powers off. Only sleep for idleness is held off; a sleep the
// user asks for (lid, menu) still happens.
#pragma once

// Holds (true) or releases (false) the request not to sleep for idleness. Holding twice is
// the same as once. Ending the process releases it too. Returns false when the system refused.
bool KeepSystemAwake(bool awake);
