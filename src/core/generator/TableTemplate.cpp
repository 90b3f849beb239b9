// SPDX-License-Identifier: MIT
#include "generator/TableTemplate.h"

#include "generator/HtmlBlocks.h"
#include "ports/Host.h"
#include "tables/ContentTable.h"
#include "tables/SlotTables.h"
#include "tables/TableError.h"
#include "tables/TextFold.h"
#include "text/TextConversions.h"

namespace pagloom {

const char* const kNoTableForTemplateMessage = "Fehler beim Erstellen der HTML-Seiten aus Verlage!";

namespace {

// Replaces every occurrence, left to right without overlap. Most values hold none of the
// patterns, so those are left as they are without a copy: a build converts every value.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    size_t hit = text.find(from);
    if (hit == std::string::npos) return;
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    size_t pos = 0;
    for (; hit != std::string::npos; pos = hit + from.size(), hit = text.find(from, pos)) {
        out.append(text, pos, hit - pos);
        out.append(to);
    }
    out.append(text, pos, std::string::npos);
    text = std::move(out);
}

// Closes the table when the filling is done, also when reading failed.
struct OpenTable {
    explicit OpenTable(ContentTable& t) : table(t) {
        try {
            table.Open();
        } catch (...) {
            table.Close();
            throw;
        }
    }
    ~OpenTable() { table.Close(); }
    ContentTable& table;
};

// The field's column, when the tag is a field tag whose name attribute is in the column list.
const std::string* FieldColumn(std::string_view tagText, const TemplateSlot& slot) {
    for (const std::string& entry : ParseTagAttributes(tagText)) {
        if (entry.rfind("name=", 0) != 0) continue;
        const std::string_view name = std::string_view(entry).substr(5);
        for (const std::string& column : slot.columns)
            if (SameText1252(column, name)) return &column;
        return nullptr;
    }
    return nullptr;
}

size_t FieldOf(const ContentTable& t, const std::string& column) {
    const int f = t.FieldIndex(column);
    if (f < 0) throw TableError("Das Feld \"" + column + "\" gibt es in der Tabelle nicht!");
    return static_cast<size_t>(f);
}

std::string_view Between(std::string_view text, size_t from, size_t to) {  // 1-based, inclusive
    return to < from ? std::string_view() : text.substr(from - 1, to - from + 1);
}

}  // namespace

TemplateSlot TemplateSlotOf(const Project& project, ContentSlot slot) {
    return TemplateSlot{SlotTables().For(project.PrjParams, slot), project.Tables.Slot[slot].fields,
                        project.Tables};
}

std::string ConvertFieldValue(std::string_view value, const TableConvertSettings& c) {
    std::string v =
        c.special_sign_unicode ? HtmlEscape(value, !c.tags_unicode) : std::string(value);
    if (!c.special_sign_unicode && c.tags_unicode) {
        ReplaceAll(v, "<", "&#60;");
        ReplaceAll(v, ">", "&#62;");
    }
    if (c.newline_br) {
        ReplaceAll(v, "\r\n", "<br>");
        ReplaceAll(v, "\n", "<br>");
        ReplaceAll(v, "\r", "<br>");
    }
    if (c.multispaces) {
        ReplaceAll(v, "  ", " &nbsp;");
        ReplaceAll(v, "&nbsp; ", "&nbsp;&nbsp;");
    }
    if (c.tab_to_list) ReplaceAll(v, "\t", "&nbsp;&nbsp; &nbsp; &nbsp; &nbsp;");
    if (c.web_to_link) v = WebAddressesToLinks(v, "_blank");
    return v;
}

std::string FirstRowValue(std::string_view field, const TemplateSlot& slot) {
    OpenTable open(*slot.table);
    ContentTable& t = *slot.table;
    t.First();
    const std::string_view value = t.AtEnd() ? std::string_view() : t.FieldText(field);
    return ConvertFieldValue(value, slot.settings.convert);
}

std::string ExpandRecordBlock(std::string_view content, const TemplateSlot& slot) {
    const TagBrackets brackets = TagBracketsFor(slot.settings.tag_item_index);
    const std::string fieldTag = ToLowerCp1252(slot.settings.field_tag_name);
    struct Element {
        size_t start,
            end;  // 1-based: opening bracket of the field tag, closing bracket of its end tag
        const std::string* column;
    };
    std::vector<Element> elements;
    for (size_t pos = 1;;) {
        const BracketTag tag = NextBracketTag(content, pos, brackets);
        if (!tag.found) break;
        pos = tag.open + 1;
        if (tag.name != fieldTag) continue;
        const std::string* column = FieldColumn(Between(content, tag.open, tag.close), slot);
        if (!column) continue;
        const BracketTag closing = FindBracketTag(content, tag.close + 1, "/" + tag.name, brackets);
        if (!closing.found) continue;
        elements.push_back({tag.open, closing.close, column});
        pos = closing.close + 1;
    }

    OpenTable open(*slot.table);
    ContentTable& t = *slot.table;
    std::vector<size_t> fields;
    for (const Element& e : elements) fields.push_back(FieldOf(t, *e.column));
    std::string out;
    for (t.First(); !t.AtEnd(); t.Next()) {
        size_t from = 1;
        for (size_t i = 0; i < elements.size(); ++i) {
            out.append(Between(content, from, elements[i].start - 1));
            out.append(ConvertFieldValue(t.FieldText(fields[i]), slot.settings.convert));
            from = elements[i].end + 1;
        }
        out.append(Between(content, from, content.size()));
    }
    return out;
}

void FillTableTemplate(TextLines& lines, const TemplateSlot& slot, Host& host) {
    const std::string text = JoinLines(lines);
    if (!slot.table) {
        host.ShowMessage(kNoTableForTemplateMessage);
        return;
    }
    const TagBrackets brackets = TagBracketsFor(slot.settings.tag_item_index);
    const std::string fieldTag = ToLowerCp1252(slot.settings.field_tag_name);
    const std::string recordTag = ToLowerCp1252(slot.settings.record_tag_name);
    // The result is built front to back: each replaced element is skipped in the template, so
    // inserted values are never scanned for tags.
    std::string out;
    out.reserve(text.size());
    size_t copied = 1;  // first byte of the template not yet in `out`
    for (size_t pos = 1;;) {
        const BracketTag tag = NextBracketTag(text, pos, brackets);
        if (!tag.found) break;
        pos = tag.close + 1;
        if (tag.name == recordTag) {
            const BracketTag closing = FindBracketTag(text, pos, "/" + recordTag, brackets);
            if (!closing.found) continue;
            out.append(Between(text, copied, tag.open - 1));
            out.append(ExpandRecordBlock(Between(text, tag.close + 1, closing.open - 1), slot));
            copied = pos = closing.close + 1;
        } else if (tag.name == fieldTag) {
            const std::string* column = FieldColumn(Between(text, tag.open, tag.close), slot);
            if (!column) continue;
            const BracketTag closing = FindBracketTag(text, pos, "/" + fieldTag, brackets);
            if (!closing.found) continue;
            out.append(Between(text, copied, tag.open - 1));
            out.append(FirstRowValue(*column, slot));
            copied = pos = closing.close + 1;
        }
    }
    out.append(Between(text, copied, text.size()));
    lines = SplitLines(out);
}

}  // namespace pagloom
