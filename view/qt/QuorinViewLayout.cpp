// The numerics pane of the view: fonts at the view's scale, and the boxes,
// pictures and animations of the layout plan.
#include <QFontMetrics>
#include <QLabel>
#include <ctime>

#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "view/qt/AnimateCtrl.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"
#include "view/qt/ViewBitmaps.h"

namespace {

// The view's nine fonts, made at a scale for the layout to measure.
class CQtViewFonts : public IViewFonts {
public:
    explicit CQtViewFonts(std::array<QFont, kViewFontCount>& fonts) : m_fonts(fonts) {}

    void CreateAt(double scale) override
    {
        for (int i = 0; i < kViewFontCount; ++i) {
            QFont font(QString::fromLatin1(kViewFonts[i].face));
            font.setPixelSize(std::max(1, FontPixelSize(i, scale)));
            font.setBold(true);
            m_fonts[i] = font;
        }
    }
    int32_t TextWidth(int font, std::string_view text) const override
    {
        return QFontMetrics(m_fonts[font]).horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    int32_t TextHeight(int font, std::string_view) const override { return QFontMetrics(m_fonts[font]).height(); }
    int32_t LineHeight(int font) const override { return QFontMetrics(m_fonts[font]).height(); }

private:
    std::array<QFont, kViewFontCount>& m_fonts;
};

constexpr int kAnimationResources[kAnimationCount] = {kAnimationBpPause, kAnimationBpMeasuring, kAnimationConnecting};

}  // namespace

NumericsInput CQuorinView::LayoutInput() const
{
    const RemoteConfiguration& config = m_app.m_config;
    const LiveData& live = g_liveData;
    NumericsInput in;
    in.width = m_plan.viewWidth;
    in.height = m_plan.viewHeight;
    in.deviceKind = live.deviceKind;
    in.featureBits = live.featureBits;
    in.heartRateSource = live.heartRateSource;
    in.primaryAgent = live.primaryAgent;
    in.secondaryAgent = live.secondaryAgent;
    in.species = m_patient.info.speciesCode;
    const bool dental = live.dentalScalarRejection == 1;
    const int32_t gain = LoadRelaxed(config.gain[std::clamp(m_patient.info.speciesCode, 0, kSpeciesCount - 1)]);
    in.sweepGainText = FormatSweepGainText(LoadRelaxed(config.ecgSweep), gain, in.deviceKind, in.featureBits, dental);
    in.gainText = FormatGainText(gain, true, in.deviceKind, in.featureBits, dental);
    in.filterText = FormatFilterText(LoadRelaxed(config.bandwidth));
    in.dateText = FormatDateText(true, std::time(nullptr));
    in.speciesText = FormatSpeciesText(m_patient.info.speciesCode, true, m_patient.info.species, m_patient.info.breedNumber);
    in.patientId = PatientShownName(m_patient.info);
    in.snoozing = Snoozing();
    return in;
}

void CQuorinView::LayoutNumerics()
{
    // The fonts scale with the height: a window with none has no layout.
    if (m_plan.viewHeight <= 0 || m_plan.viewWidth <= 0)
        return;
    CQtViewFonts fonts(m_plan.fonts);
    ViewPlan plan = PlanView(fonts, LayoutInput(), logicalDpiY(), m_app.m_config);
    m_plan.metrics = plan.metrics;
    m_plan.layout = std::move(plan.layout);
    m_plan.bandHeight = m_plan.layout.bandHeight;

    DestroyNumerics();
    for (const PlannedBox& box : m_plan.layout.boxes)
        CreateBox(box);
    DropUnplannedControls();
    ShowToneIndicator();
    ShowBpPictures();
    update();
}

void CQuorinView::DestroyNumerics()
{
    auto clear = [](auto& boxes) {
        for (auto& box : boxes)
            delete box.data();
    };
    clear(m_pane.captionBoxes);
    clear(m_pane.valueBoxes);
    clear(m_pane.labelBoxes);
    clear(m_pane.limitBoxes);
    for (int i = 0; i < kSingleBoxCount; ++i)
        if (i != kBoxStatusText)
            delete m_pane.singleBoxes[i].data();
}

void CQuorinView::DropUnplannedControls()
{
    // A group that went takes its pictures with it.
    for (int i = 0; i < kPictureCount; ++i)
        if (m_plan.layout.Find(BoxKind::Picture, i) == nullptr)
            delete PictureSlot(i).data();
    for (int i = 0; i < kAnimationCount; ++i)
        if (m_plan.layout.Find(BoxKind::Animation, i) == nullptr)
            delete AnimationSlot(i).data();
    if (m_plan.layout.Find(BoxKind::Single, kBoxStatusText) == nullptr)
        delete m_pane.singleBoxes[kBoxStatusText].data();
}

void CQuorinView::ShowBpPictures()
{
    // One picture at a time in the place the three share.
    const BpPicture shown = m_bp.bpStatus.ShownPicture(m_bp.bpRunning != 0);
    auto animate = [](CAnimateCtrl* animation, bool on) {
        if (animation == nullptr)
            return;
        if (on) {
            animation->show();
            if (!animation->IsPlaying())
                animation->Play(true);
        } else if (animation->IsPlaying() || !animation->isHidden()) {
            animation->Stop();
            animation->hide();
        }
    };
    animate(m_pane.bpCycleAnim, shown == BpPicture::kMeasuring);
    animate(m_pane.bpPauseAnim, shown == BpPicture::kPause);
    if (m_pane.bpOffIcon != nullptr)
        m_pane.bpOffIcon->setVisible(shown == BpPicture::kBpOff);
}

// The pictures, the animations and the status box show state that nothing
// else would restore (the battery level shown, a measurement, a snooze, the
// connection): a relayout only moves them; they are made once.
void CQuorinView::CreateBox(const PlannedBox& box)
{
    const QRect rect(box.rect.left, box.rect.top, box.rect.Width(), box.rect.Height());
    if (box.kind == BoxKind::Picture) {
        QPointer<QLabel>& slot = PictureSlot(box.index);
        if (slot == nullptr) {
            auto* picture = new QLabel(this);
            picture->setAlignment(Qt::AlignCenter);
            switch (box.index) {
            case kPictureBeat: picture->setPixmap(m_pane.beatBitmap); break;
            case kPictureBpOff: picture->setPixmap(m_pane.bpOffBitmap); break;
            case kPictureBattery: picture->setPixmap(LoadIconResource(RemoteBatteryIconId(1))); break;
            default: break;
            }
            picture->setVisible(box.visible);
            slot = picture;
        }
        slot->setGeometry(rect);
        return;
    }
    if (box.kind == BoxKind::Animation) {
        QPointer<CAnimateCtrl>& slot = AnimationSlot(box.index);
        if (slot == nullptr) {
            auto* animation = new CAnimateCtrl(this);
            animation->Open(kAnimationResources[box.index]);
            animation->setVisible(box.visible);
            slot = animation;
        }
        slot->setGeometry(rect);
        return;
    }

    const bool statusBox = box.kind == BoxKind::Single && box.index == kBoxStatusText;
    CColorStatic* label = statusBox ? m_pane.singleBoxes[kBoxStatusText].data() : nullptr;
    const bool fresh = label == nullptr;
    if (fresh)
        label = new CColorStatic(this);
    label->setGeometry(rect);
    label->setFont(m_plan.fonts[box.font]);
    label->setAlignment(box.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    // A box two or more lines high breaks its text into them.
    label->setWordWrap(box.rect.Height() >= 2 * QFontMetrics(m_plan.fonts[box.font]).height());
    if (!fresh)
        return;
    label->setText(QString::fromUtf8(box.text.data(), qsizetype(box.text.size())));
    label->m_textColor = box.textColor;
    label->SetBkColor(box.backColor);
    label->setVisible(box.visible);
    switch (box.kind) {
    case BoxKind::Caption: m_pane.captionBoxes[box.index] = label; break;
    case BoxKind::Value: m_pane.valueBoxes[box.index] = label; break;
    case BoxKind::Label: m_pane.labelBoxes[box.index] = label; break;
    case BoxKind::Limit: m_pane.limitBoxes[box.index] = label; break;
    case BoxKind::Single: m_pane.singleBoxes[box.index] = label; break;
    default: break;
    }
}

CColorStatic* CQuorinView::ValueBox(int slot) const
{
    return slot >= 0 && slot < kParameterCount ? m_pane.valueBoxes[slot].data() : nullptr;
}

CColorStatic* CQuorinView::LimitBox(int box) const
{
    return box >= 0 && box < kLimitBoxCount ? m_pane.limitBoxes[box].data() : nullptr;
}

CColorStatic* CQuorinView::CaptionBox(int group) const
{
    return group >= 0 && group < kViewGroupCount ? m_pane.captionBoxes[group].data() : nullptr;
}

CColorStatic* CQuorinView::SingleBoxAt(int box) const
{
    return box >= 0 && box < kSingleBoxCount ? m_pane.singleBoxes[box].data() : nullptr;
}

QLabel* CQuorinView::Picture(int picture) const
{
    return picture >= 0 && picture < kPictureCount ? const_cast<CQuorinView*>(this)->PictureSlot(picture).data()
                                                   : nullptr;
}

CAnimateCtrl* CQuorinView::Animation(int animation) const
{
    return animation >= 0 && animation < kAnimationCount
               ? const_cast<CQuorinView*>(this)->AnimationSlot(animation).data()
               : nullptr;
}

QPointer<QLabel>& CQuorinView::PictureSlot(int picture)
{
    switch (picture) {
    case kPictureBeat: return m_pane.beatIcon;
    case kPictureTone: return m_pane.toneIndicator;
    case kPictureBpOff: return m_pane.bpOffIcon;
    default: return m_pane.batteryIcon;
    }
}

QPointer<CAnimateCtrl>& CQuorinView::AnimationSlot(int animation)
{
    switch (animation) {
    case kBpPauseAnimation: return m_pane.bpPauseAnim;
    case kBpCycleAnimation: return m_pane.bpCycleAnim;
    default: return m_pane.connectAnim;
    }
}
