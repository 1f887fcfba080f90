#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "link/LiveData.h"
#include "view/SweepEngine.h"

namespace {

struct Ring {
    std::vector<SampleFrame> frames = std::vector<SampleFrame>(kSampleRingSize);
    Ring()
    {
        for (SampleFrame& f : frames)
            f.flags = SampleFrame::kFlagEcgValid;
    }
    SampleFrame& operator[](int32_t i) { return frames[static_cast<std::size_t>(i & kSampleRingMask)]; }
};

SweepSettings Tarvik()
{
    SweepSettings s;
    s.deviceKind = kDeviceTarvik;
    s.featureBits = kFeatureEcg | kFeatureResp | kFeatureSpO2;
    s.ecgStripCount = 1;
    s.spo2StripExists = s.respStripExists = s.showSpO2 = s.showResp = true;
    return s;
}

}  // namespace

TEST(SweepEngine, EcgSweepMovesOneStepPerFrameAndChainsTheRows)
{
    struct Case {
        const char* name;
        int32_t kind, ecgSweep, rate, strips, frames, chunk;
        int32_t pos;                  // m_ecgSweepPos after
        std::vector<int32_t> filled;  // rows that ended, in order
    };
    const Case cases[] = {
        {"sweep 2 one frame short of a strip", kDeviceTarvik, 2, 400, 1, 1599, 1599, 3198, {}},
        {"sweep 2 fills a strip in 1600 frames", kDeviceTarvik, 2, 400, 1, 1600, 1600, 0, {0}},
        {"three strips chain 0 1 2 0", kDeviceTarvik, 2, 400, 3, 4810, 700, 20, {0, 1, 2}},
        {"sweep 8 in small calls", kDeviceTarvik, 8, 400, 2, 450, 7, 3600, {0}},
        {"the Brindle runs at 1", kDeviceBrindle, 8, 400, 0, 500, 500, 500, {}},
        {"no rate yet: consumed, not drawn", kDeviceTarvik, 1, 0, 1, 50, 50, 0, {}},
    };
    Ring ring;
    const int32_t base = kSampleRingSize - 1000;   // the passes cross the ring's end
    for (const Case& c : cases) {
        CSweepEngine engine;
        SweepSettings s = Tarvik();
        s.deviceKind = c.kind;
        s.ecgSweep = c.ecgSweep;
        s.sampleRate = c.rate;
        s.ecgStripCount = c.strips;
        std::vector<int32_t> filled;
        int32_t handed = 0;
        for (int32_t done = 0; done < c.frames; done += c.chunk) {
            const int32_t count = std::min(c.chunk, c.frames - done);
            const EcgPassResult& r = engine.EcgPass(ring.frames.data(), base + done, count, s,
                                                    [&](const SampleFrame&, int32_t index) {
                                                        EXPECT_EQ(index, (base + handed++) & kSampleRingMask);
                                                    });
            EXPECT_EQ(r.consumed, count) << c.name;
            for (const EcgSegment& seg : r.segments)
                if (seg.rowEnded)
                    filled.push_back(seg.row);
        }
        EXPECT_EQ(handed, c.frames) << c.name;
        EXPECT_EQ(engine.State().m_ecgSweepPos, c.pos) << c.name;
        EXPECT_EQ(filled, c.filled) << c.name;
    }
}

