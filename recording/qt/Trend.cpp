#include "recording/qt/Trend.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

#include "app/ValueHelpers.h"
#include "link/LiveData.h"
#include "platform/qt/PushPinButton.h"
#include "platform/qt/ViewTimers.h"
#include "recording/TrendDrawing.h"

namespace {

// The dialog's layout, in pixels.
constexpr int kPlotLeft = 100;
constexpr int kPlotTop = 40;
constexpr int kPlotWidth = 676;
// Seven bands keep room for two value lines and a two-line caption each.
constexpr int kPlotHeight = 560;
// A wide caption may reach a little past the label strip.
constexpr int kLabelOverhang = 12;
constexpr int kDialogWidth = kPlotLeft + kPlotWidth + 14;
constexpr int kBarTop = kPlotTop + kPlotHeight + 6;
constexpr int kNoteTop = kBarTop + 24;
constexpr int kDialogHeight = kNoteTop + 44;
constexpr char kDashes[] = "------";

QColor Color(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

QString Text(const std::string& text)
{
    // Two-line texts keep the window system's line ends.
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel* MakeLabel(QWidget* parent, const char* id, const char* text, const QRect& where)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(id));
    label->setGeometry(where);
    return label;
}

}  // namespace

CTrend::CTrend(ITrendView& view, QWidget* parent) : QDialog(parent), m_view(view)
{
    setObjectName(QStringLiteral("540"));
    setWindowTitle(QStringLiteral("Trend Information"));
    setFixedSize(kDialogWidth, kDialogHeight);

    m_pin = new CPushPinButton(this);
    m_pin->setObjectName(QStringLiteral("1470"));
    m_pin->move(8, 8);
    m_endsAt = MakeLabel(this, "3640", "Displayed trend plot ends at", QRect(kPlotLeft, 10, 200, 20));
    m_endTime = new QLineEdit(this);
    m_endTime->setObjectName(QStringLiteral("3630"));
    m_endTime->setReadOnly(true);
    m_endTime->setAlignment(Qt::AlignCenter);
    m_endTime->setGeometry(kPlotLeft + 205, 8, 110, 24);
    m_afterConnection =
        MakeLabel(this, "3660", "after connection of Wireless Remote.", QRect(kPlotLeft + 325, 10, 300, 20));
    m_plotArea = new QWidget(this);
    m_plotArea->setObjectName(QStringLiteral("3600"));
    m_plotArea->setGeometry(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight);
    m_plotArea->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_bar = new QScrollBar(Qt::Horizontal, this);
    m_bar->setObjectName(QStringLiteral("3650"));
    m_bar->setGeometry(kPlotLeft, kBarTop, kPlotWidth, 18);
    m_bar->setAutoFillBackground(true);
    const QRect note(kPlotLeft, kNoteTop, kPlotWidth, 40);
    m_pastNote = MakeLabel(this, "3620",
                           "Displaying past trend information. Move bottom\n"
                           "bar to the right to display real time trend.",
                           note);
    m_liveNote = MakeLabel(this, "3670",
                           "Displaying real time trend. Move bottom\n"
                           "bar to the left to display past trend.",
                           note);
    connect(m_bar, &QScrollBar::actionTriggered, this, [this](int action) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub: OnHScroll(CTrendPlot::kLineLeft, 0); break;
        case QAbstractSlider::SliderSingleStepAdd: OnHScroll(CTrendPlot::kLineRight, 0); break;
        case QAbstractSlider::SliderPageStepSub: OnHScroll(CTrendPlot::kPageLeft, 0); break;
        case QAbstractSlider::SliderPageStepAdd: OnHScroll(CTrendPlot::kPageRight, 0); break;
        case QAbstractSlider::SliderMove: OnHScroll(CTrendPlot::kThumbTrack, m_bar->sliderPosition()); break;
        default: OnHScroll(CTrendPlot::kOtherCode, 0); break;
        }
    });
    m_timers = new CViewTimers([this](int id) { OnTimer(id); }, this);
    OnInitDialog();
}

CTrend::~CTrend() = default;

