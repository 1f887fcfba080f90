// The strip side of the view: the roles, the layers the waveforms are drawn
// into, and the paint that composes them.
#include <QFontMetrics>
#include <QMetaObject>
#include <QPainter>
#include <QPaintEvent>
#include <QPolygonF>

#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/StripLabels.h"
#include "view/qt/MemDC.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewMapping.h"
#include "view/qt/ViewTimers.h"

void CQuorinView::AssignStripRoles()
{
    m_roles = ::AssignStripRoles(g_liveData.deviceKind, g_liveData.featureBits, m_app.m_config);
}

void CQuorinView::FillLayers()
{
    const QColor background = ToQColor(m_app.m_config.backgroundColor);
    for (QImage& layer : m_stripLayers)
        if (!layer.isNull())
            layer.fill(background);
}

void CQuorinView::ResetWaveformStrips()
{
    AssignStripRoles();
    FillLayers();
    m_sweep.State().ResetSweeps();
}

void CQuorinView::PrepareStripLayers(const LayoutRect& stripRect)
{
    const int32_t width = std::max(stripRect.Width(), 0);
    const int32_t height = std::max(stripRect.Height(), 0);
    if (!m_grid.isNull() && width == m_layerWidth && height == m_layerHeight && !m_app.m_redrawLayers)
        return;
    m_app.m_redrawLayers = false;
    m_layerWidth = width;
    m_layerHeight = height;

    // Every strip has its layer whatever the current count (the model can
    // change), and a layer never is smaller than the strip (a screen can be
    // added after the sizes were taken).
    const QSize needed(std::max({m_maxStripWidth, width, 1}), std::max({m_maxStripHeight, height, 1}));
    if (m_grid.isNull() || m_grid.width() < needed.width() || m_grid.height() < needed.height()) {
        m_grid = QImage(needed, QImage::Format_RGB32);
        for (QImage& layer : m_stripLayers)
            layer = QImage(needed, QImage::Format_RGB32);
    }
    FillLayers();

    const RemoteConfiguration& config = m_app.m_config;
    m_grid.fill(ToQColor(config.backgroundColor));
    if (width > 0 && height > 0) {
        QPainter painter(&m_grid);
        painter.setTransform(Anisotropic(200, 50, width, -height, 0, height));
        painter.setPen(HairlinePen(config.gridColor));
        for (int x = 0; x <= 200; x += 5)
            painter.drawLine(QPointF(x, 0), QPointF(x, 50));
        for (int y = 0; y <= 50; y += 5)
            painter.drawLine(QPointF(0, y), QPointF(200, y));
    }

    m_sweep.State().ResetSweeps();
    ++m_layerRefreshes;
}

int CQuorinView::LayerCount() const
{
    int count = 0;
    for (const QImage& layer : m_stripLayers)
        count += layer.isNull() ? 0 : 1;
    return count;
}

QSize CQuorinView::StripLayerSize() const
{
    return m_stripLayers[0].size();
}

void CQuorinView::RelayoutIfNeeded()
{
    m_relayoutQueued = false;
    if (width() == m_viewWidth && height() == m_viewHeight && !m_layoutRequested)
        return;
    m_viewWidth = width();
    m_viewHeight = height();
    m_layoutRequested = false;
    LayoutNumerics(true);
    LayoutPanes();
}

void CQuorinView::paintEvent(QPaintEvent*)
{
    // The controls are rebuilt outside the paint.
    if ((width() != m_viewWidth || height() != m_viewHeight || m_layoutRequested) && !m_relayoutQueued) {
        m_relayoutQueued = true;
        QMetaObject::invokeMethod(this, &CQuorinView::RelayoutIfNeeded, Qt::QueuedConnection);
    }

    QPainter target(this);
    CMemDC memory(target, rect(), Qt::black);
    QPainter& painter = memory.Painter();
    m_firstPaint = false;

    // These models' roles follow their feature bits from paint to paint;
    // the traces drawn so far stay.
    const int32_t kind = g_liveData.deviceKind;
    if (kind == kDeviceMoval || kind == kDeviceSelvo || kind == kDeviceBrindle)
        AssignStripRoles();

    const StripLayout strips = PlanStrips(width(), height(), m_metrics, m_bandHeight, m_roles.stripCount);
    const QColor separator = ToQColor(m_app.m_config.separatorColor);
    for (const LayoutRect& r : strips.separators)
        painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), separator);
    PrepareStripLayers(strips.strips[0]);
    DrawStrips(painter, strips);
    DrawBanners(painter);
    DrawRecordingLine(painter);
    DrawPulseBar(painter);
    const QPoint menuOrigin = RemoteMenuOrigin();
    DrawRemoteMenu(painter, menuOrigin.x(), menuOrigin.y());

    // The paint's other duties (timers, a failed recording's box, the
    // set-up commands) run after it.
    if (!m_afterPaintQueued) {
        m_afterPaintQueued = true;
        QMetaObject::invokeMethod(this, &CQuorinView::AfterPaint, Qt::QueuedConnection);
    }
}

