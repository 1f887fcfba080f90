// The strip side of the view: the roles, the layers the waveforms are drawn
// into, and the paint that composes them.
#include <QFontMetrics>
#include <QMetaObject>
#include <QPainter>
#include <QPaintEvent>
#include <QPolygonF>
#include <cmath>

#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/StripLabels.h"
#include "view/qt/MemDC.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewMapping.h"
#include "view/qt/ViewTimers.h"

void CQuorinView::AssignStripRoles()
{
    m_strips.roles = ::AssignStripRoles(g_liveData.deviceKind, g_liveData.featureBits, m_app.m_config);
}

void CQuorinView::FillLayers()
{
    const QColor background = ToQColor(m_app.m_config.backgroundColor);
    for (QImage& layer : m_strips.stripLayers)
        if (!layer.isNull())
            layer.fill(background);
}

void CQuorinView::ResetWaveformStrips()
{
    AssignStripRoles();
    FillLayers();
    m_strips.sweep.State().ResetSweeps();
    // Nothing drawn so far stays on the screen.
    update();
}

bool CQuorinView::PrepareStripLayers(const LayoutRect& stripRect)
{
    const int32_t width = std::max(stripRect.Width(), 0);
    const int32_t height = std::max(stripRect.Height(), 0);
    // The layers hold the screen's pixels: a window moved to a screen of
    // another density gets new ones.
    const double ratio = devicePixelRatio();
    if (!m_strips.grid.isNull() && width == m_strips.layerWidth && height == m_strips.layerHeight && !m_app.m_redrawLayers &&
        m_strips.grid.devicePixelRatio() == ratio)
        return false;
    m_app.m_redrawLayers = false;
    m_strips.layerWidth = width;
    m_strips.layerHeight = height;

    // Every strip has its layer whatever the current count (the model can
    // change), and a layer never is smaller than the strip (a screen can be
    // added after the sizes were taken).
    const QSize needed(std::max({m_strips.maxStripWidth, width, 1}), std::max({m_strips.maxStripHeight, height, 1}));
    const QSize pixels(int(std::ceil(needed.width() * ratio)), int(std::ceil(needed.height() * ratio)));
    if (m_strips.grid.isNull() || m_strips.grid.width() < pixels.width() || m_strips.grid.height() < pixels.height() ||
        m_strips.grid.devicePixelRatio() != ratio) {
        m_strips.grid = QImage(pixels, QImage::Format_RGB32);
        m_strips.grid.setDevicePixelRatio(ratio);
        for (QImage& layer : m_strips.stripLayers) {
            layer = QImage(pixels, QImage::Format_RGB32);
            layer.setDevicePixelRatio(ratio);
        }
    }
    FillLayers();

    const RemoteConfiguration& config = m_app.m_config;
    m_strips.grid.fill(ToQColor(config.backgroundColor));
    if (width > 0 && height > 0) {
        QPainter painter(&m_strips.grid);
        painter.setTransform(Anisotropic(200, 50, width, -height, 0, height));
        painter.setPen(HairlinePen(config.gridColor));
        for (int x = 0; x <= 200; x += 5)
            painter.drawLine(QPointF(x, 0), QPointF(x, 50));
        for (int y = 0; y <= 50; y += 5)
            painter.drawLine(QPointF(0, y), QPointF(200, y));
    }

    m_strips.sweep.State().ResetSweeps();
    ++m_repaint.layerRefreshes;
    return true;
}

int CQuorinView::LayerCount() const
{
    int count = 0;
    for (const QImage& layer : m_strips.stripLayers)
        count += layer.isNull() ? 0 : 1;
    return count;
}

QSize CQuorinView::StripLayerSize() const
{
    return m_strips.stripLayers[0].deviceIndependentSize().toSize();
}

double CQuorinView::StripLayerRatio() const
{
    return m_strips.stripLayers[0].devicePixelRatio();
}

void CQuorinView::RelayoutIfNeeded()
{
    m_plan.relayoutQueued = false;
    if (width() == m_plan.viewWidth && height() == m_plan.viewHeight && !m_plan.layoutRequested)
        return;
    m_plan.viewWidth = width();
    m_plan.viewHeight = height();
    m_plan.layoutRequested = false;
    LayoutNumerics();
    LayoutPanes();
}

