#include "patient/qt/TypingLimit.h"

#include <QLineEdit>
#include <algorithm>

CTypingLimit::CTypingLimit(QLineEdit* edit, int limit) : QValidator(edit), m_edit(edit), m_limit(limit)
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_last = text; });
    edit->setValidator(this);
}

void CTypingLimit::ShowText(const QString& text)
{
    // Known before the edit asks, so that nothing of it counts as typed.
    m_last = text;
    m_edit->setText(text);
}

QValidator::State CTypingLimit::validate(QString& input, int& pos) const
{
    if (input.size() <= m_limit || input.size() <= m_last.size())
        return Acceptable;
    // What was put in: the text between the parts that did not change.
    qsizetype head = 0;
    const qsizetype shorter = std::min(input.size(), m_last.size());
    while (head < shorter && input[head] == m_last[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && input[input.size() - 1 - tail] == m_last[m_last.size() - 1 - tail])
        ++tail;
    const qsizetype room = m_limit - (head + tail);
    if (room <= 0)
        return Invalid;
    input = input.left(head + room) + input.right(tail);
    pos = int(head + room);
    return Acceptable;
}
