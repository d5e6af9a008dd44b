// The single-instance marker: a named mutex held for the life of the object.
#pragma once

#include "platform/mutex.h"
#include "platform/win32/handle_types.h"

namespace qs::win32 {

class Win32InstanceMutex : public InstanceMutexPort {
 public:
  bool CreateAndCheckExisting(std::string_view name) override;

 private:
  unique_kernel_handle mutex_;
};

}  // namespace qs::win32
