#include "app/qt/MainWindowFactory.h"

#include <QMainWindow>

#include "app/qt/FontSubstitution.h"
#include "app/qt/MainFrame.h"
#include "app/qt/QuorinApp.h"
#include "recording/qt/Trend.h"
#include "view/qt/QuorinView.h"

QMainWindow* CreateMainWindow()
{
    // Before the first window measures any text.
    InstallFontSubstitutes();
    CQuorinAppCore* app = CQuorinAppCore::Instance();
    if (app == nullptr)
        return nullptr;
    CMainFrame* frame = CreateMainFrame();
    if (frame == nullptr)
        return nullptr;
    ViewServices services;
    services.frame = frame;
    // The application's poster outlives the view; a start-up without the
    // Qt application object (tests) lets the view keep its own.
    if (CQuorinApp* qtApp = CQuorinApp::Instance()) {
        services.poster = &qtApp->Poster();
        services.checkForUpdates = [qtApp] { qtApp->AutoCheckForUpdates(); };
        services.checkForUpdatesNow = [qtApp] { qtApp->CheckForUpdates(false); };
        services.about = [qtApp] { qtApp->OnAppAbout(); };
    }
    services.makeTrendWindow = [](ITrendView& source, QWidget* parent) -> QDialog* {
        return new CTrend(source, parent);
    };
    auto* view = new CQuorinView(*app, std::move(services), frame);
    view->setObjectName(QStringLiteral("view"));
    // The frame's minimum is the view's with the bars: fixed, so that the
    // window can always be made smaller down to it.
    view->setMinimumSize(kMinViewWidth, kMinViewHeight);
    frame->setCentralWidget(view);
    frame->SetCommandHandlers([view](std::uint32_t id) { view->OnCommand(id); },
                              [view] { view->UpdateCommandStates(); });
    view->OnInitialUpdate();
    view->UpdateCommandStates();
    return frame;
}
