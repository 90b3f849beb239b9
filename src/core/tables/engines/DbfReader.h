// SPDX-License-Identifier: MIT
// The dBase and FoxPro adapter: reads a .dbf table (dBase III and IV, FoxPro 2, Visual FoxPro)
// with its memo file through shapelib's DBF reader and our own memo reader.
//
// How values become text (Windows-1252, converted from the table's language driver):
//   C, V     the text without its trailing blanks
//   N, F     the stored digits without surrounding blanks, so exactly the declared decimals
//   D        ISO "YYYY-MM-DD"; an empty date gives ""; an invalid one its stored text
//   L        "T" or "F" ("Y"/"N" are read as "T"/"F"); unknown ("?") gives ""
//   M, G     the memo's text from the .dbt/.fpt file (non-text memos give "")
//   I        the decimal integer;  Y  the currency with its four decimals ("12.5000")
//   B        (Visual FoxPro double) the number with its declared decimals
//   T        "YYYY-MM-DD HH:MM:SS"; an empty date-time gives ""
//   a null value (Visual FoxPro null flags) gives ""
// Deleted records are skipped; the system field _NullFlags is not listed.
#pragma once
#include <string>

#include "tables/ReadProgress.h"
#include "tables/RowStore.h"

namespace pagloom {

class FileSystem;

// Reads the table file at `path` into `store` (fields and all rows in file order). Throws
// TableError with a German message when the file cannot be read, is not a supported dBase or
// FoxPro table, is cut short or damaged, needs a memo file that is missing, or when memory runs
// out. A memo that many records point at is held once.
// `progress`, when given, counts the records read so far.
void ReadDbfTable(FileSystem& fs, const std::string& path, RowStore& store,
                  ReadProgress* progress = nullptr);

}  // namespace pagloom
