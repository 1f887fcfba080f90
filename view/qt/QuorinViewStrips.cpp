// The strip side of the view: the roles, the layers the waveforms are drawn
// into, and the paint that composes them.
#include <QMetaObject>
#include <QPainter>
#include <QPaintEvent>

#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/StripLabels.h"
#include "view/qt/MemDC.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewMapping.h"

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
    m_ecgSweepPos = 0;
    m_gasSweepPos = 0;
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

    m_ecgSweepPos = 0;
    m_gasSweepPos = 0;
    m_lastEcgPoint = m_lastSpo2Point = m_lastRespPoint = m_lastO2Point = QPoint();
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
        if (k < static_cast<int>(m_stripLayers.size()) && !m_stripLayers[k].isNull())
            PaintOr(painter, stripRect.topLeft(), m_stripLayers[k], QRect(0, 0, s.Width(), s.Height()));
    }
}
