#include "view/OutsideLaunches.h"

#include <cctype>
#include <cstdio>
#include <thread>

#include "app/NorqEventLogger.h"
#include "platform/Thread.h"

namespace {

// The words of each launch's texts.
struct LaunchWords {
    const char* notFound;       // 2
    const char* pathNotFound;   // 3
    const char* accessDenied;   // 5
    const char* badFormat;      // 11 (null: as any other)
    const char* sharing;        // 26
    const char* unknown;        // any other
};

constexpr char kOutOfMemory[] = "The operating system is out of memory or resources.\n";
constexpr char kNextTrying[] = "\nNext, trying the Norq website...";

const LaunchWords& WordsOf(LaunchKind kind)
{
    static const LaunchWords manual{
        "The Quorin Manual page was not found.\n",
        "The specified path for the Quorin Manual page was not found.\n",
        "The operating system denied access to the Quorin Manual page.\n",
        nullptr,
        "A sharing violation occurred when trying to open the Quorin Manual page.\n",
        "An unkown error occurred when trying to open the Quorin Manual page.\n",
    };
    static const LaunchWords guidelines{
        "The Monitoring Guidelines file was not found.\n",
        "The specified path for Monitoring Guidelines was not found.\n",
        "The operating system denied access to the Monitoring Guidelines file.\n",
        nullptr,
        "A sharing violation occurred when trying to open the Monitoring Guidelines file.\n",
        "An unkown error occurred when trying to open the Monitoring Guidelines file.\n",
    };
    static const LaunchWords support{
        "The Norq Support website was not found.\n",
        "The specified path for the Norq Support website was not found.\n",
        "The operating system denied access to the Norq Support website.\n",
        nullptr,
        "A sharing violation occurred when trying to open the Norq Support website.\n",
        "An unkown error occurred when trying to open the Norq Support website.\n",
    };
    static const LaunchWords quickSupport{
        "The TeamViewer QuickSupport file was not found.\n",
        "The specified path for TeamViewer QuickSupport was not found.\n",
        "The operating system denied access to the TeamViewer QuickSupport file.\n",
        "The TeamViewer QuickSupport file is invalid (non-Microsoft Win32 .exe or error in .exe image).\n",
        "A sharing violation occurred when trying to start the TeamViewer QuickSupport program.\n",
        "An unkown error occurred when trying to start the TeamViewer QuickSupport program.\n",
    };
    switch (kind) {
    case LaunchKind::Manual: return manual;
    case LaunchKind::Guidelines: return guidelines;
    case LaunchKind::SupportPage: return support;
    case LaunchKind::QuickSupport: break;
    }
    return quickSupport;
}

constexpr char kManualTag[] = "CQuorinView::IeManThread";
constexpr char kGuidelinesTag[] = "CQuorinView::IeGuidelinesThread";
constexpr char kSupportTag[] = "CQuorinView::IeNorqThread";
constexpr char kQuickSupportTag[] = "CQuorinView::QuickSupportThread";

std::string InFolder(const std::string& folder, const char* name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// Opens a local document; on failure the text is logged and shown.
int OpenDocumentOf(LaunchKind kind, const std::string& target, const char* tag, const char* logFormat,
                   const char* caption, ILaunchHost& host)
{
    const int result = host.Open(target);
    if (result > 32)
        return result;
    const std::string text = ShellErrorText(kind, result);
    LogEvent(tag, logFormat, text.c_str());
    host.ShowBox(text, caption, false);
    return result;
}

bool IsWebAddress(const std::string& word)
{
    const auto startsWith = [&](const char* scheme) {
        const std::string prefix(scheme);
        if (word.size() <= prefix.size())
            return false;
        for (size_t i = 0; i < prefix.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(word[i])) != prefix[i])
                return false;
        return true;
    };
    if (!startsWith("http://") && !startsWith("https://"))
        return false;
    for (const char c : word)
        if (static_cast<unsigned char>(c) < 0x21 || c == 0x7F)
            return false;
    return true;
}

}  // namespace

