#include "view/qt/GasUsesDlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// Texts from a file are shown as they stand, never as markup.
QLabel* PlainLabel(const std::string& text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    return label;
}

// A long reorder file scrolls inside the dialog, which stays on the screen.
QScrollArea* Scrolled(QLabel* label, QWidget* parent)
{
    constexpr int kMaxWidth = 640;
    const int maxHeight = 14 * label->fontMetrics().lineSpacing();
    auto* area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(label);
    area->setWidgetResizable(true);
    const QSize hint = label->sizeHint();
    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = std::min(hint.width(), kMaxWidth) + (hint.height() > maxHeight ? bar : 0);
    const int height = std::min(hint.height(), maxHeight) + (hint.width() > kMaxWidth ? bar : 0);
    area->setFixedSize(width, height);
    return area;
}

}  // namespace

CGasUses::CGasUses(int32_t uses, const std::string& reorderPath, QWidget* parent)
    : QDialog(parent), m_form(uses)
{
    setObjectName(QStringLiteral("620"));
    setWindowTitle(QString::fromLatin1(kGasUsesCaption));
    m_form.Init(reorderPath);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PlainLabel(kGasUsesNotice, this));
    m_remaining = new QLineEdit(QString::fromStdString(m_form.remainingText), this);
    m_remaining->setObjectName(QStringLiteral("4000"));
    m_remaining->setReadOnly(true);
    layout->addWidget(m_remaining);
    m_reorder = PlainLabel(m_form.reorderText, this);
    m_reorder->setObjectName(QStringLiteral("1347"));
    m_reorder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Scrolled(m_reorder, this));

    // Auto-exclusive: checking one clears the other.
    m_replaced = new QRadioButton(QStringLiteral("ADAPTOR REPLACED"), this);
    m_replaced->setObjectName(QStringLiteral("3950"));
    m_later = new QRadioButton(QStringLiteral("REMIND ME LATER"), this);
    m_later->setObjectName(QStringLiteral("3980"));
    m_later->setChecked(true);
    layout->addWidget(m_replaced);
    layout->addWidget(m_later);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGasUses::accept);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CGasUses::accept()
{
    m_form.adaptorReplaced = m_replaced->isChecked();
    m_form.OnOK();
    QDialog::accept();
}
