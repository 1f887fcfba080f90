#pragma once
// The process-wide objects that exist before the application object starts
// and after it ends. They are all defined in ProcessObjects.cpp, in the order
// in which they are built; they are destroyed in the reverse order.
#include <cstdint>
#include <regex>

#include "app/ComModule.h"
#include "platform/SingleInstance.h"

// The visual-style library and five of its entry points. There is none on
// this platform: every pointer stays null, and users test each one.
struct ThemeApi {
    using Proc = void (*)();
    void* library = nullptr;
    Proc openThemeData = nullptr;
    Proc closeThemeData = nullptr;
    Proc drawThemeBackground = nullptr;
    Proc isAppThemed = nullptr;
    Proc getThemeBackgroundContentRect = nullptr;
};
extern ThemeApi g_themeApi;

// Characters removed from names used in file names.
extern const char kFileNameFilterPattern[];
extern const std::regex g_fileNameFilter;

// The mark of a running instance, and what making it said (183: another
// instance holds it).
extern const char kSingleInstanceName[];
extern CSingleInstanceMutex g_singleInstanceMutex;
extern const int g_singleInstanceError;

extern CQuorinModule g_quorinModule;

// Registered window messages.
extern const uint32_t g_wmUpdateConnectionStatus;  // "CDispView_UpdateConnectionStatus"
extern const uint32_t g_wmDisplayPar;              // "CDispView_DisplayPar"
extern const uint32_t g_wmResetWaveforms;          // "CDispView_ResetWaveforms"
extern const uint32_t g_wmInvalidate;              // "CDispView_Invalidate"
extern const uint32_t g_wmEnableAlarmTone;         // "CDispView_EnableAlarmTone"
extern const uint32_t g_wmSetDocumentTitle;        // "CDispView_SetDocumentTitle"
extern const uint32_t g_wmSetWindowText;           // "CDispView_SetWindowText"
extern const uint32_t g_wmCloseRecording;          // "CDispView_CloseRecording"
extern const uint32_t g_wmDefaultComMsg;           // "CSerialMoval_DefaultComMsg"
extern const uint32_t g_wmTermDlgNewString;        // "CTK_TERMDLG_NEWSTRING"
