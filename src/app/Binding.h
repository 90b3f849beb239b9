// SPDX-License-Identifier: MIT
// Binds controls to members of the project model. A user change writes through to the model at
// once (whole and decimal numbers when the field is left) and the FieldTracker marks the project
// changed only when the value really differs. Refresh() redraws every bound control from the
// model, so a window never mirrors a change into its widgets by hand: it changes the model and
// refreshes. Enable and visibility rules are predicates over the model, applied by Refresh().
#pragma once
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "model/Choice.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace pagloom::app {

class FieldTracker;

class Binder : public QObject {
    Q_OBJECT
  public:
    // Gives the model member a control shows; called on every refresh and every write, so a
    // replaced model is picked up.
    template <typename T>
    using Member = std::function<T&()>;

    explicit Binder(FieldTracker& tracker, QObject* parent = nullptr);

    // A check box or a single radio button.
    void Switch(QAbstractButton* button, Member<bool> member);
    // A line of text; `trimWhileTyping` removes outer blanks already as the user types.
    void Text(QLineEdit* edit, Member<std::string> member, bool trimWhileTyping = false);
    // A whole number, validated when the field is left.
    void WholeNumber(QLineEdit* edit, Member<int> member);
    // A decimal number kept as the accepted text, validated when the field is left.
    void Decimal(QLineEdit* edit, Member<std::string> member);
    // A drop-down list showing an index; -1 or an index beyond the list shows no entry.
    // `get` maps the model to the index, `set` stores the index the user picked.
    void Choice(QComboBox* combo, std::function<int()> get, std::function<void(int)> set);
    // The same for a list whose entries come from the model too (a table's fields): every
    // refresh refills the entries from `items` before it shows the index.
    void Choice(QComboBox* combo, std::function<std::vector<std::string>()> items,
                std::function<int()> get, std::function<void(int)> set);
    // Radio buttons showing one option each; none is checked when `get` gives none of them.
    QButtonGroup* Choice(const std::vector<QAbstractButton*>& buttons, std::function<int()> get,
                         std::function<void(int)> set);
    template <std::size_t N>
    QButtonGroup* Choice(const std::vector<QAbstractButton*>& buttons,
                         Member<pagloom::Choice<N>> m) {
        return Choice(
            buttons, [m] { return m().Selected(); }, [m](int option) { m().Select(option); });
    }
    // Lines of text, one list entry per line; every edit is a change.
    void List(QPlainTextEdit* edit, Member<std::vector<std::string>> member);

    // A label showing a text made from the model.
    void Label(QLabel* label, std::function<QString()> text);

    // Rules applied on every refresh.
    void Enable(QWidget* widget, std::function<bool()> rule);
    void Show(QWidget* widget, std::function<bool()> rule);
    // Runs after every write-through of a user change, before the refresh that follows it.
    void OnUserChange(std::function<void()> hook) { hooks_.push_back(std::move(hook)); }

    // Redraws every bound control from the model (without signals) and applies the rules.
    void Refresh();

  private:
    struct Binding {
        QObject* control;
        std::function<void()> show;
    };
    void Add(QObject* control, std::function<void()> show);
    // After a user change of `source`: hooks, then every other control from the model.
    void Changed(QObject* source);
    void Redraw(QObject* except);

    FieldTracker& tracker_;
    std::vector<Binding> bindings_;
    std::vector<std::function<void()>> rules_;
    std::vector<std::function<void()>> hooks_;
    bool refreshing_ = false;
};

}  // namespace pagloom::app
