// SPDX-License-Identifier: MIT
// What every screenshot tool needs: letting the event loop run until the windows have settled,
// and writing a picture with a line on the console that names the file.
#pragma once
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPixmap>
#include <QString>
#include <QTimer>

#include "BrowserEngine.h"
#include "Translations.h"

namespace pagloom::app::tools {

// The application object as the program makes it: the browser engine prepared before it exists,
// the program's name, and Qt's own texts in German.
class ToolApplication : public QApplication {
  public:
    ToolApplication(int& argc, char** argv) : QApplication(Prepared(argc), argv) {
        setApplicationName(QStringLiteral("pagloom pro 2.0"));
        InstallGermanTranslations(*this);
    }

  private:
    static int& Prepared(int& argc) {
        PrepareBrowserEngine();
        return argc;
    }
};

// Runs the event loop for `ms` milliseconds, so layouts settle and late paints arrive.
inline void Settle(int ms = 150) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Writes `picture` as PNG to `path`; a failure is a warning, so one bad picture does not end
// the run.
inline void SavePng(const QPixmap& picture, const QString& path) {
    if (!picture.save(path))
        qWarning("cannot write %s", qPrintable(path));
    else
        qInfo("%s", qPrintable(path));
}

// The picture `name`.png in the folder `dir`.
inline QString PngIn(const QString& dir, const QString& name) {
    return QDir(dir).filePath(name + QStringLiteral(".png"));
}

}  // namespace pagloom::app::tools
