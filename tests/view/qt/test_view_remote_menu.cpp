// The remote menu in the view: drawn over the strips, driven by the link's
// button codes, closed by timer 2; and the airway adaptor's count with its
// dialog.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/SettingsNames.h"
#include "link/DecodeState.h"
#include "platform/MemoryProfileStore.h"
#include "tests/view/qt/ViewFixture.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/GasUsesDlg.h"

namespace {

class CountingDialogs : public CEscapedCommandDialogs {
public:
    bool BpCuff(int32_t) override
    {
        ++cuffAsked;
        return false;
    }
    int cuffAsked = 0;
};

class ViewRemoteMenu : public QuorinViewTest {
protected:
    void SetUp() override
    {
        QuorinViewTest::SetUp();
        m_app.SetRegistryKey(m_keys, kCompanyKey);
    }
    CQuorinView& OpenLive(int32_t kind, uint16_t features)
    {
        ViewServices services;
        services.tick = [this] { return m_now; };
        services.commandPause = [](uint32_t) {};
        services.dialogs = &m_dialogs;
        services.runGasUsesDialog = [this](CGasUses& dialog) {
            if (m_answerGas)
                m_answerGas(dialog);
        };
        CQuorinView& view = Open(1200, 800, std::move(services));
        g_liveData.deviceKind = kind;
        g_liveData.featureBits = features;
        view.m_connection.live = 1;
        view.LayoutNumerics();
        std::string stale;
        while (view.WriteQueue().Pop(stale)) {
        }
        return view;
    }
    void Button(CQuorinView& view, uint16_t code)
    {
        view.OnDefaultComMsg(kComRemoteStatus | (uintptr_t(code) << 16), 0);
    }
    std::vector<std::string> Queued(CQuorinView& view)
    {
        std::vector<std::string> texts;
        std::string text;
        while (view.WriteQueue().Pop(text))
            texts.push_back(text);
        return texts;
    }
    std::shared_ptr<CMemoryProfileStore> Store() { return m_keys.Key(SettingsScope::User, kProgramKey); }

    CMemorySettingsKeys m_keys;
    CountingDialogs m_dialogs;
    uint32_t m_now = 5000;
    std::function<void(CGasUses&)> m_answerGas;
};

QColor Pixel(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

}  // namespace

TEST_F(ViewRemoteMenu, DrawsTheBoxShadowTitleAndHighlightOverTheStrips)
{
    CQuorinView& view = OpenLive(kDeviceTarvikPlus, kFeatureEcg);
    Button(view, 3);
    const BoxMetrics& m = view.Metrics();
    ASSERT_GT(m.menuItemWidth, 0);
    const QPoint at = view.RemoteMenuOrigin();
    const int width = m.menuItemWidth + 8;
    const int step = m.menuItemHeight + 4;
    const int height = 14 * step + 4;  // thirteen items and the title
    ASSERT_LT(at.y() + height + 10, view.height());

    auto rowColour = [&](const QImage& image, int row) { return Pixel(image, at.x() + 5, at.y() + 5 + row * step); };
    QImage image = view.grab().toImage();
    EXPECT_EQ(Pixel(image, at.x() + 1, at.y() + 1), QColor(Qt::white));
    EXPECT_EQ(rowColour(image, 0), QColor(0xFF, 0x80, 0x00));        // the title
    EXPECT_EQ(rowColour(image, 13), QColor(0x80, 0x80, 0x80));       // EXIT highlighted
    EXPECT_EQ(rowColour(image, 1), QColor(Qt::white));
    // The darkest copy lies nearest; the lightest shows only at its edge.
    EXPECT_EQ(Pixel(image, at.x() + width + 2, at.y() + 20), QColor(158, 158, 158));
    EXPECT_EQ(Pixel(image, at.x() + width + 9, at.y() + 20), QColor(203, 203, 203));
    EXPECT_EQ(Pixel(image, at.x() + 20, at.y() + height + 9), QColor(203, 203, 203));
    EXPECT_NE(Pixel(image, at.x() + width + 11, at.y() + 20), QColor(203, 203, 203));

    Button(view, 2);  // next wraps to the first item
    image = view.grab().toImage();
    EXPECT_EQ(rowColour(image, 1), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(rowColour(image, 13), QColor(Qt::white));

    Button(view, 1);
    Button(view, 3);  // EXIT
    image = view.grab().toImage();
    EXPECT_NE(Pixel(image, at.x() + 1, at.y() + 1), QColor(Qt::white));
}

TEST_F(ViewRemoteMenu, TimerTwoClosesItTenSecondsAfterTheLastButtonAcrossTheWrap)
{
    m_now = 0xFFFFFFFFu - 3000u;
    CQuorinView& view = OpenLive(kDeviceMoval, kFeatureEcg);
    Button(view, 3);
    ASSERT_TRUE(view.RemoteMenuState().IsShown());
    EXPECT_EQ(view.RemoteMenuState().menuDescriptor->count, 12);
    m_now += 10000;
    view.OnTimer(2);
    EXPECT_TRUE(view.RemoteMenuState().IsShown());
    m_now += 1;
    view.OnTimer(2);
    EXPECT_FALSE(view.RemoteMenuState().IsShown());
    // A connect closes it too.
    Button(view, 3);
    view.OnFileConnect();
    EXPECT_FALSE(view.RemoteMenuState().IsShown());
}

TEST_F(ViewRemoteMenu, CuffChoiceStartsTheMeasurementWithoutTheCuffDialog)
{
    CQuorinView& view = OpenLive(kDeviceTarvikPlus, kFeatureEcg | kFeatureNibp);
    view.m_patient.info.speciesCode = 1;
    m_app.m_config.cuffSize[1] = 4;
    view.m_bp.bpCuffAsked = 1;
    Button(view, 11);
    ASSERT_TRUE(view.RemoteMenuState().IsShown());
    EXPECT_EQ(view.RemoteMenuState().menuItem, 4);
    Button(view, 1);
    Button(view, 1);
    Button(view, 3);  // "#3"
    EXPECT_FALSE(view.RemoteMenuState().IsShown());
    EXPECT_EQ(m_app.m_config.cuffSize[1], 2);
    EXPECT_EQ(m_dialogs.cuffAsked, 0);
    EXPECT_EQ(view.m_bp.bpRunning, 1);
    const std::vector<std::string> queued = Queued(view);
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].rfind("sp 2 ", 0), 0u) << queued[0];
    EXPECT_EQ(queued[1], "bp 1\r");

