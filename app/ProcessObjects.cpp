#include "app/ProcessObjects.h"

#include "platform/WindowMessages.h"

// Built top to bottom before main() runs; the sample ring and the outgoing
// message lock, which come between, need no construction.
ThemeApi g_themeApi;

const char kFileNameFilterPattern[] = "[^a-zA-Z0-9 \\-_]+";
const std::regex g_fileNameFilter(kFileNameFilterPattern);

const char kSingleInstanceName[] = "{167DBCB4-820B-4398-B399-AC4576A5D487}";
CSingleInstanceMutex g_singleInstanceMutex(kSingleInstanceName);
const int g_singleInstanceError = g_singleInstanceMutex.LastError();

CQuorinModule g_quorinModule;

const uint32_t g_wmUpdateConnectionStatus = RegisterWindowMessage("CDispView_UpdateConnectionStatus");
const uint32_t g_wmDisplayPar = RegisterWindowMessage("CDispView_DisplayPar");
const uint32_t g_wmResetWaveforms = RegisterWindowMessage("CDispView_ResetWaveforms");
const uint32_t g_wmInvalidate = RegisterWindowMessage("CDispView_Invalidate");
const uint32_t g_wmEnableAlarmTone = RegisterWindowMessage("CDispView_EnableAlarmTone");
const uint32_t g_wmSetDocumentTitle = RegisterWindowMessage("CDispView_SetDocumentTitle");
const uint32_t g_wmSetWindowText = RegisterWindowMessage("CDispView_SetWindowText");
const uint32_t g_wmCloseRecording = RegisterWindowMessage("CDispView_CloseRecording");
const uint32_t g_wmDefaultComMsg = RegisterWindowMessage("CSerialMoval_DefaultComMsg");
const uint32_t g_wmTermDlgNewString = RegisterWindowMessage("CTK_TERMDLG_NEWSTRING");
