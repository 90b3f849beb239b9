// SPDX-License-Identifier: MIT
// The build log. Lines are only ever appended, never cleared, so the log of one program run
// shows every build one after the other (the desktop program keeps one for the whole run).
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace pagloom {

// Outcome of one file handed to SaveIfChanged.
enum class SaveResult { Unchanged, Written, Failed };

class MakeReport {
  public:
    // Called with each line right after it is added (the CLI prints it, the GUI shows it).
    using LineCallback = std::function<void(const std::string& line)>;

    // Appends one line (Windows-1252 text) and passes it to the callback, if one is set.
    void Add(std::string line);
    // Appends the outcome line of a file: "Keine Änderung", "OK" or "Fehler!"; counts failures.
    void AddOutcome(SaveResult result);
    // Appends a line that reports a file the build could not write (a planning build's own
    // wording) and counts it like a "Fehler!" outcome.
    void AddFailure(std::string line);

    // Replaces the callback; an empty function removes it.
    void SetLineCallback(LineCallback callback) { callback_ = std::move(callback); }
    // Off: lines go only to the callback and Lines() stays empty, for a front end that passes
    // every line on at once and never shows the log again (pagloom-cli).
    void SetKeepLines(bool keep) { keepLines_ = keep; }

    const std::vector<std::string>& Lines() const { return lines_; }
    // Number of "Fehler!" outcomes logged so far in this run (all builds together); a build
    // compares the count before and after to know whether one of its files failed.
    int FailedFiles() const { return failedFiles_; }

  private:
    std::vector<std::string> lines_;
    LineCallback callback_;
    int failedFiles_ = 0;
    bool keepLines_ = true;
};

// The outcome texts exactly as logged (Windows-1252).
extern const char* const kLogUnchanged;  // "Keine Änderung"
extern const char* const kLogOk;         // "OK"
extern const char* const kLogFailed;     // "Fehler!"

}  // namespace pagloom
