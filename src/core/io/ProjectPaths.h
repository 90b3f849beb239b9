// SPDX-License-Identifier: MIT
// Input paths a project file names (templates, table folders) are taken from the project file's
// folder, so a project builds the same site wherever the program was started. The stored text
// stays as it is; only reading goes through ProjectInputPath.
#pragma once
#include <string>
#include <string_view>

namespace pagloom {

// Whether a stored path stands on its own: it starts with "/" or "\", or with a drive ("c:").
bool IsAbsoluteStoredPath(std::string_view path);

// Whether a stored path is a Windows one: with a drive ("c:\daten", "c:"), a server
// ("\\server\share") or "\" at its start. Such a path names nothing here and is never taken
// from the working folder; the disk treats it as missing.
bool IsWindowsPath(std::string_view path);
// "\n<path> ist ein Windows-Pfad, der hier nicht verf\xFCgbar ist." for a Windows path, else "":
// the line added to a message about a file or folder that was not found.
std::string WindowsPathNote(std::string_view path);

// Whether a file name the build writes below its destination stays there: not absolute (as
// IsAbsoluteStoredPath says) and no ".." component that climbs above the destination ("/" and
// "\" both separate).
bool NameStaysInside(std::string_view name);

// The path to read for `stored`, a path the project file at `projectFile` names: an empty or
// absolute one as it stands; a relative one below the project file's folder, with Windows "\"
// separators read as "/". A project without a file ("" — never saved) keeps the stored text,
// which is then taken from the working folder.
std::string ProjectInputPath(const std::string& projectFile, const std::string& stored);

// The folder of a table file (kinds 0 to 3) to read for the stored folder `database` and file
// name `table`: ProjectInputPath of the folder; an empty folder with a relative file name means
// the project file's folder itself.
std::string ProjectTableFolder(const std::string& projectFile, const std::string& database,
                               const std::string& table);

}  // namespace pagloom
