// SPDX-License-Identifier: MIT
#include "generator/WriteByRule.h"

namespace pagloom {

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
