// SPDX-License-Identifier: MIT
// Table templates: field tags and record blocks filled from a CSV table. The first byte
// switches the value conversions, the second picks the tag brackets; then comes the template,
// optionally followed by "\n==TABLE==\n" and the table as CSV (";" separated, '"' quoted,
// caption row). Besides the table's own fields, the field list names one the table lacks,
// which must end in a TableError, never in a crash.
#include <cstdlib>

#include "FuzzSupport.h"
#include "generator/TableTemplate.h"
#include "generator/TagScan.h"
#include "model/TableSettings.h"
#include "tables/CsvImport.h"
#include "tables/MemoryTable.h"
#include "tables/TableError.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    TableSettings settings;
    TableConvertSettings& c = settings.convert;
    c.special_sign_unicode = data[0] & 1;
    c.tags_unicode = data[0] & 2;
    c.newline_br = data[0] & 4;
    c.multispaces = data[0] & 8;
    c.tab_to_list = data[0] & 16;
    c.web_to_link = data[0] & 32;
    settings.tag_item_index = data[1] % 6;
    const auto parts = fuzz::SplitInput(data + 2, size - 2, "\n==TABLE==\n");

    fuzz::MemoryFs mem;
    fuzz::QuietHost host;
    MemoryTable table;
    bool haveTable = false;
    if (parts.size() > 1) {
        mem.files["/fuzz/t.csv"] = std::string(parts[1]);
        haveTable = ImportCsvFile(mem, host, "/fuzz/t.csv", ';', '"', true, table);
    }
    std::vector<std::string> columns;
    if (haveTable)
        for (size_t i = 0; i < table.FieldCount(); ++i) columns.push_back(table.FieldName(i));
    columns.push_back("fehlt");
    const TemplateSlot slot{haveTable ? &table : nullptr, columns, settings};

    const TextLines original = SplitLines(parts[0]);
    TextLines lines = original;
    try {
        FillTableTemplate(lines, slot, host);
    } catch (const TableError&) {
        return 0;
    }
    if (!haveTable && lines != original) std::abort();

    // A block without any tag is its content once per row.
    if (haveTable &&
        parts[0].find(TagBracketsFor(settings.tag_item_index).open) == std::string_view::npos) {
        std::string expected;
        table.Open();
        for (size_t r = 0; r < table.RowCount(); ++r) expected += parts[0];
        table.Close();
        if (ExpandRecordBlock(parts[0], slot) != expected) std::abort();
    }
    (void)ConvertFieldValue(parts[0], c);
    return 0;
}
