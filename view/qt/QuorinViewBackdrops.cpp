// The strips' backdrops: each strip's label, grid and scale marks, drawn
// once into an image of the screen's density and copied under the traces
// by every paint.
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/StripLabels.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewMapping.h"

namespace {

// The rows under a strip that its marks reach into (the second ticks end on
// the separator's first row).
constexpr int kBackdropOverhang = 4;

const char* ProbeTextOf(int32_t code)
{
    switch (code) {
    case 4:
        return "Capnostat in Sleep Mode...";
    case 5:
        return "Zero in Progress...";
    case 6:
        return "Sensor Warm Up...";
    default:
        return nullptr;
    }
}

}  // namespace

BackdropState CQuorinView::CurrentBackdropState(const StripLayout& strips) const
{
    const RemoteConfiguration& config = m_app.m_config;
    const LiveData& live = g_liveData;
    BackdropState state;
    state.count = strips.count;
    std::copy(std::begin(strips.strips), std::end(strips.strips), state.strips.begin());
    std::copy(std::begin(strips.labels), std::end(strips.labels), state.labels.begin());
    state.separators = strips.separators;
    state.separatorColor = config.separatorColor;
    state.labelFontPixels = m_plan.fonts[kFontLabel].pixelSize();
    state.pixelRatio = devicePixelRatio();
    state.layerRefreshes = m_repaint.layerRefreshes;
    state.roles = m_strips.roles;
    state.deviceKind = live.deviceKind;
    state.featureBits = live.featureBits;
    state.gainIndex = m_gainIndex;
    state.grid = LoadRelaxed(config.grid);
    state.ecgSweep = LoadRelaxed(config.ecgSweep);
    state.co2Sweep = LoadRelaxed(config.co2Sweep);
    state.co2Scale = LoadRelaxed(config.co2Scale);
    state.co2Unit = LoadRelaxed(config.units[kUnitCO2]);
    const int32_t probe = g_gasStatus[8];
    state.probeText = g_gasStatus[9] == 2 && ProbeTextOf(probe) != nullptr ? probe : 0;
    return state;
}

QRect CQuorinView::BackdropRect(const StripLayout& strips, int k)
{
    const LayoutRect& s = strips.strips[k];
    const LayoutRect& l = strips.labels[k];
    const QRect area = QRect(s.left, s.top, s.Width(), s.Height()) | QRect(l.left, l.top, l.Width(), l.Height());
    return area.adjusted(0, 0, 0, kBackdropOverhang);
}

bool CQuorinView::PrepareBackdrops(const StripLayout& strips)
{
    const BackdropState state = CurrentBackdropState(strips);
    if (state == m_strips.backdropState && !m_strips.backdrops[0].isNull())
        return false;
    m_strips.backdropState = state;
    COLORREF color = 0;
    for (int k = 0; k < int(m_strips.backdrops.size()); ++k) {
        QImage& backdrop = m_strips.backdrops[k];
        if (k >= strips.count) {
            backdrop = QImage();
            continue;
        }
        const QRect area = BackdropRect(strips, k);
        backdrop = QImage(int(std::ceil(area.width() * state.pixelRatio)),
                          int(std::ceil(area.height() * state.pixelRatio)), QImage::Format_RGB32);
        backdrop.setDevicePixelRatio(state.pixelRatio);
        backdrop.fill(Qt::black);
        QPainter painter(&backdrop);
        painter.translate(-area.topLeft());
        // What lies under the rows below the strip.
        for (const LayoutRect& r : strips.separators)
            painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(state.separatorColor));
        DrawBackdrop(painter, k, strips, color, state);
    }
    return true;
}

void CQuorinView::DrawBackdrop(QPainter& painter, int k, const StripLayout& strips, COLORREF& color,
                               const BackdropState& state)
{
    const LayoutRect& s = strips.strips[k];
    const LayoutRect& l = strips.labels[k];
    // The label's colour passes on to the next strip without one.
    const StripLabel label = StripLabelFor(k, state.roles, state.deviceKind, state.featureBits, color);
    color = label.color;
    const QRect labelRect(l.left, l.top, l.Width(), l.Height());
    painter.fillRect(labelRect, ToQColor(color));
    if (!label.text.empty()) {
        painter.setFont(m_plan.fonts[kFontLabel]);
        painter.setPen(Qt::black);
        QString text = QString::fromStdString(label.text);
        text.remove(QLatin1Char('\r'));
        painter.drawText(labelRect, Qt::AlignCenter, text.trimmed());
    }
    if (state.grid != 0 && StripShowsGrid(k, state.roles, state.deviceKind, state.featureBits))
        painter.drawImage(QPointF(s.left, s.top), m_strips.grid, ImagePixels(m_strips.grid, QRect(0, 0, s.Width(), s.Height())));
    DrawScaleMarks(painter, k, s, state);
}

void CQuorinView::DrawScaleMarks(QPainter& painter, int strip, const LayoutRect& rect, const BackdropState& state)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    const int32_t kind = state.deviceKind;
    const bool co2 = (state.featureBits & kFeatureCO2) != 0;
    const bool brindle = kind == kDeviceBrindle;
    const bool respStrip = strip == state.roles.respStrip;
    const bool gasStrip = respStrip || strip == state.roles.o2Strip;
    const double c = rect.Height();
    // Over whatever places the painter's image on the view.
    const QTransform base = painter.transform();
    const QTransform mapping = Anisotropic(2000, 50, rect.Width(), -c, rect.left, rect.top + c / 2) * base;

    painter.save();
    painter.setTransform(mapping);
    painter.setPen(HairlinePen(0xFFFFFF));
    painter.setBrush(Qt::NoBrush);
    // Upright, at most as large as the captions whatever the strip's height.
    const int32_t largest = FontPixelSize(kFontCaption, m_plan.metrics.scale);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    auto drawText = [&](StripPoint at, int32_t units, const QString& text) {
        font.setPixelSize(ScaleTextPixels(rect.Height(), units, largest * units / kScaleTextUnits));
        const QFontMetrics metrics(font);
        const LayoutRect r = ScaleTextRect(rect, at, units, metrics.horizontalAdvance(text), metrics.height());
        painter.save();
        painter.setTransform(base);
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
    if (strip < state.roles.ecgStripCount)
        drawStep(EcgCalibrationPulse(state.gainIndex).step);
    else if (respStrip && (co2 || brindle))
        drawStep(Co2ScaleStep(kind, state.co2Scale != 0, state.co2Unit != 0));
    else if (brindle && strip == state.roles.o2Strip)
        drawStep(OscillometricScaleStep());

    const int32_t spacing = SecondTickSpacing(gasStrip, kind, state.ecgSweep, state.co2Sweep);
    for (int32_t x = 0; x <= 2000; x += spacing)
        painter.drawLine(QPointF(x, -25), QPointF(x, -23));
    drawText(SecondsTextAt(respStrip && co2), kScaleTextUnits, QStringLiteral("seconds"));

    if (const char* text = ProbeTextOf(state.probeText); respStrip && co2 && text != nullptr) {
        painter.setPen(Qt::red);
        drawText(kProbeTextAt, kProbeTextUnits, QString::fromLatin1(text));
    }
    painter.restore();
}
