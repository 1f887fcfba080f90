#pragma once
// What a paint of the view composes besides the traces, the pulse bar and
// the recording line (which are repainted where they change). The strips'
// backdrops are drawn once from the first part; when anything here
// changes, the whole view is repainted.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ColorRef.h"
#include "view/StripRoles.h"
#include "view/ViewGeometry.h"

struct RemoteMenu;

// A strip's label, grid and scale marks, and the separator they reach
// into.
struct BackdropState {
    int32_t count = 0;
    std::array<LayoutRect, 4> strips{};
    std::array<LayoutRect, 4> labels{};
    std::vector<LayoutRect> separators;
    COLORREF separatorColor = 0;
    int labelFontPixels = 0;
    double pixelRatio = 1;
    int layerRefreshes = 0;   // the grid is drawn with the layers
    StripRoles roles;
    int32_t deviceKind = 0;
    uint16_t featureBits = 0;
    int32_t gainIndex = 0;
    int32_t grid = 0;
    int32_t ecgSweep = 0;
    int32_t co2Sweep = 0;
    int32_t co2Scale = 0;
    int32_t co2Unit = 0;
    int32_t probeText = 0;    // the gas probe's status shown on the CO2 strip; 0 none

    bool operator==(const BackdropState&) const = default;
};

struct ComposedState {
    BackdropState backdrop;  // the separators too
    int32_t remoteStop = 0;
    bool bannerShown = false;
    std::string bannerText;
    int32_t menuOpen = 0;
    int32_t menuItem = 0;
    const RemoteMenu* menu = nullptr;

    bool operator==(const ComposedState&) const = default;
};
