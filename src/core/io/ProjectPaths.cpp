// SPDX-License-Identifier: MIT
#include "io/ProjectPaths.h"

#include <algorithm>
#include <cctype>

#include "io/FileSystem.h"

namespace pagloom {

bool IsAbsoluteStoredPath(std::string_view path) {
    if (path.empty()) return false;
    if (path.front() == '/' || path.front() == '\\') return true;
    return path.size() >= 2 && path[1] == ':' &&
           std::isalpha(static_cast<unsigned char>(path[0])) != 0;
}

bool IsWindowsPath(std::string_view path) {
    if (path.empty()) return false;
    if (path.front() == '\\') return true;
    return path.size() >= 2 && path[1] == ':' &&
           std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
           (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

std::string WindowsPathNote(std::string_view path) {
    if (!IsWindowsPath(path)) return {};
    return "\n" + std::string(path) + " ist ein Windows-Pfad, der hier nicht verf\xFCgbar ist.";
}

namespace {

// The project file's folder with its trailing "/", or "" for a file in the working folder.
std::string FolderPrefix(const std::string& projectFile) {
    const std::size_t cut = projectFile.find_last_of('/');
    return cut == std::string::npos ? std::string() : projectFile.substr(0, cut + 1);
}

}  // namespace

bool NameStaysInside(std::string_view name) {
    if (IsAbsoluteStoredPath(name)) return false;
    int depth = 0;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..") {
            if (--depth < 0) return false;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        start = end + 1;
    }
    return true;
}

std::string ProjectInputPath(const std::string& projectFile, const std::string& stored) {
    if (stored.empty() || projectFile.empty() || IsAbsoluteStoredPath(stored)) return stored;
    std::string relative = stored;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    // A project file named without a folder lies in the working folder itself.
    return JoinPath(FolderPrefix(projectFile), relative);
}

std::string ProjectTableFolder(const std::string& projectFile, const std::string& database,
                               const std::string& table) {
    if (!database.empty() || projectFile.empty() || IsAbsoluteStoredPath(table))
        return ProjectInputPath(projectFile, database);
    std::string folder = FolderPrefix(projectFile);
    if (folder.size() > 1) folder.pop_back();
    return folder;
}

}  // namespace pagloom
