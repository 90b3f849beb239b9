// SPDX-License-Identifier: MIT
#include "groups/TProjectGroup.h"

#include <algorithm>

#include "io/FileSystem.h"
#include "ports/Host.h"
#include "projectfile/IniFile.h"
#include "text/TextConversions.h"

namespace pagloom {

namespace {

constexpr const char* kProjects = "projects";
constexpr const char* kGroup = "group";

// Blanks and control characters at both ends, as the field trims its text.
std::string TrimField(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

}  // namespace

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ToLowerCp1252(a) == ToLowerCp1252(b);
}

void TProjectGroup::New() {
    GroupFileName.clear();
    ProjectList.clear();
    LastSaveList.clear();
    GroupModified = false;
    MakeModified = false;
    IndexMap = false;
    IndexMapFile.clear();
    DiskStamp.reset();
    DiskStampFile.clear();
}

std::string TProjectGroup::DefaultIndexMapFile() const {
    auto slash = GroupFileName.rfind('/');
    std::string dir =
        slash == std::string::npos ? std::string() : GroupFileName.substr(0, slash + 1);
    return dir + "sitemap_index.xml";
}

bool TProjectGroup::Open(FileSystem& fs, const std::string& fileName) {
    std::string text;
    if (!fs.ReadAll(fileName, text)) return false;
    const IniFile ini(text);
    New();
    GroupFileName = fileName;
    DiskStamp = StampOf(text);
    DiskStampFile = fileName;
    int count = ini.ReadInteger(kProjects, "count", 0);
    // Every real entry has key lines of its own, so a count beyond the section's key lines
    // can only come from a damaged file; reading it would make millions of "unknown" entries.
    count = std::min<long long>(count, static_cast<long long>(ini.KeyCount(kProjects)));
    for (int i = 1; i <= count; ++i) {
        ProjectList.push_back(
            ini.ReadString(kProjects, "filename_" + std::to_string(i), "unknown"));
        LastSaveList.push_back(ini.ReadString(kProjects, "lastsave_" + std::to_string(i), ""));
    }
    MakeModified = ini.ReadBool(kGroup, "makemodified", false);
    IndexMap = ini.ReadBool(kGroup, "indexmap", false);
    IndexMapFile = ini.ReadString(kGroup, "indexmapfile", "");
    if (IndexMapFile.empty()) IndexMapFile = DefaultIndexMapFile();
    return true;
}

bool TProjectGroup::FileSave(FileSystem& fs, Host& host) {
    IndexMapFile = TrimField(IndexMapFile);
    if (IndexMapFile.empty()) IndexMapFile = DefaultIndexMapFile();

    const auto text = [&](std::string_view existing) {
        IniFile ini(existing);  // a new file starts empty; other keys of an old one stay
        ini.ClearSection(kProjects);
        ini.WriteInteger(kProjects, "count", static_cast<int>(ProjectList.size()));
        for (size_t i = 0; i < ProjectList.size(); ++i) {
            std::string n = std::to_string(i + 1);
            ini.WriteString(kProjects, "filename_" + n, ProjectList[i]);
            ini.WriteString(kProjects, "lastsave_" + n,
                            i < LastSaveList.size() ? LastSaveList[i] : "");
        }
        ini.WriteBool(kGroup, "makemodified", MakeModified);
        ini.WriteBool(kGroup, "indexmap", IndexMap);
        ini.WriteString(kGroup, "indexmapfile", IndexMapFile);
        return ini.Text();
    };
    // Only a save over the file read or saved here is checked for changes made elsewhere.
    std::optional<FileStamp> stamp = DiskStampFile == GroupFileName ? DiskStamp : std::nullopt;
    const UserSave saved = GroupFileName.empty()
                               ? UserSave::Failed
                               : SaveUserFile(fs, host, GroupFileName, text, &stamp);
    if (saved == UserSave::Failed)
        host.ShowMessage("In " + GroupFileName + " kann nicht geschrieben werden");
    if (saved != UserSave::Saved) return false;
    DiskStamp = stamp;
    DiskStampFile = GroupFileName;
    GroupModified = false;
    return true;
}

void TProjectGroup::AddProjects(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) {
        ProjectList.push_back(p);
        LastSaveList.emplace_back();
        GroupModified = true;
    }
}

void TProjectGroup::DeleteSelected(const std::vector<std::string>& selectedLines) {
    for (const std::string& line : selectedLines) {
        for (size_t i = 0; i < ProjectList.size(); ++i) {
            if (SamePathIgnoringCase(ProjectList[i], line)) {
                ProjectList.erase(ProjectList.begin() + static_cast<long>(i));
                if (i < LastSaveList.size())
                    LastSaveList.erase(LastSaveList.begin() + static_cast<long>(i));
                GroupModified = true;
                break;
            }
        }
    }
}

void TProjectGroup::SwapEntries(int a, int b) {
    std::swap(ProjectList[static_cast<size_t>(a)], ProjectList[static_cast<size_t>(b)]);
    if (LastSaveList.size() < ProjectList.size()) LastSaveList.resize(ProjectList.size());
    std::swap(LastSaveList[static_cast<size_t>(a)], LastSaveList[static_cast<size_t>(b)]);
}

std::vector<int> TProjectGroup::MoveUp(std::vector<int> selected) {
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    const int n = static_cast<int>(ProjectList.size());
    if (selected.empty() || selected.front() <= 0 || selected.back() >= n) return selected;
    for (int& i : selected) {  // top down
        SwapEntries(i, i - 1);
        --i;
    }
    GroupModified = true;
    return selected;
}

std::vector<int> TProjectGroup::MoveDown(std::vector<int> selected) {
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    const int n = static_cast<int>(ProjectList.size());
    if (selected.empty() || selected.front() < 0 || selected.back() >= n - 1) return selected;
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {  // bottom up
        SwapEntries(*it, *it + 1);
        ++*it;
    }
    GroupModified = true;
    return selected;
}

}  // namespace pagloom
