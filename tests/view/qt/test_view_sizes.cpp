// The pane at the sizes of real screens, with the real fonts: every box
// shows the widest text it is to hold, and no two boxes cover each other.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>

#include "ViewFixture.h"
#include "view/qt/AnimateCtrl.h"
#include "view/qt/ColorStatic.h"

namespace {

// A box's text fits: on one line, or broken at blanks into the lines a
// box two lines high has.
bool Holds(const QLabel& box, const QString& text)
{
    const QFontMetrics metrics(box.font());
    if (!box.wordWrap())
        return metrics.horizontalAdvance(text) <= box.width() && metrics.height() <= box.height();
    // The bounding box is a pixel higher than its lines.
    const QRect needed = metrics.boundingRect(QRect(0, 0, box.width(), 10000), Qt::TextWordWrap, text);
    const int lines = needed.height() / metrics.lineSpacing();
    return needed.width() <= box.width() && lines * metrics.height() <= box.height();
}

// The blood-pressure pictures take turns in one place; the apnea mark lies
// over the rate on purpose.
bool SharesItsPlace(const CQuorinView& view, const QWidget* a, const QWidget* b)
{
    const QWidget* bp[] = {view.Animation(kBpPauseAnimation), view.Animation(kBpCycleAnimation),
                           view.Picture(kPictureBpOff)};
    auto isBp = [&](const QWidget* w) { return std::find(std::begin(bp), std::end(bp), w) != std::end(bp); };
    const QWidget* apnea = view.LimitBox(kApneaIndicatorBox);
    const QWidget* rate = view.ValueBox(kParamRespRate);
    return (isBp(a) && isBp(b)) || (a == apnea && b == rate) || (a == rate && b == apnea);
}

}  // namespace

TEST_F(QuorinViewTest, TheFullestPaneReadsAtEveryScreenSize)
{
    // The clients a 1024 x 600 to 1920 x 1080 screen leaves under the bars,
    // the smallest the frame allows, and narrow windows.
    const QSize sizes[] = {{1024, 512}, {1024, 680}, {1280, 712}, {1366, 680}, {1600, 812},
                           {1920, 992}, {kMinViewWidth, kMinViewHeight}, {800, 621}, {kMinViewWidth, 900}};
    m_app.m_config.showN2O = 1;
    m_app.m_config.alarms = 1;
    for (const QSize size : sizes) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        CQuorinView& view = Open(size.width(), size.height());
        g_liveData.deviceKind = kDeviceTarvikPlus;
        g_liveData.featureBits = 0x3FF;
        g_liveData.primaryAgent = 4;
        g_liveData.secondaryAgent = 5;
        view.LayoutNumerics();
        view.SetAlarmSilence(1);

        // Every box shown, with the widest text it is to show.
        for (int slot = 0; slot < kParameterCount; ++slot) {
            if (CColorStatic* box = view.ValueBox(slot))
                box->setText(slot == kParamTemperature || slot >= kParamCO2Ins ? "888.8" : "888");
        }
        for (int limit = 0; limit < kLimitBoxCount; ++limit) {
            if (CColorStatic* box = view.LimitBox(limit); box != nullptr && limit != kApneaIndicatorBox)
                box->setText("888.8");
        }
        view.SingleBoxAt(kBoxDate)->setText("Date: 88/88/8888 - 88:88:88");
        view.SingleBoxAt(kBoxStatusText)->setText("Alarm Tone Snooze");
        view.CaptionBox(kGroupHeartRate)->setText("  PR (bpm) - from SpO2");
        QList<QWidget*> shown;
        for (QWidget* child : view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const bool neverShown = child == view.SingleBoxAt(kBoxGain) || child == view.SingleBoxAt(kBoxFilter) ||
                                    child == view.SingleBoxAt(kBoxPatient);
            if (!child->isWindow() && !neverShown)
                shown.append(child);
        }

        auto name = [](const QWidget* w) {
            const auto* label = qobject_cast<const QLabel*>(w);
            return std::string(w->metaObject()->className()) + " \"" +
                   (label != nullptr ? label->text().toStdString() : std::string()) + "\"";
        };
        int smallest = 1000;
        for (QWidget* child : shown) {
            EXPECT_TRUE(view.rect().contains(child->geometry())) << name(child);
            if (auto* box = qobject_cast<CColorStatic*>(child)) {
                smallest = std::min(smallest, box->font().pixelSize());
                EXPECT_TRUE(Holds(*box, box->text())) << name(box) << " in " << box->width() << "x" << box->height();
            }
            for (QWidget* other : shown) {
                if (other < child && !SharesItsPlace(view, child, other)) {
                    EXPECT_FALSE(child->geometry().intersects(other->geometry()))
                        << name(child) << " / " << name(other);
                }
            }
        }
        EXPECT_GE(smallest, 7) << "the smallest letters still read";
    }
}
