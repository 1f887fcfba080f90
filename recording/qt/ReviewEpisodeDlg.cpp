#include "recording/qt/ReviewEpisodeDlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/HListBox.h"

CReviewEpisodeDlg::CReviewEpisodeDlg(QWidget* parent)
    : QDialog(parent), m_list(new CHListBox(this)), m_review(new QPushButton(QStringLiteral("Review Episode..."), this))
{
    setObjectName(QStringLiteral("470"));
    setWindowTitle(QStringLiteral("Wireless Remote Review Episode"));
    m_list->setObjectName(QStringLiteral("1440"));
    m_list->setMinimumSize(440, 200);
    m_review->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_review);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_review, &QPushButton::clicked, this, &CReviewEpisodeDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &CReviewEpisodeDlg::OnCancel);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OnOK(); });
}

void CReviewEpisodeDlg::OnInitDialog()
{
    m_list->clear();
    if (episodes != nullptr) {
        for (const episodeItemType& item : *episodes) {
            const QString text = QString::fromStdString(item.text);
            m_list->addItem(text);
            m_list->FitTextExtent(text);
        }
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    chosen = -1;
    if (autoSelect)
        OnOK();
}

void CReviewEpisodeDlg::OnOK()
{
    chosen = m_list->currentRow();
    done(QDialog::Accepted);
}

void CReviewEpisodeDlg::OnCancel()
{
    chosen = -1;
    done(QDialog::Rejected);
}

void CReviewEpisodeDlg::done(int code)
{
    m_ended = true;
    QDialog::done(code);
}
