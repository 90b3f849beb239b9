// SPDX-License-Identifier: MIT
#include "generator/BuildContext.h"

#include "generator/FileWriter.h"
#include "generator/SaveIfChanged.h"
#include "io/FileSystem.h"
#include "model/Project.h"

namespace pagloom {

const ProjectSettings& BuildContext::Settings() const { return project.Settings; }

std::string BuildContext::PathOf(std::string_view fileName) const {
    std::string path;
    path.reserve(destination.size() + 1 + fileName.size());
    path += destination;
    path += '/';
    path += fileName;
    return path;
}

bool BuildContext::WriteRuleAllows(const std::string& path, bool overwrite) {
    return overwrite || !Fs().FileExists(path);
}

SaveResult BuildContext::Save(const std::string& path, const TextLines& lines) const {
    return SaveIfChanged(path, lines, report);
}

void WriteByRule(const BuildContext& ctx, const FileWriter& writer) {
    if (!writer.Due(ctx)) return;
    const std::string path = ctx.PathOf(writer.FileName(ctx));
    if (!BuildContext::WriteRuleAllows(path, writer.Overwrite(ctx))) return;
    ctx.Save(path, LinesOf(ctx, writer));
}

TextLines LinesOf(const BuildContext& ctx, const FileWriter& writer) {
    TextLines lines;
    writer.BuildLines(ctx, lines);
    return lines;
}

}  // namespace pagloom
