// SPDX-License-Identifier: MIT
// What the embedded browser engine needs before the application object exists.
#pragma once

namespace pagloom::app {

// Allows the engine to run as root (containers, live systems: its sandbox cannot, and the
// preview would stay blank) unless QTWEBENGINE_DISABLE_SANDBOX is set already, and lets its
// views share one GL context. Call before QApplication is created.
void PrepareBrowserEngine();

}  // namespace pagloom::app
