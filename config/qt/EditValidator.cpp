#include "config/qt/EditValidator.h"

#include <QLineEdit>
#include <QWidget>

CEditValidator::CEditValidator(Judge judge, std::function<QString()> lastValid, QObject* parent)
    : QValidator(parent), m_judge(judge), m_lastValid(std::move(lastValid))
{
}

QValidator::State CEditValidator::validate(QString& text, int& /*pos*/) const
{
    const std::string typed = text.toStdString();
    switch (m_judge(typed)) {
    case TextState::kAcceptable: return Acceptable;
    case TextState::kIntermediate: return Intermediate;
    case TextState::kInvalid: break;
    }
    return Invalid;
}

void CEditValidator::fixup(QString& text) const
{
    text = m_lastValid();
}

void SettleEdits(QWidget& root)
{
    for (QLineEdit* edit : root.findChildren<QLineEdit*>()) {
        if (edit->validator() == nullptr || edit->hasAcceptableInput())
            continue;
        QString text = edit->text();
        edit->validator()->fixup(text);
        if (text != edit->text())
            edit->setText(text);
    }
}
