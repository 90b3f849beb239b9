// SPDX-License-Identifier: MIT
// A desktop secret store of the test's own: a D-Bus session bus and gnome-keyring-daemon with
// an unlocked login keyring, in a scratch folder. While it lives, this process (and every
// program it starts) talks to it through DBUS_SESSION_BUS_ADDRESS; both are stopped at the end.
#pragma once
#include <sys/types.h>

#include <string>

#include "ServerProcess.h"

namespace pagloom::test {

class Keyring {
  public:
    Keyring();
    ~Keyring();
    // One for the whole test program, stopped at its end: a program whose session bus goes
    // away while its event loop runs is ended by GLib (SIGTERM).
    static Keyring& Shared();
    Keyring(const Keyring&) = delete;
    Keyring& operator=(const Keyring&) = delete;

    bool Running() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

  private:
    ServerProcess scratch_;  // only its folder
    std::string error_, oldBus_, oldRuntime_, oldData_;
    pid_t bus_ = -1;
};

}  // namespace pagloom::test
