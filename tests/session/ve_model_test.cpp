// The editing engine's model classes own their handles: whichever of video, scene and media
// goes first, nothing is released twice or used after the engine released it.
#include <gtest/gtest.h>

#include <QWidget>

#include <memory>
#include <thread>
#include <vector>

#include "engine/editing/rdve.h"
#include "session/model/ve_audio.h"
#include "session/model/ve_media.h"
#include "session/model/ve_media_manager.h"
#include "session/model/ve_region_models.h"
#include "session/model/ve_scene.h"
#include "session/model/ve_virual_video.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::session;

namespace {

class VEModel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new kestrel::test::TempDir();
        kestrel::test::FixtureSpec spec;
        spec.duration_s = 1.0;
        spec.width = 160;
        spec.height = 120;
        kestrel::test::makeMedia(dir_->file("clip.mp4"), spec);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static QString clip() { return QString::fromStdString(dir_->file("clip.mp4")); }
    // A live media handle accepts a setter; a released one is refused.
    static bool alive(void* media) { return media && rdVESetMediaFactor(media, 1.0f) >= 1; }

    static kestrel::test::TempDir* dir_;
};
kestrel::test::TempDir* VEModel::dir_ = nullptr;

TEST_F(VEModel, RetimingKeepsOneSceneAndDestroyForgetsScenesAndMedia) {
    VEVirualVideo video;
    ASSERT_NE(video.hVirualVideo(), nullptr);
    VEScene scene(0, 1000000);
    void* first = scene.hScene();
    ASSERT_NE(first, nullptr);
    scene.setEndTime(2000000);
    scene.setStartTime(500000);
    EXPECT_EQ(scene.hScene(), first) << "moved in place, no new engine scene per re-timing";
    ASSERT_TRUE(video.addScene(&scene));
    EXPECT_EQ(video.scenes().size(), 1u);
    EXPECT_EQ(rdVEGetTotalPlaybackTime(video.hVirualVideo()), 2000000);

    VEMedia missing(QStringLiteral("/no/such/file.mp4"));
    EXPECT_EQ(missing.hMedia(), nullptr);
    EXPECT_FALSE(scene.addMedia(&missing));
    VEMedia media(clip());
    ASSERT_TRUE(scene.addMedia(&media));
    EXPECT_EQ(media.scene(), &scene);

    EXPECT_TRUE(video.virtualVideoDestory());
    EXPECT_EQ(video.hVirualVideo(), nullptr);
    EXPECT_TRUE(video.scenes().empty());
    EXPECT_EQ(scene.hScene(), nullptr) << "released with the video";
    EXPECT_EQ(media.hMedia(), nullptr) << "released with its scene";
    EXPECT_FALSE(video.virtualVideoDestory()) << "a released video is not released twice";
}

