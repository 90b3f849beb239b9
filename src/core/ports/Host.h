// SPDX-License-Identifier: MIT
// What the core asks of the program that hosts it. The desktop program answers with
// message boxes, the CLI prints to stderr, tests record (tests/support/Fakes.h). The core never
// shows anything itself.
#pragma once
#include <ctime>
#include <string>

namespace pagloom {

enum class Answer { Yes, No, Cancel };

class Host {
  public:
    virtual ~Host() = default;

    // A message to the user (Windows-1252 text), shown and acknowledged.
    virtual void ShowMessage(const std::string& text) = 0;
    // A message with the reason behind it (a reader's own message, say): the CLI prints the
    // reason on a second line, the desktop program shows it as the message box's details.
    virtual void ShowMessageWithDetails(const std::string& text, const std::string& details) {
        ShowMessage(details.empty() ? text : text + "\n" + details);
    }
    // A question with the buttons "&Ja", "&Nein" and, when withCancel, "Abbrechen".
    virtual Answer Ask(const std::string& question, bool withCancel) = 0;
    // Folder of the program, where default.plp, default.js and the help pages are found.
    virtual std::string ProgramDir() const = 0;
    // Product version "major.minor.release"; "0.0.0" when the program carries none.
    virtual std::string ProgramVersion() const { return PAGLOOM_VERSION; }
    // Local date and time now; a seam so tests can fix the clock.
    virtual std::tm LocalNow() const;
    // A short beep for refused input.
    virtual void Beep() {}
    // Called while long work runs so a window can stay responsive; the core ignores the result.
    virtual void KeepAlive() {}
};

}  // namespace pagloom
