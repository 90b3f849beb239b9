// SPDX-License-Identifier: MIT
#include "generator/TableTemplate.h"

#include "generator/BuildContext.h"
#include "generator/HtmlBlocks.h"
#include "generator/TagScan.h"
#include "ports/Host.h"
#include "tables/ContentTable.h"
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
const std::string* FieldColumn(const TagNameAttribute& names, const BracketTag& tag,
                               const TemplateSlot& slot) {
    const std::optional<std::string> name = names.Of(tag.open, tag.close);
    if (!name) return nullptr;
    for (const std::string& column : slot.columns)
        if (SameText1252(column, *name)) return &column;
    return nullptr;
}

size_t FieldOf(const ContentTable& t, const std::string& column) {
    const int f = t.FieldIndex(column);
    if (f < 0) throw TableError("Das Feld \"" + column + "\" gibt es in der Tabelle nicht!");
    return static_cast<size_t>(f);
}

// ConvertFieldValue appended to `out`. Most values of a table are plain text: for those only
// the escaping can change anything, and it goes straight into the page.
void AppendFieldValue(std::string& out, std::string_view value, const TableConvertSettings& c) {
    bool plain = c.special_sign_unicode && !c.web_to_link;
    for (size_t i = 0; plain && i < value.size(); ++i) {
        const char b = value[i];
        // Line breaks, tabs and a written "&nbsp; " are what the later steps act on.
        plain = b != '\r' && b != '\n' && b != '\t' && b != '&';
    }
    if (plain)
        AppendHtmlEscaped(out, value, !c.tags_unicode);
    else
        out += ConvertFieldValue(value, c);
}

std::string_view Between(std::string_view text, size_t from, size_t to) {  // 1-based, inclusive
    return to < from ? std::string_view() : text.substr(from - 1, to - from + 1);
}

}  // namespace

TemplateSlot TemplateSlotOf(const BuildContext& ctx, ContentSlot slot) {
    const Project& project = ctx.project;
    return TemplateSlot{ctx.SlotTable(slot), project.Tables.Slot[slot].fields, project.Tables};
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

namespace {

PreparedTemplate::Record PrepareRecord(std::string_view content, const TemplateSlot& slot) {
    const BracketTags tags(content, TagBracketsFor(slot.settings.tag_item_index));
    const TagNameAttribute names(content);
    const std::string fieldTag = ToLowerCp1252(slot.settings.field_tag_name);
    const std::string fieldEnd = "/" + fieldTag;
    PreparedTemplate::Record record{std::string(content), {}};
    for (size_t pos = 1;;) {
        const BracketTag tag = tags.Next(pos);
        if (!tag.found) break;
        pos = tag.open + 1;
        if (!tag.Named(fieldTag)) continue;
        const std::string* column = FieldColumn(names, tag, slot);
        if (!column) continue;
        const BracketTag closing = tags.Find(tag.close + 1, fieldEnd);
        if (!closing.found) continue;
        record.elements.push_back({tag.open, closing.close, *column});
        pos = closing.close + 1;
    }
    return record;
}

void AppendRecord(const PreparedTemplate::Record& record, const TemplateSlot& slot,
                  std::string& out) {
    OpenTable open(*slot.table);
    ContentTable& t = *slot.table;
    std::vector<size_t> fields;
    fields.reserve(record.elements.size());
    for (const auto& e : record.elements) fields.push_back(FieldOf(t, e.column));
    const std::string_view content = record.content;
    for (t.First(); !t.AtEnd(); t.Next()) {
        size_t from = 1;
        for (size_t i = 0; i < record.elements.size(); ++i) {
            out.append(Between(content, from, record.elements[i].start - 1));
            AppendFieldValue(out, t.FieldText(fields[i]), slot.settings.convert);
            from = record.elements[i].end + 1;
        }
        out.append(Between(content, from, content.size()));
    }
}

}  // namespace

std::string ExpandRecordBlock(std::string_view content, const TemplateSlot& slot) {
    std::string out;
    AppendRecord(PrepareRecord(content, slot), slot, out);
    return out;
}

PreparedTemplate::PreparedTemplate(const TextLines& lines, const TemplateSlot& slot)
    : text_(JoinLines(lines)) {
    const std::string_view text = text_;
    const BracketTags tags(text, TagBracketsFor(slot.settings.tag_item_index));
    const TagNameAttribute names(text);
    const std::string fieldTag = ToLowerCp1252(slot.settings.field_tag_name);
    const std::string recordTag = ToLowerCp1252(slot.settings.record_tag_name);
    const std::string fieldEnd = "/" + fieldTag, recordEnd = "/" + recordTag;
    // Each element is skipped as a whole, so what a page inserts is never scanned for tags.
    size_t copied = 1;  // first byte of the template not yet in a part (1-based)
    for (size_t pos = 1;;) {
        const BracketTag tag = tags.Next(pos);
        if (!tag.found) break;
        pos = tag.close + 1;
        if (tag.Named(recordTag)) {
            const BracketTag closing = tags.Find(pos, recordEnd);
            if (!closing.found) continue;
            parts_.push_back({copied - 1,
                              tag.open - 1,
                              true,
                              {},
                              PrepareRecord(Between(text, tag.close + 1, closing.open - 1), slot)});
            copied = pos = closing.close + 1;
        } else if (tag.Named(fieldTag)) {
            const std::string* column = FieldColumn(names, tag, slot);
            if (!column) continue;
            const BracketTag closing = tags.Find(pos, fieldEnd);
            if (!closing.found) continue;
            parts_.push_back({copied - 1, tag.open - 1, false, *column, {}});
            copied = pos = closing.close + 1;
        }
    }
    tail_ = copied - 1;
}

std::string PreparedTemplate::Fill(const TemplateSlot& slot) const {
    std::string out;
    out.reserve(text_.size() + text_.size() / 2);
    for (const Part& part : parts_) {
        out.append(text_, part.from, part.to - part.from);
        if (part.record)
            AppendRecord(part.block, slot, out);
        else
            out.append(FirstRowValue(part.column, slot));
    }
    out.append(text_, tail_, std::string::npos);
    return out;
}

void FillTableTemplate(TextLines& lines, const TemplateSlot& slot, Host& host) {
    if (!slot.table) {
        host.ShowMessage(kNoTableForTemplateMessage);
        return;
    }
    lines = SplitLines(PreparedTemplate(lines, slot).Fill(slot));
}

}  // namespace pagloom
