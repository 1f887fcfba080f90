#include "view/SweepEngine.h"

#include <algorithm>
#include <atomic>
#include <cassert>

namespace {

// The link sets beat marks on frames it has already published.
uint8_t LoadFlags(const SampleFrame& frame)
{
    return std::atomic_ref<uint8_t>(const_cast<uint8_t&>(frame.flags)).load(std::memory_order_relaxed);
}

bool EcgValid(const SampleFrame& frame)
{
    return (LoadFlags(frame) & SampleFrame::kFlagEcgValid) != 0;
}

// The erase bar from the first new point (from the edge when the trace
// starts there) to just past the last.
EraseRange EraseAhead(std::span<const StripPoint> line, int32_t ahead)
{
    if (line.size() < 2)
        return {};
    return {line.front().x == 0 ? 0 : line[1].x, line.back().x + ahead};
}

// Appends `first` and returns where the segment's line begins.
std::size_t BeginLine(std::vector<StripPoint>& points, StripPoint first)
{
    assert(points.size() < points.capacity());  // spans handed out must not move
    points.push_back(first);
    return points.size() - 1;
}

std::span<const StripPoint> LineFrom(const std::vector<StripPoint>& points, std::size_t begin)
{
    return {points.data() + begin, points.size() - begin};
}

int32_t RespTraceY(const SampleFrame& frame, const SweepSettings& s)
{
    if ((s.featureBits & kFeatureCO2) == 0)
        return frame.resp;
    return Co2TraceY(frame.co2, Co2Divisor(s.deviceKind, s.co2Scale, s.co2UnitPercent));
}

int32_t O2TraceY(const SampleFrame& frame, const SweepSettings& s, O2Drift& drift)
{
    if (s.deviceKind == kDeviceBrindle)
        return OscillometricTraceY(frame.o2);
    if ((s.featureBits & kFeatureO2) != 0 && !s.demoMode)
        return O2DriftTraceY(drift, frame.o2, s.o2Inspired, s.o2Expired);
    return frame.o2;
}

RespTrace RespTraceOf(const SweepSettings& s, bool invalid)
{
    if (s.deviceKind == kDeviceBrindle)
        return RespTrace::kCuffLine;
    if ((s.featureBits & kFeatureCO2) != 0)
        return RespTrace::kCo2Fill;  // the capnogram does not depend on the ECG leads
    return invalid ? RespTrace::kInvalidLine : RespTrace::kRespFill;
}

}  // namespace

void SweepState::ResetSweeps()
{
    m_ecgSweepPos = 0;
    m_gasSweepPos = 0;
    m_gasGroupFrame = 0;
    m_lastEcgPoint = m_lastSpo2Point = m_lastRespPoint = m_lastO2Point = StripPoint{};
}

void SweepState::Reset()
{
    *this = SweepState{};
}

const EcgPassResult& CSweepEngine::EcgPass(const SampleFrame* ring, int32_t start, int32_t count,
                                           const SweepSettings& s, const FrameHandOff& handOff)
{
    count = std::clamp(count, 0, kSampleRingSize);
    start &= kSampleRingMask;
    const int32_t step = EcgSweepStep(s.ecgSweep, s.deviceKind);
    const int32_t width = EcgRowWidth(s.sampleRate);
    const double gain = EcgGain(s.gainIndex);
    const int32_t rows = std::max(s.ecgStripCount, 1);
    const bool drawEcg =
        (s.featureBits & kFeatureEcg) != 0 && s.deviceKind != kDeviceBrindle && s.ecgStripCount > 0;
    SweepState& st = m_state;

    m_ecgSegments.clear();
    m_ecgPoints.clear();
    m_spo2Points.clear();
    int32_t maxPleth = 0;

    // Without a known rate no row has room; the frames still go to the
    // recording.
    if (s.sampleRate <= 0 || step > width) {
        for (int32_t i = 0; i < count; ++i) {
            const int32_t index = (start + i) & kSampleRingMask;
            if (handOff)
                handOff(ring[index], index);
            maxPleth = std::max<int32_t>(maxPleth, ring[index].pleth);
        }
        st.m_maxPleth = maxPleth;
        m_ecgResult = {count, maxPleth, {}};
        return m_ecgResult;
    }

    // A row holds `perRow` frames; every segment but the first and the last
    // fills one, so this many segments always suffice.
    const int32_t perRow = width / step;
    const std::size_t segments = static_cast<std::size_t>(count / perRow + 2);
    m_ecgSegments.reserve(segments);
    m_ecgPoints.reserve(static_cast<std::size_t>(count) + segments);
    m_spo2Points.reserve(static_cast<std::size_t>(count / 5 + 1) + segments);

    // A position left by another rate or strip count starts over on row 0.
    if (st.m_ecgSweepPos < 0 || st.m_ecgSweepPos / width >= rows)
        st.m_ecgSweepPos = std::max(st.m_ecgSweepPos, 0) % width;
    int32_t row = st.m_ecgSweepPos / width;
    int32_t x = st.m_ecgSweepPos % width;
    auto nextRow = [&] {
        row = (row + 1) % rows;
        x = 0;
        st.m_ecgSweepPos = row * width;
        st.m_lastEcgPoint = st.m_lastSpo2Point = StripPoint{};
    };
    if (x + step > width)
        nextRow();

    int32_t i = 0;
    while (i < count) {
        EcgSegment seg;
        seg.row = row;
        const std::size_t ecgBegin = BeginLine(m_ecgPoints, st.m_lastEcgPoint);
        const std::size_t spo2Begin = BeginLine(m_spo2Points, st.m_lastSpo2Point);
        bool invalid = false;
        for (; i < count && x + step <= width; ++i) {
            const int32_t index = (start + i) & kSampleRingMask;
            const SampleFrame& frame = ring[index];
            if (handOff)
                handOff(frame, index);
            const uint8_t flags = LoadFlags(frame);
            x += step;
            const StripPoint point{x, EcgTraceY(frame.ecg, gain)};
            m_ecgPoints.push_back(point);
            maxPleth = std::max<int32_t>(maxPleth, frame.pleth);
            if (i % 5 == 0)
                m_spo2Points.push_back({x, frame.pleth});
            if (!seg.rPoint && (flags & SampleFrame::kFlagBeat) != 0)
                seg.rPoint = point;
            const uint8_t code = frame.event.code;
            if (code != 0 && (seg.eventCode == 0 || code < seg.eventCode)) {
                seg.eventCode = code;
                seg.eventX = x;
            }
            invalid = invalid || (flags & SampleFrame::kFlagEcgValid) == 0;
            ++seg.frames;
        }
        st.m_ecgSweepPos = row * width + x;

        seg.ecg = LineFrom(m_ecgPoints, ecgBegin);
        seg.spo2 = LineFrom(m_spo2Points, spo2Begin);
        seg.drawEcg = drawEcg && seg.frames > 0;
        seg.ecgErase = EraseAhead(seg.ecg, kEcgEraseAhead);
        seg.ecgColor = invalid ? kInvalidTraceColor : kEcgTraceColor;
        if (seg.eventCode != 0)
            seg.eventColor = EventMarkerColor(seg.eventCode, s.deviceKind, s.featureBits);
        seg.drawSpo2 = seg.spo2.size() > 1 && s.showSpO2 && s.spo2StripExists;
        seg.spo2Erase = EraseAhead(seg.spo2, kEcgEraseAhead);
        st.m_lastEcgPoint = seg.ecg.back();
        st.m_lastSpo2Point = seg.spo2.back();
        if (x + step > width) {
            seg.rowEnded = true;
            nextRow();
        }
        m_ecgSegments.push_back(seg);
    }

    st.m_maxPleth = maxPleth;
    m_ecgResult = {count, maxPleth, m_ecgSegments};
    return m_ecgResult;
}

