// SPDX-License-Identifier: MIT
#include "generator/TablePages.h"

#include <optional>

#include "generator/ContentPages.h"
#include "generator/Dreamweaver.h"
#include "generator/SiteFiles.h"
#include "generator/TableMenu.h"
#include "generator/TableTemplate.h"
#include "model/Project.h"
#include "model/ProjectRules.h"
#include "ports/Host.h"
#include "tables/ContentTables.h"

namespace pagloom {

namespace {

const char* const kPreconditionA =
    "Sie haben keine Tabelle f\xFCr die Erstellung der Seiten ausgew\xE4hlt!";
const char* const kPreconditionB =
    "keine Tabelle f\xFCr die Erstellung der Seiten f\xFCr das Hauptmen\xFC ausgew\xE4hlt!";
const char* const kPreconditionC =
    "Sie haben keine Tabelle(n) f\xFCr die Erstellung der Seiten ausgew\xE4hlt!";
const char* const kPreconditionD =
    "keine Tabelle f\xFCr die Erstellung der Seiten f\xFCr das Untermen\xFC ausgew\xE4hlt!";
const char* const kPreconditionE = "keine Tabelle f\xFCr die Erstellung der ersten Seite!";

bool InUse(const BuildContext& ctx, ContentSlot slot) { return SlotTableInUse(ctx.project, slot); }

// Shows the message and returns false when the level's precondition fails.
bool Require(const BuildContext& ctx, bool condition, const char* message) {
    if (!condition) ctx.host.ShowMessage(message);
    return condition;
}

// One level's way of making a page from its template: the template, filled from the slot's
// rows (when `fill`), and for a Dreamweaver template made an instance, or merged into the
// existing page to keep its editable regions. The template is read once per level and build:
// the build dialog is modal, so it cannot change in between, and a level of ten thousand
// pages would otherwise spend more time reading it than writing its pages.
struct LevelWriter {
    BuildContext& ctx;
    ContentSlot slot;
    int source;
    const std::string& templateFile;
    bool fill;
    mutable std::optional<TextLines> templateLines;
    mutable std::optional<PreparedTemplate> prepared;  // its tags, found on the first page

    void Page(const std::string& path, std::string_view name) const {
        if (source == kSlotEmptyPages) {
            WriteEmptyPage(ctx, path, name);
            return;
        }
        if (!templateLines) templateLines = ctx.ReadTemplate(templateFile);
        TextLines lines;
        const TemplateSlot tableSlot = TemplateSlotOf(ctx, slot);
        if (fill && tableSlot.table) {
            if (!prepared) prepared.emplace(*templateLines, tableSlot);
            std::string text = NormalizeLineBreaks(prepared->Fill(tableSlot));
            if (source != kSlotDwTemplate) {
                ctx.SaveText(path, std::move(text));  // as it stands: no need to cut it into lines
                return;
            }
            lines = SplitLines(text);
        } else {
            lines = *templateLines;
            if (fill) FillTableTemplate(lines, tableSlot, ctx.host);  // the message, once per page
        }
        if (source == kSlotDwTemplate) {
            const std::string& projectDestination = ctx.Settings().files.destination_directory;
            if (ctx.KeepRegions() && ctx.FileExists(path)) {
                TextLines page = ctx.ReadLines(path);
                MergeDWPage(page, lines, templateFile, projectDestination, ctx.host);
                lines = std::move(page);
            } else {
                MakeDWInstance(lines, templateFile, projectDestination, ctx.host);
            }
        }
        ctx.Save(path, lines);
    }
};

// The slot's table, if any, with a filter for one page; cleared again when the level is done.
class LevelFilter {
  public:
    explicit LevelFilter(ContentTable* table) : table_(table) {}
    ~LevelFilter() {
        if (table_) table_->ClearFilter();
    }
    void Set(std::vector<FieldCondition> conditions) {
        if (table_) table_->SetEqualityFilter(std::move(conditions));
    }

