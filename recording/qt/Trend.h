#pragma once
// "Trend Information": the trend channels of the connected remote over the
// last 15 minutes, live or scrolled back. It closes by itself after 15 s
// unless pinned, or when the view asks it to. Thin over CTrendPlot.
#include <QDialog>
#include <QFont>
#include <QImage>

#include "recording/TrendDrawing.h"
#include "recording/TrendPlot.h"
#include "recording/TrendView.h"

class CPushPinButton;
class CViewTimers;
class QLabel;
class QLineEdit;
class QScrollBar;
class QWidget;

class CTrend : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCloseTimer = 0;     // 100 ms
    static constexpr int kRedrawTimer = 1;    // 10 ms, once
    static constexpr int kRescaleTimer = 2;   // 2000 ms, live only

    explicit CTrend(ITrendView& view, QWidget* parent = nullptr);
    ~CTrend() override;

    void OnTimer(int id);
    void OnHScroll(CTrendPlot::ScrollCode code, int thumb);
    void OnOK();
    void OnCancel();

    const CTrendPlot& Plot() const { return m_plot; }
    // The plot area and the labels left of it, as last drawn.
    const QImage& Image() const { return m_image; }
    QRect ImageRect() const;
    CPushPinButton& Pin() const { return *m_pin; }
    bool TimerRunning(int id) const;

    void reject() override;
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnInitDialog();
    void OnCtlColor();
    void OnSysColorChange();
    void DrawTrends();
    void DrawGrid(QPainter& painter, const TrendGeometry& geometry);
    void DrawLabels(QPainter& painter, const TrendGeometry& geometry);
    void DrawCurves(QPainter& painter, const TrendGeometry& geometry, const CTrendPlot::Shown& shown);
    void ShowFullPlotControls();
    void PaintBar(bool live);

    ITrendView& m_view;
    CTrendPlot m_plot;
    CViewTimers* m_timers = nullptr;
    CPushPinButton* m_pin = nullptr;     // 1470
    QWidget* m_plotArea = nullptr;       // 3600
    QScrollBar* m_bar = nullptr;         // 3650
    QLineEdit* m_endTime = nullptr;      // 3630
    QLabel* m_endsAt = nullptr;          // 3640
    QLabel* m_afterConnection = nullptr; // 3660
    QLabel* m_pastNote = nullptr;        // 3620
    QLabel* m_liveNote = nullptr;        // 3670
    QFont m_valueFont;
    QFont m_noteFont;
    QImage m_image;
    bool m_pastShown = false;
};
