// SPDX-License-Identifier: MIT
// The edge between the core's Windows-1252 texts and Qt's Unicode strings. Every text that
// crosses from the model into a widget, or back, goes through these two functions.
#pragma once
#include <QFile>
#include <QString>
#include <string>

#include "text/Cp1252.h"

namespace pagloom::app {

inline QString Q(const std::string& cp1252) {
    return QString::fromStdString(pagloom::Cp1252ToUtf8(cp1252));
}

inline std::string S(const QString& text) { return pagloom::Utf8ToCp1252(text.toStdString()); }

// A file name for the core: Windows-1252 text like the paths a project file stores; the core's
// file system turns it into the disk's name.
inline std::string PathS(const QString& path) { return S(path); }

}  // namespace pagloom::app
