// SPDX-License-Identifier: MIT
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pagloom::app {

QStringList InstallGermanTranslations(QCoreApplication& app) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QStringList loaded;
    // qtbase: dialogs, buttons, text fields; qtwebengine: the preview's context menu.
    for (const char* name : {"qtbase_de", "qtwebengine_de"}) {
        // Owned by the application, so the texts stay for the whole run.
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), dir) &&
            QCoreApplication::installTranslator(translator)) {
            loaded << QString::fromLatin1(name);
        } else {
            delete translator;
        }
    }
    return loaded;
}

}  // namespace pagloom::app
