// The trend window over the view's trend store: its opener and what it reads.
#include <QDialog>
#include <chrono>

#include "view/qt/QuorinView.h"

void CQuorinView::OpenTrendWindow()
{
    // One window at a time: the periodic opener must not stack windows
    // over one that is pinned.
    if (m_trendState.trendOpen != 0)
        return;
    // One the view has asked to close and that has not yet seen its tick
    // goes now, so that its end cannot close the new one.
    if (m_trendState.trendWindow != nullptr) {
        m_trendState.trendWindow->disconnect(this);
        m_trendState.trendWindow->done(QDialog::Accepted);
        m_trendState.trendWindow->deleteLater();
        m_trendState.trendWindow = nullptr;
    }
    if (!m_services.makeTrendWindow)
        return;
    QDialog* window = m_services.makeTrendWindow(*this, this);
    if (window == nullptr)
        return;
    m_trendState.trendWindow = window;
    m_trendState.trendOpen = 1;
    // However it closes (by itself, asked by the view, or Escape), the
    // window is gone and the next command opens a new one.
    connect(window, &QDialog::finished, this, [this, window] {
        if (m_trendState.trendWindow == window) {
            m_trendState.trendOpen = 0;
            m_trendState.trendWindow = nullptr;
        }
        window->deleteLater();
    });
    window->show();
}

TrendStoreRead CQuorinView::TrendStore() const
{
    TrendStoreRead store;
    for (int ring = 0; ring < kTrendChannelTypes; ++ring)
        store.rings[std::size_t(ring)] = m_trendState.trend.Ring(ring);
    store.flags = m_trendState.trend.Flags();
    store.index = m_trendState.trend.Index();
    store.wraps = m_trendState.trend.Wraps();
    return store;
}

uint64_t CQuorinView::SteadyTickMs() const
{
    if (m_services.tickMs)
        return m_services.tickMs();
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CQuorinView::StartTrendClock()
{
    // The store outlives recordings and reconnections, so its times count
    // from the first connection: they never run backwards, and no sample
    // is older than its time.
    if (!m_trendState.trendOrigin)
        m_trendState.trendOrigin = SteadyTickMs();
}

int64_t CQuorinView::ElapsedSeconds() const
{
    if (!m_trendState.trendOrigin)
        return 0;
    return int64_t((SteadyTickMs() - *m_trendState.trendOrigin + 500) / 1000);
}

TrendUnits CQuorinView::Units() const
{
    const RemoteConfiguration& config = m_app.m_config;
    // "Defaults\Units": Temp, ..., CO2, O2, N2O.
    TrendUnits units;
    units.temp = LoadRelaxed(config.units[kUnitTemp]);
    units.co2 = LoadRelaxed(config.units[kUnitCO2]);
    units.o2 = LoadRelaxed(config.units[kUnitO2]);
    return units;
}
