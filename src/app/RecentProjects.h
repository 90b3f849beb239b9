// SPDX-License-Identifier: MIT
// The project files opened or saved last, newest first, for "Datei → Zuletzt geöffnet". They
// live in the user's settings (an INI file in the user's configuration folder), so every run of
// the program offers the same list.
#pragma once
#include <QStringList>

namespace pagloom::app {

inline constexpr int kRecentProjectCount = 8;

// The list as stored: absolute paths, newest first, each once, at most kRecentProjectCount.
QStringList RecentProjects();
// Puts `file` first; an older entry of the same file goes, the oldest beyond the count too.
void NoteRecentProject(const QString& file);
// Takes `file` from the list.
void ForgetRecentProject(const QString& file);
// The settings file the list is kept in.
QString RecentProjectsStore();

}  // namespace pagloom::app
