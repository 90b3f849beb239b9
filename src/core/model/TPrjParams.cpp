// SPDX-License-Identifier: MIT
#include "model/TPrjParams.h"

namespace pagloom {

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

}  // namespace pagloom