  private:
    ContentTable* table_;
};

}  // namespace

void WriteTableFirstPage(BuildContext& ctx) {
    const Project& p = ctx.project;
    const SlotTableSettings& s = p.Tables.Slot[ContentSlot::firstpage];
    if (!SlotMakesPages(s.content_source, s.template_file)) return;
    if (s.content_source == kSlotDwTemplate && ctx.KeepRegions() &&
        !Require(ctx, InUse(ctx, ContentSlot::firstpage), kPreconditionE))
        return;
    const ProjectSettings& settings = ctx.Settings();
    if (!settings.firstpage.firstpage.Is(kOn)) return;
    const std::string path = FirstPagePath(ctx);
    if (!ctx.WriteRuleAllows(path, settings.firstpage.overwrite_firstpage)) return;
    if (ContentTable* t = ctx.SlotTable(ContentSlot::firstpage)) t->ClearFilter();
    const LevelWriter writer{
        ctx, ContentSlot::firstpage, s.content_source, s.template_file, !s.name_display.empty(), {},
        {}};
    writer.Page(path, kFirstPageName);
}

void WriteTableMainMenuPages(BuildContext& ctx) {
    const Project& p = ctx.project;
    const SlotTableSettings& s = p.Tables.Slot[ContentSlot::mainmenu];
    if (!SlotMakesPages(s.content_source, s.template_file)) return;
    if (s.content_source == kSlotEmptyPages &&
        !Require(ctx, InUse(ctx, ContentSlot::mainmenu), kPreconditionA))
        return;
    if (s.content_source == kSlotDwTemplate && ctx.KeepRegions() &&
        !Require(ctx, InUse(ctx, ContentSlot::mainmenu), kPreconditionB))
        return;
    ContentTable* table = ctx.SlotTable(ContentSlot::mainmenu);
    const bool filled = s.content_source != kSlotEmptyPages;
    const std::string field = filled && table ? MainMenuField(p) : std::string();
    const LevelWriter writer{
        ctx, ContentSlot::mainmenu, s.content_source, s.template_file, true, {}, {}};
    const bool overwrite = ctx.Settings().content_page.tab_overwrite;
    LevelFilter filter(table);
    for (int n = 0; n < p.MainMenu.Count(); ++n) {
        const TWebMenuItem& entry = p.MainMenu.Item(n);
        const std::string path = ctx.PathOf(entry.FileName);
        if (!ctx.WriteRuleAllows(path, overwrite)) continue;
        if (filled) filter.Set({{field, entry.Text}});
        writer.Page(path, entry.Text);
    }
}

void WriteTableSubMenuPages(BuildContext& ctx) {
    const Project& p = ctx.project;
    const SlotTableSettings& s = p.Tables.Slot[ContentSlot::submenu];
    if (!SlotMakesPages(s.content_source, s.template_file)) return;
    const bool mainInUse = InUse(ctx, ContentSlot::mainmenu),
               subInUse = InUse(ctx, ContentSlot::submenu);
    if (s.content_source == kSlotEmptyPages && !Require(ctx, mainInUse && subInUse, kPreconditionC))
        return;
    if (s.content_source == kSlotDwTemplate && ctx.KeepRegions() &&
        !Require(ctx, mainInUse || subInUse, kPreconditionD))
        return;
    ContentTable* table = ctx.SlotTable(ContentSlot::submenu);
    const bool filled = s.content_source != kSlotEmptyPages;
    const std::string match = filled && table ? SubMenuMatchField(p) : std::string();
    const std::string field = filled && table ? SubMenuField(p) : std::string();
    const LevelWriter writer{ctx, ContentSlot::submenu, s.content_source, s.template_file, true, {},
                             {}};
    const bool overwrite = ctx.Settings().content_page.tab_overwrite;
    LevelFilter filter(table);
    for (int n = 0; n < p.MainMenu.Count(); ++n) {
        const TWebMenuItem& main = p.MainMenu.Item(n);
        if (!main.SubMenu) continue;
        for (int k = 0; k < main.SubMenu->Count(); ++k) {
            const TWebMenuItem& entry = main.SubMenu->Item(k);
            const std::string path = ctx.PathOf(entry.FileName);
            if (!ctx.WriteRuleAllows(path, overwrite)) continue;
            if (filled) filter.Set({{match, main.Text}, {field, entry.Text}});
            writer.Page(path, entry.Text);
        }
    }
}

void TableBuild::RebuildMenu(BuildContext& ctx) {
    // Engine tables are read afresh once per build, so a build sees the table as it is now;
    // a CSV slot keeps the rows imported when the project was opened or the file taken over.
    const TPrjParams& pp = ctx.project.PrjParams;
    for (ContentSlot slot : kAllSlots) {
        if (ctx.tables) ctx.tables->RenewSource(pp, slot);
        if (ContentTable* t = ctx.SlotTable(slot)) t->ClearFilter();
    }
    BuildMenuFromMainTable(ctx);
    BuildSubMenusFromSubTable(ctx);
}

void TableBuild::WritePages(BuildContext& ctx) {
    WriteTableFirstPage(ctx);
    WriteTableMainMenuPages(ctx);
    WriteTableSubMenuPages(ctx);
}

}  // namespace pagloom
