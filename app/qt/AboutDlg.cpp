#include "app/qt/AboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/qt/BitmapResources.h"
#include "app/qt/SplashBitmap.h"

namespace {

QLabel* TextControl(const char* id, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(id));
    // The remote's text is shown as it came, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

// The splash picture, small, as the program's icon.
QLabel* IconControl(QWidget* parent)
{
    auto* icon = new QLabel(parent);
    const QImage bitmap = LoadFrameBitmap(kSplashBitmap);
    icon->setPixmap(QPixmap::fromImage(bitmap.scaledToWidth(120, Qt::SmoothTransformation)));
    icon->setAlignment(Qt::AlignTop);
    return icon;
}

} // namespace

CAboutDlg::CAboutDlg(AboutInputs inputs, QWidget* parent)
    : QDialog(parent), m_inputs(std::move(inputs))
{
    setObjectName(QStringLiteral("190"));
    setWindowTitle(QStringLiteral("About Quorin"));
    m_productLine = TextControl("1037", this);
    m_remoteText = TextControl("1050", this);
    m_legalNotice = TextControl("1353", this);
    m_remoteText->setText(QString::fromLatin1(kNoRemoteConnection));
    m_remoteText->setMinimumWidth(380);
    QFont bold = m_productLine->font();
    bold.setBold(true);
    m_productLine->setFont(bold);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(IconControl(this), 0, 0, 3, 1);
    layout->addWidget(m_productLine, 0, 1);
    layout->addWidget(m_remoteText, 1, 1);
    layout->addWidget(m_legalNotice, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OnInitDialog();
}

void CAboutDlg::OnInitDialog()
{
    m_texts = MakeAboutTexts(m_inputs);
    m_productLine->setText(QString::fromStdString(m_texts.productLine));
    m_remoteText->setText(QString::fromStdString(m_texts.remoteText));
    if (!m_texts.legalNotice.empty())
        m_legalNotice->setText(QString::fromStdString(m_texts.legalNotice));
}
