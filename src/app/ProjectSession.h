// SPDX-License-Identifier: MIT
// The one open project of the program run with its changed mark and file name. Every window
// shows and edits this object; it is created at start and lives until the program ends.
#pragma once
#include <QString>

#include "generator/BuildDriver.h"
#include "model/Project.h"

namespace pagloom::app {

struct ProjectSession {
    Project project;
    // Unsaved changes exist; set by every user change, cleared by new, open and a good save.
    bool Modified = false;
    // Full path of the project file; empty for a new project that was never saved.
    QString ProjectFileName;

    // The build dialog's state for the whole run: destination, region choice, the log, the
    // menu script library and the folder the preview shows (PreviewDirectory).
    BuildDialog Build;

    ProjectSettings& Settings() { return project.Settings; }
};

}  // namespace pagloom::app
