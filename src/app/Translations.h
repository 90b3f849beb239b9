// SPDX-License-Identifier: MIT
// Qt's own texts (file dialogs, standard buttons, context menus of text fields and of the
// preview) in German, like the rest of the program, whatever the system's language.
#pragma once
#include <QStringList>

class QCoreApplication;

namespace pagloom::app {

// Installs Qt's German catalogues into `app` and makes German the default locale (dates and
// sizes in file dialogs, the browser engine's own texts). Returns the names of the catalogues
// loaded; a missing one (translations not installed) leaves those texts English, nothing else.
// Call before the first browser view is made.
QStringList InstallGermanTranslations(QCoreApplication& app);

}  // namespace pagloom::app
