// SPDX-License-Identifier: MIT
// The menu entries that reach the generated site: each active main entry, immediately
// followed by its active sub entries. Sub entries of an inactive main entry never count,
// whatever their own flag says.
#pragma once
#include "model/TWebMenu.h"

namespace pagloom {

// Calls f(entry, isSubEntry) for every entry that counts, in menu order.
template <typename F>
void ForEachWrittenEntry(const TWebMenu& menu, F&& f) {
    for (int i = 0; i < menu.Count(); ++i) {
        const TWebMenuItem& main = menu.Item(i);
        if (!main.Active) continue;
        f(main, false);
        if (!main.SubMenu) continue;
        for (int j = 0; j < main.SubMenu->Count(); ++j) {
            const TWebMenuItem& sub = main.SubMenu->Item(j);
            if (sub.Active) f(sub, true);
        }
    }
}

}  // namespace pagloom
