// SPDX-License-Identifier: MIT
// What "Abbruch" in the options dialog puts back. The snapshot copies the project's settings and
// table settings whole when the dialog opens, so an option added to the dialog is restored
// without being listed anywhere; only the values "Abbruch" keeps as edited are named (in the
// .cpp file).
#pragma once
#include "model/Project.h"

namespace pagloom {

class OptionsSnapshot {
  public:
    OptionsSnapshot() = default;
    // `modified` is the project's changed mark when the dialog opens.
    OptionsSnapshot(const Project& project, bool modified);

    // "Abbruch": puts the settings and table settings back, except the frame margins and the
    // switch that keeps HTML tags in menu texts, which stay as edited. Returns the changed mark
    // the project carries afterwards: the one it had when the snapshot was taken, or set when
    // a kept value changed meanwhile, so that change is not lost without the save question.
    [[nodiscard]] bool Restore(Project& project) const;

  private:
    ProjectSettings settings_;
    TableSettings tables_;
    bool modified_ = false;
};

}  // namespace pagloom
