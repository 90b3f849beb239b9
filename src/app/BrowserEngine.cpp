// SPDX-License-Identifier: MIT
#include "BrowserEngine.h"

#include <unistd.h>

#include <QCoreApplication>

namespace pagloom::app {

void PrepareBrowserEngine() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace pagloom::app
