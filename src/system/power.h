// The system's power service: the one effect the program exists for.
#pragma once

enum class ShutdownKind { PowerOff };

// Asks the operating system to power the machine off; with force, running applications are
// closed without being asked. True when the system accepted the request, false when no request
// was made or it was refused. Never interactive, never shows anything.
bool ShutDownSystem(ShutdownKind kind, bool force);
