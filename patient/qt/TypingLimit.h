#pragma once
// The platform's limited edit: typing and pasting stop at the limit (a
// paste is cut to what fits), but a longer text that the program shows
// stays whole and may still shrink. QLineEdit::setMaxLength would cut it.
#include <QString>
#include <QValidator>

class QLineEdit;

class CTypingLimit : public QValidator {
public:
    // Installs itself on `edit`, which owns it.
    CTypingLimit(QLineEdit* edit, int limit);

    // The program's text, shown whole whatever its length.
    void ShowText(const QString& text);

    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* m_edit;
    int m_limit;
    QString m_last;
};