// Text on its own background, as wide as it is: the banners and the
// recording line over the pane.
void DrawTextOnBackground(QPainter& painter, int32_t left, int32_t top, const std::string& text,
                          COLORREF textColor, COLORREF backColor)
{
    const QString shown = QString::fromStdString(text);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box(left, top, metrics.horizontalAdvance(shown), metrics.height());
    painter.fillRect(box, ToQColor(backColor));
    painter.setPen(ToQColor(textColor));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

void CQuorinView::DrawBanners(QPainter& painter)
{
    const int32_t x = m_layout.bannerX;
    int32_t y = m_layout.bannerY;
    const int32_t h = m_metrics.smallTextHeight;
    painter.setFont(m_fonts[kFontCaption]);
    if (m_remoteStop)
        DrawTextOnBackground(painter, x, y, " Remote Stop ", 0x40FFFF, 0xFF4040);
    const int32_t step = int32_t(1.5 * h);
    if (m_bannerShown && !m_bannerText.empty())
        DrawTextOnBackground(painter, x, y + step + 5 * h, m_bannerText, 0xFFFFFF, 0x0080FF);
    y += 2 * step;
    m_recordingLineY = y;
}

void CQuorinView::DrawPulseBar(QPainter& painter)
{
    if ((g_liveData.featureBits & kFeatureSpO2) == 0)
        return;
    const LayoutRect& r = m_layout.spo2BarRect;
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    const QColor color = ToQColor(0xFDFD2F);
    const QRect outline(r.left, r.top, r.Width(), r.Height());
    painter.fillRect(outline, Qt::black);
    painter.setPen(QPen(color, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outline.adjusted(1, 1, -1, -1));
    const double share = std::clamp(m_maxPleth / 255.0, 0.0, 1.0);
    const int32_t height = int32_t(share * (r.Height() - 4));
    const int32_t bottom = r.bottom - 2;
    const int32_t top = std::max(bottom - height, r.top);
    painter.fillRect(QRect(r.left + 2, top, (r.right - 3) - (r.left + 2), bottom - top), color);
}

void CQuorinView::AfterPaint()
{
    m_afterPaintQueued = false;
    const RemoteConfiguration& config = m_app.m_config;
    // The live timers start with the first paint of live data.
    if (m_live == 0) {
        m_timers->KillTimer(kTrendSampleTimer);
        m_liveTimersStarted = false;
    } else if (!m_liveTimersStarted) {
        m_liveTimersStarted = true;
        m_timers->SetTimer(kTrendSampleTimer, 2000);
        if (const int32_t autoTrend = LoadRelaxed(config.autoTrend); autoTrend != 0)
            m_timers->SetTimer(kAutoTrendTimer, uint32_t(autoTrend) * 1000u);
    }
    // The CO2 probe's connection time, for the zero command.
    const uint32_t now = Tick();
    if ((g_liveData.featureBits & kFeatureCO2) != 0)
        m_probeConnectedMs = now - m_co2AbsentSince;
    else
        m_co2AbsentSince = now;
    CheckRecording();
    ApplyFeatureChange();
}

void CQuorinView::DrawStrips(QPainter& painter, const StripLayout& strips)
{
    const RemoteConfiguration& config = m_app.m_config;
    const int32_t kind = g_liveData.deviceKind;
    const uint16_t features = g_liveData.featureBits;
    const bool grid = LoadRelaxed(config.grid) != 0;
    COLORREF color = 0;
    for (int k = 0; k < strips.count; ++k) {
        const LayoutRect& s = strips.strips[k];
        const LayoutRect& l = strips.labels[k];
        const StripLabel label = StripLabelFor(k, m_roles, kind, features, color);
        color = label.color;
        const QRect labelRect(l.left, l.top, l.Width(), l.Height());
        painter.fillRect(labelRect, ToQColor(color));
        if (!label.text.empty()) {
            painter.setFont(m_fonts[kFontLabel]);
            painter.setPen(Qt::black);
            QString text = QString::fromStdString(label.text);
            text.remove(QLatin1Char('\r'));
            painter.drawText(labelRect, Qt::AlignCenter, text.trimmed());
        }
        const QRect stripRect(s.left, s.top, s.Width(), s.Height());
        if (grid && StripShowsGrid(k, m_roles, kind, features))
            painter.drawImage(stripRect.topLeft(), m_grid, QRect(0, 0, s.Width(), s.Height()));
        DrawScaleMarks(painter, k, s);
        if (k < static_cast<int>(m_stripLayers.size()) && !m_stripLayers[k].isNull())
            PaintOr(painter, stripRect.topLeft(), m_stripLayers[k], QRect(0, 0, s.Width(), s.Height()));
    }
}

void CQuorinView::DrawScaleMarks(QPainter& painter, int strip, const LayoutRect& rect)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    const RemoteConfiguration& config = m_app.m_config;
    const int32_t kind = g_liveData.deviceKind;
    const uint16_t features = g_liveData.featureBits;
    const bool co2 = (features & kFeatureCO2) != 0;
    const bool brindle = kind == kDeviceBrindle;
    const bool respStrip = strip == m_roles.respStrip;
    const bool gasStrip = respStrip || strip == m_roles.o2Strip;
    const double c = rect.Height();
    const QTransform mapping = Anisotropic(2000, 50, rect.Width(), -c, rect.left, rect.top + c / 2);

    painter.save();
    painter.setTransform(mapping);
    painter.setPen(HairlinePen(0xFFFFFF));
    painter.setBrush(Qt::NoBrush);
    // Upright, at most as large as the captions whatever the strip's height.
    const int32_t largest = FontPixelSize(kFontCaption, m_metrics.scale);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    auto drawText = [&](StripPoint at, int32_t units, const QString& text) {
        font.setPixelSize(ScaleTextPixels(rect.Height(), units, largest * units / kScaleTextUnits));
        const QFontMetrics metrics(font);
        const LayoutRect r = ScaleTextRect(rect, at, units, metrics.horizontalAdvance(text), metrics.height());
        painter.save();
        painter.resetTransform();
        painter.setFont(font);
        painter.drawText(QRect(r.left, r.top, r.Width(), r.Height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         text);
        painter.restore();
    };

    auto drawStep = [&](const ScaleStep& step) {
        QPolygonF line;
        for (const StripPoint& p : step.line)
            line.append(QPointF(p.x, p.y));
        painter.drawPolyline(line);
        drawText(step.textAt, kScaleTextUnits, QString::fromStdString(step.text));
    };
    if (strip < m_roles.ecgStripCount)
        drawStep(EcgCalibrationPulse(m_gainIndex).step);
    else if (respStrip && (co2 || brindle))
        drawStep(Co2ScaleStep(kind, LoadRelaxed(config.co2Scale) != 0, LoadRelaxed(config.units[6]) != 0));
    else if (brindle && strip == m_roles.o2Strip)
        drawStep(OscillometricScaleStep());

    const int32_t spacing = SecondTickSpacing(gasStrip, kind, LoadRelaxed(config.ecgSweep), LoadRelaxed(config.co2Sweep));
    for (int32_t x = 0; x <= 2000; x += spacing)
        painter.drawLine(QPointF(x, -25), QPointF(x, -23));
    drawText(SecondsTextAt(respStrip && co2), kScaleTextUnits, QStringLiteral("seconds"));

    if (respStrip && co2 && g_gasStatus[9] == 2) {
        const char* text = g_gasStatus[8] == 4 ? "Capnostat in Sleep Mode..."
                           : g_gasStatus[8] == 5 ? "Zero in Progress..."
                           : g_gasStatus[8] == 6 ? "Sensor Warm Up..."
                                                 : nullptr;
        if (text != nullptr) {
            painter.setPen(Qt::red);
            drawText(kProbeTextAt, kProbeTextUnits, QString::fromLatin1(text));
        }
    }
    painter.restore();
}
