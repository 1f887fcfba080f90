#pragma once
// The view's images under its resource ids, drawn in code on black.
#include <QPixmap>
#include <vector>

#include "view/AlarmTones.h"

constexpr int kBitmapQrsHeart = 270;
constexpr int kBitmapBpOff = 640;
// The tone indicator's three, as the alarm switches choose them.
constexpr int kBitmapAlarmTonesOff = kToneIndicatorTonesOff;
constexpr int kBitmapAlarmsOff = kToneIndicatorAlarmsOff;
constexpr int kBitmapAlarmsOn = kToneIndicatorOn;

// The remote's battery, levels 0 (flat) to 5 (full).
constexpr int kRemoteBatteryLevels = 6;
constexpr int RemoteBatteryIconId(int level) { return 370 + 10 * level; }

constexpr int kAnimationBpMeasuring = 160;
constexpr int kAnimationBpPause = 170;
constexpr int kAnimationConnecting = 430;

// A null pixmap or no frames for an id that is none of these.
QPixmap LoadBitmapResource(int id);
QPixmap LoadIconResource(int id);
std::vector<QPixmap> LoadAnimationFrames(int id);
