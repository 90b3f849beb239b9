// SPDX-License-Identifier: MIT
#include "RecentProjects.h"

#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace pagloom::app {
namespace {

const QString kKey = QStringLiteral("RecentProjects/files");

// Named explicitly rather than through the application object, so the place does not depend
// on how a program or test names itself; QSettings::setPath moves it (tests do).
std::unique_ptr<QSettings> Store() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("pagloom"), QStringLiteral("pagloom"));
}

void Write(QStringList files) {
    files.removeDuplicates();
    while (files.size() > kRecentProjectCount) files.removeLast();
    Store()->setValue(kKey, files);
}

}  // namespace

QStringList RecentProjects() {
    QStringList files = Store()->value(kKey).toStringList();
    files.removeAll(QString());
    files.removeDuplicates();
    while (files.size() > kRecentProjectCount) files.removeLast();
    return files;
}

void NoteRecentProject(const QString& file) {
    const QString path = QFileInfo(file).absoluteFilePath();
    QStringList files = RecentProjects();
    files.removeAll(path);
    files.prepend(path);
    Write(files);
}

void ForgetRecentProject(const QString& file) {
    QStringList files = RecentProjects();
    files.removeAll(file);
    Write(files);
}

QString RecentProjectsStore() { return Store()->fileName(); }

}  // namespace pagloom::app
