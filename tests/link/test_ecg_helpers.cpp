// The small exact pieces of the ECG chain: rounding, rank windows and one
// second-order section, against values worked out by hand.
#include <gtest/gtest.h>

#include <array>

#include "link/Biquad.h"
#include "link/EcgMath.h"

TEST(EcgHelpers, RoundHalfDownSendsExactHalvesDown)
{
    EXPECT_EQ(RoundHalfDown(2.5), 2);
    EXPECT_EQ(RoundHalfDown(2.51), 3);
    EXPECT_EQ(RoundHalfDown(-2.5), -3);
    EXPECT_EQ(RoundHalfDown(-2.49), -2);
    EXPECT_EQ(RoundHalfDown(7.0), 7);
    EXPECT_EQ(RoundHalfDown(0.4999), 0);
}

TEST(EcgHelpers, Median3KeepsTheMiddleOfItsWindow)
{
    RankWindow3 w;
    EXPECT_EQ(Median3(w, 5), 0);
    EXPECT_EQ(Median3(w, 1), 1);
    EXPECT_EQ(Median3(w, 9), 5);
    EXPECT_EQ(w.values, (std::array<int16_t, 3>{9, 5, 1}));
    // A value already held leaves the window as it is.
    EXPECT_EQ(Median3(w, 5), 5);
    EXPECT_EQ(w.values, (std::array<int16_t, 3>{9, 5, 1}));
    // At or below the lowest: the highest leaves.
    EXPECT_EQ(Median3(w, -4), 1);
    EXPECT_EQ(w.values, (std::array<int16_t, 3>{5, 1, -4}));
    w.Reset();
    EXPECT_EQ(w.values, (std::array<int16_t, 3>{0, 0, 0}));
}

TEST(EcgHelpers, Median5DropsTheEndChosenByItsPivot)
{
    RankWindow5 w;
    for (int16_t v : {10, 20, 5, 15})
        Median5(w, v);
    EXPECT_EQ(w.values, (std::array<int16_t, 5>{20, 15, 10, 5, 0}));
    // 7 lands between w[2] and w[3] and is above w[3]: the lowest leaves.
    EXPECT_EQ(Median5(w, 7), 10);
    EXPECT_EQ(w.values, (std::array<int16_t, 5>{20, 15, 10, 7, 5}));
    // 6 lands between w[3] and w[4] and is below w[3]: the highest leaves.
    EXPECT_EQ(Median5(w, 6), 7);
    EXPECT_EQ(w.values, (std::array<int16_t, 5>{15, 10, 7, 6, 5}));
}

TEST(EcgHelpers, Median7DropsTheEndChosenByItsPivot)
{
    RankWindow7 w;
    for (int16_t v : {70, 60, 50, 40, 30})
        Median7(w, v);
    EXPECT_EQ(w.values, (std::array<int16_t, 7>{70, 60, 50, 40, 30, 0, 0}));
    EXPECT_EQ(Median7(w, 35), 40);  // above w[4]: the lowest leaves
    EXPECT_EQ(w.values, (std::array<int16_t, 7>{70, 60, 50, 40, 35, 30, 0}));
    EXPECT_EQ(Median7(w, 33), 35);  // below w[4]: the highest leaves
    EXPECT_EQ(w.values, (std::array<int16_t, 7>{60, 50, 40, 35, 33, 30, 0}));
    EXPECT_EQ(Median7(w, -5), 33);
    EXPECT_EQ(w.values, (std::array<int16_t, 7>{50, 40, 35, 33, 30, 0, -5}));
}

TEST(EcgHelpers, SectionStepResponseMatchesTheHandWorkedValues)
{
    // ECG low-pass 400 fed 1000 from rest:
    // y0 = 2704*1000 >> 16 = 41
    // y1 = (2704+5407)*1000 + 88406*41 = 11735646 >> 16 = 179
    // y2 = 10815*1000 + 88406*179 - 33684*41 = 25258630 >> 16 = 385
    BiquadHistory h;
    EXPECT_EQ(BiquadStepQ16(1000, kEcgLowPass400, h), 41);
    EXPECT_EQ(BiquadStepQ16(1000, kEcgLowPass400, h), 179);
    EXPECT_EQ(BiquadStepQ16(1000, kEcgLowPass400, h), 385);

    // The shift is arithmetic: negative results round towards minus infinity.
    // -2704000 >> 16 = -42; (-8111000 + 88406*-42) >> 16 = -11824052 >> 16 = -181
    h.Reset();
    EXPECT_EQ(BiquadStepQ16(-1000, kEcgLowPass400, h), -42);
    EXPECT_EQ(BiquadStepQ16(-1000, kEcgLowPass400, h), -181);

    // The 500/s set shifts once more: 3652000 >> 16 >> 1 = 27;
    // (10955000 + 193394*27) = 16176638 >> 16 >> 1 = 123
    h.Reset();
    EXPECT_EQ(BiquadStepQ16(1000, kEcgLowPass500, h), 27);
    EXPECT_EQ(BiquadStepQ16(1000, kEcgLowPass500, h), 123);

    // Q14 band-pass stage: 1223000 >> 14 = 74; 1223000 + 28891*74 = 3360934 >> 14 = 205;
    // 28891*205 - 13939*74 = 4891169 >> 14 = 298
    h.Reset();
    EXPECT_EQ(BiquadStepQ14(1000, kQrsBand400Stage1Q14, h), 74);
    EXPECT_EQ(BiquadStepQ14(1000, kQrsBand400Stage1Q14, h), 205);
    EXPECT_EQ(BiquadStepQ14(1000, kQrsBand400Stage1Q14, h), 298);
}

TEST(EcgHelpers, SectionWrapsLikeThe32BitAccumulator)
{
    // 88406 * 30000 = 2652180000 wraps to -1642787296; >> 16 = -25067.
    BiquadHistory h;
    h.y1 = 30000;
    EXPECT_EQ(BiquadStepQ16(0, kEcgLowPass400, h), -25067);
    EXPECT_EQ(h.y2, 30000);
    EXPECT_EQ(h.y1, -25067);

    // The input is taken as a signed 16-bit value.
    const BiquadCoefficients unity{0, 65536, 0, 0, 0, 0};
    h.Reset();
    EXPECT_EQ(BiquadStepQ16(40000, unity, h), -25536);
    EXPECT_EQ(h.x1, -25536);
}
