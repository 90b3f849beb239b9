// SPDX-License-Identifier: MIT
// What a window on another thread sees of a running build, and how it stops it: the files the
// build came to and how many it will come to, and a request to stop. Only atomics, so the
// build and the window read and write it without a lock. The build checks the request after
// each file it saved, so every file is either its old or its new self.
#pragma once
#include <atomic>

namespace pagloom {

struct BuildWatch {
    // Files of the running build recorded so far, and the length of the site's file list
    // (renewed once a build from tables has rebuilt its menu).
    std::atomic<int> filesDone{0};
    std::atomic<int> filesTotal{0};
    // Set by the window; the build (or the group between its projects) ends at the next check.
    std::atomic<bool> cancelRequested{false};

    void Reset() {
        filesDone = 0;
        filesTotal = 0;
        cancelRequested = false;
    }
};

// Thrown by the build at its check after a file once a stop was requested; MakeStartClick
// catches it and logs that the build was cancelled.
struct BuildCancelled {};

// The log line of a cancelled build, in place of "Erstellen der Dateien fertig!".
inline constexpr const char* kLogCancelled = "Erstellen abgebrochen!";

}  // namespace pagloom
