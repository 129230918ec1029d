// The engine's three screen transitions, each one long-lived object stepped once a frame
// over the finished picture: a gamma fade, a solid-colour wipe and a random dissolve. Each
// is idle until started and returns to idle by itself at its end; while one is active a
// pending scene switch waits.
#pragma once

#include "engine/display/gamma_ramp.h"
#include "engine/display/open_close.h"
#include "engine/display/random_dissolve.h"
