// The printed report on an image and in a PDF, the print episode a print
// stores, and the review of stored episodes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <fstream>
#include <sys/stat.h>

#include "app/MenuCommands.h"
#include "platform/qt/HListBox.h"
#include "recording/qt/ReviewEpisodeDlg.h"
#include "tests/view/qt/ViewFixture.h"
#include "view/qt/PrintPainter.h"

namespace {

constexpr double kDpi = 300.0;

int Px(int32_t units)
{
    return int(units * kDpi / 2540.0);
}

QRect PxRect(const PrintRect& r, int slack)
{
    return QRect(QPoint(Px(r.left) - slack, Px(r.top) - slack), QPoint(Px(r.right) + slack, Px(r.bottom) + slack));
}

bool IsTrace(QRgb c)
{
    return qBlue(c) > 180 && qRed(c) < 150 && qGreen(c) < 150;
}

bool IsDark(QRgb c)
{
    return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110;
}

int CountIn(const QImage& image, const QRect& rect, bool (*match)(QRgb))
{
    int n = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += match(image.pixel(x, y)) ? 1 : 0;
    return n;
}

// A beat every 400 frames, a QRS spike on it.
void FillEcg(SampleFrame* frames, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        frames[i] = SampleFrame{};
        frames[i].ecg = int16_t(i % 400 < 8 ? 900 : 0);
        frames[i].flags = uint8_t(SampleFrame::kFlagEcgValid | (i % 400 == 0 ? SampleFrame::kFlagBeat : 0));
    }
}

}  // namespace

TEST(PrintPage, PageOneAt300DpiKeepsTracesInStripsAndTextInItsBlocks)
{
    RemoteConfiguration config;
    config.clinic = "Rexford Animal Clinic";
    config.phone = "555 0100";
    config.gridColor = 0x00C000;  // apart from the marks' grey
    CPatientInfo patient;
    patient.patientId = "Rex";
    std::vector<SampleFrame> frames(9600);
    FillEcg(frames.data(), frames.size());

    PrintReportInput in;
    in.config = &config;
    in.patient = &patient;
    in.frames = frames.data();
    in.frameCount = 9600;
    in.printCount = 9600;
    in.rMarker = true;
    in.values.deviceKind = kDeviceTarvik;
    in.values.featureBits = kFeatureEcg;
    in.makerLine = "Norq Technology Quorin 3.0";
    const PrintResources resources = MakePrintResources(false, QDir::tempPath() + "/no-logo-here");
    const PrintPage page = BuildPrintPage(in, PrintTextWidthOf(resources));

    QImage image(Px(in.paperWidth), Px(in.paperHeight), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintPrintPage(painter, page, resources, kDpi);
    }

    int inStrips = 0;
    for (const PrintRect& strip : page.strips)
        inStrips += CountIn(image, PxRect(strip, 2), IsTrace);
    EXPECT_GT(inStrips, 3000);
    // Above the footer, whose maker line is blue too.
    EXPECT_EQ(CountIn(image, QRect(0, 0, image.width(), Px(page.pageRect.bottom)), IsTrace), inStrips);

    // An R triangle over the first beat of each strip.
    for (const PrintRect& strip : page.strips) {
        const int32_t baseline = strip.bottom - 2500;
        const QRgb mark = image.pixel(Px(strip.left), Px(baseline - 2260));
        EXPECT_NEAR(qRed(mark), 0x40, 24);
        EXPECT_NEAR(qGreen(mark), 0x40, 24);
    }

    EXPECT_GT(CountIn(image, PxRect(page.practice, 0), IsDark), 200);
    EXPECT_GT(CountIn(image, PxRect(page.values, 0), IsDark), 200);
    EXPECT_GT(CountIn(image, PxRect(page.patient, 0), IsDark), 200);
    // Right of the practice block the header is blank.
    const QRect beside(QPoint(Px(page.practice.right) + 10, Px(page.practice.top)),
                       QPoint(Px(page.pageRect.right), Px(page.practice.bottom)));
    EXPECT_EQ(CountIn(image, beside, IsDark), 0);
}

class ViewPrint : public QuorinViewTest {
protected:
    CQuorinView& OpenPrintingView()
    {
        ViewServices services;
        services.makePrinter = [this] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(m_pdf);
            printer->setPageOrientation(m_orientation);
            return printer;
        };
        services.runPrintDialog = [this](QPrintDialog&) {
            ++m_printDialogs;
            return true;
        };
        services.runPreviewDialog = [this](QPrintPreviewDialog& dialog) {
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            ASSERT_NE(widget, nullptr);
            widget->updatePreview();
            m_previewPages = widget->pageCount();
        };
        CQuorinView& view = Open(800, 600, std::move(services));
        view.m_rec.startupPending = false;
        m_app.m_config.clinic = "Rexford Animal Clinic";
        m_app.m_config.twoPageReport = 1;
        g_liveData.sampleRate = 400;
        g_liveData.deviceKind = kDeviceTarvik;
        g_liveData.featureBits = kFeatureEcg;
        FillEcg(g_sampleRing.data(), g_sampleRing.size());
        g_liveData.ringWrapped = 1;
        g_liveData.ringWriteIndex = 20000;
        g_liveData.ringReadIndex = 20000;
        return view;
    }

    QString m_pdf = m_documents.path() + "/report.pdf";
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    int m_printDialogs = 0;
    int m_previewPages = 0;
};

