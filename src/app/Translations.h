// SPDX-License-Identifier: MIT
// Qt's own texts (file dialogs, standard buttons, context menus of text fields and of the
// preview) in German, like the rest of the program, whatever the system's language.
#pragma once
#include <QStringList>

class QCoreApplication;

namespace pagloom::app {

// Installs Qt's German catalogues into `app`. Returns the names of the catalogues loaded;
// a missing one (translations not installed) leaves those texts English, nothing else.
QStringList InstallGermanTranslations(QCoreApplication& app);

}  // namespace pagloom::app
