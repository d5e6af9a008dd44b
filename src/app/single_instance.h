// Only one copy of the program runs at a time.
#pragma once

#include "platform/mutex.h"

namespace qs {

inline constexpr const char* kInstanceMutexName = "myQuipstream";

// True when another instance is running. The mutex is created and tested in
// one step, so two copies started together cannot both pass.
bool AlreadyRunning(InstanceMutexPort& mutex);

}  // namespace qs
