// Printing in the view: the capture of the printed stretch, the print,
// preview and set-up commands, the job's steps over the page builder, the
// print episode; and the review of stored episodes.
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/MenuCommands.h"
#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "platform/qt/QtShellLauncher.h"
#include "recording/qt/ReviewEpisodeDlg.h"
#include "view/CommandRules.h"
#include "view/NumericFormat.h"
#include "view/qt/PrintPainter.h"
#include "view/qt/QuorinView.h"

using namespace menu;

namespace {

constexpr char kMessageCaption[] = "Quorin";
constexpr char kNoDefaultPrinterText[] =
    "No default printer is set up.\nChoose a printer with File, Print... to print the report.";
constexpr char kPrintFailedText[] = "The report could not be printed.\nCheck the printer.";
constexpr char kMakerLine[] = "Norq Technology Quorin ";

// The preview paints through an engine of its own; a real print job
// through the platform's printer engine.
bool PaintsPreview(QPrinter& printer)
{
    const QPaintEngine* engine = printer.paintEngine();
    if (engine == nullptr)
        return false;
    switch (engine->type()) {
    case QPaintEngine::Pdf:
    case QPaintEngine::Windows:
    case QPaintEngine::MacPrinter: return false;
    default: return true;
    }
}

// The part of the paper the printer reaches, from the paper's corner.
PrintRect PrintableArea(QPageLayout layout)
{
    layout.setUnits(QPageLayout::Millimeter);
    const QRectF paper = layout.fullRect();
    const QMarginsF edges = layout.minimumMargins();
    const auto units = [](double mm) { return int32_t(std::lround(mm * 100.0)); };
    return {units(edges.left()), units(edges.top()), units(paper.width() - edges.right()),
            units(paper.height() - edges.bottom())};
}

}  // namespace

// ---- The capture ----

void CQuorinView::CapturePrintData()
{
    if (m_verboseLogging != 0)
        LogEventText("CQuorinView::CapturePrintData", "Begin");
    const LiveData& live = g_liveData;
    const RemoteConfiguration& config = m_app.m_config;
    PrintCaptureInput in;
    in.writeIndex = live.ringWriteIndex.load(std::memory_order_acquire);
    in.readIndex = live.ringReadIndex.load(std::memory_order_relaxed);
    in.wrapped = live.ringWrapped != 0;
    in.sampleRate = live.sampleRate;
    in.featureBits = live.featureBits;
    in.ecgSweep = LoadRelaxed(config.ecgSweep);
    in.gainIndex = m_gainIndex;
    in.rMarker = LoadRelaxed(config.rMarker);
    in.twoPageReport = LoadRelaxed(config.twoPageReport) != 0;
    in.now = Now();

    CEcgEvent event;
    const int32_t cuff = LoadRelaxed(config.cuffSize[LimitSpecies(m_patient.info.speciesCode)]);
    event.Init(CEcgEvent::kPrint, live, uint8_t(cuff), 0, 0);
    // The snapshot gets its own copy first, so that the ring's copy placed
    // next is not printed twice.
    m_printing.print.Capture(g_sampleRing, g_printFrames, in, event);
    PlaceEvent(event);
}

// ---- The commands ----

QPrinter& CQuorinView::Printer()
{
    if (!m_printing.printer) {
        m_printing.printer = m_services.makePrinter ? m_services.makePrinter()
                                           : std::make_unique<QPrinter>(QPrinter::HighResolution);
        // The page is laid out from the paper's corner.
        m_printing.printer->setFullPage(true);
        m_printing.printer->setDocName(QStringLiteral("Quorin Waveform Report"));
    }
    return *m_printing.printer;
}

