// SPDX-License-Identifier: MIT
#include "generator/CodeWizard.h"

#include <algorithm>
#include <array>

#include "generator/HtmlBlocks.h"
#include "generator/TagScan.h"
#include "io/FileSystem.h"
#include "model/TableSettings.h"
#include "model/TagBrackets.h"
#include "tables/TextFold.h"
#include "text/TextConversions.h"

namespace pagloom {

namespace {

constexpr std::array<std::string_view, 5> kLayouts{
    "Datenfelder nebeneinander", "Datenfelder untereinander", "Datens\xE4tze, Felder nebeneinander",
    "Datens\xE4tze, Felder untereinander", "Datens\xE4tze als Tabelle"};
constexpr std::array<std::string_view, 3> kTableHeads{"nicht erstellen", "mit Feldnamen",
                                                      "ohne Feldnamen"};
constexpr std::array<std::string_view, 3> kFieldSeparators{"[Leerzeichen]", "[Komma + Leer]",
                                                           "[Semikolon + Leer]"};
constexpr std::array<std::string_view, 3> kFieldSeparatorValues{" ", ", ", "; "};
constexpr std::array<std::string_view, 3> kRecordSeparators{"Zeilenumbruch (<br>)",
                                                            "2 Zeilenumbr\xFC"
                                                            "che (<br><br>)",
                                                            "als Abs\xE4tze (<p>...</p>)"};

// Position of the entry whose caption the trimmed text is, or -1.
template <size_t N>
int EntryOf(const std::array<std::string_view, N>& captions, std::string_view boxText) {
    const std::string trimmed = TrimBlanks(boxText);
    for (size_t i = 0; i < N; ++i)
        if (captions[i] == trimmed) return static_cast<int>(i);
    return -1;
}

std::string OpenTag(const CodeTags& t, const std::string& name) {
    return std::string(1, t.open) + name + t.close;
}
std::string CloseTag(const CodeTags& t, const std::string& name) {
    return std::string(1, t.open) + "/" + name + t.close;
}

// Layouts 0 and 1: one line per field, every line but the last followed by `between`.
void AddFieldLines(TextLines& lines, const std::vector<std::string>& fields, const CodeTags& tags,
                   const std::string& between) {
    for (size_t i = 0; i < fields.size(); ++i)
        lines.push_back(FieldCode(fields[i], tags) + (i + 1 < fields.size() ? between : ""));
}

// The sort key of a field name: letter case and accents do not count ("Ärger" beside "Arm"),
// so the list reads as a German user expects.
std::string SortKey(std::string_view name) {
    std::string key;
    key.reserve(name.size());
    for (const char ch : name) {
        const unsigned char c = FoldByte1252(static_cast<unsigned char>(ch));
        if (c >= 0xE0 && c <= 0xE5)
            key += 'a';
        else if (c == 0xE6)
            key += "ae";
        else if (c == 0xE7)
            key += 'c';
        else if (c >= 0xE8 && c <= 0xEB)
            key += 'e';
        else if (c >= 0xEC && c <= 0xEF)
            key += 'i';
        else if (c == 0xF1)
            key += 'n';
        else if ((c >= 0xF2 && c <= 0xF6) || c == 0xF8)
            key += 'o';
        else if (c == 0x9C)
            key += "oe";
        else if (c >= 0xF9 && c <= 0xFC)
            key += 'u';
        else if (c == 0xFD || c == 0xFF)
            key += 'y';
        else if (c == 0xDF)
            key += "ss";
        else if (c == 0x9A)
            key += 's';
        else if (c == 0x9E)
            key += 'z';
        else
            key += static_cast<char>(c);
    }
    return key;
}

bool SortsBefore(const std::string& a, const std::string& b) {
    const std::string ka = SortKey(a), kb = SortKey(b);
    if (ka != kb) return ka < kb;
    return FoldText1252(a) < FoldText1252(b);
}

}  // namespace

const char* const kUnknownTemplateType = "Unbekannter Datei-Typ! HTML-Tags in Vorlage einf\xFCgen?";

std::span<const std::string_view> CodeLayoutCaptions() { return kLayouts; }
std::span<const std::string_view> CodeTableHeadCaptions() { return kTableHeads; }
std::span<const std::string_view> FieldSeparatorCaptions() { return kFieldSeparators; }
std::span<const std::string_view> RecordSeparatorCaptions() { return kRecordSeparators; }

std::string FieldSeparatorOf(std::string_view boxText) {
    const int entry = EntryOf(kFieldSeparators, boxText);
    return entry < 0 ? std::string(boxText)
                     : std::string(kFieldSeparatorValues[static_cast<size_t>(entry)]);
}

RecordSeparator RecordSeparatorOf(std::string_view boxText) {
    switch (EntryOf(kRecordSeparators, boxText)) {
        case 0:
            return {"", "<br>"};
        case 1:
            return {"", "<br><br>"};
        case 2:
            return {"<p>", "</p>"};
        default:
            return {"", std::string(boxText)};
    }
}

CodeTags CodeTagsOf(const TableSettings& tables, char quote) {
    const TagBracketKind& brackets = TagBracketKindAt(tables.tag_item_index);
    return CodeTags{brackets.open, brackets.close, tables.field_tag_name, tables.record_tag_name,
                    quote};
}

std::string FieldCode(std::string_view name, const CodeTags& t) {
    std::string code;
    code.reserve(2 * name.size() + 2 * t.field.size() + 14);
    code += t.open;
    code += t.field;
    code += " Name=";
    code += t.quote;
    code += name;
    code += t.quote;
    code += t.close;
    code += name;
    code += CloseTag(t, t.field);
    return code;
}

TextLines GenerateCode(const CodeChoices& choices, const std::vector<std::string>& fields,
                       const CodeTags& tagParts) {
    CodeTags tags = tagParts;
    tags.quote = choices.quote;
    TextLines lines;
    const std::string fieldSeparator = FieldSeparatorOf(choices.fieldSeparator);
    const RecordSeparator record = RecordSeparatorOf(choices.recordSeparator);
    switch (choices.layout) {
        case kFieldsSideBySide:
            AddFieldLines(lines, fields, tags, fieldSeparator);
            break;
        case kFieldsOneBelowAnother:
            AddFieldLines(lines, fields, tags, "<br>");
            break;
        case kRecordsFieldsSideBySide:
        case kRecordsFieldsBelow:
            lines.push_back(OpenTag(tags, tags.record) + record.start);
            AddFieldLines(lines, fields, tags,
                          choices.layout == kRecordsFieldsSideBySide ? fieldSeparator : "<br>");
            lines.push_back(record.end + CloseTag(tags, tags.record));
            break;
        case kRecordsAsTable:
            lines.emplace_back("<table>");
            if (choices.tableHead != kNoTableHead) {
                lines.emplace_back("<tr>");
                for (const std::string& f : fields)
                    lines.push_back("<th>" +
                                    (choices.tableHead == kHeadWithFieldNames ? f : std::string()) +
                                    "</th>");
                lines.emplace_back("</tr>");
            }
            lines.push_back(OpenTag(tags, tags.record));
            lines.emplace_back("<tr>");
            for (const std::string& f : fields)
                lines.push_back("<td>" + FieldCode(f, tags) + "</td>");
            lines.emplace_back("</tr>");
            lines.push_back(CloseTag(tags, tags.record));
            lines.emplace_back("</table>");
            break;
        default:  // no layout chosen: no code
            break;
    }
    return lines;
}

LayoutBoxes LayoutBoxesOf(int layout) {
    switch (layout) {
        case kFieldsSideBySide:
            return {true, false, false};
        case kRecordsFieldsSideBySide:
            return {true, true, false};
        case kRecordsFieldsBelow:
            return {false, true, false};
        case kRecordsAsTable:
            return {false, false, true};
        default:
            return {};
    }
}

void FieldLists::Fill(const std::vector<std::string>& slotFields) {
    chosen.clear();
    available = slotFields;
    std::stable_sort(available.begin(), available.end(), SortsBefore);
}

void InsertSorted(std::vector<std::string>& list, std::string name) {
    const auto at = std::upper_bound(list.begin(), list.end(), name, SortsBefore);
    list.insert(at, std::move(name));
}

int ReselectAfterTransfer(int firstSelected, int count) {
    if (count <= 0) return -1;
    if (firstSelected < 0) return 0;
    return std::min(firstSelected, count - 1);
}

int TransferSelected(FieldLists& lists, bool toChosen, const std::vector<int>& selected) {
    std::vector<std::string>& from = toChosen ? lists.available : lists.chosen;
    std::vector<std::string>& to = toChosen ? lists.chosen : lists.available;
    const int count = static_cast<int>(from.size());
    std::vector<bool> marked(from.size(), false);
    for (const int i : selected)
        if (i >= 0 && i < count) marked[static_cast<size_t>(i)] = true;
    const auto first = std::find(marked.begin(), marked.end(), true);
    const int firstSelected = first == marked.end() ? -1 : static_cast<int>(first - marked.begin());
    for (int i = count - 1; i >= 0; --i) {
        if (!marked[static_cast<size_t>(i)]) continue;
        std::string name = std::move(from[static_cast<size_t>(i)]);
        from.erase(from.begin() + i);
        if (toChosen)
            to.push_back(std::move(name));
        else
            InsertSorted(to, std::move(name));
    }
    return ReselectAfterTransfer(firstSelected, static_cast<int>(from.size()));
}

void TransferAll(FieldLists& lists, bool toChosen) {
    std::vector<std::string>& from = toChosen ? lists.available : lists.chosen;
    std::vector<std::string>& to = toChosen ? lists.chosen : lists.available;
    for (std::string& name : from) {
        if (toChosen)
            to.push_back(std::move(name));
        else
            InsertSorted(to, std::move(name));
    }
    from.clear();
}

TemplateForm TemplateFormOf(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return TemplateForm::Ask;
    const std::string_view ext = path.substr(dot);
    for (std::string_view page : {".htm", ".html", ".dwt", ".php", ".php4", ".php5", ".php6"})
        if (ext == page) return TemplateForm::Page;
    if (ext == ".js" || ext == ".xml") return TemplateForm::CodeOnly;
    return TemplateForm::Ask;
}

TextLines TemplatePage(const TextLines& code) {
    TextLines lines;
    AddPageHead(lines, "pagloom content-page");
    lines.emplace_back();
    lines.insert(lines.end(), code.begin(), code.end());
    lines.emplace_back();
    AddPageFoot(lines);
    return lines;
}

bool WriteTemplateFile(FileSystem& fs, const std::string& path, const TextLines& lines) {
    return WriteFileAtomic(fs, path, JoinLines(lines));
}

}  // namespace pagloom
