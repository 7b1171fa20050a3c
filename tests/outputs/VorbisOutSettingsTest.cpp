// The published settings of TVorbisOut: defaults and the rules between the three bit rates.
#include <gtest/gtest.h>

#include "outputs/AudioVorbis.h"

TEST(VorbisOutSettings, DefaultsAndFileMode)
{
    TVorbisOut out;
    EXPECT_FLOAT_EQ(out.Compression(), 0.2f);
    EXPECT_EQ(out.DesiredNominalBitrate(), brAutoSelect);
    EXPECT_EQ(out.DesiredMaximumBitrate(), brAutoSelect);
    EXPECT_EQ(out.MinimumBitrate(), brAutoSelect);
    EXPECT_EQ(out.Serial(), 0);
    EXPECT_TRUE(out.Comments().empty());
    EXPECT_FALSE(out.EndOfStream());
    EXPECT_EQ(out.FileMode(), foRewrite);
    out.SetFileMode(foAppend); // honoured, unlike outputs that always rewrite
    EXPECT_EQ(out.FileMode(), foAppend);
}

TEST(VorbisOutSettings, BitRateSettersKeepMinimumNominalMaximumInOrder)
{
    TVorbisOut out;
    // While the nominal is brAutoSelect only brAutoSelect is accepted for the limits.
    out.SetDesiredMaximumBitrate(br192);
    out.SetMinimumBitrate(br64);
    EXPECT_EQ(out.DesiredMaximumBitrate(), brAutoSelect);
    EXPECT_EQ(out.MinimumBitrate(), brAutoSelect);

    out.SetDesiredNominalBitrate(br128);
    EXPECT_EQ(out.DesiredMaximumBitrate(), br128); // raised to the nominal
    out.SetDesiredMaximumBitrate(br112);           // below the nominal: ignored
    out.SetMinimumBitrate(br160);                  // above the nominal: ignored
    EXPECT_EQ(out.DesiredMaximumBitrate(), br128);
    EXPECT_EQ(out.MinimumBitrate(), brAutoSelect);

    out.SetDesiredMaximumBitrate(br256);
    out.SetMinimumBitrate(br96);
    EXPECT_EQ(out.DesiredMaximumBitrate(), br256);
    EXPECT_EQ(out.MinimumBitrate(), br96);
    out.SetDesiredMaximumBitrate(brAutoSelect); // no upper limit is allowed
    EXPECT_EQ(out.DesiredMaximumBitrate(), brAutoSelect);
    out.SetDesiredMaximumBitrate(br256);

    // Lowering the nominal below the minimum lowers the minimum; raising it above the
    // maximum raises the maximum.
    out.SetDesiredNominalBitrate(br80);
    EXPECT_EQ(out.MinimumBitrate(), br80);
    EXPECT_EQ(out.DesiredMaximumBitrate(), br256);
    out.SetDesiredNominalBitrate(br320);
    EXPECT_EQ(out.DesiredMaximumBitrate(), br320);
    EXPECT_EQ(out.MinimumBitrate(), br80);

    // Back to quality mode: the maximum and minimum go with it.
    out.SetDesiredNominalBitrate(brAutoSelect);
    EXPECT_EQ(out.DesiredMaximumBitrate(), brAutoSelect);
    EXPECT_EQ(out.MinimumBitrate(), brAutoSelect);
}
