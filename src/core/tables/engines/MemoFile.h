// SPDX-License-Identifier: MIT
// Reader of the memo files beside dBase and FoxPro tables: .dbt (dBase III and IV) and .fpt
// (FoxPro). The table's memo field holds a block number; the memo file holds the text there.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagloom {

class MemoFile {
  public:
    enum class Kind { DbaseIII, DbaseIV, FoxPro };

    // Takes the whole file's bytes.
    MemoFile(Kind kind, std::string bytes);

    // The text of the memo that starts at `block`; empty for block 0 and for a block outside
    // the file. FoxPro memos of a non-text kind (pictures, objects) give empty text too.
    std::string_view Text(uint64_t block) const;

    // The blocks the table's records point at. A memo then ends at the latest where the next
    // of them starts: memos lie one after the other, so this cuts only a damaged memo that
    // claims the ones behind it (without it, records pointing at many blocks of one long run
    // would each hold most of the file).
    void KeepApart(std::vector<uint64_t> blocks);

  private:
    Kind kind_;
    std::string bytes_;
    std::vector<uint64_t> starts_;  // sorted, each once
    uint32_t blockSize_ = 512;
};

}  // namespace pagloom
