// SPDX-License-Identifier: MIT
#include "generator/MakeReport.h"

namespace pagloom {

const char* const kLogUnchanged = "Keine \xC4nderung";
const char* const kLogOk = "OK";
const char* const kLogFailed = "Fehler!";

void MakeReport::Add(std::string line) {
    if (!keepLines_) {
        if (callback_) callback_(line);
        return;
    }
    lines_.push_back(std::move(line));
    if (callback_) callback_(lines_.back());
}

void MakeReport::AddFailure(std::string line) {
    ++failedFiles_;
    Add(std::move(line));
}

void MakeReport::AddOutcome(SaveResult result) {
    switch (result) {
        case SaveResult::Unchanged:
            Add(kLogUnchanged);
            break;
        case SaveResult::Written:
            Add(kLogOk);
            break;
        case SaveResult::Failed:
            ++failedFiles_;
            Add(kLogFailed);
            break;
    }
}

}  // namespace pagloom
