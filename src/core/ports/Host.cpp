// SPDX-License-Identifier: MIT
#include "ports/Host.h"

namespace pagloom {

std::tm Host::LocalNow() const {
    std::time_t t = std::time(nullptr);
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

}  // namespace pagloom
