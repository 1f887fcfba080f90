// Alarms on the screen and in the speaker: limit boxes turned red, the
// apnea indicator, one event per pass into the ring, the looping alarm
// sound, silence and snooze, and the two alarm commands' states.
#include <QLabel>

#include "app/MenuCommands.h"
#include "app/QuorinAppCore.h"
#include "view/CommandRules.h"
#include "link/LiveData.h"
#include "view/NumericFormat.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewTimers.h"

std::bitset<kLimitBoxCount> CQuorinView::LimitBoxesPresent() const
{
    std::bitset<kLimitBoxCount> present;
    for (int i = 0; i < kLimitBoxCount; ++i)
        present[i] = m_pane.limitBoxes[i] != nullptr;
    return present;
}

bool CQuorinView::IsLiveOrDemo() const
{
    // In demo mode the generator runs until it is asked to stop.
    return m_app.IsDemoMode() ? !m_connection.stopRequested.load() : m_connection.live != 0;
}

void CQuorinView::PaintLimitBox(int box, const LimitBoxColors& colors)
{
    CColorStatic* limit = m_pane.limitBoxes[box];
    if (limit == nullptr || box == kApneaIndicatorBox)
        return;
    if (limit->m_textColor == colors.text && limit->GetBkColor() == colors.back)
        return;
    limit->m_textColor = colors.text;
    limit->SetBkColor(colors.back);
}

void CQuorinView::EvaluateAlarms()
{
    const AlarmPass pass = m_intake.alarms.EvaluateAlarms(AlarmInputsFrom(g_liveData, g_gasStatus, LimitBoxesPresent()),
                                                   m_app.m_config, m_patient.info.speciesCode);
    for (int box = 0; box < kLimitBoxCount; ++box)
        PaintLimitBox(box, pass.colors[box]);
    if (CColorStatic* apnea = m_pane.limitBoxes[kApneaIndicatorBox])
        apnea->setVisible(pass.apneaIndicator);
    if (pass.event) {
        CEcgEvent event;
        event.Init(pass.event->code, g_liveData, pass.event->cuffSize, pass.event->limit, pass.event->unitSelector);
        PlaceEvent(event);
    }
    EnableAlarmTone(pass.toneOn);
}

void CQuorinView::ResetAlarmBoxes()
{
    const AlarmReset reset = m_intake.alarms.ResetAlarmDisplay(
        AlarmInputsFrom(g_liveData, g_gasStatus, LimitBoxesPresent()), m_app.m_config, m_patient.info.speciesCode);
    for (int box = 0; box < kLimitBoxCount; ++box) {
        PaintLimitBox(box, reset.colors[box]);
        if (CColorStatic* limit = m_pane.limitBoxes[box])
            limit->setVisible(box == kApneaIndicatorBox ? reset.apneaIndicator : bool(reset.visible[box]));
    }
    // The loop may have been started for "Alarm Tones" alone: the next pass
    // of values decides again, even when they stay the same.
    m_intake.numerics.ForceRewrite();
}

void CQuorinView::ResetAlarmDisplay()
{
    ResetAlarmBoxes();
    ApplyToneActions(m_sounds.tones.ResetAlarmTone(m_app.m_config, IsLiveOrDemo(), m_connection.connected != 0));
}

void CQuorinView::EnableAlarmTone(bool on)
{
    ApplyToneActions(m_sounds.tones.EnableAlarmTone(on, m_connection.connected != 0, m_app.m_config));
}

void CQuorinView::OnSilenceAlarm()
{
    ApplyToneActions(m_sounds.tones.OnSilenceAlarm(m_app.m_config));
    UpdateAlarmCommands();
}

void CQuorinView::OnToggleAlarms()
{
    ApplyToneActions(m_sounds.tones.OnToggleAlarms(m_app.m_config, IsLiveOrDemo(), m_connection.connected != 0));
    UpdateAlarmCommands();
}

void CQuorinView::OnSnoozeEnded()
{
    ApplyToneActions(m_sounds.tones.OnSnoozeTimer(m_app.m_config));
    UpdateAlarmCommands();
}

void CQuorinView::ApplyToneActions(const ToneActions& actions)
{
    for (const ToneAction& action : actions.steps) {
        switch (action.step) {
        case ToneStep::StartSnoozeTimer: m_timing.timers->SetTimer(kSnoozeTimer, uint32_t(action.periodMs)); break;
        case ToneStep::KillSnoozeTimer: m_timing.timers->KillTimer(kSnoozeTimer); break;
        case ToneStep::ShowSnoozeStatus:
            if (CColorStatic* status = SingleBoxAt(kBoxStatusText)) {
                status->setText(QString::fromLatin1(kSnoozeStatusText));
                status->m_textColor = kSnoozeStatusColor;
                status->update();
                status->show();
            }
            break;
        case ToneStep::HideSnoozeStatus:
            if (CColorStatic* status = SingleBoxAt(kBoxStatusText))
                status->hide();
            break;
        case ToneStep::EvaluateAlarms: EvaluateAlarms(); break;
        case ToneStep::ResetAlarmBoxes: ResetAlarmBoxes(); break;
        case ToneStep::Relayout:
            LayoutNumerics();
            LayoutPanes();
            break;
        }
    }
    ShowToneIndicator();
}

// Between two updates of every command: those the alarm switches and the
// link change.
void CQuorinView::UpdateAlarmCommands()
{
    IFrameControls* frame = m_services.frame;
    if (frame == nullptr)
        return;
    const CommandContext context = MakeCommandContext();
    for (const uint32_t id : {menu::kSilenceAlarm, menu::kAlarms, menu::kConnect}) {
        const CommandState state = CommandRule(id, context);
        frame->SetCommandState(id, state.enabled, state.checked);
    }
    ShowAlarmButtons(*frame, context);
}

void CQuorinView::ShowAlarmButtons(IFrameControls& frame, const CommandContext& context)
{
    frame.SetSilenceAlarmButton(CommandRule(menu::kSilenceAlarm, context).checked);
    frame.SetAlarmsButton(CommandRule(menu::kAlarms, context).checked);
}
