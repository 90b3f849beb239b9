// SPDX-License-Identifier: MIT
// A password store that holds nothing and keeps nothing, for runs whose password does not matter.
#pragma once
#include <string>

#include "publish/SecretStore.h"

namespace pagloom {

struct NoSecrets : PasswordStore {
    SecretLookup Lookup(const PublishTarget&, std::string&, std::string&) override {
        return SecretLookup::NotFound;
    }
    bool Store(const PublishTarget&, const std::string&, std::string&) override { return false; }
    bool Forget(const PublishTarget&, std::string&) override { return false; }
};

}  // namespace pagloom
