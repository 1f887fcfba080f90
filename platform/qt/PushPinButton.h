#pragma once
// The push-pin toggle of the trend window: a click flips it between pinned
// and unpinned; while the button is held the pin shows what a release
// would make of it.
#include <QAbstractButton>
#include <QImage>
#include <QRect>

class QPainter;

class CPushPinButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CPushPinButton(QWidget* parent = nullptr);

    bool IsPinned() const { return m_bPinned; }
    void SetPinned(bool pinned);
    // Chosen by the owner; SetPinState puts a change into effect.
    bool GetOrientation() const { return m_bOrientation; }
    void SetOrientation(bool vertical) { m_bOrientation = vertical; }
    bool IsTracking() const { return m_bTracking; }
    bool IsPointerInside() const { return m_bPointerInside; }

    void LoadPinBitmaps();
    void SetPinState();
    void FitToBitmap();
    // The mouse grab went elsewhere (the window was deactivated, a popup
    // opened): stop tracking without touching the pin.
    void OnCaptureChanged();

    const QImage& PinnedBitmap() const { return m_pinnedBitmap; }
    const QImage& UnpinnedBitmap() const { return m_unpinnedBitmap; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Qt's mouse events, each handled as the named handler below.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void PreSubclassWindow();
    void DrawItem(QPainter& painter) const;
    void OnLButtonDown();
    void OnMouseMove(const QPoint& point);
    void OnLButtonUp(const QPoint& point);

    bool m_bPinned = false;
    bool m_bPointerInside = false;
    bool m_bOrientation = false;
    QImage m_pinnedBitmap;
    QImage m_unpinnedBitmap;
    QRect m_rect;
    bool m_bTracking = false;
};