void CTrend::OnInitDialog()
{
    m_plot.Init(g_liveData.deviceKind, g_liveData.featureBits);
    m_endTime->setText(QString::fromLatin1(kDashes));
    m_bar->setRange(0, CTrendPlot::kLivePosition);
    m_bar->setSingleStep(1);
    m_bar->setPageStep(CTrendPlot::kPageStep);
    m_bar->setValue(CTrendPlot::kLivePosition);
    m_endsAt->show();
    m_afterConnection->show();
    m_endTime->show();
    m_pastNote->hide();
    m_liveNote->hide();
    m_bar->hide();
    m_timers->SetTimer(kCloseTimer, 100);
    m_timers->SetTimer(kRedrawTimer, 10);
    m_timers->SetTimer(kRescaleTimer, 2000);
    m_pin->SetOrientation(!m_pin->GetOrientation());
    m_pin->SetPinState();
    m_valueFont = QFont(QStringLiteral("Arial"));
    m_valueFont.setPixelSize(16);
    m_valueFont.setBold(true);
    m_noteFont = QFont(QStringLiteral("Arial"));
    m_noteFont.setPixelSize(14);
    m_noteFont.setBold(true);
    m_noteFont.setItalic(true);
    setWindowTitle(QString::fromStdString(m_view.WindowTitle() + " - Trend information"));
}

bool CTrend::TimerRunning(int id) const
{
    return m_timers->IsRunning(id);
}

QRect CTrend::ImageRect() const
{
    const int left = kTrendLabelStrip + kLabelOverhang;
    return QRect(kPlotLeft - left, kPlotTop, left + kPlotWidth, kPlotHeight);
}

void CTrend::OnTimer(int id)
{
    switch (id) {
    case kCloseTimer:
        if (m_plot.OnCloseTick(m_pin->IsPinned(), m_view.TrendOpen()))
            OnOK();
        break;
    case kRedrawTimer:
        DrawTrends();
        m_timers->KillTimer(kRedrawTimer);
        break;
    case kRescaleTimer:
        if (!m_view.TrendTimerOn())
            break;
        {
            int32_t scaled = m_view.TrendScaledIndex();
            if (m_plot.Rescale(m_view.TrendStore(), scaled))
                m_view.SetTrendScaledIndex(scaled);
        }
        DrawTrends();
        break;
    default: break;
    }
}

void CTrend::OnHScroll(CTrendPlot::ScrollCode code, int thumb)
{
    m_plot.Scroll(code, thumb);
    m_bar->setSliderPosition(m_plot.Position());
    // Each move repaints the bar, which asks for its colours: the mode
    // follows the position there.
    OnCtlColor();
}

void CTrend::OnCtlColor()
{
    if (!m_plot.Live()) {
        m_pastNote->show();
        m_liveNote->hide();
        m_timers->KillTimer(kRescaleTimer);
        m_pastShown = true;
        DrawTrends();
        PaintBar(false);
        return;
    }
    m_pastNote->hide();
    m_liveNote->show();
    m_timers->SetTimer(kRescaleTimer, 2000);
    PaintBar(true);
    // Back from the past: show the live plot now, not at the next rescale.
    if (m_pastShown) {
        m_pastShown = false;
        DrawTrends();
    }
}

void CTrend::PaintBar(bool live)
{
    // Only the trough takes the mode's colour; arrows and thumb keep the style's.
    const QColor color = Color(live ? kTrendLiveBarColor : kTrendPastBarColor);
    m_bar->setStyleSheet(QStringLiteral("QScrollBar:horizontal { background: %1; }").arg(color.name()));
}

void CTrend::ShowFullPlotControls()
{
    m_endsAt->show();
    m_afterConnection->show();
    m_endTime->show();
    if (m_bar->isHidden()) {
        m_bar->show();
        OnCtlColor();
    }
}

