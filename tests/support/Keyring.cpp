// SPDX-License-Identifier: MIT
#include "Keyring.h"

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

namespace pagloom::test {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

void Restore(const char* name, const std::string& value) {
    if (value.empty())
        ::unsetenv(name);
    else
        ::setenv(name, value.c_str(), 1);
}

}  // namespace

Keyring::Keyring()
    : oldBus_(Env("DBUS_SESSION_BUS_ADDRESS")),
      oldRuntime_(Env("XDG_RUNTIME_DIR")),
      oldData_(Env("XDG_DATA_HOME")) {
    const std::string& dir = scratch_.Dir();
    if (!std::filesystem::exists("/usr/bin/gnome-keyring-daemon") ||
        !std::filesystem::exists("/usr/bin/dbus-daemon")) {
        error_ = "gnome-keyring-daemon or dbus-daemon missing";
        return;
    }
    std::filesystem::create_directories(dir + "/data");
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    const std::string started =
        RunCommand("dbus-daemon --session --fork --print-address=1 --print-pid=1");
    const size_t newline = started.find('\n');
    if (newline == std::string::npos) {
        error_ = "dbus-daemon: " + started;
        return;
    }
    const std::string address = started.substr(0, newline);
    bus_ = std::atoi(started.c_str() + newline + 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    // The login keyring is made, and unlocked, with the password given on stdin.
    RunCommand(
        "printf pagloom | gnome-keyring-daemon --unlock --components=secrets --daemonize "
        ">/dev/null 2>&1");
    const std::string probe = RunCommand(
        "printf x | secret-tool store --label=probe service pagloom-probe 2>&1; "
        "secret-tool lookup service pagloom-probe 2>&1");
    if (probe != "x") error_ = "gnome-keyring-daemon does not answer: " + probe;
}

Keyring& Keyring::Shared() {
    static Keyring keyring;
    return keyring;
}

Keyring::~Keyring() {
    // The keyring daemon detached itself; it is the one that runs in this scratch folder.
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        const std::string environ = ReadText(e.path().string() + "/environ");
        const std::string mark = "XDG_RUNTIME_DIR=" + scratch_.Dir();
        if (ReadText(e.path().string() + "/comm").rfind("gnome-keyring", 0) == 0 &&
            environ.find(mark + '\0') != std::string::npos)
            ::kill(std::atoi(e.path().filename().c_str()), SIGTERM);
    }
    if (bus_ > 0) ::kill(bus_, SIGTERM);
    Restore("DBUS_SESSION_BUS_ADDRESS", oldBus_);
    Restore("XDG_RUNTIME_DIR", oldRuntime_);
    Restore("XDG_DATA_HOME", oldData_);
}

}  // namespace pagloom::test
