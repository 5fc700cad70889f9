// The colour description an encoder writes for the pictures a graph made from a source.
#include "engine/core/colour_description.h"

extern "C" {
#include <libavutil/pixfmt.h>
}
#include <gtest/gtest.h>

using namespace kestrel::engine;

TEST(ColourDescription, FollowsTheSourceAndTheConversionsTheGraphMakes) {
    VideoSourceParams hd;
    hd.pixel_format = AV_PIX_FMT_YUV420P;
    hd.color_space = AVCOL_SPC_BT709;
    hd.color_primaries = AVCOL_PRI_BT709;
    hd.color_trc = AVCOL_TRC_BT709;
    hd.color_range = AVCOL_RANGE_MPEG;
    ColourDescription kept = outputColours(hd, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(kept.space, AVCOL_SPC_BT709);
    EXPECT_EQ(kept.primaries, AVCOL_PRI_BT709);
    EXPECT_EQ(kept.transfer, AVCOL_TRC_BT709);
    EXPECT_EQ(kept.range, AVCOL_RANGE_MPEG);

    VideoSourceParams jpeg_range;   // a full-range decoder format converted to the usual one
    jpeg_range.pixel_format = AV_PIX_FMT_YUVJ420P;
    jpeg_range.color_range = AVCOL_RANGE_JPEG;
    EXPECT_EQ(outputColours(jpeg_range, AV_PIX_FMT_YUV420P).range, AVCOL_RANGE_MPEG);
    EXPECT_EQ(outputColours(jpeg_range, AV_PIX_FMT_YUVJ420P).range, AVCOL_RANGE_JPEG);

    VideoSourceParams full_tagged;  // full range in the usual format stays full
    full_tagged.pixel_format = AV_PIX_FMT_YUV420P;
    full_tagged.color_range = AVCOL_RANGE_JPEG;
    EXPECT_EQ(outputColours(full_tagged, AV_PIX_FMT_YUV420P).range, AVCOL_RANGE_JPEG);

    VideoSourceParams rgb;          // RGB made YUV by the converter's BT.601 matrix
    rgb.pixel_format = AV_PIX_FMT_RGB24;
    rgb.color_space = AVCOL_SPC_RGB;
    const ColourDescription converted = outputColours(rgb, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(converted.space, AVCOL_SPC_SMPTE170M);
    EXPECT_EQ(converted.range, AVCOL_RANGE_MPEG);

    const ColourDescription none = outputColours(hd, AV_PIX_FMT_RGB24);   // RGB output: nothing to say
    EXPECT_EQ(none.space, AVCOL_SPC_UNSPECIFIED);
    EXPECT_EQ(none.range, AVCOL_RANGE_UNSPECIFIED);
}