    // The button again stops it.
    Button(view, 11);
    EXPECT_EQ(view.m_bp.bpRunning, 0);
    EXPECT_EQ(Queued(view), std::vector<std::string>{"bp 0\r"});
    EXPECT_FALSE(view.RemoteMenuState().IsShown());
}

TEST_F(ViewRemoteMenu, SpeciesItemSetsTheRecordAndCaption)
{
    CQuorinView& view = OpenLive(kDeviceTarvik, kFeatureEcg);
    view.m_patient.info.breed = "Beagle";
    view.m_patient.info.breedNumber = "12";
    Button(view, 3);
    Button(view, 2);
    Button(view, 3);  // SPECIES...
    Button(view, 2);
    Button(view, 2);
    Button(view, 3);  // FELINE
    EXPECT_EQ(view.m_patient.info.speciesCode, 1);
    EXPECT_EQ(view.m_patient.info.species, "Feline");
    EXPECT_EQ(view.m_patient.info.breed, "");
    EXPECT_EQ(view.m_patient.info.breedNumber, "");
    EXPECT_EQ(view.SingleBoxAt(kBoxSpecies)->text().toStdString(), "Species: Feline");
    EXPECT_EQ(view.RemoteMenuState().menuDescriptor->title, std::string("REMOTE MENU"));
}

TEST_F(ViewRemoteMenu, GasCountStoredEverywhereAndTheDialogAtFive)
{
    CQuorinView& view = OpenLive(kDeviceTarvikPlus, kFeatureEcg | kFeatureCO2);
    struct Case {
        int32_t before;
        bool replace, ok;
        int32_t after;
        const char* shown;
    };
    const Case cases[] = {
        {5, false, false, 4, "You have 5 uses remaining"},  // Escape keeps the decrease
        {1, true, true, 20, "You have 1 uses remaining"},
    };
    for (const Case& c : cases) {
        m_app.m_config.gasProbeUses = c.before;
        std::string shown;
        m_answerGas = [&](CGasUses& dialog) {
            shown = dialog.findChild<QLineEdit*>("4000")->text().toStdString();
            EXPECT_TRUE(dialog.findChild<QLineEdit*>("4000")->isReadOnly());
            EXPECT_TRUE(dialog.LaterRadio()->isChecked());
            if (c.replace)
                dialog.ReplacedRadio()->click();
            EXPECT_EQ(dialog.LaterRadio()->isChecked(), !c.replace);
            if (c.ok)
                dialog.accept();
            else
                dialog.reject();
        };
        view.CountGasProbeUse();
        EXPECT_EQ(shown, c.shown) << c.before;
        EXPECT_EQ(m_app.m_config.gasProbeUses, c.after) << c.before;
        EXPECT_EQ(m_app.m_storedConfig.gasProbeUses, c.after) << c.before;
        EXPECT_EQ(Store()->GetProfileInt(kSectionValues, kValueGasProbeUses, -99), c.after) << c.before;
    }
}

TEST(GasUsesDialog, ShowsTheReorderFileAsPlainTextAndFitsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("CO2_Reorder.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<b>x</b>\r\nCall 555\r\n");
    file.close();
    CGasUses dialog(3, path.toStdString());
    auto* reorder = dialog.findChild<QLabel*>("1347");
    ASSERT_NE(reorder, nullptr);
    EXPECT_EQ(reorder->text(), QString("<b>x</b>\nCall 555\n"));
    EXPECT_EQ(reorder->textFormat(), Qt::PlainText);
    EXPECT_EQ(dialog.windowTitle(), QString("Airway Adaptor Status"));
    EXPECT_EQ(dialog.Uses(), 2);
    dialog.adjustSize();
    EXPECT_GE(dialog.width(), reorder->sizeHint().width());

    // A long file scrolls inside a dialog that stays on a small screen.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (int i = 0; i < 70; ++i)
        file.write(QByteArray("A long line of the reorder file that goes on and on, number ") + QByteArray::number(i) +
                   "\r\n");
    file.close();
    CGasUses big(3, path.toStdString());
    big.adjustSize();
    EXPECT_LT(big.height(), 600);
    EXPECT_LT(big.width(), 900);
    const QString cut = big.findChild<QLabel*>("1347")->text();
    EXPECT_LE(cut.size(), qsizetype(kReorderTextLimit));
    EXPECT_FALSE(cut.contains("number 69"));
    EXPECT_FALSE(cut.contains('\r'));
}
