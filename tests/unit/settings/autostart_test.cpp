#include "settings/autostart.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "model/handler_error.h"

namespace qs {
namespace {

using test::EventLog;
using test::FakeRegistry;

const std::string kValue = std::string(kRunKeyPath) + "\\Quipstream";

TEST(Autostart, SetWritesThePathUnquotedReplacingAnOldOne) {
  EventLog log;
  FakeRegistry registry(log);
  registry.values[kValue] = "C:\\Old\\quipstream.exe";
  SetAutostart(registry, "Quipstream", "C:\\Program Files\\Quipstream\\quipstream.exe");
  EXPECT_EQ(registry.values.at(kValue), "C:\\Program Files\\Quipstream\\quipstream.exe");
  EXPECT_EQ(registry.values.size(), 1u);
}

TEST(Autostart, AFailedWriteRaisesTheRegistryError) {
  EventLog log;
  FakeRegistry registry(log);
  registry.failWrites = true;
  try {
    SetAutostart(registry, "Quipstream", "C:\\q.exe");
    ADD_FAILURE() << "no error";
  } catch (const HandlerError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Quipstream'");
  }
}

TEST(Autostart, RemoveDeletesOnlyAnExistingValue) {
  EventLog log;
  FakeRegistry registry(log);
  RemoveAutostart(registry, "Quipstream");
  EXPECT_TRUE(log.empty());

  registry.values[kValue] = "C:\\q.exe";
  registry.values[std::string(kRunKeyPath) + "\\Other"] = "C:\\other.exe";
  RemoveAutostart(registry, "Quipstream");
  EXPECT_EQ(log, (EventLog{"RegDelete Quipstream"}));
  EXPECT_EQ(registry.values.count(kValue), 0u);
  EXPECT_EQ(registry.values.size(), 1u);
}

}  // namespace
}  // namespace qs
