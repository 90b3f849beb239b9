// SPDX-License-Identifier: MIT
#include "tables/OdbcAdmin.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "UiPrompts.h"

namespace pagloom::app {

void StartOdbcAdministration(UiPrompts& prompts, QWidget* parent) {
    for (const char* name :
         {"ODBCManageDataSourcesQ5", "ODBCManageDataSourcesQ4", "iodbcadm-gtk", "gODBCConfig"}) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!exe.isEmpty() && QProcess::startDetached(exe, {})) return;
    }
    // unixODBC reads the user's data sources from $ODBCINI, else from ~/.odbc.ini.
    QString ini = qEnvironmentVariable("ODBCINI");
    if (ini.isEmpty()) ini = QDir::home().filePath(QStringLiteral(".odbc.ini"));
    if (QFileInfo(ini).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(ini))) return;
    prompts.Message(parent,
                    QStringLiteral("Es ist kein Programm zur Verwaltung der ODBC-Datenquellen "
                                   "installiert, und die Datei %1 kann nicht geöffnet werden. "
                                   "Installieren Sie ein solches Programm (etwa "
                                   "ODBCManageDataSourcesQ5) oder tragen Sie die Datenquellen "
                                   "mit einem Texteditor in diese Datei ein.")
                        .arg(QDir::toNativeSeparators(ini)));
}

}  // namespace pagloom::app
