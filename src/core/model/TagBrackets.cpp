// SPDX-License-Identifier: MIT
#include "model/TagBrackets.h"

#include <array>

#include "model/TableSettings.h"

namespace pagloom {
namespace {

constexpr std::array<TagBracketKind, 5> kKinds = {{
    {'<', '>', "<...>"},
    {'(', ')', "(...)"},
    {'{', '}', "{...}"},
    {'[', ']', "[...]"},
    {'\xAB', '\xBB', "\xAB...\xBB"},
}};

// open + name + rest + close + "..." + open + "/" + name + close
std::string Example(const TableSettings& tables, const std::string& name, std::string_view rest) {
    if (!IsTagBracketIndex(tables.tag_item_index)) return {};
    const TagBracketKind& k = kKinds[static_cast<size_t>(tables.tag_item_index)];
    std::string out;
    out += k.open;
    out += name;
    out += rest;
    out += k.close;
    out += "...";
    out += k.open;
    out += '/';
    out += name;
    out += k.close;
    return out;
}

}  // namespace

std::span<const TagBracketKind> TagBracketKinds() { return kKinds; }

bool IsTagBracketIndex(int index) {
    return index >= 0 && static_cast<size_t>(index) < kKinds.size();
}

const TagBracketKind& TagBracketKindAt(int index) {
    return kKinds[IsTagBracketIndex(index) ? static_cast<size_t>(index) : 0];
}

std::string FieldTagExample(const TableSettings& tables) {
    return Example(tables, tables.field_tag_name, " NAME=\"Vorname\"");
}

std::string RecordTagExample(const TableSettings& tables) {
    return Example(tables, tables.record_tag_name, "");
}

}  // namespace pagloom
