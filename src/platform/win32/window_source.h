// How a service finds the window it works on. The main window is created
// after the services, so they ask for its handle when they need it.
#pragma once

#include <functional>

#include "platform/handles.h"

namespace qs::win32 {

using WindowSource = std::function<WindowHandle()>;

}  // namespace qs::win32
