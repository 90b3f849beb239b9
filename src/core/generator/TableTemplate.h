// SPDX-License-Identifier: MIT
// Filling table templates: field tags take a field's value, record blocks are repeated once per
// row of the slot's table (under the row filter the caller has set). Values are turned into
// HTML by the conversions of the project's table_convert settings.
#pragma once
#include <string>
#include <string_view>

#include "generator/TextLines.h"
#include "model/Project.h"

namespace pagloom {

class ContentTable;
class Host;
struct BuildContext;

// The message shown for a slot without table.
extern const char* const
    kNoTableForTemplateMessage;  // "Fehler beim Erstellen der HTML-Seiten aus Verlage!"

// What filling needs of a slot: its table (null for "none_table"), the field names that count
// in tags (the slot's field list) and the project's tag and conversion settings.
struct TemplateSlot {
    ContentTable* table;
    const std::vector<std::string>& columns;
    const TableSettings& settings;
};

// The slot's view for filling; the table is the build's object for the slot's TableKind (none
// when the build has no tables).
TemplateSlot TemplateSlotOf(const BuildContext& ctx, ContentSlot slot);

// Fills `lines` in place. Without table it shows kNoTableForTemplateMessage and leaves the
// lines unchanged. Inserted text is not scanned again. Throws TableError when the table cannot
// be read or lacks a field named in a tag.
void FillTableTemplate(TextLines& lines, const TemplateSlot& slot, Host& host);

// A template prepared for the pages of one level: its field and record tags are found once, so
// each page only takes its values. Fill gives the text FillTableTemplate makes of the same
// lines (joined with CR LF); `slot` must have a table and the settings it was prepared with.
class PreparedTemplate {
  public:
    PreparedTemplate(const TextLines& lines, const TemplateSlot& slot);
    // Throws TableError like FillTableTemplate.
    std::string Fill(const TemplateSlot& slot) const;

    // A record block: its content and the field elements in it.
    struct Record {
        struct Element {
            size_t start, end;  // 1-based: opening bracket of the field tag, closing one of its end
            std::string column;
        };
        std::string content;
        std::vector<Element> elements;
    };

  private:
    struct Part {
        size_t from, to;     // the template text before the element, [from, to)
        bool record;         // a record block, else a field tag outside any block
        std::string column;  // the field tag's column
        Record block;
    };
    std::string text_;
    std::vector<Part> parts_;  // the text after the last one follows them
    size_t tail_ = 0;
};

// The text of one record block: `content` once per row, its field elements replaced by the
// row's converted values. Opens and closes the table.
std::string ExpandRecordBlock(std::string_view content, const TemplateSlot& slot);

// The converted value of `field` in the first row ("" when there is none). Opens and closes the
// table.
std::string FirstRowValue(std::string_view field, const TemplateSlot& slot);

// Turns a table value into HTML, each step only when its switch is on: special characters
// (and '<' '>') as references, line breaks as "<br>", runs of blanks as "&nbsp;", tabs as
// eight blanks' worth of "&nbsp;", web addresses as links.
std::string ConvertFieldValue(std::string_view value, const TableConvertSettings& convert);

}  // namespace pagloom