TEST_F(VEModel, AnyDestructionOrderReleasesEachHandleOnce) {
    // Video first: the scene and media it released are forgotten, not deleted again.
    {
        auto media = std::make_unique<VEMedia>(clip());
        auto scene = std::make_unique<VEScene>(0, 1000000);
        auto video = std::make_unique<VEVirualVideo>();
        ASSERT_TRUE(scene->addMedia(media.get()));
        ASSERT_TRUE(video->addScene(scene.get()));
        video.reset();
        EXPECT_EQ(scene->hScene(), nullptr);
        EXPECT_EQ(media->hMedia(), nullptr);
    }
    // Scene first: it leaves the video, which plays nothing then; its media are released.
    {
        VEVirualVideo video;
        auto media = std::make_unique<VEMedia>(clip());
        auto scene = std::make_unique<VEScene>(0, 1000000);
        ASSERT_TRUE(scene->addMedia(media.get()));
        ASSERT_TRUE(video.addScene(scene.get()));
        void* handle = media->hMedia();
        EXPECT_TRUE(alive(handle));
        scene.reset();
        EXPECT_TRUE(video.scenes().empty());
        EXPECT_EQ(rdVEGetTotalPlaybackTime(video.hVirualVideo()), 0);
        EXPECT_EQ(media->hMedia(), nullptr);
        EXPECT_FALSE(alive(handle));
    }
    // Media first: the scene no longer lists it and the engine released it.
    {
        VEScene scene(0, 1000000);
        auto media = std::make_unique<VEMedia>(clip());
        ASSERT_TRUE(scene.addMedia(media.get()));
        void* handle = media->hMedia();
        media.reset();
        EXPECT_TRUE(scene.media().empty());
        EXPECT_FALSE(alive(handle));
    }
    // Removing by hand, then going: released once.
    {
        VEVirualVideo video;
        VEScene scene(0, 1000000);
        VEMedia media(clip());
        ASSERT_TRUE(scene.addMedia(&media));
        ASSERT_TRUE(video.addScene(&scene));
        EXPECT_TRUE(scene.removeMedia(&media));
        EXPECT_EQ(media.hMedia(), nullptr);
        EXPECT_FALSE(scene.removeMedia(&media)) << "not in the scene any more";
        EXPECT_TRUE(video.removeScene(&scene));
        EXPECT_EQ(scene.hScene(), nullptr);
        EXPECT_FALSE(video.addScene(&scene)) << "a released scene cannot be added";
    }
}

TEST_F(VEModel, PreviewIsTheEnginesViewForTheWindowToPlace) {
    VEVirualVideo video;
    VEScene scene(0, 1000000);
    VEMedia media(clip());
    ASSERT_TRUE(scene.addMedia(&media));
    ASSERT_TRUE(video.addScene(&scene));
    std::unique_ptr<QObject> preview(video.createPreviewWithDisplayRatio(4.0 / 3.0, QSizeF(320, 240)));
    ASSERT_NE(preview, nullptr);
    EXPECT_NE(qobject_cast<QWidget*>(preview.get()), nullptr);
    EXPECT_EQ(video.videoFrameSize, QSizeF(320, 240));
    EXPECT_DOUBLE_EQ(video.displayRatio, 4.0 / 3.0);
    preview.reset();   // the caller may delete the view before the video goes
}

TEST_F(VEModel, PreviewFailureReleasesTheVideo) {
    VEVirualVideo video;
    VEScene scene(0, 1000000);
    ASSERT_TRUE(video.addScene(&scene));
    EXPECT_EQ(video.createPreviewWithDisplayRatio(1.0, QSizeF(0, 0)), nullptr);
    EXPECT_EQ(video.hVirualVideo(), nullptr);
    EXPECT_EQ(scene.hScene(), nullptr);
}

TEST(VEMediaPlacement, FitsCentredAndCopiesDropTheHandle) {
    SlideRect r = VEMedia::showMediaInVideo(QSizeF(1920, 1080), QSizeF(1080, 1080));
    EXPECT_FLOAT_EQ(r.top, 0.21875f);
    EXPECT_FLOAT_EQ(r.bottom, 0.78125f);
    SlideRect pip = VEMedia::showMediaInPIPVideo(QSizeF(1920, 1080), QSizeF(1080, 1080));
    EXPECT_FLOAT_EQ(pip.left, 0.25f);
    EXPECT_FLOAT_EQ(pip.top, 0.359375f);
}

TEST_F(VEModel, CopyKeepsSettingsButOwnsNoHandle) {
    VEScene scene(0, 1000000);
    VEMedia media(clip());
    ASSERT_TRUE(scene.addMedia(&media));
    media.fps = 30;
    media.audioMute = true;
    media.scale = 0.5f;
    auto copy = media.copy();
    EXPECT_EQ(copy->hMedia(), nullptr);
    EXPECT_EQ(copy->scene(), nullptr);
    EXPECT_EQ(copy->fps, 0);
    EXPECT_FALSE(copy->audioMute);
    EXPECT_FLOAT_EQ(copy->scale, 0.5f);
    EXPECT_EQ(copy->nAlphaLower, 50);
    copy.reset();
    EXPECT_TRUE(alive(media.hMedia())) << "the copy going releases nothing of the original";
    EXPECT_EQ(scene.media().size(), 1u);
}

