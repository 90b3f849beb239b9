// SPDX-License-Identifier: MIT
// Passwords for publishing kept in the desktop's secret store (the Secret Service over D-Bus,
// through libsecret), never in a file of ours. An entry is found by the attributes service
// "pagloom", protocol, user, host and port, so `secret-tool` can store one too:
//   secret-tool store --label=pagloom service pagloom protocol ftps user NAME host HOST port 21
// The desktop program and pagloom-cli share this one store, so the CLI publishes with what the
// window stored. Publishing asks for it through the PasswordStore port.
#pragma once
#include <string>

#include "model/PublishTarget.h"

namespace pagloom {

enum class SecretLookup {
    Found,
    NotFound,     // the store answers and holds none for the target
    Unavailable,  // no secret store can be reached (the message says why)
};

// Where publishing finds and keeps passwords; tests hand in one of their own.
class PasswordStore {
  public:
    virtual ~PasswordStore() = default;
    virtual SecretLookup Lookup(const PublishTarget& target, std::string& password,
                                std::string& error) = 0;
    virtual bool Store(const PublishTarget& target, const std::string& password,
                       std::string& error) = 0;
    virtual bool Forget(const PublishTarget& target, std::string& error) = 0;
};

// The desktop's Secret Service.
class SecretServiceStore final : public PasswordStore {
  public:
    SecretLookup Lookup(const PublishTarget& target, std::string& password,
                        std::string& error) override;
    bool Store(const PublishTarget& target, const std::string& password,
               std::string& error) override;
    bool Forget(const PublishTarget& target, std::string& error) override;
};

SecretLookup LookupPassword(const PublishTarget& target, std::string& password, std::string& error);
bool StorePassword(const PublishTarget& target, const std::string& password, std::string& error);
bool ForgetPassword(const PublishTarget& target, std::string& error);

// The name of the target's password: "protocol://user@host:port" (UTF-8).
std::string SecretKey(const PublishTarget& target);
inline constexpr const char* kSecretService = "pagloom";

// The `secret-tool` command that stores the target's password (without the password).
std::string SecretToolCommand(const PublishTarget& target);

}  // namespace pagloom