void CQuorinView::PrintCommand(uint32_t id)
{
    switch (id) {
    case kPrintSetup: {
        QPageSetupDialog dialog(&Printer(), this);
        if (m_services.runPageSetupDialog)
            m_services.runPageSetupDialog(dialog);
        else
            dialog.exec();
        break;
    }
    case kPrint:
    case kPrintDirect: {
        if (m_remote.remoteStop == 0)
            CapturePrintData();
        int pages = 0;
        if (!OnPreparePrinting(pages))
            break;
        QPrinter& printer = Printer();
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, pages);
        const bool ok =
            m_services.runPrintDialog ? m_services.runPrintDialog(dialog) : dialog.exec() == QDialog::Accepted;
        if (ok)
            RunPrintJob(printer, false);
        break;
    }
    case kPrintPreview:
    case kPrintPreviewFramework: {
        if (m_remote.remoteStop == 0)
            CapturePrintData();
        int pages = 0;
        if (!OnPreparePrinting(pages))
            break;
        QPrintPreviewDialog dialog(&Printer(), this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter* printer) { RunPrintJob(*printer, PaintsPreview(*printer)); });
        if (m_services.runPreviewDialog)
            m_services.runPreviewDialog(dialog);
        else
            dialog.exec();
        break;
    }
    case kPrintDefault: {
        // The remote's print button: its capture is made; no dialog.
        if (!m_printing.printer && !m_services.makePrinter && QPrinterInfo::defaultPrinter().isNull()) {
            LogEventText("CQuorinView::OnFilePrint", "No default printer");
            Prompter().MessageBox(kNoDefaultPrinterText, kMessageCaption, kMbOk | kMbIconWarning);
            break;
        }
        int pages = 0;
        if (OnPreparePrinting(pages))
            RunPrintJob(Printer(), false);
        break;
    }
    default:
        break;
    }
}

// ---- The job ----

bool CQuorinView::OnPreparePrinting(int& pageCount)
{
    if (m_verboseLogging != 0)
        LogEventText("CQuorinView::OnPreparePrinting", "Begin");
    pageCount = m_printing.print.PageCount();
    return m_printing.print.m_printCaptureValid;
}

void CQuorinView::RunPrintJob(QPrinter& printer, bool preview)
{
    const int pageCount = m_printing.print.PageCount();
    int from = 1;
    int to = pageCount;
    if (!preview && printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(pageCount, printer.toPage());
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        LogEventText("CQuorinView::OnPrint", "The printer refused the report");
        Prompter().MessageBox(kPrintFailedText, kMessageCaption, kMbOk | kMbIconWarning);
        return;
    }
    OnBeginPrinting(printer);
    for (int page = from; page <= to; ++page) {
        if (page > from)
            printer.newPage();
        OnPrint(painter, printer, page, pageCount, preview);
    }
    OnEndPrinting();
    painter.end();
}

void CQuorinView::OnBeginPrinting(QPrinter&)
{
    if (m_verboseLogging != 0)
        LogEventText("CQuorinView::OnBeginPrinting", "Begin");
    m_printing.printResources = std::make_unique<PrintResources>(MakePrintResources(m_app.IsDemoMode()));
}

void CQuorinView::OnPrint(QPainter& painter, QPrinter& printer, int page, int pageCount, bool preview)
{
    if (m_verboseLogging != 0)
        LogEventText("CQuorinView::OnPrint", "Begin");
    if (!preview && m_printing.print.m_printCaptureValid && !m_printing.print.m_printStored) {
        m_printing.print.m_printStored = true;
        StorePrintReport();
    }
    const CPrintCapture::Stretch stretch = m_printing.print.PageStretch(page);
    PrintReport(painter, printer, page, pageCount, stretch.first, stretch.count);
}

void CQuorinView::OnEndPrinting()
{
    if (m_verboseLogging != 0)
        LogEventText("CQuorinView::OnEndPrinting", "Begin");
    m_printing.printResources.reset();
}

