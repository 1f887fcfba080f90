// What the screen shows again after an intake pass: the columns the sweeps
// wrote, the pulse bar and the recording line where they changed, and the
// whole view when anything else that a paint composes has changed. Only
// that is composed; the rest of the screen keeps what it shows.
#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/qt/QuorinView.h"

ComposedState CQuorinView::CurrentComposedState(const StripLayout& strips) const
{
    ComposedState state;
    state.backdrop = CurrentBackdropState(strips);
    state.remoteStop = m_remote.remoteStop;
    state.bannerShown = m_remote.bannerShown;
    state.bannerText = m_remote.bannerText;
    state.menuOpen = m_menu.menu.menuOpen;
    state.menuItem = m_menu.menu.menuItem;
    state.menu = m_menu.menu.menuDescriptor;
    return state;
}

void CQuorinView::RepaintDrawn()
{
    std::array<QRect, 4> drawn;
    drawn.swap(m_repaint.layerDirty);
    // The recording line's time changes once a second.
    const std::optional<RecordingLine> line = CurrentRecordingLine();
    const bool lineChanged = line != m_repaint.shownRecordingLine;
    const QRect lineBefore = m_repaint.shownRecordingLine ? PaneTextsRect(RecordingLineRows(*m_repaint.shownRecordingLine)) : QRect();
    const bool plethChanged = m_strips.maxPleth != m_repaint.shownPleth;
    m_repaint.shownRecordingLine = line;
    m_repaint.shownPleth = m_strips.maxPleth;

    const StripLayout strips = PlanStrips(width(), height(), m_plan.metrics, m_plan.bandHeight, m_strips.roles.stripCount);
    ComposedState state = CurrentComposedState(strips);
    if (!(state == m_repaint.composedState)) {
        m_repaint.composedState = std::move(state);
        update();
        return;
    }
    for (int k = 0; k < strips.count && k < int(drawn.size()); ++k) {
        const LayoutRect& s = strips.strips[k];
        const QRect strip(s.left, s.top, s.Width(), s.Height());
        const QRect area = drawn[k].translated(strip.topLeft()) & strip;
        if (!area.isEmpty())
            update(area);
    }
    if (plethChanged) {
        const LayoutRect& bar = m_plan.layout.spo2BarRect;
        update(QRect(bar.left, bar.top, bar.Width(), bar.Height()));
    }
    if (lineChanged)
        update(lineBefore | (line ? PaneTextsRect(RecordingLineRows(*line)) : QRect()));
}
