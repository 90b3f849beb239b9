// SPDX-License-Identifier: MIT
// Reader of the memo files beside dBase and FoxPro tables: .dbt (dBase III and IV) and .fpt
// (FoxPro). The table's memo field holds a block number; the memo file holds the text there.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pagloom {

class MemoFile {
  public:
    enum class Kind { DbaseIII, DbaseIV, FoxPro };

    // Takes the whole file's bytes.
    MemoFile(Kind kind, std::string bytes);

    // The text of the memo that starts at `block`; empty for block 0 and for a block outside
    // the file. FoxPro memos of a non-text kind (pictures, objects) give empty text too.
    std::string_view Text(uint64_t block) const;

  private:
    Kind kind_;
    std::string bytes_;
    uint32_t blockSize_ = 512;
};

}  // namespace pagloom
