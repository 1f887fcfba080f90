#include "config/qt/BPcuff.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "app/RemoteConfiguration.h"
#include "config/SmallDialogRules.h"
#include "config/qt/CaptionWidth.h"

CBPcuff::CBPcuff(RemoteConfiguration& config, int32_t species, QWidget* parent)
    : QDialog(parent), m_config(config), m_species(std::clamp(species, 0, kSpeciesCount - 1))
{
    setObjectName(QStringLiteral("610"));
    setWindowTitle(QStringLiteral("Set BP Cuff Size"));
    auto* layout = new QVBoxLayout(this);
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("3910"));
    for (const char* text : kCuffSizeTexts)
        m_list->addItem(QString::fromLatin1(text));
    m_list->setCurrentIndex(CuffSelection(LoadRelaxed(m_config.cuffSize[m_species])));
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBPcuff::accept);
    layout->addWidget(buttons);
    layout->addStrut(CaptionWidth(*this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CBPcuff::Selection() const
{
    return m_list->currentIndex();
}

void CBPcuff::accept()
{
    if (const int size = Selection(); size >= 0)
        StoreRelaxed(m_config.cuffSize[m_species], size);
    QDialog::accept();
}
