#pragma once
// Beat (R wave) marks in the sample ring, placed by the decoders from the
// ECG chain's beat offset.
#include <cstdint>

// Marks the beat the ECG chain just reported, g_qrsOutput frames before the
// frame being written; in detection modes 0 and 2 the previous mark is first
// moved by PlaceBeatMarker.
void MarkBeatAtNewestSample();

// Moves the nearest earlier mark at or before `position` (within 1200
// frames, 1500 for a Moval) forward by 4 frames (5 for a Moval), clearing
// any mark around it. Nothing happens when there is no mark in the window.
void PlaceBeatMarker(int32_t position);
