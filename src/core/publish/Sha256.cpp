// SPDX-License-Identifier: MIT
#include "publish/Sha256.h"

#include <openssl/evp.h>

namespace pagloom {
namespace {

std::string Hex(const unsigned char* digest, unsigned int length) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 15];
    }
    return out;
}

}  // namespace

std::string Sha256Hex(std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(data.data(), data.size(), digest, &length, EVP_sha256(), nullptr);
    return Hex(digest, length);
}

Sha256::Sha256() : ctx_(EVP_MD_CTX_new()) { Restart(); }

Sha256::~Sha256() { EVP_MD_CTX_free(ctx_); }

void Sha256::Restart() { EVP_DigestInit_ex(ctx_, EVP_sha256(), nullptr); }

void Sha256::Add(std::string_view bytes) { EVP_DigestUpdate(ctx_, bytes.data(), bytes.size()); }

std::string Sha256::Hex() const {
    // Finished on a copy, so more may still be added.
    EVP_MD_CTX* copy = EVP_MD_CTX_new();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_MD_CTX_copy_ex(copy, ctx_);
    EVP_DigestFinal_ex(copy, digest, &length);
    EVP_MD_CTX_free(copy);
    return pagloom::Hex(digest, length);
}

}  // namespace pagloom