const GasPassResult& CSweepEngine::GasPass(const SampleFrame* ring, int32_t start, int32_t count,
                                           const SweepSettings& s)
{
    m_gasSegments.clear();
    m_respPoints.clear();
    m_o2Points.clear();
    m_gasResult = {};
    const bool o2Measured = (s.featureBits & kFeatureO2) != 0;
    count = std::clamp(count, 0, kSampleRingSize);
    start &= kSampleRingMask;
    const int32_t advance = 4 * GasSweepStep(s.co2Sweep, s.deviceKind);
    const int32_t width = GasStripWidth(s.sampleRate);
    if (!(s.showResp || (s.showO2 && o2Measured)) || s.sampleRate <= 0 || advance > width)
        return m_gasResult;

    const int32_t points = count / 4 + 1;
    const std::size_t segments = static_cast<std::size_t>(points / (width / advance) + 2);
    m_gasSegments.reserve(segments);
    m_respPoints.reserve(static_cast<std::size_t>(points) + segments);
    m_o2Points.reserve(static_cast<std::size_t>(points) + segments);

    SweepState& st = m_state;
    auto restart = [&] {
        st.m_gasSweepPos = 0;
        st.m_lastRespPoint = st.m_lastO2Point = StripPoint{};
    };
    if (st.m_gasSweepPos < 0 || st.m_gasSweepPos + advance > width)
        restart();

    int32_t i = 0;
    while (i < count) {
        GasSegment seg;
        const std::size_t respBegin = BeginLine(m_respPoints, st.m_lastRespPoint);
        const std::size_t o2Begin = BeginLine(m_o2Points, st.m_lastO2Point);
        int32_t x = st.m_gasSweepPos;
        while (i < count && !seg.stripEnded) {
            const SampleFrame& frame = ring[(start + i) & kSampleRingMask];
            seg.invalid = seg.invalid || !EcgValid(frame);
            // The first frame of each group of four gives the point.
            if (st.m_gasGroupFrame == 0) {
                x += advance;
                m_respPoints.push_back({x, RespTraceY(frame, s)});
                m_o2Points.push_back({x, O2TraceY(frame, s, st.m_o2Drift)});
                seg.stripEnded = x + advance > width;
            }
            st.m_gasGroupFrame = (st.m_gasGroupFrame + 1) % 4;
            ++seg.frames;
            ++i;
        }
        st.m_gasSweepPos = x;

        seg.resp = LineFrom(m_respPoints, respBegin);
        seg.o2 = LineFrom(m_o2Points, o2Begin);
        const bool made = seg.resp.size() > 1;
        seg.erase = EraseAhead(seg.resp, kGasEraseAhead);
        seg.respTrace = RespTraceOf(s, seg.invalid);
        seg.drawResp = made && s.showResp && s.respStripExists;
        seg.drawO2 = made && s.showO2 && o2Measured && s.o2StripExists;
        st.m_lastRespPoint = seg.resp.back();
        st.m_lastO2Point = seg.o2.back();
        if (seg.stripEnded)
            restart();
        m_gasSegments.push_back(seg);
    }

    m_gasResult = {m_gasSegments};
    return m_gasResult;
}
