#include "platform/Thread.h"

#include <chrono>
#include <cstring>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

void SetThreadName(const char* name)
{
    if (name == nullptr || CurrentThreadId() == CurrentProcessId())
        return;
    char cut[16] = {};
    std::strncpy(cut, name, sizeof cut - 1);
    pthread_setname_np(pthread_self(), cut);
}

std::string GetThreadName()
{
    char name[16] = {};
    if (pthread_getname_np(pthread_self(), name, sizeof name) != 0)
        return {};
    return name;
}

uint32_t GetTickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint32_t CurrentProcessId()
{
    return static_cast<uint32_t>(::getpid());
}

uint32_t CurrentThreadId()
{
    return static_cast<uint32_t>(::syscall(SYS_gettid));
}