// A video keeps the scenes, media and sound handed to it: they play as long as it holds them,
// and a scene or media the engine refuses is released at once, never left behind.
TEST_F(VEModel, AVideoKeepsWhatItIsGivenAndReleasesWhatIsRefused) {
    VEVirualVideo video;
    auto scene = std::make_unique<VEScene>(0, 1000000);
    VEMedia* media = scene->addMedia(std::make_unique<VEMedia>(clip()));
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(media->scene(), scene.get());
    void* mediaHandle = media->hMedia();
    VEScene* kept = video.addScene(std::move(scene));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(video.scenes().size(), 1u);
    EXPECT_EQ(rdVEGetTotalPlaybackTime(video.hVirualVideo()), 1000000);
    EXPECT_TRUE(alive(mediaHandle));

    // A file the engine cannot use gives no media; the scene keeps nothing of it.
    EXPECT_EQ(kept->addMedia(std::make_unique<VEMedia>(QStringLiteral("/no/such/file.mp4"))), nullptr);
    EXPECT_EQ(kept->media().size(), 1u);

    // Sound on the time line, kept and released by the video.
    auto sound = std::make_unique<VEAudio>(clip());
    sound->timelineEnd_us = 1000000;
    sound->audioFactor = 0.5f;
    VEAudio* track = video.addAudio(std::move(sound));
    ASSERT_NE(track, nullptr);
    EXPECT_NE(track->hAudio(), nullptr);
    EXPECT_EQ(video.addAudio(std::make_unique<VEAudio>(QStringLiteral("/no/such/sound.mp3"))), nullptr);
    EXPECT_TRUE(video.removeAudio(track));
    EXPECT_FALSE(video.removeAudio(nullptr));

    // A scene refused by a released video is released with its media, not leaked.
    VEVirualVideo released;
    ASSERT_TRUE(released.virtualVideoDestory());
    auto refused = std::make_unique<VEScene>(0, 1000000);
    void* refusedMedia = refused->addMedia(std::make_unique<VEMedia>(clip()))->hMedia();
    EXPECT_TRUE(alive(refusedMedia));
    EXPECT_EQ(released.addScene(std::move(refused)), nullptr);
    EXPECT_FALSE(alive(refusedMedia));

    // Cleared: the engine released the scenes with their media.
    video.removeAllScene();
    EXPECT_TRUE(video.scenes().empty());
    EXPECT_EQ(rdVEGetTotalPlaybackTime(video.hVirualVideo()), 0);
    EXPECT_FALSE(alive(mediaHandle));
}

// A blocking run takes the engine video with everything in it; the model forgets it all and
// releases nothing the run still uses.
TEST_F(VEModel, ARunTakesTheVideoWithItsScenes) {
    VirtualVideoHandle taken;
    void* mediaHandle = nullptr;
    {
        VEVirualVideo video;
        auto scene = std::make_unique<VEScene>(0, 1000000);
        mediaHandle = scene->addMedia(std::make_unique<VEMedia>(clip()))->hMedia();
        ASSERT_NE(video.addScene(std::move(scene)), nullptr);
        taken = video.takeHandle();
        EXPECT_EQ(video.hVirualVideo(), nullptr);
        EXPECT_TRUE(video.scenes().empty());
    }
    ASSERT_TRUE(taken);
    EXPECT_TRUE(alive(mediaHandle)) << "the model's going released a media the run holds";
    EXPECT_EQ(rdVEGetTotalPlaybackTime(taken.get()), 1000000);
}

