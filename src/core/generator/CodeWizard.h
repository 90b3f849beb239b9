// SPDX-License-Identifier: MIT
// The code wizard's rules: which field and record tag code it writes for chosen fields and a
// layout, how its two field lists move entries, and how a template file is made of the code.
// The wizard window only shows what these compute. Texts are Windows-1252.
#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generator/TextLines.h"

namespace pagloom {

struct TableSettings;
class FileSystem;

// Positions of the layout choice.
enum CodeLayout {
    kFieldsSideBySide = 0,     // "Datenfelder nebeneinander"
    kFieldsOneBelowAnother,    // "Datenfelder untereinander"
    kRecordsFieldsSideBySide,  // "Datensätze, Felder nebeneinander"
    kRecordsFieldsBelow,       // "Datensätze, Felder untereinander"
    kRecordsAsTable            // "Datensätze als Tabelle"
};
// Positions of the table-head list.
enum CodeTableHead { kNoTableHead = 0, kHeadWithFieldNames, kHeadWithoutFieldNames };

// The entries of the layout choice, the table-head list and the two separator boxes, in order.
std::span<const std::string_view> CodeLayoutCaptions();
std::span<const std::string_view> CodeTableHeadCaptions();
std::span<const std::string_view> FieldSeparatorCaptions();
std::span<const std::string_view> RecordSeparatorCaptions();

// What the field-separator box's text stands for: an entry's caption (blanks around it do not
// count) gives its separator, any other text is used exactly as typed.
std::string FieldSeparatorOf(std::string_view boxText);
// The record separator: the text put before a record's fields and after them.
struct RecordSeparator {
    std::string start;
    std::string end;
    bool operator==(const RecordSeparator&) const = default;
};
RecordSeparator RecordSeparatorOf(std::string_view boxText);

// The wizard's choices, as the window holds them between openings.
struct CodeChoices {
    int layout = kFieldsSideBySide;
    char quote = '\'';
    std::string fieldSeparator;   // the box's text as shown
    std::string recordSeparator;  // the box's text as shown
    int tableHead = kNoTableHead;
};

// The tag parts of the project's table settings: the brackets of tag_item_index and the tag
// names, with the chosen quote.
struct CodeTags {
    char open = '<';
    char close = '>';
    std::string field = "FIELD";
    std::string record = "RECORD";
    char quote = '\'';
};
CodeTags CodeTagsOf(const TableSettings& tables, char quote);

// O F " Name=" Q N Q C N O "/" F C: the field name as the tag's attribute and as the sample
// content between the opening and the closing tag.
std::string FieldCode(std::string_view name, const CodeTags& tags);

// The lines of code for `fields` (the chosen fields in their order) in the chosen layout, with
// the chosen quote.
TextLines GenerateCode(const CodeChoices& choices, const std::vector<std::string>& fields,
                       const CodeTags& tags);

// Which of the three boxes a layout enables; a disabled box keeps its value.
struct LayoutBoxes {
    bool fieldSeparator = false;
    bool recordSeparator = false;
    bool tableHead = false;
    bool operator==(const LayoutBoxes&) const = default;
};
LayoutBoxes LayoutBoxesOf(int layout);

// The two field lists. `available` ("Vorhandene Felder") is kept sorted without regard to case;
// `chosen` ("Ausgewählte Felder") is in the order the code uses.
struct FieldLists {
    std::vector<std::string> available;
    std::vector<std::string> chosen;
    // Empties both lists and fills `available` with a slot's field names, sorted.
    void Fill(const std::vector<std::string>& slotFields);
};

// Moves the entries at the `selected` positions of one list to the other, walking the source
// from its last entry up: several entries arrive at the end of `chosen` in reverse order, and
// entries moved back into `available` take their sorted places. Returns the position to select
// in the source afterwards (ReselectAfterTransfer of its first selected position), -1 when the
// source is empty.
int TransferSelected(FieldLists& lists, bool toChosen, const std::vector<int>& selected);
// Moves every entry of one list, in its order, to the other; the source ends up empty.
void TransferAll(FieldLists& lists, bool toChosen);
// The entry to select after a transfer: the first when nothing was selected (-1), else the
// remembered position, or the last entry when that position is now past the end; -1 for an
// empty list.
int ReselectAfterTransfer(int firstSelected, int count);
// Inserts `name` at its sorted place (without regard to case, after equal names).
void InsertSorted(std::vector<std::string>& list, std::string name);

// What "Vorlage erstellen" writes for the chosen file name, by its extension (with its dot,
// letter case counts): a page, the code lines alone, or ask the user.
enum class TemplateForm { Page, CodeOnly, Ask };
TemplateForm TemplateFormOf(std::string_view path);
// The question asked for an unknown extension.
extern const char* const kUnknownTemplateType;

// A page around the code: the page head with the title "pagloom content-page", an empty line,
// the code, an empty line, the page foot.
TextLines TemplatePage(const TextLines& code);

// Writes the lines (each followed by CR LF) to `path`, replacing a file of that name; the old
// file stays intact when the write fails. False on failure.
bool WriteTemplateFile(FileSystem& fs, const std::string& path, const TextLines& lines);

}  // namespace pagloom
