// SPDX-License-Identifier: MIT
#include "options/OptionsPage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QRadioButton>

#include "Binding.h"
#include "ProjectSession.h"
#include "model/ProjectSettings.h"

namespace pagloom::app {

OptionsPage::OptionsPage(Binder& binder, ProjectSession& session, QWidget* parent)
    : QWidget(parent), binder_(binder), session_(session) {}

ProjectSettings& OptionsPage::Settings() const { return session_.Settings(); }
TableSettings& OptionsPage::Tables() const { return session_.project.Tables; }

QRadioButton* OptionsPage::Radio(const char* name, const QString& text) {
    auto* rb = new QRadioButton(text, this);
    rb->setObjectName(QString::fromLatin1(name));
    return rb;
}

QCheckBox* OptionsPage::Switch(QWidget* parent, const char* name, const QString& text,
                               std::function<bool&()> member) {
    auto* cb = new QCheckBox(text, parent);
    cb->setObjectName(QString::fromLatin1(name));
    binder_.Switch(cb, std::move(member));
    return cb;
}

void OptionsPage::OnOff(QAbstractButton* on, QAbstractButton* off,
                        std::function<Choice<2>&()> choice,
                        std::function<std::vector<bool*>()> clearedOnSwitchingOn) {
    binder_.Choice(
        {off, on}, [choice] { return choice().Selected(); },
        [choice, clearedOnSwitchingOn](int option) {
            if (option == kOn && !choice().Is(kOn))
                for (bool* b : clearedOnSwitchingOn()) *b = false;
            choice().Select(option);
        });
}

void OptionsPage::EnableWhile(std::initializer_list<QWidget*> widgets, std::function<bool()> rule) {
    for (QWidget* w : widgets) binder_.Enable(w, rule);
}

QHBoxLayout* OptionsPage::Indented(QWidget* w, int depth) {
    auto* row = new QHBoxLayout;
    row->addSpacing(24 * depth);
    row->addWidget(w, 1);
    return row;
}

void OptionsPage::Order(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous) setTabOrder(previous, w);
        previous = w;
    }
}

QString OverwriteFiles(int keyAt) {
    return QStringLiteral("Vorhandene Dateien überschreiben").insert(keyAt, u'&');
}

QString OverwriteFile(int keyAt) {
    return QStringLiteral("Vorhandene Datei überschreiben").insert(keyAt, u'&');
}

}  // namespace pagloom::app
