// The single-instance mutex: existing while any holder lives, and only then.
#include "platform/win32/win32_mutex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qs::win32 {
namespace {

TEST(Win32InstanceMutex, ReportsExistingExactlyWhileAnotherHolderLives) {
  // A name of this run only, so a running Quipstream does not interfere.
  const std::string name = "QuipstreamTests-" + std::to_string(::GetCurrentProcessId());
  std::optional<Win32InstanceMutex> first(std::in_place);
  EXPECT_FALSE(first->CreateAndCheckExisting(name));
  {
    Win32InstanceMutex second;
    EXPECT_TRUE(second.CreateAndCheckExisting(name));
  }
  // The second copy's handle is gone; the first still holds the mutex.
  Win32InstanceMutex third;
  EXPECT_TRUE(third.CreateAndCheckExisting(name));

  first.reset();
  Win32InstanceMutex afterFirstEnded;
  EXPECT_TRUE(afterFirstEnded.CreateAndCheckExisting(name)) << "third still holds it";
}

TEST(Win32InstanceMutex, LastHolderGoneMeansNotRunning) {
  const std::string name = "QuipstreamTests-alone-" + std::to_string(::GetCurrentProcessId());
  {
    Win32InstanceMutex holder;
    EXPECT_FALSE(holder.CreateAndCheckExisting(name));
  }
  Win32InstanceMutex later;
  EXPECT_FALSE(later.CreateAndCheckExisting(name));
}

}  // namespace
}  // namespace qs::win32
