// The numeric boxes: values, limits, the alarms switch and its indicator,
// the sweep-and-gain and species captions, the patient name, the handlers
// of the view's own messages, and the blood-pressure error box.
#include <QLabel>
#include <atomic>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/ConnectMachine.h"
#include "view/DisplayPar.h"
#include "view/LinkIntake.h"
#include "view/NumericFormat.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewBitmaps.h"

namespace {

// Set while a blood-pressure message box is open, wherever it was asked for.
std::atomic<bool> s_bpBoxOpen{false};

}  // namespace

void CQuorinView::DisplayParameterValue(int slot, int32_t value, bool hasDecimals)
{
    if (CColorStatic* box = ValueBox(slot))
        box->setText(QString::fromStdString(ValueText(slot, value, hasDecimals)));
}

uint8_t CQuorinView::GetUnitSelector(int slot) const
{
    return UnitSelector(slot, m_app.m_config);
}

void CQuorinView::LayoutPanes()
{
    for (int slot = 0; slot < kParameterCount; ++slot) {
        for (const bool high : {true, false}) {
            CColorStatic* box = m_pane.limitBoxes[2 * slot + (high ? 0 : 1)];
            if (box == nullptr)
                continue;
            const LimitBoxUpdate update = LimitBoxText(slot, high, m_patient.info.speciesCode, m_app.m_config);
            if (update.text)
                box->setText(QString::fromStdString(*update.text));
            box->setVisible(update.visible);
        }
    }
    m_intake.numerics.ForceRewrite();
}

void CQuorinView::ShowToneIndicator()
{
    if (m_pane.toneIndicator == nullptr)
        return;
    const int bitmap = ToneIndicatorBitmap(m_app.m_config);
    for (const auto& [id, pixmap] : m_pane.toneBitmaps)
        if (id == bitmap)
            m_pane.toneIndicator->setPixmap(pixmap);
}

void CQuorinView::SetAlarmSilence(int32_t on)
{
    StoreRelaxed(m_app.m_config.alarms, on);
    ShowToneIndicator();
    LayoutPanes();
    if (m_connection.connected != 0 && on != 0)
        EvaluateAlarms();
    else
        ResetAlarmDisplay();
}

void CQuorinView::UpdateSweepGainText()
{
    if (m_patient.info.speciesCode < 0 || m_patient.info.speciesCode > 3)
        m_patient.info.speciesCode = 3;
    const RemoteConfiguration& config = m_app.m_config;
    m_gainIndex = LoadRelaxed(config.gain[m_patient.info.speciesCode]);
    RefreshSweepGainCaption();
}

void CQuorinView::SetPatientIdText(const std::string& text)
{
    m_patient.info.name = text;
    ShowPatientId();
}

void CQuorinView::SetDisplayMode(int32_t species)
{
    m_patient.info.speciesCode = species;
    if (CColorStatic* box = SingleBoxAt(kBoxSpecies))
        box->setText(QString::fromStdString(
            FormatSpeciesText(species, true, m_patient.info.species, m_patient.info.breedNumber)));
    UpdateSweepGainText();
    LayoutPanes();
}

bool CQuorinView::ProcessBPError(int code)
{
    const char* text = BpErrorText(code);
    if (text == nullptr)
        return false;
    // One box at a time: a second error while it is open is dropped.
    bool expected = false;
    if (!s_bpBoxOpen.compare_exchange_strong(expected, true))
        return false;
    LogEventText("CQuorinView::ProcessBPError", text);
    Prompter().MessageBox(text, "BP Message", kMbOk | kMbIconWarning);
    s_bpBoxOpen = false;
    return true;
}

void CQuorinView::WriteSlot(int slot, int32_t value, bool primaryGatesOnly)
{
    const SlotDisplay display = SlotRule(slot, value, SlotInputsFrom(g_liveData), m_app.m_config, primaryGatesOnly);
    if (!display.gateOpen)
        return;
    for (const CaptionUpdate& caption : display.captions)
        if (CColorStatic* box = CaptionBox(caption.caption))
            box->setText(QString::fromStdString(caption.text));
    DisplayParameterValue(slot, display.value, display.hasDecimals);
}

void CQuorinView::RewriteNumerics(bool primaryGatesOnly)
{
    const auto numerics = ReadNumerics(g_liveData);
    for (int slot = 0; slot < kParameterCount; ++slot)
        WriteSlot(slot, numerics[slot], primaryGatesOnly);
}

void CQuorinView::OnViewMessage(uint32_t message, CPostedEvent& event)
{
    const PostedMessage& posted = event.Message();
    const ViewMessageIds& ids = m_messageIds;
    if (message == ids.updateConnectionStatus) {
        SetConnectionStatus(static_cast<int32_t>(posted.wParam), posted.lParam == kStatusAfterGivingUp);
    } else if (message == ids.displayPar) {
        std::unique_ptr<DisplayPar> record(reinterpret_cast<DisplayPar*>(event.TakePayload().wParam));
        if (record)
            DisplayParameterValue(record->slot, record->value, record->hasDecimals != 0);
    } else if (message == ids.resetWaveforms) {
        ResetWaveformStrips();
        update();
    } else if (message == ids.invalidate) {
        update();
    } else if (message == ids.enableAlarmTone) {
        EnableAlarmTone(posted.wParam != 0);
    } else if (message == ids.setDocumentTitle) {
        UpdateTitle();
    } else if (message == ids.setWindowText) {
        std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(event.TakePayload().lParam));
        // Only a box of this view; a control that went with a relayout is
        // no longer there to retitle.
        if (CColorStatic* box = OwnBox(reinterpret_cast<const QObject*>(posted.wParam)); box != nullptr && text)
            box->setText(QString::fromStdString(*text));
    } else if (message == ids.closeRecording) {
        CloseRecording();
        UpdateTitle();
    }
    UpdateCommandStates();
}

CColorStatic* CQuorinView::OwnBox(const QObject* object) const
{
    if (object == nullptr)
        return nullptr;
    auto find = [object](const auto& array) -> CColorStatic* {
        for (const auto& box : array)
            if (box.data() == object)
                return box.data();
        return nullptr;
    };
    if (CColorStatic* box = find(m_pane.singleBoxes))
        return box;
    if (CColorStatic* box = find(m_pane.captionBoxes))
        return box;
    if (CColorStatic* box = find(m_pane.valueBoxes))
        return box;
    if (CColorStatic* box = find(m_pane.labelBoxes))
        return box;
    return find(m_pane.limitBoxes);
}
