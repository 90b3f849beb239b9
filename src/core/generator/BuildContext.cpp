// SPDX-License-Identifier: MIT
#include "generator/BuildContext.h"

#include "generator/FileSaver.h"
#include "generator/FileWriter.h"
#include "generator/SaveIfChanged.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "model/Project.h"
#include "tables/ContentTables.h"

namespace pagloom {

const ProjectSettings& BuildContext::Settings() const { return project.Settings; }

ContentTable* BuildContext::SlotTable(ContentSlot slot) const {
    if (!tables || project.Tables.Slot[slot].name_display.empty()) return nullptr;
    return tables->For(project.PrjParams, slot);
}

std::string BuildContext::PathOf(std::string_view fileName) const {
    std::string path;
    path.reserve(destination.size() + 1 + fileName.size());
    path += destination;
    path += '/';
    path += fileName;
    return path;
}

bool BuildContext::WriteRuleAllows(const std::string& path, bool overwrite) const {
    return overwrite || !FileExists(path);
}

void BuildContext::Save(const std::string& path, const TextLines& lines) const {
    if (saver)
        saver->Save(path, lines);
    else
        SaveIfChanged(fs, path, lines, report);
}

void BuildContext::SaveText(const std::string& path, std::string text) const {
    if (saver)
        saver->SaveText(path, text);
    else
        SaveIfChanged(fs, path, SplitLines(text), report);
}

bool BuildContext::FileExists(const std::string& path) const { return fs.FileExists(path); }

TextLines BuildContext::ReadLines(const std::string& path) const { return ReadTextLines(fs, path); }

TextLines BuildContext::ReadTemplate(const std::string& storedPath) const {
    return ReadLines(ProjectInputPath(projectFile, storedPath));
}

void BuildContext::Log(std::string line) const { report.Add(std::move(line)); }

void WriteByRule(const BuildContext& ctx, const FileWriter& writer) {
    if (!writer.Due(ctx)) return;
    const std::string path = ctx.PathOf(writer.FileName(ctx));
    if (!ctx.WriteRuleAllows(path, writer.Overwrite(ctx))) return;
    ctx.Save(path, LinesOf(ctx, writer));
}

TextLines LinesOf(const BuildContext& ctx, const FileWriter& writer) {
    TextLines lines;
    writer.BuildLines(ctx, lines);
    return lines;
}

}  // namespace pagloom