void CQuorinView::PrintReport(QPainter& painter, QPrinter& printer, int page, int pageCount, uint32_t firstFrame,
                              uint32_t frameCount)
{
    if (m_verboseLogging != 0)
        LogEventText("CQuorinView::PrintReport", "Begin");
    if (!m_printing.printResources)
        OnBeginPrinting(printer);
    const PrintResources& resources = *m_printing.printResources;
    const QRectF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter);

    PrintReportInput in;
    in.paperWidth = int32_t(std::lround(paper.width() * 100.0));
    in.paperHeight = int32_t(std::lround(paper.height() * 100.0));
    in.printable = PrintableArea(printer.pageLayout());
    in.colour = printer.colorMode() == QPrinter::Color;
    in.logo = !resources.logo.isNull();
    in.demoPicture = m_app.IsDemoMode() && !resources.demoPicture.isNull();
    in.page = page;
    in.pageCount = pageCount;
    in.makerLine = kMakerLine + m_app.VersionText();
    in.frames = g_printFrames.data() + std::min<uint32_t>(firstFrame, kPrintFrameCount);
    in.first = firstFrame;
    in.frameCount = std::min<uint32_t>(frameCount, kPrintFrameCount - std::min<uint32_t>(firstFrame, kPrintFrameCount));
    in.printCount = m_printing.print.m_printCount;
    in.sampleRate = m_printing.print.m_printSampleRate;
    in.sweep = m_printing.print.m_printSweep;
    in.gainIndex = m_printing.print.m_printGainIndex;
    in.rMarker = m_printing.print.m_printRMarker != 0;
    in.co2Trace = (m_printing.print.m_printFeatureBits & kFeatureCO2) != 0;
    in.printTime = m_printing.print.m_printTime;
    in.values = PrintValues::FromLive(g_liveData);
    in.config = &m_app.m_config;
    in.patient = &m_patient.info;
    in.esophageal = m_remote.esophageal != 0;
    const PrintPage built = BuildPrintPage(in, PrintTextWidthOf(resources));
    PaintPrintPage(painter, built, resources, printer.resolution());
}

void CQuorinView::StorePrintReport()
{
    constexpr char kTag[] = "CQuorinView::StorePrintReport";
    if (m_verboseLogging != 0)
        LogEventText(kTag, "Begin");
    std::string folder = m_app.RecordFolder();
    if (!MakeRecordFolder(folder)) {
        folder = m_app.EpisodeFolder();
        if (!MakeRecordFolder(folder)) {
            LogEvent(kTag, "Even Default recording path \"%s\" is unavailable", folder.c_str());
            Prompter().MessageBox("Cannot save print episode.\nCheck user directory permissions.", kMessageCaption,
                                  kMbOk | kMbIconWarning);
            return;
        }
    }
    PrintEpisodeServices services;
    services.config = &m_app.m_config;
    services.live = &g_liveData;
    services.demoMode = m_app.IsDemoMode();
    services.files = m_services.recordFiles;
    services.writers = &m_printing.printWriters;
    services.addEpisode = [this](const episodeItemType& item) {
        if (m_rec.recording != nullptr)
            m_rec.recording->AddEpisode(item);
    };
    // The probe in use, as a live episode stores it.
    CQre3File::StorePrintEpisode(m_patient.info, folder, g_printFrames.data(), m_printing.print.m_printTime, m_remote.esophageal != 0,
                                 m_printing.print.m_printCount, services);
    UpdateCommandStates();
}

// ---- Review ----

IShellLauncher& CQuorinView::ShellLauncher()
{
    return *m_services.shell;
}

void CQuorinView::ReviewEpisode()
{
    OnReviewEpisode();
}

void CQuorinView::OnReviewEpisode()
{
    const int choice = ReviewProgram(m_app.EcgProgramsPresent(), LoadRelaxed(m_app.m_config.reviewer));
    if (choice == 0)
        return;
    const std::string program = choice == 1 ? m_app.TrellanPath() : m_app.VosperyPath();
    if (program.empty() || m_rec.recording == nullptr)
        return;

    // The list as the dialog shows it: an episode that ends while the
    // dialog is open must not shift the choice onto another file.
    const std::vector<episodeItemType> episodes = m_rec.recording->Episodes();
    CReviewEpisodeDlg dialog(this);
    dialog.autoSelect = m_remote.fromRemote != 0;
    dialog.episodes = &episodes;
    dialog.OnInitDialog();
    int code = 0;
    if (dialog.Ended())
        code = dialog.result();
    else
        code = m_services.runReviewDialog ? m_services.runReviewDialog(dialog) : dialog.exec();
    if (code != QDialog::Accepted || dialog.chosen < 0 || std::size_t(dialog.chosen) >= episodes.size())
        return;
    // One argument, as it stands: no shell reads it, so no quotes.
    const std::string path = episodes[std::size_t(dialog.chosen)].path;
    const int started = ShellLauncher().StartProgram(program, {path}, {});
    if (!ShellSucceeded(started))
        LogEvent("CQuorinView::OnReviewEpisode", "Cannot start %s for %s: code %d", program.c_str(), path.c_str(),
                 started);
    m_remote.fromRemote = 0;
}