TEST(SweepEngine, SegmentMarksLowestEventFirstBeatAndInvalidFrames)
{
    struct Event {
        int32_t frame;
        uint8_t code;
    };
    struct Case {
        const char* name;
        int32_t kind;
        uint16_t features;
        std::vector<Event> events;
        int32_t invalidFrame, beatFrame;   // -1 none
        uint8_t code;
        int32_t eventFrame;
        COLORREF marker;                   // 0: no marker
        COLORREF pen;
    };
    const uint16_t ecg = kFeatureEcg;
    const Case cases[] = {
        {"marker beats a high-HR alarm", kDeviceTarvik, ecg, {{1, 0x80}, {3, 0x22}}, -1, -1, 0x22, 3, 0x0080FF,
         kEcgTraceColor},
        {"first of equal codes", kDeviceTarvik, ecg, {{2, 0x41}, {5, 0x41}}, -1, 4, 0x41, 2, 0xFFF7EA, kEcgTraceColor},
        {"respiration alarm with CO2", kDeviceTarvik, ecg | kFeatureCO2, {{0, 0x82}}, 7, -1, 0x82, 0, 0x03B1FC,
         kInvalidTraceColor},
        {"print event draws nothing", kDeviceTarvik, ecg, {{6, 0x21}, {1, 0x22}}, 0, 6, 0x21, 6, 0,
         kInvalidTraceColor},
        {"no marker on the Brindle", kDeviceBrindle, 0x60, {{1, 0x22}}, -1, -1, 0x22, 1, 0, kEcgTraceColor},
    };
    for (const Case& c : cases) {
        Ring ring;
        const int32_t start = 100;
        for (const Event& e : c.events)
            ring[start + e.frame].event.code = e.code;
        if (c.invalidFrame >= 0)
            ring[start + c.invalidFrame].flags = 0;
        if (c.beatFrame >= 0) {
            ring[start + c.beatFrame].flags |= SampleFrame::kFlagBeat;
            ring[start + c.beatFrame].ecg = 900;
            ring[start + c.beatFrame + 1].flags |= SampleFrame::kFlagBeat;
        }

        CSweepEngine engine;
        SweepSettings s = Tarvik();
        s.deviceKind = c.kind;
        s.featureBits = c.features;
        s.ecgSweep = 4;
        const int32_t step = EcgSweepStep(s.ecgSweep, c.kind);
        const EcgPassResult& r = engine.EcgPass(ring.frames.data(), start, 8, s, {});
        ASSERT_EQ(r.segments.size(), 1u) << c.name;
        const EcgSegment& seg = r.segments[0];
        EXPECT_EQ(seg.eventCode, c.code) << c.name;
        EXPECT_EQ(seg.eventX, (c.eventFrame + 1) * step) << c.name;
        EXPECT_EQ(seg.eventColor.value_or(0), c.marker) << c.name;
        EXPECT_EQ(seg.ecgColor, c.pen) << c.name;
        EXPECT_EQ(seg.drawEcg, c.kind != kDeviceBrindle) << c.name;
        if (c.beatFrame < 0)
            EXPECT_FALSE(seg.rPoint.has_value()) << c.name;
        else
            EXPECT_EQ(seg.rPoint.value_or(StripPoint{}), (StripPoint{(c.beatFrame + 1) * step, 900})) << c.name;
    }
}

TEST(SweepEngine, TracesContinueFromTheLastPointWithTheEraseBarAhead)
{
    Ring ring;
    for (int32_t i = 0; i < 20; ++i) {
        ring[i].ecg = static_cast<int16_t>(100 * i - 1000);
        ring[i].pleth = static_cast<uint8_t>(i);
    }
    CSweepEngine engine;
    SweepSettings s = Tarvik();
    s.gainIndex = 4;   // x4: frames 0..3 and 17.. lie beyond the strip
    const EcgSegment first = engine.EcgPass(ring.frames.data(), 0, 10, s, {}).segments[0];
    EXPECT_EQ(first.ecg.front(), StripPoint{});
    EXPECT_EQ(first.ecg[1], (StripPoint{1, -2500}));
    EXPECT_EQ(first.ecg.back(), (StripPoint{10, -400}));
    EXPECT_EQ(first.ecgErase.from, 0);
    EXPECT_EQ(first.ecgErase.to, 10 + kEcgEraseAhead);
    EXPECT_EQ(std::vector<StripPoint>(first.spo2.begin(), first.spo2.end()),
              (std::vector<StripPoint>{{0, 0}, {1, 0}, {6, 5}}));

    const EcgPassResult& r = engine.EcgPass(ring.frames.data(), 10, 10, s, {});
    const EcgSegment& next = r.segments[0];
    EXPECT_EQ(next.ecg.front(), (StripPoint{10, -400}));
    EXPECT_EQ(next.ecg.back(), (StripPoint{20, 2500}));
    EXPECT_EQ(next.ecgErase.from, 11);
    EXPECT_EQ(std::vector<StripPoint>(next.spo2.begin(), next.spo2.end()),
              (std::vector<StripPoint>{{6, 5}, {11, 10}, {16, 15}}));
    EXPECT_EQ(next.spo2Erase.from, 11);
    EXPECT_EQ(next.spo2Erase.to, 16 + kEcgEraseAhead);
    EXPECT_EQ(r.maxPleth, 19);
}

