// SPDX-License-Identifier: MIT
#include "style/StyleFrame.h"

#include <QComboBox>
#include <QLineEdit>

#include "FieldTracker.h"
#include "QtText.h"
#include "style/StyleControls.h"
#include "style/TFrameColorChoice.h"

namespace pagloom::app {

StyleFrame::StyleFrame(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
                       QWidget* parent)
    : QWidget(parent),
      record_(std::move(record)),
      level_(level),
      tracker_(tracker),
      prompts_(prompts),
      binder_(tracker) {
    // Every user change of a style control counts as a change of the project.
    binder_.OnUserChange([this] {
        tracker_.MarkModified();
        emit RecordChanged();
    });
}

void StyleFrame::Changed() {
    tracker_.MarkModified();
    binder_.Refresh();
    emit RecordChanged();
}

void StyleFrame::PreviewWith(const std::vector<std::string*>& fields, const std::string& value) {
    std::vector<std::string> kept;
    bool differs = false;
    for (std::string* f : fields) {
        kept.push_back(*f);
        differs = differs || *f != value;
    }
    if (!differs) return;
    for (std::string* f : fields) *f = value;
    emit PreviewNow();
    for (size_t i = 0; i < fields.size(); ++i) *fields[i] = std::move(kept[i]);
}

void StyleFrame::BindList(QComboBox* combo, const StyleList& list,
                          Binder::Member<std::string> field) {
    binder_.Choice(
        combo, [combo, &list, field] { return list.IndexOf(field(), combo->currentIndex()); },
        [&list, field](int i) { field() = list.Stored(i); });
}

void StyleFrame::BindNumber(QLineEdit* edit, KeyFilter filter, Binder::Member<std::string> field,
                            const StyleList& list, Binder::Member<std::string> type) {
    FilterKeys(edit, filter);
    binder_.Decimal(edit, field);
    binder_.Show(edit, [&list, type] { return list.EditVisible(list.IndexOf(type(), -1)); });
}

QLineEdit* StyleFrame::MakeNumberEdit(const QString& name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("-0000,00")) + 12);
    return e;
}

TFrameColorChoice* StyleFrame::MakeColorChoice(const QString& name,
                                               Binder::Member<std::string> field) {
    auto* choice = new TFrameColorChoice(tracker_, prompts_, this);
    choice->setObjectName(name);
    connect(choice, &TFrameColorChoice::Left, this, [this, choice, field] {
        const std::string hex = S(choice->HexText());
        if (field() == hex) return;
        field() = hex;
        Changed();
    });
    // The record rule is the choice's: stored when it is left. The preview does not wait.
    connect(choice, &TFrameColorChoice::Accepted, this,
            [this, choice, field] { PreviewWith({&field()}, S(choice->HexText())); });
    return choice;
}

}  // namespace pagloom::app
