// SPDX-License-Identifier: MIT
// What the core asks of the program that hosts it. The desktop program answers with
// message boxes, the CLI prints to stderr, tests record. The core never shows anything itself.
#pragma once
#include <ctime>
#include <string>
#include <vector>

namespace pagloom {

enum class Answer { Yes, No, Cancel };

class Host {
  public:
    virtual ~Host() = default;

    // A message to the user (Windows-1252 text), shown and acknowledged.
    virtual void ShowMessage(const std::string& text) = 0;
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

// Records every message and question; answers questions from a queue (default Yes).
class RecordingHost : public Host {
  public:
    explicit RecordingHost(std::string programDir = ".") : programDir_(std::move(programDir)) {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    Answer Ask(const std::string& question, bool) override {
        questions.push_back(question);
        if (answers.empty()) return Answer::Yes;
        Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::string ProgramDir() const override { return programDir_; }
    std::tm LocalNow() const override;

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<Answer> answers;
    // When set (tm_year != 0), LocalNow returns it.
    std::tm fixedNow{};

  private:
    std::string programDir_;
};

}  // namespace pagloom
