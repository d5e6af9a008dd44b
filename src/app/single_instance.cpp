#include "app/single_instance.h"

namespace qs {

bool AlreadyRunning(InstanceMutexPort& mutex) {
  return mutex.CreateAndCheckExisting(kInstanceMutexName);
}

}  // namespace qs