std::string ShellErrorText(LaunchKind kind, int result)
{
    const LaunchWords& words = WordsOf(kind);
    switch (result) {
    case 0: return kOutOfMemory;
    case 2: return words.notFound;
    case 3: return words.pathNotFound;
    case 5: return words.accessDenied;
    case 11:
        if (words.badFormat != nullptr)
            return words.badFormat;
        break;
    case 26: return words.sharing;
    default: break;
    }
    return words.unknown;
}

SupportAddress ReadSupportAddress(const std::string& path)
{
    SupportAddress builtIn{std::string(kNorqWebHost) + kSupportPath, false};
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        return builtIn;
    char word[200] = {};
    const bool read = std::fscanf(file, "%199s", word) == 1;
    if (std::fclose(file) != 0)
        LogEvent(kSupportTag, "The Support_URL.txt file would not close properly after opening it for reading.");
    // Only a web page opens from the file: a path there would start a
    // program.
    if (!read || !IsWebAddress(word)) {
        LogEvent(kSupportTag, "Support_URL.txt names no web address (\"%s\"); the Norq Support website opens instead.",
                 word);
        return builtIn;
    }
    return {word, true};
}

namespace LaunchThreads {

int IeManThread(const std::string& folder, ILaunchHost& host)
{
    OpenDocumentOf(LaunchKind::Manual, InFolder(folder, kManualFile), kManualTag,
                   "Error launching the Quorin Manual page: %s", "Open Quorin Manual Error", host);
    return 1;
}

int IeGuidelinesThread(const std::string& folder, ILaunchHost& host)
{
    OpenDocumentOf(LaunchKind::Guidelines, InFolder(folder, kGuidelinesFile), kGuidelinesTag,
                   "Error launching the Monitoring Guidelines file: %s", "Open Monitoring Guidelines Error", host);
    return 1;
}

int IeNorqThread(const std::string& folder, ILaunchHost& host)
{
    const SupportAddress address = ReadSupportAddress(InFolder(folder, kSupportUrlFile));
    OpenDocumentOf(LaunchKind::SupportPage, address.address, kSupportTag,
                   address.fromFile ? "Error launching the alternate Norq Support website: %s"
                                    : "Error launching the Norq Support website: %s",
                   "Open Norq Support Website Error", host);
    return 1;
}

int QuickSupportThread(const std::string& folder, ILaunchHost& host)
{
    constexpr char kCaption[] = "Launch TeamViewer Error";
    constexpr char kLogFormat[] = "Error launching TeamViewer: %s";
    const int result = host.Open(InFolder(folder, kQuickSupportFile));
    if (result > 32)
        return 1;
    if (result == 0) {
        LogEvent(kQuickSupportTag, kLogFormat, kOutOfMemory);
        host.ShowBox(kOutOfMemory, kCaption, false);
        return 1;
    }
    const std::string text = ShellErrorText(LaunchKind::QuickSupport, result) + kNextTrying;
    LogEvent(kQuickSupportTag, kLogFormat, text.c_str());
    host.ShowBox(text, kCaption, true);
    OpenDocumentOf(LaunchKind::QuickSupport, std::string(kNorqWebHost) + kQuickSupportPath, kQuickSupportTag,
                   kLogFormat, kCaption, host);
    return 1;
}

}  // namespace LaunchThreads

void StartLaunchThread(LaunchKind kind, std::string folder, std::shared_ptr<ILaunchHost> host)
{
    std::thread([kind, folder = std::move(folder), host = std::move(host)] {
        switch (kind) {
        case LaunchKind::Manual:
            SetThreadName("IeManThread");
            LaunchThreads::IeManThread(folder, *host);
            break;
        case LaunchKind::Guidelines:
            SetThreadName("IeGuidelinesThread");
            LaunchThreads::IeGuidelinesThread(folder, *host);
            break;
        case LaunchKind::SupportPage:
            SetThreadName("IeNorqThread");
            LaunchThreads::IeNorqThread(folder, *host);
            break;
        case LaunchKind::QuickSupport:
            SetThreadName("QuickSupportThread");
            LaunchThreads::QuickSupportThread(folder, *host);
            break;
        }
    }).detach();
}
