// SPDX-License-Identifier: MIT
// The one open project of the program run: the core's project document (project, slot tables,
// file name, changed mark, build dialog state) as every window shares it. Created at start
// with the program's file system and host; lives until the program ends.
#pragma once
#include <QString>

#include "QtText.h"
#include "document/ProjectDocument.h"
#include "model/Project.h"

namespace pagloom::app {

struct ProjectSession : ProjectDocument {
    using ProjectDocument::ProjectDocument;

    // Full path of the project file for the caption; empty for a project never saved.
    QString ProjectFileName() const { return Q(FileName()); }
    ProjectSettings& Settings() { return project.Settings; }
};

}  // namespace pagloom::app
