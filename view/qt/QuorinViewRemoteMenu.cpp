// The remote's on-screen menu in the view: its buttons, its expiry, its
// drawing, and what its items do to the view.
#include <QPainter>

#include "app/MenuCommands.h"
#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "link/OutgoingMessages.h"
#include "platform/SerialErrors.h"
#include "view/NumericFormat.h"
#include "view/ViewTexts.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"

namespace {

constexpr int32_t kMenuMargin = 20;

}  // namespace

// ---- The buttons ----

void CQuorinView::RemoteMenuStep(int code)
{
    switch (code) {
    case 1: m_menu.menu.Previous(); break;
    case 2: m_menu.menu.Next(); break;
    case 3: m_menu.menu.Select(); break;
    default: break;
    }
}

void CQuorinView::RemoteBloodPressure()
{
    if (CommandStateOf(menu::kBloodPressure).enabled)
        m_menu.menu.BloodPressureButton();
}

void CQuorinView::CloseRemoteMenu()
{
    m_menu.menu.CloseRemoteMenu();
}

void CQuorinView::CloseExpiredRemoteMenu()
{
    (void)m_menu.menu.CloseIfExpired();
}

// ---- The drawing ----

QPoint CQuorinView::RemoteMenuOrigin() const
{
    return {m_plan.metrics.paneWidth + 4 + kMenuMargin, kMenuMargin};
}

void CQuorinView::DrawRemoteMenu(QPainter& painter, int32_t x, int32_t y)
{
    const RemoteMenu* menu = m_menu.menu.menuDescriptor;
    if (m_menu.menu.menuOpen == 0 || menu == nullptr)
        return;
    const int32_t itemWidth = m_plan.metrics.menuItemWidth;
    const int32_t itemHeight = m_plan.metrics.menuItemHeight;
    const int32_t step = itemHeight + 4;
    const QRect box(x, y, itemWidth + 8, (menu->count + 1) * step + 4);

    painter.save();
    painter.setFont(m_plan.fonts[kFontMenu]);
    const COLORREF shadows[] = {0xCBCBCB, 0xBCBCBC, 0xADADAD, 0x9E9E9E};
    const int offsets[] = {10, 8, 6, 4};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(box.translated(offsets[i], offsets[i]), ToQColor(shadows[i]));
    painter.fillRect(box, Qt::white);

    QRect row(x + 4, y + 4, itemWidth, itemHeight);
    painter.fillRect(row, ToQColor(0x0080FF));
    painter.setPen(Qt::black);
    painter.drawText(row, Qt::AlignCenter, QString::fromLatin1(menu->title));
    for (int32_t i = 0; i < menu->count; ++i) {
        row.translate(0, step);
        const bool highlighted = i == m_menu.menu.menuItem;
        if (highlighted)
            painter.fillRect(row, ToQColor(0x808080));
        painter.setPen(highlighted ? Qt::white : Qt::black);
        painter.drawText(row, Qt::AlignCenter, QString::fromLatin1(menu->items[i]));
    }
    painter.restore();
}

// ---- What the items do ----

uint32_t CQuorinView::RemoteMenuActions::Tick() const
{
    return m_view.Tick();
}

int32_t CQuorinView::RemoteMenuActions::DeviceKind() const
{
    return g_liveData.deviceKind;
}

uint16_t CQuorinView::RemoteMenuActions::FeatureBits() const
{
    return g_liveData.featureBits;
}

bool CQuorinView::RemoteMenuActions::DentalRejection() const
{
    return g_liveData.dentalScalarRejection == 1;
}

int CQuorinView::RemoteMenuActions::StreamProtocol() const
{
    return m_view.m_wire.link.StreamProtocol();
}

void CQuorinView::RemoteMenuActions::SendMenuId(uint16_t id)
{
    if (!m_view.m_wire.link.IsOpen())
        return;
    const int32_t result = SendSetValueMessage(id, m_view.m_wire.link);
    if (result != kSerialOk)
        LogEventText("CQuorinView::RemoteMenu",
                     "Sending menu id " + std::to_string(id) + " failed: " + SerialErrorText(result));
}

void CQuorinView::RemoteMenuActions::Redraw()
{
    m_view.update();
}

RemoteConfiguration& CQuorinView::RemoteMenuActions::Config()
{
    return m_view.Config();
}

int32_t CQuorinView::RemoteMenuActions::Species() const
{
    return m_view.m_patient.info.speciesCode;
}

int32_t CQuorinView::RemoteMenuActions::GainIndex() const
{
    return m_view.m_gainIndex;
}

void CQuorinView::RemoteMenuActions::RunCommand(uint32_t id)
{
    m_view.RunCommand(id);
}

void CQuorinView::RemoteMenuActions::ToggleShowSpO2()
{
    m_view.ToggleShowSpO2();
}

void CQuorinView::RemoteMenuActions::ToggleShowResp()
{
    m_view.ToggleShowResp();
}

void CQuorinView::RemoteMenuActions::OnSilenceAlarm()
{
    m_view.OnSilenceAlarm();
}

void CQuorinView::RemoteMenuActions::OnToggleAlarms()
{
    m_view.OnToggleAlarms();
}

bool CQuorinView::RemoteMenuActions::Snoozing() const
{
    return m_view.Snoozing();
}

void CQuorinView::RemoteMenuActions::ShowBanner(const std::string& text)
{
    m_view.ShowBanner(text);
}

void CQuorinView::RemoteMenuActions::PostEnableAlarmTone(bool on)
{
    PostedMessage message;
    message.target = m_view.m_handle;
    message.message = m_view.m_messageIds.enableAlarmTone;
    message.wParam = on ? 1 : 0;
    (void)m_view.m_poster->Post(message);
}

void CQuorinView::RemoteMenuActions::PostInvalidate()
{
    PostedMessage message;
    message.target = m_view.m_handle;
    message.message = m_view.m_messageIds.invalidate;
    (void)m_view.m_poster->Post(message);
}

void CQuorinView::RemoteMenuActions::ToggleRecordingFromRemote()
{
    m_view.m_remote.fromRemote = 1;
    m_view.RunCommand(menu::kRecord);
    m_view.m_remote.fromRemote = 0;
}

bool CQuorinView::RemoteMenuActions::IsRecording() const
{
    return m_view.IsRecording();
}

bool CQuorinView::RemoteMenuActions::BloodPressureRunning() const
{
    return m_view.m_bp.bpRunning != 0;
}

void CQuorinView::RemoteMenuActions::ToggleBloodPressure()
{
    m_view.RunCommand(menu::kBloodPressure);
}

void CQuorinView::RemoteMenuActions::StartBloodPressureWithChosenCuff()
{
    // The cuff was just chosen on the remote: the cuff dialog on the PC
    // would hold the measurement until someone there answers it.
    m_view.m_bp.bpCuffAsked = 0;
    m_view.RunCommand(menu::kBloodPressure);
}

void CQuorinView::RemoteMenuActions::SetPatientSpecies(int32_t code, const std::string& text)
{
    CPatientInfo& info = m_view.m_patient.info;
    info.species = text;
    info.breed.clear();
    info.breedNumber.clear();
    m_view.m_connection.sharedSpecies = code;
    m_view.SetDisplayMode(code);
    m_view.update();
}

void CQuorinView::RemoteMenuActions::NewPatientFromRemote()
{
    m_view.m_remote.fromRemote = 1;
    m_view.OnNewPatient();
    m_view.m_remote.fromRemote = 0;
}