TEST_F(ViewPrint, APrintGoesToPdfAndStoresOneEpisodeAPreviewNone)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    CQuorinView& view = OpenPrintingView();

    view.RunCommand(menu::kPrintPreview);
    EXPECT_EQ(m_previewPages, 2);
    ASSERT_TRUE(view.PrintWriters().WaitIdle(std::chrono::seconds(10)));
    EXPECT_TRUE(view.Recording().Episodes().empty());

    view.RunCommand(menu::kPrint);
    EXPECT_EQ(m_printDialogs, 1);
    ASSERT_TRUE(view.PrintWriters().WaitIdle(std::chrono::seconds(10)));
    ASSERT_EQ(view.Recording().Episodes().size(), 1u);
    const std::string stored = view.Recording().Episodes()[0].path;
    struct stat info {};
    ASSERT_EQ(::stat(stored.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, off_t(5080 + 4 * 19200 + 84));  // one print event

    QProcess process;
    process.start(pdftotext, {m_pdf, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Rexford Animal Clinic")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 2")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 2 of 2")));
    EXPECT_TRUE(text.contains(QStringLiteral("HR from ECG:")));
}

TEST_F(ViewPrint, EachOrientationPrintsThreeStripsAPageAllAboveTheFooter)
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (const QPageLayout::Orientation orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
        SCOPED_TRACE(orientation == QPageLayout::Portrait ? "portrait" : "landscape");
        m_orientation = orientation;
        m_view.reset();
        CQuorinView& view = OpenPrintingView();
        view.RunCommand(menu::kPrint);
        ASSERT_TRUE(view.PrintWriters().WaitIdle(std::chrono::seconds(10)));

        // Each word with its box, page by page, in points from the top left.
        QProcess process;
        process.start(pdftotext, {QStringLiteral("-bbox"), m_pdf, QStringLiteral("-")});
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString html = QString::fromUtf8(process.readAllStandardOutput());
        const QRegularExpression pageTag(QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
        const QRegularExpression wordTag(
            QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
        const QStringList pages = html.split(QStringLiteral("</page>"), Qt::SkipEmptyParts);
        int printed = 0;
        for (const QString& text : pages) {
            const QRegularExpressionMatch size = pageTag.match(text);
            if (!size.hasMatch())
                continue;
            ++printed;
            const double width = size.captured(1).toDouble();
            const double height = size.captured(2).toDouble();
            EXPECT_EQ(width > height, orientation == QPageLayout::Landscape);
            int seconds = 0;
            double lowestSeconds = 0.0;
            double footerTop = height;
            for (auto it = wordTag.globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch word = it.next();
                const double x0 = word.captured(1).toDouble();
                const double y0 = word.captured(2).toDouble();
                EXPECT_TRUE(x0 >= 0.0 && word.captured(3).toDouble() <= width && y0 >= 0.0 &&
                            word.captured(4).toDouble() <= height)
                    << word.captured(5).toStdString();
                if (word.captured(5) == QStringLiteral("seconds")) {
                    ++seconds;
                    lowestSeconds = std::max(lowestSeconds, word.captured(4).toDouble());
                }
                if (word.captured(5) == QStringLiteral("Page"))
                    footerTop = y0;
            }
            EXPECT_EQ(seconds, kPrintStripsPerPage);
            EXPECT_LT(lowestSeconds, footerTop);
        }
        EXPECT_EQ(printed, 2);
    }
}

TEST_F(ViewPrint, TheReviewProgramTheChosenEpisodeAndTheRemotesChoice)
{
    struct Case {
        const char* name;
        const char* programs;   // "T" Trellan, "V" Vospery
        int32_t reviewer;
        int32_t fromRemote;
        int pick;               // the line chosen in the dialog; -1 Cancel
        const char* started;    // nullptr: nothing started
        int opened;             // the episode given to it
        int32_t fromRemoteAfter;
        int dialogs;            // how often the dialog was shown
    };
    const Case cases[] = {
        {"only Trellan", "T", 0, 0, 1, "Trellan", 1, 0, 1},
        {"only Vospery", "V", 1, 0, 1, "Vospery", 1, 0, 1},
        {"both, Reviewer 1", "TV", 1, 0, 0, "Trellan", 0, 0, 1},
        {"both, Reviewer 0", "TV", 0, 0, 0, "Vospery", 0, 0, 1},
        {"none found", "", 1, 1, 0, nullptr, 0, 1, 0},
        {"from the remote the oldest opens", "T", 0, 1, 1, "Trellan", 0, 0, 0},
        {"Cancel starts nothing", "T", 0, 0, -1, nullptr, 0, 0, 1},
    };
    auto shell = std::make_shared<CScriptedShellLauncher>();
    CScriptedShellLauncher& launcher = *shell;
    ViewServices services;
    services.shell = shell;
    int dialogs = 0;
    int pick = 0;
    std::function<void()> whileOpen;
    services.runReviewDialog = [&](CReviewEpisodeDlg& dialog) {
        ++dialogs;
        if (whileOpen)
            whileOpen();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wireless Remote Review Episode"));
        if (pick < 0) {
            dialog.OnCancel();
        } else {
            dialog.List()->setCurrentRow(pick);
            dialog.OnOK();
        }
        return dialog.QDialog::result();
    };
    CQuorinView& view = Open(800, 600, std::move(services));
    const std::vector<episodeItemType> episodes = {
        {"05/06/2024 09:00:00  *ECG  Rex / Ann Kay", m_documents.path().toStdString() + "/Rex_Kay_1.qre"},
        {"05/06/2024 10:00:00  *ECG  Rex / Ann Kay", "/tmp/My Episodes/Rex \"Jr\" Kay.qre"},
    };
    for (const episodeItemType& item : episodes)
        view.Recording().AddEpisode(item);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString bin = m_documents.path() + "/bin-" + QString::number(&c - cases);
        ASSERT_TRUE(QDir().mkpath(bin));
        for (const char* name : {"Trellan", "Vospery"}) {
            if (std::string(c.programs).find(name[0]) == std::string::npos)
                continue;
            const std::string path = (bin + "/" + name).toStdString();
            std::ofstream(path) << "#!/bin/sh\n";
            ::chmod(path.c_str(), 0755);
        }
        m_app.FindEcgPrograms(bin.toStdString());
        m_app.m_config.reviewer = c.reviewer;
        view.m_remote.fromRemote = c.fromRemote;
        pick = c.pick;
        const std::size_t before = launcher.Requests().size();
        const int dialogsBefore = dialogs;

        view.RunCommand(menu::kReview);

        const auto requests = launcher.Requests();
        EXPECT_EQ(dialogs - dialogsBefore, c.dialogs);
        if (c.started == nullptr) {
            EXPECT_EQ(requests.size(), before);
        } else {
            ASSERT_EQ(requests.size(), before + 1);
            EXPECT_EQ(requests.back().file, (bin + "/" + c.started).toStdString());
            EXPECT_EQ(requests.back().arguments, std::vector<std::string>{episodes[std::size_t(c.opened)].path});
        }
        EXPECT_EQ(view.m_remote.fromRemote, c.fromRemoteAfter);
    }

    // A full list gains an episode while the dialog is open: the oldest
    // leaves it, and the line chosen still opens the file it showed.
    for (int i = 0; view.Recording().Episodes().size() < CLiveRecording::kMaxEpisodes; ++i)
        view.Recording().AddEpisode({"line " + std::to_string(i), "/episodes/" + std::to_string(i) + ".qre"});
    const std::string shown = view.Recording().Episodes()[5].path;
    whileOpen = [&] { view.Recording().AddEpisode({"new", "/episodes/new.qre"}); };
    pick = 5;
    view.RunCommand(menu::kReview);
    ASSERT_FALSE(launcher.Requests().empty());
    EXPECT_EQ(launcher.Requests().back().arguments, std::vector<std::string>{shown});
}

// The remote's flag belongs to the remote's own command: after a record
// from the remote, the review from the menu still offers the list.
TEST_F(ViewPrint, AfterARecordFromTheRemoteTheReviewShowsItsList)
{
    ViewServices services;
    services.shell = std::make_shared<CScriptedShellLauncher>();
    int dialogs = 0;
    services.runReviewDialog = [&](CReviewEpisodeDlg& dialog) {
        ++dialogs;
        dialog.OnCancel();
        return dialog.QDialog::result();
    };
    CQuorinView& view = Open(800, 600, std::move(services));
    view.m_rec.startupPending = false;
    g_liveData.deviceKind = kDeviceTarvik;
    view.Recording().AddEpisode({"05/06/2024 09:00:00  *ECG  Rex / Ann Kay", "/tmp/Rex_Kay_1.qre"});
    const QString bin = m_documents.path() + "/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    std::ofstream((bin + "/Trellan").toStdString()) << "#!/bin/sh\n";
    ::chmod((bin + "/Trellan").toUtf8().constData(), 0755);
    m_app.FindEcgPrograms(bin.toStdString());

    const struct {
        const char* name;
        std::function<void()> press;
    } records[] = {
        {"the record button", [&] { view.OnDefaultComMsg(DefaultComWParam(kComRemoteStatus, 10), 0); }},
        {"the menu's RECORD ECG",
         [&] {
             view.RemoteMenuStep(3);  // open, on EXIT...
             view.RemoteMenuStep(1);  // RECORD ECG
             view.RemoteMenuStep(3);
         }},
    };
    for (const auto& r : records) {
        SCOPED_TRACE(r.name);
        r.press();
        EXPECT_TRUE(view.IsRecording());
        const int before = dialogs;
        view.RunCommand(menu::kReview);
        EXPECT_EQ(dialogs - before, 1) << "the list is shown, not the oldest opened";
        view.RunCommand(menu::kRecord);
        ASSERT_TRUE(WaitForIdleRecorder(view.Recorder()));
    }
}