void CQuorinView::paintEvent(QPaintEvent* event)
{
    // The controls are rebuilt outside the paint.
    if ((width() != m_plan.viewWidth || height() != m_plan.viewHeight || m_plan.layoutRequested) && !m_plan.relayoutQueued) {
        m_plan.relayoutQueued = true;
        QMetaObject::invokeMethod(this, &CQuorinView::RelayoutIfNeeded, Qt::QueuedConnection);
    }

    // These models' roles follow their feature bits from paint to paint;
    // the traces drawn so far stay.
    const int32_t kind = g_liveData.deviceKind;
    const StripRoles roles = m_strips.roles;
    if (kind == kDeviceMoval || kind == kDeviceSelvo || kind == kDeviceBrindle)
        AssignStripRoles();

    PaintPlan plan;
    plan.strips = PlanStrips(width(), height(), m_plan.metrics, m_plan.bandHeight, m_strips.roles.stripCount);
    const bool refreshed = PrepareStripLayers(plan.strips.strips[0]);
    const bool redrawn = PrepareBackdrops(plan.strips);
    // New roles, cleared layers or new backdrops show everywhere, not only
    // where this paint reaches: the whole view follows at once.
    if ((refreshed || redrawn || !(roles == m_strips.roles)) && event->region() != QRegion(rect()))
        QueueFullRepaint();

    plan.texts = BannerRows();
    if (const std::optional<RecordingLine> line = CurrentRecordingLine())
        for (PaneText& row : RecordingLineRows(*line))
            plan.texts.push_back(std::move(row));
    plan.textsArea = PaneTextsRect(plan.texts);

    // Only what the window system asks for is composed: after new frames,
    // the columns the sweeps wrote.
    QPainter target(this);
    for (const QRect& area : event->region()) {
        // One rectangle at a time, so that its copy to the screen is a
        // plain copy.
        target.setClipRect(area);
        CMemDC memory(target, area, Qt::black);
        Compose(memory, area, plan);
    }

    // The paint's other duties (timers, a failed recording's box, the
    // set-up commands) run after it.
    if (!m_timing.afterPaintQueued) {
        m_timing.afterPaintQueued = true;
        QMetaObject::invokeMethod(this, &CQuorinView::AfterPaint, Qt::QueuedConnection);
    }
}

void CQuorinView::Compose(CMemDC& memory, const QRect& area, const PaintPlan& plan)
{
    QPainter& painter = memory.Painter();
    const StripLayout& strips = plan.strips;
    const QColor separator = ToQColor(m_app.m_config.separatorColor);
    for (const LayoutRect& r : strips.separators)
        painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), separator);
    for (int k = 0; k < strips.count && k < int(m_strips.backdrops.size()); ++k) {
        const LayoutRect& s = strips.strips[k];
        const QRect strip(s.left, s.top, s.Width(), s.Height());
        const QRect backdrop = BackdropRect(strips, k);
        const QRect part = backdrop & area;
        if (part.isEmpty() || m_strips.backdrops[k].isNull())
            continue;
        painter.drawImage(QPointF(part.topLeft()), m_strips.backdrops[k],
                          ImagePixels(m_strips.backdrops[k], part.translated(-backdrop.topLeft())));
        const QRect traced = strip & area;
        if (!traced.isEmpty() && !m_strips.stripLayers[k].isNull())
            memory.PaintOr(traced.topLeft(), m_strips.stripLayers[k], traced.translated(-strip.topLeft()));
    }
    if (area.intersects(plan.textsArea))
        DrawPaneTexts(painter, plan.texts);
    const LayoutRect& bar = m_plan.layout.spo2BarRect;
    if (area.intersects(QRect(bar.left, bar.top, bar.Width(), bar.Height())))
        DrawPulseBar(painter);
    const QPoint menuOrigin = RemoteMenuOrigin();
    DrawRemoteMenu(painter, menuOrigin.x(), menuOrigin.y());
}

void CQuorinView::QueueFullRepaint()
{
    if (m_repaint.fullRepaintQueued)
        return;
    m_repaint.fullRepaintQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_repaint.fullRepaintQueued = false;
            update();
        },
        Qt::QueuedConnection);
}

void CQuorinView::DrawPulseBar(QPainter& painter)
{
    if ((g_liveData.featureBits & kFeatureSpO2) == 0)
        return;
    const LayoutRect& r = m_plan.layout.spo2BarRect;
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    const QColor color = ToQColor(0xFDFD2F);
    const QRect outline(r.left, r.top, r.Width(), r.Height());
    painter.fillRect(outline, Qt::black);
    painter.setPen(QPen(color, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outline.adjusted(1, 1, -1, -1));
    const double share = std::clamp(m_strips.maxPleth / 255.0, 0.0, 1.0);
    const int32_t height = int32_t(share * (r.Height() - 4));
    const int32_t bottom = r.bottom - 2;
    const int32_t top = std::max(bottom - height, r.top);
    painter.fillRect(QRect(r.left + 2, top, (r.right - 3) - (r.left + 2), bottom - top), color);
}

void CQuorinView::AfterPaint()
{
    m_timing.afterPaintQueued = false;
    const RemoteConfiguration& config = m_app.m_config;
    // The live timers start with the first paint of live data.
    if (m_connection.live == 0) {
        m_timing.timers->KillTimer(kTrendSampleTimer);
        m_timing.liveTimersStarted = false;
    } else if (!m_timing.liveTimersStarted) {
        m_timing.liveTimersStarted = true;
        m_timing.timers->SetTimer(kTrendSampleTimer, 2000);
        if (const int32_t autoTrend = LoadRelaxed(config.autoTrend); autoTrend != 0)
            m_timing.timers->SetTimer(kAutoTrendTimer, uint32_t(autoTrend) * 1000u);
    }
    // The CO2 probe's connection time, for the zero command.
    const uint32_t now = Tick();
    if ((g_liveData.featureBits & kFeatureCO2) != 0)
        m_gasProbe.probeConnectedMs = now - m_gasProbe.co2AbsentSince;
    else
        m_gasProbe.co2AbsentSince = now;
    CheckRecording();
    ApplyFeatureChange();
}
