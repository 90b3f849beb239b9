// SPDX-License-Identifier: MIT
#include "generator/FileSaver.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "generator/SaveIfChanged.h"

namespace pagloom {
namespace {

std::string_view FolderOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

std::string_view NameOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

FileSaver::FileSaver(FileSystem& fs, MakeReport& report, PlanCounts* plan)
    : fs_(fs), report_(report), plan_(plan) {}

bool FileSaver::KnownMissing(const std::string& path) {
    const std::string_view name = NameOf(path), folder = FolderOf(path);
    if (name.empty()) return false;
    // Most files of a build go to one folder: it is looked up again only when it changes.
    if (!lastNames_ || folder != lastFolder_) {
        auto [it, fresh] = folders_.try_emplace(std::string(folder));
        if (fresh) {
            std::vector<std::string> names;
            if (fs_.ListNames(it->first, names)) {
                // Each folder a build writes to is listed here once: the moment to clear away
                // what builds killed part-way left in it, before it is published with the site.
                RemoveTemporaryLeftovers(fs_, it->first, names);
                std::sort(names.begin(), names.end());
                it->second.emplace(FolderNames{std::move(names), {}});
            }
        }
        lastFolder_ = it->first;
        lastNames_ = &it->second;
    }
    if (!*lastNames_) return false;
    // From now on the file is there (or its saving failed, and a read attempt tells that).
    FolderNames& names = **lastNames_;
    const auto listed = std::lower_bound(names.listed.begin(), names.listed.end(), name);
    if (listed != names.listed.end() && *listed == name) return false;
    if (names.added.find(name) != names.added.end()) return false;
    names.added.emplace(name);
    return true;
}

FileFate FileSaver::Save(const std::string& path, const TextLines& lines) {
    return SaveText(path, JoinLines(lines));
}

FileFate FileSaver::SaveText(const std::string& path, std::string_view text) {
    const bool knownMissing = KnownMissing(path);
    if (plan_) return PlanText(path, text, knownMissing);
    report_.Add(path + "...");
    bool wasMissing = false;
    const SaveResult result = pagloom::SaveText(fs_, path, text, knownMissing, &wasMissing);
    report_.AddOutcome(result);
    switch (result) {
        case SaveResult::Unchanged:
            return FileFate::Unchanged;
        case SaveResult::Failed:
            return FileFate::Failed;
        case SaveResult::Written:
            break;
    }
    return wasMissing ? FileFate::New : FileFate::Changed;
}

void FileSaver::Skip(const std::string& path) {
    if (!plan_) return;
    plan_->Count(PlanKind::Skipped);
    report_.Add(PlanLine(PlanKind::Skipped, path));
}

FileFate FileSaver::Refuse(const std::string& path, const std::string& reason) {
    if (plan_) {
        plan_->Count(PlanKind::Failed);
        report_.AddFailure(PlanLine(PlanKind::Failed, path));
        report_.Add(reason);
    } else {
        report_.Add(path + "...");
        report_.Add(reason);
        report_.AddOutcome(SaveResult::Failed);
    }
    return FileFate::Failed;
}

FileFate FileSaver::PlanText(const std::string& path, std::string_view text, bool knownMissing) {
    // The same SaveText as a real build, on the planning file system, so the plan cannot judge
    // a file otherwise than the build would.
    const bool existed = !knownMissing && fs_.FileExists(path);
    SaveResult result;
    try {
        result = pagloom::SaveText(fs_, path, text, knownMissing);
    } catch (...) {
        // An existing file that cannot be read ends the build here, as it would for real.
        plan_->Count(PlanKind::Failed);
        report_.Add(PlanLine(PlanKind::Failed, path));
        throw;
    }
    const PlanKind kind = result == SaveResult::Unchanged ? PlanKind::Unchanged
                          : result == SaveResult::Failed  ? PlanKind::Failed
                          : existed                       ? PlanKind::Changed
                                                          : PlanKind::New;
    plan_->Count(kind);
    if (kind == PlanKind::Failed)
        report_.AddFailure(PlanLine(kind, path));
    else
        report_.Add(PlanLine(kind, path));
    return FateOf(kind);
}

}  // namespace pagloom
