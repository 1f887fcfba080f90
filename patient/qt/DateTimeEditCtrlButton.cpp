#include "patient/qt/DateTimeEditCtrlButton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <algorithm>

namespace {

constexpr int kWidth = 16;
constexpr int kArrowSize = 7;

// The classic combo-box arrow: 7 pixels wide, 4 high.
void DrawClassicArrow(QPainter& painter, QPoint topLeft, const QColor& color)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    for (int row = 0; row < 4; ++row)
        painter.drawRect(topLeft.x() + row, topLeft.y() + row, kArrowSize - 2 * row, 1);
}

} // namespace

CDateTimeEditCtrlButton::CDateTimeEditCtrlButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    // A press on the button while the calendar is open only closes it.
    setAttribute(Qt::WA_NoMouseReplay);
}

void CDateTimeEditCtrlButton::SetImages(const QPixmap& normal, const QPixmap& disabled)
{
    m_normal = normal;
    m_disabled = disabled;
    update();
}

const QPixmap& CDateTimeEditCtrlButton::ShownImage() const
{
    return !isEnabled() && !m_disabled.isNull() ? m_disabled : m_normal;
}

QSize CDateTimeEditCtrlButton::sizeHint() const
{
    return QSize(kWidth, kWidth);
}

void CDateTimeEditCtrlButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton panel;
    panel.initFrom(this);
    panel.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &painter, this);

    // Pressed, the content moves by a pixel as on a push button.
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    const QPixmap& image = ShownImage();
    if (!image.isNull()) {
        const QSize size = image.deviceIndependentSize().toSize();
        painter.drawPixmap(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2) + shift, size),
                           image);
        return;
    }
    QStyleOption arrow;
    arrow.initFrom(this);
    const int side = std::min(9, std::min(width(), height()) - 4);
    arrow.rect = QRect((width() - side) / 2, (height() - side) / 2, side, side).translated(shift);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
}

QPixmap DropButtonBitmap(int id)
{
    if (id != 188 && id != 189)
        return QPixmap();
    QPixmap bitmap(kArrowSize + 1, 5);
    bitmap.fill(Qt::transparent);
    QPainter painter(&bitmap);
    if (id == 188) {
        DrawClassicArrow(painter, QPoint(0, 0), Qt::black);
    } else {
        // Disabled: grey, embossed with a white shadow.
        DrawClassicArrow(painter, QPoint(1, 1), Qt::white);
        DrawClassicArrow(painter, QPoint(0, 0), QColor(128, 128, 128));
    }
    return bitmap;
}
