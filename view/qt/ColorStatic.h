#pragma once
// A text box with its own background and text colours.
#include <QLabel>

#include "platform/ColorRef.h"

class CColorStatic : public QLabel {
    Q_OBJECT
public:
    explicit CColorStatic(QWidget* parent = nullptr);

    // Stores the colour and redraws at once.
    void SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }

    // Written directly by its owner, who then redraws the box.
    COLORREF m_textColor = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COLORREF m_bkColor;
};

QColor ToQColor(COLORREF color);
COLORREF ToColorRef(const QColor& color);
