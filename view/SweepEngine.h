#pragma once
// The waveform intake's passes over the sample ring: where each new frame
// lands on the sweeping strips and what is to be drawn there, in the
// logical units of each strip's mapping (ECG rows rate x 8 by 5000 and
// SpO2 rate x 8 by 256, both y up; respiration and O2 rate x 32 by 6000,
// y up from the middle). The window draws what the passes return.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "link/LiveData.h"
#include "platform/ColorRef.h"
#include "view/ParameterColors.h"
#include "view/StripMarks.h"
#include "view/StripValues.h"

inline constexpr COLORREF kEcgTraceColor = kEcgColor;
inline constexpr COLORREF kInvalidTraceColor = 0xFF00FF;   // frames without valid ECG
inline constexpr COLORREF kSpO2TraceColor = kSpO2Color;
inline constexpr COLORREF kCO2FillColor = 0x0282B9;
inline constexpr COLORREF kRespFillColor = 0x30BFBF;
inline constexpr COLORREF kCuffTraceColor = kCO2Color;
inline constexpr COLORREF kO2TraceColor = kO2Color;
inline constexpr int32_t kEcgEraseAhead = 80;
inline constexpr int32_t kGasEraseAhead = 400;
inline constexpr int32_t kRespFillFloor = -6000;   // y of the fill polygon's two bottom corners

// Where the next frames go. The O2 drift is the trace's own signal state and
// outlives a clearing of the layers.
struct SweepState {
    int32_t m_ecgSweepPos = 0;    // frames x step, over all ECG rows: row = pos / row width
    int32_t m_gasSweepPos = 0;    // x of the last respiration and O2 point
    int32_t m_gasGroupFrame = 0;  // frames of the current group of four already passed, 0..3
    StripPoint m_lastEcgPoint;
    StripPoint m_lastSpo2Point;
    StripPoint m_lastRespPoint;
    StripPoint m_lastO2Point;
    O2Drift m_o2Drift;
    int32_t m_maxPleth = 0;       // largest pleth of the last ECG pass, 0..255

    // The layers were cleared: every sweep starts again at the left edge.
    void ResetSweeps();
    // Everything as at the start, the O2 drift too.
    void Reset();
};

// What one intake call works with.
struct SweepSettings {
    int32_t ecgSweep = 1;          // "EcgSweep"
    int32_t co2Sweep = 2;          // "CO2Sweep"
    int32_t sampleRate = 400;      // frames per second
    int32_t gainIndex = 1;         // into kGainTable
    int32_t deviceKind = 0;
    uint16_t featureBits = 0;
    bool co2Scale = false;         // "CO2Scale"
    bool co2UnitPercent = false;   // the CO2 unit is % (else mmHg)
    bool demoMode = false;
    int16_t o2Inspired = 0;        // the O2 numerics
    int16_t o2Expired = 0;
    int32_t ecgStripCount = 0;     // ECG rows 0 .. count-1
    bool spo2StripExists = false;
    bool respStripExists = false;
    bool o2StripExists = false;
    bool showSpO2 = false;         // "Show SpO2"
    bool showResp = false;         // "Show Resp"
    bool showO2 = false;           // "Show O2"
};

// Background bar ahead of a trace, x from..to over the strip's full height.
struct EraseRange {
    int32_t from = 0;
    int32_t to = 0;
};

// The frames of one ECG pass that fall on one row.
struct EcgSegment {
    int32_t row = 0;                     // the ECG strip (layer) of the row
    int32_t frames = 0;                  // frames consumed on it; 0: nothing to draw
    bool drawEcg = false;                // ECG measured, not a Brindle, ECG strips exist
    std::span<const StripPoint> ecg;     // the last point, then one point per frame
    EraseRange ecgErase;                 // y 2500 down to -2501
    COLORREF ecgColor = kEcgTraceColor;  // kInvalidTraceColor when any frame lacked valid ECG
    std::optional<StripPoint> rPoint;    // the first beat-marked frame
    uint8_t eventCode = 0;               // lowest nonzero event code of the frames; 0 none
    int32_t eventX = 0;                  // where that event's frame lies
    std::optional<COLORREF> eventColor;  // its marker (EventMarkerOutline); none: no marker
    bool drawSpo2 = false;               // new SpO2 points, "Show SpO2" on, strip exists
    std::span<const StripPoint> spo2;    // the last SpO2 point, then every fifth frame's (x, pleth)
    EraseRange spo2Erase;                // y 256 down to -1
    bool rowEnded = false;               // the next frame goes to the next row (after the last, row 0)
};

struct EcgPassResult {
    int32_t consumed = 0;                // advance the read index by this
    int32_t maxPleth = 0;
    std::span<const EcgSegment> segments;
};

enum class RespTrace : uint8_t {
    kCo2Fill,      // area under the curve down to kRespFillFloor, kCO2FillColor
    kRespFill,     // the same in kRespFillColor
    kInvalidLine,  // impedance respiration without valid ECG: flat-capped line, width 8, kInvalidTraceColor
    kCuffLine,     // the Brindle's cuff pressure: line, width 32, kCuffTraceColor
};

// The frames of one respiration and O2 pass up to the strips' end.
struct GasSegment {
    int32_t frames = 0;
    std::span<const StripPoint> resp;    // the last point, then one point per group of four frames
    std::span<const StripPoint> o2;      // the same x
    EraseRange erase;                    // on both strips, y 3000 down to -3001
    bool invalid = false;                // a frame lacked valid ECG
    RespTrace respTrace = RespTrace::kRespFill;
    bool drawResp = false;               // new points, "Show Resp" on, strip exists
    bool drawO2 = false;                 // new points, "Show O2" on, O2 measured, strip exists
    bool stripEnded = false;             // the sweep starts again at x = 0
};

struct GasPassResult {
    std::span<const GasSegment> segments;
};

// The live recording's hand-off of a consumed frame and its ring index.
using FrameHandOff = std::function<void(const SampleFrame& frame, int32_t index)>;

// The two passes of the intake. The results point into the engine's own
// buffers and stay valid until its next pass. UI thread only.
class CSweepEngine {
public:
    SweepState& State() { return m_state; }
    const SweepState& State() const { return m_state; }

    // Consumes `count` frames of `ring` (kSampleRingSize frames) from
    // `start`, handing each to `handOff` (may be empty) in order. Every
    // frame is consumed, drawn or not. A row holds rate x 8 / step frames,
    // the first at x = step, the last at the row's right edge. The caller
    // draws, sounds and follows the blood pressure only for segments with
    // frames, and not while the display is frozen.
    const EcgPassResult& EcgPass(const SampleFrame* ring, int32_t start, int32_t count,
                                 const SweepSettings& settings, const FrameHandOff& handOff);

    // The same frames again for the respiration and O2 strips (when either
    // is shown). The first frame of each group of four gives a point, 4
    // steps after the last; groups run on across calls, so that a call
    // starts where the last one ended and the sweep keeps time whatever
    // the call sizes.
    const GasPassResult& GasPass(const SampleFrame* ring, int32_t start, int32_t count,
                                 const SweepSettings& settings);

private:
    SweepState m_state;
    std::vector<StripPoint> m_ecgPoints;
    std::vector<StripPoint> m_spo2Points;
    std::vector<StripPoint> m_respPoints;
    std::vector<StripPoint> m_o2Points;
    std::vector<EcgSegment> m_ecgSegments;
    std::vector<GasSegment> m_gasSegments;
    EcgPassResult m_ecgResult;
    GasPassResult m_gasResult;
};
