// SPDX-License-Identifier: MIT
// The plan before a run, as a window: the files to send and those to delete on the server, the
// deletions counted against their limits, and the three answers. When files would be deleted,
// Enter sends without deleting: a deletion is never the answer given by accident.
#pragma once
#include <QDialog>
#include <QString>
#include <cstdint>

#include "publish/PublishFlow.h"

namespace pagloom::app {

// "1 Datei", "1.234 Dateien": German digit grouping, the singular for one.
QString FilesText(qint64 count);
// "512 Bytes", "12,5 KB", "3,4 MB" with German separators.
QString SizeText(std::uint64_t bytes);

class PlanWindow : public QDialog {
    Q_OBJECT
  public:
    // The result code of "Ohne Löschen veröffentlichen"; Accepted publishes as planned.
    static constexpr int kWithoutDeletions = 2;

    explicit PlanWindow(const PublishPlan& plan, QWidget* parent = nullptr);
    // The answer a result code of the window stands for.
    static PlanAnswer AnswerOf(int code);
};

}  // namespace pagloom::app
