// SPDX-License-Identifier: MIT
// The CSV importer: reads a delimited text file (Windows-1252 bytes) into a MemoryTable.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/MemoryTable.h"
#include "tables/ReadProgress.h"

namespace pagloom {

class FileSystem;
class Host;

// Cuts a file's text into lines: a line ends at CR LF, LF or CR; a NUL byte ends the text;
// a final line break adds no empty line. The views point into `text`.
std::vector<std::string_view> SplitCsvLines(std::string_view text);

// Splits one line into values with separator `sep` and quote character `quote`. Blanks (bytes
// 1 to 32) outside quotes end a value and are never part of one; QQ inside quotes is one Q; an
// unclosed quote runs to the end of the line and loses the line's last byte. An empty or blank
// line gives no values.
// With `blanksInValues` (spreadsheets quote only where they must) an unquoted value runs up to
// the separator and keeps the blanks inside it; blanks before and after it are still dropped.
std::vector<std::string> SplitDelimitedLine(std::string_view line, char sep, char quote,
                                            bool blanksInValues = false);

// UTF-8 input. A file is taken for UTF-8 when it starts with the UTF-8 byte order mark, or when
// it is well-formed UTF-8 and holds at least one multi-byte sequence (Windows-1252 text with
// umlauts practically never is).
bool IsUtf8CsvText(std::string_view bytes);
// Turns such a text into Windows-1252 in place (the byte order mark dropped). False when a
// character has no Windows-1252 form, or bytes after a byte order mark are no UTF-8: `problem`
// then names the line and the character, and `text` is unspecified. U+FFFD, the mark another
// program left for a character it had already lost, becomes '?'.
bool Utf8CsvTextToCp1252(std::string& text, std::string& problem);

// The first data line whose number of values differs from the first data line's, by the
// importer's rules on Windows-1252 text: its number in the file (from 1, the caption line
// counted), its number of values and the number expected. Nothing when all lines agree.
struct CsvUnevenLine {
    size_t line = 0;
    size_t fields = 0;
    size_t expected = 0;
};
std::optional<CsvUnevenLine> FirstUnevenCsvLine(std::string_view text, char sep, char quote,
                                                bool hasCaptionRow, bool blanksInValues);

// Reads the file at `path` into `table`. Returns true when the table now holds the file's
// fields (named by the caption row, or Field0, Field1, ...) and rows; it is then closed.
// Returns false after showing one of three messages through `host`: no data line or data lines
// of different lengths (the table is untouched), or a field definition that fails (captions
// missing, empty or repeated, or no field at all: the table keeps its old rows, closed).
// UTF-8 text (IsUtf8CsvText) is read as Windows-1252; one that cannot be is refused with a
// message naming the line and the character, the table untouched.
// Throws TableError when the file cannot be read or memory runs out while it is read.
// `progress`, when given, counts the bytes of the text split so far.
bool ImportCsvFile(FileSystem& fs, Host& host, const std::string& path, char sep, char quote,
                   bool hasCaptionRow, MemoryTable& table, bool blanksInValues = false,
                   ReadProgress* progress = nullptr);

// The three messages of the importer (Windows-1252).
extern const char* const kCsvNoRecords;
extern const char* const kCsvFieldCountsDiffer;
extern const char* const kCsvImportFailed;

}  // namespace pagloom
