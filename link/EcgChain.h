#pragma once
// The ECG signal chain: filters, beat detection, heart and respiration
// rates, and the cuff-pressure filter. Called once per sample, in order, on
// the thread that decodes the remote (or generates demo data).
#include <cstdint>

#include "platform/Relaxed.h"

extern Relaxed<int32_t> g_heartRate;      // smoothed heart rate, 0 = none
extern Relaxed<uint8_t> g_beatFlag;       // 1 on the sample a beat was accepted
extern Relaxed<int32_t> g_qrsOutput;      // samples back to the detected beat, 0 = none
extern Relaxed<int16_t> g_respRate;       // breaths per minute, 0 = none
extern Relaxed<uint8_t> g_hrDetectMode;   // 0 normal, 1 rates above 400, 2 equine
extern Relaxed<uint8_t> g_ecgBandwidthFlag; // 1: show the filtered ECG

// Connect-time reset: the live record to its reset values, the heart rate
// cleared, and the beat detector re-initialised by the next ECG sample (safe
// to call from another thread than the decoding one).
void ResetRemoteDataState();

// The application's demo flag: demo ECG needs no baseline removal on the
// Moval path.
void SetEcgDemoMode(bool demo);
bool IsEcgDemoMode();

// Every chain and result back to its state at program start (tests).
void ResetEcgChainState();

int16_t DeriveHeartRate(int16_t sample, bool enabled);       // 400 samples/s
int16_t DeriveHeartRateMoval(int16_t sample, bool enabled);  // 500 samples/s
int16_t DeriveRespirationRate(int16_t sample);
void FilterSampleBlock(uint8_t count, const int16_t* pressureIn, const int16_t* oscillationIn,
                       int16_t* pressureOut, int16_t* oscillationOut);
