// The texts a paint puts over the pane: the remote's stop, the banner and
// the recording line, each on its own background and as wide as it is.
#include <QFontMetrics>
#include <QPainter>

#include "app/QuorinAppCore.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"

namespace {

constexpr COLORREF kRecordingLineColor = 0x59FF3C;

QRect RowRect(const QFontMetrics& metrics, const PaneText& row)
{
    return QRect(row.left, row.top, metrics.horizontalAdvance(QString::fromStdString(row.text)), metrics.height());
}

}  // namespace

std::vector<PaneText> CQuorinView::BannerRows() const
{
    const int32_t x = m_plan.layout.bannerX;
    const int32_t y = m_plan.layout.bannerY;
    const int32_t h = m_plan.metrics.smallTextHeight;
    std::vector<PaneText> rows;
    if (m_remote.remoteStop)
        rows.push_back(PaneText{kFontCaption, x, y, " Remote Stop ", 0x40FFFF, 0xFF4040});
    if (m_remote.bannerShown && !m_remote.bannerText.empty())
        rows.push_back(PaneText{kFontCaption, x, y + int32_t(1.5 * h) + 5 * h, m_remote.bannerText, 0xFFFFFF, 0x0080FF});
    return rows;
}

std::optional<RecordingLine> CQuorinView::CurrentRecordingLine() const
{
    return m_rec.recording != nullptr ? m_rec.recording->Line(Now()) : std::nullopt;
}

std::array<PaneText, 3> CQuorinView::RecordingLineRows(const RecordingLine& line) const
{
    const int32_t x = m_plan.layout.bannerX;
    const int32_t h = m_plan.metrics.smallTextHeight;
    const int32_t top = m_plan.layout.bannerY + 2 * int32_t(1.5 * h);
    const COLORREF back = m_app.m_config.backgroundColor;
    return {PaneText{4, x, top, line.label, kRecordingLineColor, back},
            PaneText{5, x, top + h - 3, line.elapsed, kRecordingLineColor, back},
            PaneText{4, x, top + h - 3 + h + 1, line.fileName, kRecordingLineColor, back}};
}

QRect CQuorinView::PaneTextsRect(std::span<const PaneText> rows) const
{
    QRect rect;
    for (const PaneText& row : rows)
        rect |= RowRect(QFontMetrics(m_plan.fonts[row.font]), row);
    return rect;
}

void CQuorinView::DrawPaneTexts(QPainter& painter, std::span<const PaneText> rows)
{
    for (const PaneText& row : rows) {
        painter.setFont(m_plan.fonts[row.font]);
        const QRect box = RowRect(painter.fontMetrics(), row);
        painter.fillRect(box, ToQColor(row.backColor));
        painter.setPen(ToQColor(row.textColor));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(row.text));
    }
}
