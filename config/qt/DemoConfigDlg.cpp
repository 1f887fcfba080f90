#include "config/qt/DemoConfigDlg.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 510;
constexpr int kHeight = 470;

}  // namespace

DemoConfigDlg::DemoConfigDlg(uint8_t gasModuleKind, uint16_t featureBits, int32_t deviceKind, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("490"));
    setWindowTitle(QStringLiteral("Demo Configuration"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select Wireless Remote Configuration...."), this));
    auto* features = new QGroupBox(QStringLiteral("Tarvik+ Features"), this);
    auto* featureColumn = new QVBoxLayout(features);
    for (int i = 0; i < kDemoBoxCount; ++i) {
        const auto box = DemoBox(i);
        const bool option = box >= kDemoBloodPressure && box <= kDemoGasAx;
        QWidget* owner = option ? static_cast<QWidget*>(features) : this;
        m_boxes[i] = new QCheckBox(QString::fromLatin1(kDemoBoxTexts[i].text), owner);
        m_boxes[i]->setObjectName(QString::number(kDemoBoxTexts[i].id));
        connect(m_boxes[i], &QCheckBox::clicked, this, [this, box] { OnClick(box); });
        if (option)
            featureColumn->addWidget(m_boxes[i]);
        else if (box != kDemoExotic)
            layout->addWidget(m_boxes[i]);
        // The models first, then their options, then the heart rates.
        if (box == kDemoBrindle)
            layout->addWidget(features);
    }
    layout->addWidget(m_boxes[kDemoExotic]);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DemoConfigDlg::accept);
    layout->addWidget(buttons);

    m_form.OnInitDialog(gasModuleKind, featureBits, deviceKind);
    ShowForm();
    m_choice.gasModuleKind = gasModuleKind;
    m_choice.featureBits = featureBits;
    m_choice.deviceKind = deviceKind;

    // Never smaller than the texts need.
    resize(std::max(kWidth, sizeHint().width()), std::max(kHeight, sizeHint().height()));
    // Over its window when that is shown (not yet, at the demo's start),
    // else in the middle of the screen.
    const QWidget* owner = parent != nullptr ? parent->window() : nullptr;
    if (owner != nullptr && owner->isVisible())
        move(owner->geometry().center() - rect().center());
    else if (const QScreen* screen = owner != nullptr ? owner->screen() : this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void DemoConfigDlg::ShowForm()
{
    for (int i = 0; i < kDemoBoxCount; ++i)
        m_boxes[i]->setChecked(m_form.Checked(DemoBox(i)));
}

void DemoConfigDlg::OnClick(DemoBox box)
{
    m_form.Click(box, m_boxes[box]->isChecked());
    ShowForm();
}

void DemoConfigDlg::accept()
{
    QDialog::accept();
    m_choice = m_form.OnOK();
}
