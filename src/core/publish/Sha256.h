// SPDX-License-Identifier: MIT
// SHA-256 of a byte string, as 64 lower-case hex digits: the fingerprint by which publishing
// tells a changed file from an unchanged one (size and time alone miss an image changed in place).
#pragma once
#include <string>
#include <string_view>

struct evp_md_ctx_st;

namespace pagloom {

std::string Sha256Hex(std::string_view data);

// The same, over bytes that come in pieces (a file read while it is sent), so no file has to be
// held whole in memory.
class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Add(std::string_view bytes);
    // The hash of everything added since the start (or the last Restart).
    std::string Hex() const;
    void Restart();

  private:
    evp_md_ctx_st* ctx_;
};

}  // namespace pagloom
