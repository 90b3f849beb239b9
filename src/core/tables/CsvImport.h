// SPDX-License-Identifier: MIT
// The CSV importer: reads a delimited text file (Windows-1252 bytes) into a MemoryTable.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "tables/MemoryTable.h"

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
std::vector<std::string> SplitDelimitedLine(std::string_view line, char sep, char quote);

// Reads the file at `path` into `table`. Returns true when the table now holds the file's
// fields (named by the caption row, or Field0, Field1, ...) and rows; it is then closed.
// Returns false after showing one of three messages through `host`: no data line or data lines
// of different lengths (the table is untouched), or a field definition that fails (captions
// missing, empty or repeated, or no field at all: the table keeps its old rows, closed).
// Throws TableError when the file cannot be read or memory runs out while it is read.
bool ImportCsvFile(FileSystem& fs, Host& host, const std::string& path, char sep, char quote,
                   bool hasCaptionRow, MemoryTable& table);

// The three messages of the importer (Windows-1252).
extern const char* const kCsvNoRecords;
extern const char* const kCsvFieldCountsDiffer;
extern const char* const kCsvImportFailed;

}  // namespace pagloom
