// sim_remote: a remote to try the program by hand. See --help.
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <string>
#include <thread>
#include <vector>

#include "sim/tool/RemoteScript.h"
#include "sim/tool/RemoteSession.h"

int main(int argc, char** argv)
{
    const ParsedScript parsed = ParseRemoteScript(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::fputs(RemoteUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.script) {
        std::fprintf(stderr, "sim_remote: %s\n", parsed.error.c_str());
        return 2;
    }

    // Ctrl-C and SIGTERM end the run through a thread of their own, so the
    // link is removed and the line hung up as at a planned end.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);  // the run has ended by itself
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    RemoteSession session(*parsed.script, [](const std::string& line) {
        std::fputs((line + "\n").c_str(), stdout);
        std::fflush(stdout);
    });
    std::thread watcher([&] {
        int signal = 0;
        sigwait(&signals, &signal);
        session.Stop();
    });
    const bool ok = session.Run();
    pthread_kill(watcher.native_handle(), SIGUSR1);
    watcher.join();
    if (!ok) {
        std::fprintf(stderr, "sim_remote: %s\n", session.Error().c_str());
        return 1;
    }
    return 0;
}
