#pragma once
// The numbered timers live with the platform's Qt backends, where the
// trend window uses them too.
#include "platform/qt/ViewTimers.h"
