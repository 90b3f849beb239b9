// SPDX-License-Identifier: MIT
#include "publish/Sha256.h"

#include <openssl/evp.h>

namespace pagloom {

std::string Sha256Hex(std::string_view data) {
    static constexpr char kHex[] = "0123456789abcdef";
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(data.data(), data.size(), digest, &length, EVP_sha256(), nullptr);
    std::string out;
    out.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 15];
    }
    return out;
}

}  // namespace pagloom
