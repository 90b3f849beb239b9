// SPDX-License-Identifier: MIT
// Passwords in a real desktop secret store (gnome-keyring-daemon on a D-Bus session bus of the
// test's own): stored, found under protocol, user, host and port only, forgotten; and a clear
// message when no store can be reached.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Keyring.h"
#include "TestSupport.h"
#include "publish/SecretStore.h"

namespace pagloom {
namespace {

PublishTarget Target(const std::string& protocol, const std::string& user, int port = 0) {
    PublishTarget t;
    t.protocol = protocol;
    t.host = "www.example.org";
    t.user = user;
    t.port = port;
    return t;
}

TEST(SecretStore, APasswordIsKeptPerProtocolUserHostAndPort) {
    test::Keyring& keyring = test::Keyring::Shared();
    ASSERT_TRUE(keyring.Running()) << keyring.Error();
    std::string error, found;
    const PublishTarget ftps = Target(std::string("ftps"), "m\xFCller");
    ASSERT_TRUE(StorePassword(ftps, "Geheim \xE4\x80", error)) << error;  // as typed (bytes)
    EXPECT_EQ(LookupPassword(ftps, found, error), SecretLookup::Found) << error;
    EXPECT_EQ(found, "Geheim \xE4\x80");
    EXPECT_EQ(LookupPassword(Target(std::string("ftps"), "m\xFCller", 21), found, error),
              SecretLookup::Found);  // the default port, written out
    for (const PublishTarget& other :
         {Target(std::string("ftps"), "mueller"), Target(std::string("webdav"), "m\xFCller"),
          Target(std::string("ftps"), "m\xFCller", 990)})
        EXPECT_EQ(LookupPassword(other, found, error), SecretLookup::NotFound);
    ASSERT_TRUE(ForgetPassword(ftps, error)) << error;
    EXPECT_EQ(LookupPassword(ftps, found, error), SecretLookup::NotFound);
}

TEST(SecretStore, WithoutASessionBusTheStoreIsNotThereAndSaysSo) {
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string oldBus = bus ? bus : "";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string oldRuntime = runtime ? runtime : "";
    test::TempDir empty;
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    ::setenv("XDG_RUNTIME_DIR", empty.Path().c_str(), 1);
    std::string error, found;
    const PublishTarget t = Target(std::string("webdav"), "anna");
    EXPECT_EQ(LookupPassword(t, found, error), SecretLookup::Unavailable);
    EXPECT_NE(error.find("Schl\xFCsselbund"), std::string::npos) << error;
    EXPECT_FALSE(StorePassword(t, "x", error));
    if (!oldBus.empty()) ::setenv("DBUS_SESSION_BUS_ADDRESS", oldBus.c_str(), 1);
    if (oldRuntime.empty())
        ::unsetenv("XDG_RUNTIME_DIR");
    else
        ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
}

}  // namespace
}  // namespace pagloom
