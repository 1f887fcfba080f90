// What a caller pays per line: formatting, one string and one short lock.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/NorqEventLogger.h"

namespace {

std::string TempFolder()
{
    char pattern[] = "/tmp/quorin_bench_logger_XXXXXX";
    return mkdtemp(pattern) != nullptr ? std::string(pattern) : std::string("/tmp");
}

void BM_Log(benchmark::State& state)
{
    const std::string folder = TempFolder();
    {
        CNorqEventLogger logger(folder);
        const std::string text = "Bad EcgZData msg length!  Defined Msg Length 0x50, Received Data Size 0x4f.";
        for (auto _ : state)
            logger.Log("CSerialMoval::ProcessMsgEcgZData", text);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Log);

void BM_LogFormat(benchmark::State& state)
{
    const std::string folder = TempFolder();
    {
        CNorqEventLogger logger(folder);
        int i = 0;
        for (auto _ : state)
            logger.LogFormat("CSerialMoval::OnEvent", "Received MsgDeviceState, ExtendedStatus = 0x%x.", ++i);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LogFormat);

} // namespace
