// SPDX-License-Identifier: MIT
// The Paradox adapter: reads a .db table (with its .mb memo file when there is one) through
// pxlib.
//
// How values become text (Windows-1252, converted from the table's code page):
//   Alpha            the text without trailing blanks
//   Short, Long, +   the decimal integer
//   Number           the shortest decimal form ("2.5", "3"); Money with two decimals ("2.50")
//   BCD              pxlib's decimal text
//   Date             ISO "YYYY-MM-DD";  Time "HH:MM:SS";  Timestamp "YYYY-MM-DD HH:MM:SS"
//   Logical          "T" or "F"
//   Memo             the memo's text (empty without the .mb file); binary and graphic fields ""
//   an empty field gives ""
// Deleted records are skipped.
#pragma once
#include <string>

#include "tables/ReadProgress.h"
#include "tables/RowStore.h"

namespace pagloom {

class FileSystem;

// Reads the Paradox table at `path` into `store`. Throws TableError with a German message when
// the file cannot be read or is not a Paradox table, its header contradicts the file, or memory
// runs out. A blob that many records point at is held once.
// `progress`, when given, counts the records read so far.
void ReadParadoxTable(FileSystem& fs, const std::string& path, RowStore& store,
                      ReadProgress* progress = nullptr);

}  // namespace pagloom
