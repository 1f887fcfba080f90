#pragma once
// The configuration edits' keystroke check. A keystroke that would leave a
// text that can never be a value is refused; a text left unfinished (empty,
// the "2" of an apnea time) gets the last stored value's text back when the
// edit is left or the dialog's OK runs. An edit never shows what will not
// be stored.
#include <QString>
#include <QValidator>
#include <functional>
#include <string_view>

#include "config/ConfigFilters.h"

class QWidget;

class CEditValidator : public QValidator {
    Q_OBJECT
public:
    using Judge = TextState (*)(std::string_view);
    // `lastValid`: the text of the value the working copy holds.
    CEditValidator(Judge judge, std::function<QString()> lastValid, QObject* parent);

    State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;

private:
    Judge m_judge;
    std::function<QString()> m_lastValid;
};

// Every edit under `root` whose text is unfinished gets its last valid
// text back; OK runs it before it reads the working copy.
void SettleEdits(QWidget& root);
