#include "engine/editing/rdve.h"
#include "model/ve_media.h"
#include "model/ve_scene.h"
#include "model/ve_virual_video.h"

#include <gtest/gtest.h>

using namespace kestrel::model;

TEST(VEModel, DestroyClearsHandleAndRetimingKeepsOneScene) {
    VEVirualVideo video;
    ASSERT_NE(video.hVirualVideo, nullptr);
    VEScene scene(0, 1000000);
    void* first = scene.hScene;
    ASSERT_NE(first, nullptr);
    scene.setEndTime(2000000);
    scene.setStartTime(500000);
    EXPECT_EQ(scene.hScene, first);  // moved in place, no new engine scene per re-timing
    EXPECT_TRUE(video.addScene(&scene));
    EXPECT_EQ(video.hSceneSet.size(), 1u);
    EXPECT_EQ(rdVEGetTotalPlaybackTime(video.hVirualVideo), 2000000);
    VEMedia missing(QString("/no/such/file.mp4"));
    EXPECT_EQ(missing.hMedia, nullptr);
    EXPECT_FALSE(scene.addMedia(&missing));
    EXPECT_TRUE(scene.hmediaSet.empty());
    EXPECT_TRUE(video.virtualVideoDestory());
    EXPECT_EQ(video.hVirualVideo, nullptr);
    EXPECT_TRUE(video.hSceneSet.empty());
}

TEST(VEModel, PlacementFitsAndCopiesDropTheHandle) {
    SLIDE_RECT r = VEMedia::showMediaInVideo(QSizeF(1920, 1080), QSizeF(1080, 1080));
    EXPECT_FLOAT_EQ(r.top, 0.21875f);
    EXPECT_FLOAT_EQ(r.bottom, 0.78125f);
    SLIDE_RECT pip = VEMedia::showMediaInPIPVideo(QSizeF(1920, 1080), QSizeF(1080, 1080));
    EXPECT_FLOAT_EQ(pip.left, 0.25f);
    EXPECT_FLOAT_EQ(pip.top, 0.359375f);
    VEMedia media;
    media.hMedia = reinterpret_cast<void*>(0x1);
    media.fps = 30;
    media.audioMute = true;
    auto copy = media.copy();
    EXPECT_EQ(copy->hMedia, nullptr);
    EXPECT_EQ(copy->fps, 0);
    EXPECT_FALSE(copy->audioMute);
    EXPECT_EQ(copy->nAlphaLower, 50);
}