TEST(VEMediaManager, OneSharedVideoForTheWholeProcess) {
    std::vector<VEVirualVideo*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i) threads.emplace_back([&seen, i] { seen[i] = &VEMediaManager::shareVirualVideo(); });
    for (std::thread& thread : threads) thread.join();
    for (VEVirualVideo* video : seen) EXPECT_EQ(video, &VEMediaManager::shareVirualVideo());
    VEVirualVideo& shared = VEMediaManager::shareVirualVideo();
    ASSERT_NE(shared.hVirualVideo(), nullptr);
    // Released by a tool, then asked for a preview again: a new engine video.
    EXPECT_TRUE(shared.virtualVideoDestory());
    std::unique_ptr<QObject> view(shared.createPreviewWithDisplayRatio(1.0, QSizeF(64, 64)));
    EXPECT_NE(view, nullptr);
    EXPECT_NE(shared.hVirualVideo(), nullptr);
}

// The regions a media carries: their defaults, and copies without handles.
TEST(VERegionModels, DefaultsAndCopiesWithoutHandles) {
    VEDeLogoModel deLogo;
    EXPECT_FLOAT_EQ(deLogo.rtDeLogo.left, 0.35f);
    EXPECT_FLOAT_EQ(deLogo.originRtDeLogo.bottom, 0.65f);
    int marker = 0;
    deLogo.hDeLogo = deLogo.preDeLogo = &marker;
    deLogo.rtDeLogo.left = 0.1f;
    const VEDeLogoModel deLogoCopy = deLogo.copy();
    EXPECT_EQ(deLogoCopy.hDeLogo, nullptr);
    EXPECT_EQ(deLogoCopy.preDeLogo, nullptr);
    EXPECT_FLOAT_EQ(deLogoCopy.rtDeLogo.left, 0.1f);

    VEMosaicModel mosaic;
    mosaic.hMosaic = mosaic.preMosaic = &marker;
    mosaic.isSeleted = true;
    const VEMosaicModel mosaicCopy = mosaic.copy();
    EXPECT_EQ(mosaicCopy.hMosaic, nullptr);
    EXPECT_EQ(mosaicCopy.preMosaic, nullptr);
    EXPECT_FALSE(mosaicCopy.isSeleted);
    EXPECT_FLOAT_EQ(mosaicCopy.rtMosaic.right, 0.65f);

    VEZoomModel zoom;
    EXPECT_FLOAT_EQ(zoom.rtZoom.top, 0.25f);
    EXPECT_TRUE(zoom.isAspectRatio);
    zoom.hZoom = &marker;
    zoom.startTime = 1.5;
    zoom.isNeedDisplay = true;
    const VEZoomModel zoomCopy = zoom.copy();
    EXPECT_EQ(zoomCopy.hZoom, nullptr);
    EXPECT_DOUBLE_EQ(zoomCopy.startTime, 1.5);
    EXPECT_TRUE(zoomCopy.isNeedDisplay);

    VEMedia media;
    EXPECT_TRUE(media.zoomModelArray.empty());
    EXPECT_EQ(media.selectedMosaic, -1);
    media.zoomModelArray.push_back(zoom);
    media.mosaicModelArray.push_back(mosaic);
    media.deLogoModelArray.push_back(deLogo);
    media.selectedZoom = 0;
    const auto copy = media.copy();
    ASSERT_EQ(copy->zoomModelArray.size(), 1u);
    EXPECT_EQ(copy->zoomModelArray[0].hZoom, nullptr);
    EXPECT_EQ(copy->mosaicModelArray[0].preMosaic, nullptr);
    EXPECT_EQ(copy->deLogoModelArray[0].hDeLogo, nullptr);
    EXPECT_EQ(copy->selectedZoom, 0);
    media.setDefaultValue();
    EXPECT_TRUE(media.zoomModelArray.empty());
    EXPECT_EQ(media.selectedZoom, -1);

    VEAudio sound;
    EXPECT_DOUBLE_EQ(sound.audioSpeed, 1.0);
    EXPECT_FLOAT_EQ(sound.audioFactor, 1.0f);
    EXPECT_EQ(sound.hAudio(), nullptr);
    VECaptionModel caption;
    EXPECT_EQ(caption.hCaption, nullptr);
}

}  // namespace