void CTrend::DrawTrends()
{
    const TrendChannels& channels = m_plot.Channels();
    const TrendGeometry geometry = MakeTrendGeometry(kPlotWidth, kPlotHeight, channels.count);
    QImage image(ImageRect().size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.translate(kPlotLeft - ImageRect().left(), 0);
    DrawGrid(painter, geometry);
    if (channels.count > 0) {
        DrawLabels(painter, geometry);
        const CTrendPlot::Shown shown = m_plot.Select(m_view.TrendStore(), m_view.ElapsedSeconds());
        m_endTime->setText(QString::fromStdString(FormatTimeSpan(shown.seconds)));
        if (shown.full)
            ShowFullPlotControls();
        DrawCurves(painter, geometry, shown);
    }
    painter.end();
    m_image = image;
    m_plot.DrawDone();
    update(ImageRect());
}

void CTrend::DrawGrid(QPainter& painter, const TrendGeometry& g)
{
    const QColor grey = Color(kTrendFrameColor);
    painter.setPen(QPen(grey, 4));
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(0, g.height), QPoint(g.width, g.height), QPoint(g.width, 0)}));
    painter.setFont(m_noteFont);
    for (int i = 0; i < g.count; ++i) {
        const int y = g.LowerLine(i);
        painter.setPen(QPen(grey, 4));
        painter.drawLine(0, y, g.width, y);
        painter.setPen(QPen(grey, 1));
        for (int t = 0; t < kTrendTicks; ++t)
            painter.drawLine(t * g.col, y, t * g.col, y - 10);
        painter.drawText(QRect(4, y - 16, 100, 14), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("minutes"));
    }
}

void CTrend::DrawLabels(QPainter& painter, const TrendGeometry& g)
{
    painter.setFont(m_valueFont);
    const int left = -kTrendLabelStrip;
    const int width = kTrendLabelStrip - kTrendLabelGap;
    const auto align = Qt::AlignRight | Qt::AlignVCenter;
    const TrendChannels& channels = m_plot.Channels();
    for (int i = 0; i < channels.count; ++i) {
        const TrendChannel& channel = channels.channel[std::size_t(i)];
        const TrendLabel label = TrendLabels(channel.type, channel.top, channel.bottom, g_liveData.heartRateSource,
                                             m_view.Units(), g_liveData.ambientPressure);
        painter.setPen(Color(TrendChannelColor(channel.type)));
        const QRect top(left, g.TopLabelY(i), width, kTrendLabelLine);
        const QRect bottom(left, g.BottomLabelY(i), width, kTrendLabelLine);
        painter.drawText(top, align, Text(label.top));
        painter.drawText(bottom, align, Text(label.bottom));
        painter.drawText(QRect(left, top.bottom() + 1, width, bottom.top() - top.bottom() - 1), align,
                         Text(label.caption));
    }
}

void CTrend::DrawCurves(QPainter& painter, const TrendGeometry& g, const CTrendPlot::Shown& shown)
{
    if (shown.count <= 0)
        return;
    const auto first = std::size_t(shown.first);
    const auto count = std::size_t(shown.count);
    const std::span<const uint8_t> flags = m_plot.SnapshotFlags().subspan(first, count);
    const TrendChannels& channels = m_plot.Channels();
    for (int i = 0; i < channels.count; ++i) {
        const TrendChannel& channel = channels.channel[std::size_t(i)];
        const std::span<const int16_t> samples = m_plot.Snapshot(channel.type).subspan(first, count);
        const std::vector<TrendPoint> points = TrendCurve(i, channel, samples, flags, g);
        const QPen pens[] = {QPen(Color(TrendChannelColor(channel.type)), 2), QPen(Color(kTrendMagenta), 2)};
        for (std::size_t k = 1; k < points.size(); ++k) {
            painter.setPen(pens[points[k].pen == TrendPen::kMagenta ? 1 : 0]);
            painter.drawLine(points[k - 1].x, points[k - 1].y, points[k].x, points[k].y);
        }
    }
}

void CTrend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_image.isNull())
        painter.drawImage(ImageRect().topLeft(), m_image);
}

void CTrend::OnSysColorChange()
{
    m_pin->SetPinState();
}

void CTrend::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        OnSysColorChange();
    QDialog::changeEvent(event);
}

void CTrend::OnOK()
{
    m_timers->KillTimer(kRedrawTimer);
    m_timers->KillTimer(kRescaleTimer);
    QDialog::accept();
}

void CTrend::OnCancel()
{
    QDialog::reject();
}

void CTrend::reject()
{
    OnCancel();
}

void CTrend::done(int result)
{
    // A closed window's timers end with it.
    m_timers->KillTimer(kCloseTimer);
    m_timers->KillTimer(kRedrawTimer);
    m_timers->KillTimer(kRescaleTimer);
    QDialog::done(result);
}