TEST(SweepEngine, RespirationAndO2ValuesByModelAndSettings)
{
    struct Case {
        const char* name;
        int32_t kind;
        uint16_t features;
        bool scale, percent, demo, invalid;
        int16_t co2, resp, o2;
        int32_t respY, o2Y;
        RespTrace trace;
        bool drawO2;
    };
    const uint16_t co2 = kFeatureCO2, o2 = kFeatureO2;
    const Case cases[] = {
        {"CO2 0 scale off lies at the floor", kDeviceTarvik, co2, false, true, false, false, 0, 0, 40, -2950, 40,
         RespTrace::kCo2Fill, false},
        {"CO2 scale off mmHg", kDeviceTarvik, co2, false, false, false, true, 263, 0, 0, 0, 0, RespTrace::kCo2Fill,
         false},
        {"CO2 scale on mmHg above the top", kDeviceTarvik, co2, true, false, false, false, 2000, 0, 0, 3000, 0,
         RespTrace::kCo2Fill, false},
        {"cuff pressure and oscillometry", kDeviceBrindle, co2 | o2, true, true, false, false, 1000, 0, 333, -1000,
         999, RespTrace::kCuffLine, true},
        {"impedance respiration as sent", kDeviceTarvik, kFeatureResp, false, true, false, false, 0, -7000, 0, -7000,
         0, RespTrace::kRespFill, false},
        {"without valid ECG", kDeviceTarvik, kFeatureResp, false, true, false, true, 0, 5, 0, 5, 0,
         RespTrace::kInvalidLine, false},
        {"O2 in demo mode as sent", kDeviceTarvik, o2, false, true, true, false, 0, 0, 210, 0, 210,
         RespTrace::kRespFill, true},
        {"O2 on its drifting baseline", kDeviceTarvik, o2, false, true, false, false, 0, 0, 1024, 0, 5110,
         RespTrace::kRespFill, true},
    };
    for (const Case& c : cases) {
        Ring ring;
        for (int32_t i = 0; i < 4; ++i) {
            ring[i] = SampleFrame{};
            ring[i].co2 = c.co2;
            ring[i].resp = c.resp;
            ring[i].o2 = c.o2;
            ring[i].flags = (c.invalid && i == 3) ? 0 : SampleFrame::kFlagEcgValid;
        }
        CSweepEngine engine;
        SweepSettings s = Tarvik();
        s.deviceKind = c.kind;
        s.featureBits = c.features;
        s.co2Scale = c.scale;
        s.co2UnitPercent = c.percent;
        s.demoMode = c.demo;
        s.o2StripExists = s.showO2 = true;
        const GasPassResult& r = engine.GasPass(ring.frames.data(), 0, 4, s);
        ASSERT_EQ(r.segments.size(), 1u) << c.name;
        const GasSegment& seg = r.segments[0];
        ASSERT_EQ(seg.resp.size(), 2u) << c.name;
        EXPECT_EQ(seg.resp[1].y, c.respY) << c.name;
        EXPECT_EQ(seg.o2[1].y, c.o2Y) << c.name;
        EXPECT_EQ(seg.respTrace, c.trace) << c.name;
        EXPECT_EQ(seg.drawO2, c.drawO2) << c.name;
    }
}

TEST(SweepEngine, GasSweepTakesEveryFourthFrameAcrossCalls)
{
    struct Case {
        const char* name;
        int32_t rate, co2Sweep;
        std::vector<int32_t> calls;                  // frames per call
        std::vector<std::vector<int32_t>> points;    // per call: frames that gave a point
        int32_t pos;
    };
    const Case cases[] = {
        {"a call of four frames gives one point", 400, 2, {4, 4}, {{0}, {4}}, 16},
        {"groups carry over between calls", 400, 2, {3, 5, 2, 2}, {{0}, {4}, {8}, {}}, 24},
        {"a strip of 32 frames starts over", 1, 1, {36, 8}, {{0, 4, 8, 12, 16, 20, 24, 28, 32}, {36, 40}}, 12},
    };
    Ring ring;
    for (int32_t i = 0; i < 64; ++i)
        ring[i].resp = static_cast<int16_t>(i);
    for (const Case& c : cases) {
        CSweepEngine engine;
        SweepSettings s = Tarvik();
        s.sampleRate = c.rate;
        s.co2Sweep = c.co2Sweep;
        const int32_t advance = 4 * c.co2Sweep;
        int32_t start = 0;
        int32_t front = 0;   // where the next segment must begin
        for (std::size_t k = 0; k < c.calls.size(); ++k) {
            const GasPassResult& r = engine.GasPass(ring.frames.data(), start, c.calls[k], s);
            std::vector<int32_t> frames;
            for (const GasSegment& seg : r.segments) {
                EXPECT_EQ(seg.resp.front().x, front) << c.name;
                for (std::size_t p = 1; p < seg.resp.size(); ++p) {
                    EXPECT_EQ(seg.resp[p].x, seg.resp[p - 1].x + advance) << c.name;
                    frames.push_back(seg.resp[p].y);
                }
                front = seg.stripEnded ? 0 : seg.resp.back().x;
            }
            EXPECT_EQ(frames, c.points[k]) << c.name << " call " << k;
            start += c.calls[k];
        }
        EXPECT_EQ(engine.State().m_gasSweepPos, c.pos) << c.name;
    }
}
