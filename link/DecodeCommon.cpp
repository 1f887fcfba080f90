#include "link/DecodeCommon.h"

#include "link/BeatMarks.h"
#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "link/WireFields.h"
#include "platform/Thread.h"

#include <cstdio>

bool EcgSignalValid()
{
    if (g_liveData.dentalScalarRejection == 1)
        return true;
    return (g_liveData.statusFlags & (1u << 14)) != 0;
}

void EcgStep(SampleFrame& frame, int16_t sample, bool valid)
{
    g_beatFlag = 0;
    g_qrsOutput = 0;
    frame.ecg = DeriveHeartRate(sample, valid);
    g_liveData.hrFromEcg = valid ? int16_t(g_heartRate) : int16_t(0);
    if (g_beatFlag == 1 && valid)
        MarkBeatAtNewestSample();
    frame.flags = (g_liveData.dentalScalarRejection == 1 || valid) ? SampleFrame::kFlagEcgValid : 0;
}

void FilterRespiration(const uint8_t* wire, int16_t out[kSlowValues])
{
    const bool rejecting = g_liveData.dentalScalarRejection == 1;
    for (int i = 0; i < kSlowValues; ++i) {
        const int16_t value = rejecting ? int16_t(0) : ReadLeI16(wire + 2 * i);
        const int16_t filtered = DeriveRespirationRate(value);
        out[i] = rejecting ? int16_t(0) : filtered;
    }
}

int16_t RateOrZero(int32_t rate)
{
    return rate >= 1 && rate <= 800 ? int16_t(rate) : int16_t(0);
}

void CloseCycle(DecodeState& state, uint16_t value, bool allowInvalidate)
{
    if (g_liveData.startupCountdown > 0) {
        g_liveData.startupCountdown = g_liveData.startupCountdown - 1;
        return;
    }
    PostDefaultCom(state, kComNewData, value);
    if (allowInvalidate && state.invalidatePending != 0) {
        PostInvalidateToView(state);
        state.invalidatePending = 0;
    }
}

void PostStatusCode(DecodeState& state, int code)
{
    if (code > 0)
        PostDefaultCom(state, kComRemoteStatus, uint16_t(code));
}

void MarkGoodPacket()
{
    g_liveData.lastPacketTick = GetTickCount();
    g_liveData.packetReceived = 1;
}

bool CheckMessageLength(DecodeState& state, const char* tag, const char* badLengthFormat, int expected,
                        int received, bool clearsPacketReceived)
{
    if (received == expected)
        return true;
    char text[255] = {};
    std::snprintf(text, sizeof text, badLengthFormat, unsigned(expected), unsigned(received));
    DecodeLog(state, tag, text);
    if (clearsPacketReceived)
        g_liveData.packetReceived = 0;
    return false;
}

void SelvoCheck(DecodeState& state, const char* tag, bool lineEnd)
{
    if (g_liveData.deviceKind == kDeviceSelvo)
        return;
    g_liveData.deviceKind = kDeviceSelvo;
    DecodeLog(state, tag, lineEnd ? "The remote is a Selvo!\r\n" : "The remote is a Selvo!");
}
