// SPDX-License-Identifier: MIT
// The CSV importer on whole files. The first three bytes choose separator, quote character,
// caption row (bit 0) and blanks kept in values (bit 1); the rest is the file. Every imported row
// must equal what SplitDelimitedLine makes of its line (of the text as Windows-1252, when the
// file is UTF-8), and the equality filter must find each row by its own first value.
#include <cstdlib>

#include "FuzzSupport.h"
#include "tables/CsvImport.h"
#include "tables/MemoryTable.h"
#include "tables/TableError.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const char sep = static_cast<char>(data[0]);
    const char quote = static_cast<char>(data[1]);
    const bool caption = data[2] & 1;
    const bool blanks = data[2] & 2;
    const std::string_view file(reinterpret_cast<const char*>(data + 3), size - 3);

    fuzz::MemoryFs mem;
    mem.files["/fuzz/t.csv"] = std::string(file);
    fuzz::QuietHost host;
    MemoryTable table;
    bool ok = false;
    try {
        ok = ImportCsvFile(mem, host, "/fuzz/t.csv", sep, quote, caption, table, blanks);
    } catch (const TableError&) {
        std::abort();  // the file is there, so reading cannot fail
    }
    if (!ok) return 0;

    std::string text(file);
    std::string problem;
    if (IsUtf8CsvText(text) && !Utf8CsvTextToCp1252(text, problem)) std::abort();
    const std::vector<std::string_view> lines = SplitCsvLines(text);
    const RowStore& rows = table.Rows();
    const size_t first = caption ? 1 : 0;
    if (rows.RowCount() != lines.size() - first) std::abort();
    for (size_t r = 0; r < rows.RowCount(); ++r) {
        const std::vector<std::string> values =
            SplitDelimitedLine(lines[first + r], sep, quote, blanks);
        if (values.size() != rows.FieldCount()) std::abort();
        for (size_t f = 0; f < values.size(); ++f)
            if (rows.Value(r, f) != values[f]) std::abort();
    }

    table.Open();
    if (table.RowCount() > 0) {
        table.First();
        const std::string wanted(table.FieldText(size_t{0}));
        table.SetEqualityFilter({{table.FieldName(0), wanted}});
        table.Open();  // the filter takes effect when the table is opened
        if (table.AtEnd()) std::abort();
        for (; !table.AtEnd(); table.Next())
            if (table.FieldText(size_t{0}) != wanted) std::abort();
    }
    return 0;
}
