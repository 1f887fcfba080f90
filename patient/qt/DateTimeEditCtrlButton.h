#pragma once
// The date field's own drop button, 16 pixels wide at the right: a drawn
// down arrow, or the bitmaps it was given (the disabled one while disabled,
// when there is one). It never takes the focus, which stays in the edit.
#include <QAbstractButton>
#include <QPixmap>

class CDateTimeEditCtrlButton : public QAbstractButton {
public:
    explicit CDateTimeEditCtrlButton(QWidget* parent = nullptr);

    // Null pixmaps: the drawn arrow.
    void SetImages(const QPixmap& normal, const QPixmap& disabled);
    bool HasImage() const { return !m_normal.isNull(); }
    // What the button shows in its present state; null for the drawn arrow.
    const QPixmap& ShownImage() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_normal;
    QPixmap m_disabled;
};

// The drop button's bitmaps by resource id (188 normal, 189 disabled), drawn
// here; null for any other id.
QPixmap DropButtonBitmap(int id);
