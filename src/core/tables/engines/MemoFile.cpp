// SPDX-License-Identifier: MIT
#include "tables/engines/MemoFile.h"

#include <algorithm>
#include <cstring>

namespace pagloom {

namespace {
uint32_t Be32(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
}  // namespace

MemoFile::MemoFile(Kind kind, std::string bytes) : kind_(kind), bytes_(std::move(bytes)) {
    const auto* h = reinterpret_cast<const unsigned char*>(bytes_.data());
    if (kind_ == Kind::FoxPro && bytes_.size() >= 8) {
        blockSize_ = uint32_t(h[6]) << 8 | h[7];
    } else if (kind_ == Kind::DbaseIV && bytes_.size() >= 22) {
        blockSize_ = uint32_t(h[20]) | uint32_t(h[21]) << 8;
    }
    if (blockSize_ == 0) blockSize_ = 512;
}

std::string_view MemoFile::Text(uint64_t block) const {
    if (block == 0 || block > bytes_.size() / blockSize_) return {};  // no wrap-around
    const uint64_t start = block * blockSize_;
    if (start >= bytes_.size()) return {};
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data()) + start;
    uint64_t room = bytes_.size() - start;
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), block);
    if (next != starts_.end() && *next - block <= room / blockSize_)
        room = (*next - block) * blockSize_;
    if (kind_ == Kind::FoxPro) {
        if (room < 8) return {};
        const uint32_t type = Be32(p);
        const uint64_t len = std::min<uint64_t>(Be32(p + 4), room - 8);
        if (type != 1) return {};
        return std::string_view(reinterpret_cast<const char*>(p + 8), len);
    }
    if (kind_ == Kind::DbaseIV && room >= 8 && p[0] == 0xFF && p[1] == 0xFF && p[2] == 0x08 &&
        p[3] == 0x00) {
        const uint32_t total = Le32(p + 4);  // counts the eight header bytes
        const uint64_t len = total < 8 ? 0 : std::min<uint64_t>(total - 8, room - 8);
        return std::string_view(reinterpret_cast<const char*>(p + 8), len);
    }
    // dBase III: the text runs to the end-of-text mark 0x1A.
    const void* end = std::memchr(p, 0x1A, room);
    const uint64_t len = end ? static_cast<const unsigned char*>(end) - p : room;
    return std::string_view(reinterpret_cast<const char*>(p), len);
}

void MemoFile::KeepApart(std::vector<uint64_t> blocks) {
    std::sort(blocks.begin(), blocks.end());
    blocks.erase(std::unique(blocks.begin(), blocks.end()), blocks.end());
    starts_ = std::move(blocks);
}

}  // namespace pagloom
