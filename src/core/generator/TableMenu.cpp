// SPDX-License-Identifier: MIT
#include "generator/TableMenu.h"

#include <unordered_set>

#include "generator/BuildError.h"
#include "generator/MakeReport.h"
#include "generator/TextLines.h"
#include "model/Project.h"
#include "model/ProjectRules.h"
#include "ports/Host.h"
#include "tables/ContentTable.h"
#include "tables/ContentTables.h"
#include "tables/TableError.h"
#include "tables/TextFold.h"
#include "text/TextConversions.h"

namespace pagloom {

namespace {

const char* const kNoMainTableLog = "*** keine Tabelle f\xFCr Navigatin ausgew\xE4hlt! ***";
const char* const kNoSubTablesLog = "*** keine Tabelle(n) f\xFCr Navigatin ausgew\xE4hlt! ***";
const char* const kNoSubTablesMessage =
    "Sie haben keine Tabelle(n) f\xFCr die Erstellung der Navigation ausgew\xE4hlt!";

const std::string& ChosenField(const ColumnChoice& c, const char* what) {
    if (c.index < 0 || c.name.empty())
        throw BuildAbort(std::string("Sie haben kein Feld f\xFCr ") + what + " ausgew\xE4hlt!");
    return c.name;
}

// Opens the table to see that it can be read; shows the table message, with the reader's reason,
// when it cannot.
bool CanOpen(ContentTable& t, const Project& p, ContentSlot slot, Host& host) {
    try {
        t.Open();
        return true;
    } catch (const TableError& e) {
        t.Close();
        host.ShowMessageWithDetails(
            "Fehler beim Verarbeiten der Tabelle: " + p.PrjParams.TableName[slot] + "!", e.what());
        return false;
    }
}

// The values a menu already has, compared without case. The folded text goes into one reused
// buffer, so a row whose value was seen costs no allocation: a table has many rows per entry.
class SeenValues {
  public:
    bool Insert(std::string_view text) {
        folded_.resize(text.size());
        for (size_t i = 0; i < text.size(); ++i)
            folded_[i] = static_cast<char>(FoldByte1252(static_cast<unsigned char>(text[i])));
        return seen_.insert(folded_).second;
    }

  private:
    std::string folded_;
    std::unordered_set<std::string> seen_;
};

// A host for a look at the menu: what a build would say is not said.
class SilentHost : public Host {
  public:
    void ShowMessage(const std::string&) override {}
    Answer Ask(const std::string&, bool) override { return Answer::No; }
    std::string ProgramDir() const override { return "."; }
};

}  // namespace

TWebMenu MenuFromTables(const Project& project, ContentTables& tables) {
    // The build's own steps on a copy of what they read, so the look and the build agree.
    Project copy;
    copy.Settings = project.Settings;
    copy.PrjParams = project.PrjParams;
    copy.Tables = project.Tables;
    SilentHost host;
    MakeReport report;
    const TextLines noLibrary;
    BuildContext ctx{copy, tables.Files(), host, report, "", "", noLibrary};
    ctx.tables = &tables;
    try {
        BuildMenuFromMainTable(ctx);
        BuildSubMenusFromSubTable(ctx);
    } catch (const std::exception&) {
        copy.MainMenu.Clear();
    }
    for (ContentSlot slot : kAllSlots)
        if (ContentTable* t = ctx.SlotTable(slot)) t->ClearFilter();
    return std::move(copy.MainMenu);
}

const std::string& MainMenuField(const Project& p) {
    return ChosenField(p.Tables.mainmenu.col_mainmenu, "das Hauptmen\xFC");
}
const std::string& SubMenuMatchField(const Project& p) {
    return ChosenField(p.Tables.submenu.col_mainmenu, "die Zuordnung zum Hauptmen\xFC");
}
const std::string& SubMenuField(const Project& p) {
    return ChosenField(p.Tables.submenu.col_submenu, "das Untermen\xFC");
}

void BuildMenuFromMainTable(BuildContext& ctx) {
    Project& p = ctx.project;
    ContentTable* t = ctx.SlotTable(ContentSlot::mainmenu);
    if (!SlotTableInUse(p, ContentSlot::mainmenu) || !t) {
        ctx.Log(kNoMainTableLog);
        return;
    }
    const std::string& field = MainMenuField(p);
    t->ClearFilter();
    if (!CanOpen(*t, p, ContentSlot::mainmenu, ctx.host)) return;
    const MainMenuTableSettings& m = p.Tables.mainmenu;
    const int f = t->FieldIndex(field);
    if (f < 0) {
        t->Close();
        throw TableError("Das Feld \"" + field + "\" gibt es in der Tabelle nicht!");
    }
    p.MainMenu.Clear();
    SeenValues seen;
    int i = 1;
    for (t->First(); !t->AtEnd(); t->Next()) {
        const std::string_view text = t->FieldText(static_cast<size_t>(f));
        if (!seen.Insert(text)) continue;
        const std::string file =
            m.filename.Is(kNameFromTable)
                ? MakeFileName(text) + m.from_table_extension
                : m.from_text_text + "_" + std::to_string(i) + m.from_text_extension;
        p.MainMenu.Add(TWebMenu::NewMainItem(std::string(text), file, true));
        ++i;
    }
    t->Close();
    p.MainMenu.ResetItemIndex();
}

void BuildSubMenusFromSubTable(BuildContext& ctx) {
    Project& p = ctx.project;
    ContentTable* t = ctx.SlotTable(ContentSlot::submenu);
    if (!SlotTableInUse(p, ContentSlot::mainmenu) || !SlotTableInUse(p, ContentSlot::submenu) ||
        !t) {
        if (p.Tables.Slot[ContentSlot::submenu].content_source > 0) {
            ctx.Log(kNoSubTablesLog);
            ctx.host.ShowMessage(kNoSubTablesMessage);
        }
        return;
    }
    const std::string& match = SubMenuMatchField(p);
    const std::string& field = SubMenuField(p);
    t->ClearFilter();
    if (!CanOpen(*t, p, ContentSlot::submenu, ctx.host)) return;
    const int f = t->FieldIndex(field);
    t->Close();
    if (f < 0) throw TableError("Das Feld \"" + field + "\" gibt es in der Tabelle nicht!");

    const SubMenuTableSettings& m = p.Tables.submenu;
    for (int n = 0; n < p.MainMenu.Count(); ++n) {
        TWebMenuItem& main = p.MainMenu.Item(n);
        if (!main.SubMenu) main.SubMenu = std::make_unique<TWebMenu>();
        SeenValues seen;
        int j = 1;
        t->SetEqualityFilter({{match, main.Text}});
        t->Open();
        for (t->First(); !t->AtEnd(); t->Next()) {
            const std::string_view text = t->FieldText(static_cast<size_t>(f));
            if (!seen.Insert(text)) continue;
            const std::string file = m.filename.Is(kNameFromTable)
                                         ? MakeFileName(main.Text) + m.from_table_seperator +
                                               MakeFileName(text) + m.from_table_extension
                                         : m.from_text_text + "_" + std::to_string(n + 1) + "_" +
                                               std::to_string(j) + m.from_text_extension;
            main.SubMenu->Add(TWebMenu::NewSubItem(std::string(text), file, true));
            main.SubMenu->ResetItemIndex();
            ++j;
        }
        t->Close();
    }
    t->ClearFilter();
}

}  // namespace pagloom
