// SPDX-License-Identifier: MIT
#include "model/TPrjParams.h"

namespace pagloom {

namespace {
const char* const kKindTexts[6] = {"paradox_table", "dbase_table", "foxpro_table",
                                   "csv_table",     "bde_table",   "none_table"};
}  // namespace

const char* SlotName(ContentSlot slot) {
    switch (slot) {
        case ContentSlot::firstpage:
            return "firstpage";
        case ContentSlot::mainmenu:
            return "mainmenu";
        case ContentSlot::submenu:
            return "submenu";
    }
    return "firstpage";
}

const char* TableKindText(int kind) {
    return kind >= 0 && kind <= 5 ? kKindTexts[kind] : kKindTexts[kNoneTable];
}

bool TableKindFromText(std::string_view text, std::uint8_t& kind) {
    for (std::uint8_t k = 0; k <= kNoneTable; ++k) {
        if (text == kKindTexts[k]) {
            kind = k;
            return true;
        }
    }
    if (text == "undefined_table") {
        kind = kNoneTable;
        return true;
    }
    return false;
}

}  // namespace pagloom
