// The single-instance marker.
#pragma once

#include <string_view>

namespace qs {

class InstanceMutexPort {
 public:
  virtual ~InstanceMutexPort() = default;
  // Creates the named mutex and keeps it for the life of the process; true
  // when it already existed, that is, when another copy runs.
  virtual bool CreateAndCheckExisting(std::string_view name) = 0;
};

}  // namespace qs
