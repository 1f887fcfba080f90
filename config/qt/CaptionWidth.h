#pragma once
// A small dialog is never narrower than its caption with the title bar's
// buttons, so that the window manager does not cut the caption short.
#include <QFontMetrics>
#include <QWidget>

inline int CaptionWidth(const QWidget& dialog)
{
    constexpr int kTitleBarButtons = 110;
    return QFontMetrics(dialog.font()).horizontalAdvance(dialog.windowTitle()) + kTitleBarButtons;
}
