#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>

#include "services/folders.h"
#include "session/media/media_thumbnails.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

using namespace kestrel::test;

TEST(MediaThumbnails, FirstFrameIsUprightScaledAndRealOrNull) {
    TempDir dir;
    FixtureSpec red;
    red.width = 400;
    red.height = 200;
    red.duration_s = 1;
    red.video_source = "color=c=red";
    red.rotation_deg = 90;
    const std::string rotated = dir.file("red.mp4");
    makeMedia(rotated, red);

    const QImage image = kestrel::session::firstVideoFrame(QString::fromStdString(rotated), 100);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(50, 100));  // shown upright, long side scaled to 100
    const QColor centre = image.pixelColor(25, 50);
    EXPECT_GT(centre.red(), 200);
    EXPECT_LT(centre.green(), 60);
    EXPECT_LT(centre.blue(), 60);

    FixtureSpec audioOnly;
    audioOnly.width = 0;
    const std::string sound = dir.file("tone.m4a");
    makeMedia(sound, audioOnly);
    writeBytes(dir.file("junk.mp4"), std::string(4096, '\x5a'));
    for (const std::string& path : {sound, dir.file("junk.mp4"), dir.file("missing.mp4")})
        EXPECT_TRUE(kestrel::session::firstVideoFrame(QString::fromStdString(path)).isNull()) << path;
}

TEST(MediaThumbnails, InstalledGrabberMakesTheCachedVideoThumbnail) {
    TempDir dir;
    const std::string clip = dir.file("clip.mp4");
    makeMedia(clip);
    auto& files = services::FileManager::sharedManager();
    files.setVideoFrameGrabber(nullptr);
    EXPECT_TRUE(files.readThumbFromLocal(QString::fromStdString(clip), 2).isEmpty());
    kestrel::session::installMediaThumbnails();
    const QString thumb = files.readThumbFromLocal(QString::fromStdString(clip), 2);
    ASSERT_FALSE(thumb.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(thumb));
    EXPECT_FALSE(QImage(thumb).isNull());
    files.setVideoFrameGrabber(nullptr);
}

// Audio files that carry a cover picture get it as their thumbnail; files without one get none.
TEST(MediaThumbnails, AudioArtworkIsTheAttachedCoverPicture) {
    TempDir dir;
    const std::string cover = dir.file("cover.jpg");
    makePicture(cover, 200, 160, "color=c=red");
    struct Case {
        const char* name;
        const char* codec;
    } cases[] = {{"song.mp3", "libmp3lame -id3v2_version 3"}, {"song.m4a", "aac"}};
    auto& files = services::FileManager::sharedManager();
    kestrel::session::installMediaThumbnails();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string song = dir.file(c.name);
        std::string out;
        ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i sine=d=2 -i '" + cover +
                                 "' -map 0:a -map 1:v -c:a " + c.codec + " -c:v copy -disposition:v:0 attached_pic '" +
                                 song + "'",
                             &out),
                  0)
            << out;
        const QImage artwork = kestrel::session::audioArtwork(QString::fromStdString(song));
        ASSERT_EQ(artwork.size(), QSize(200, 160));
        const QColor centre = artwork.pixelColor(100, 80);
        EXPECT_GT(centre.red(), 200);
        EXPECT_LT(centre.green(), 60);

        const QString thumb = files.readThumbFromLocal(QString::fromStdString(song), 1);
        ASSERT_FALSE(thumb.isEmpty());
        EXPECT_EQ(QImage(thumb).size(), QSize(200, 160));
    }

    FixtureSpec plain;
    plain.width = 0;
    const std::string bare = dir.file("bare.m4a");
    makeMedia(bare, plain);
    EXPECT_TRUE(kestrel::session::audioArtwork(QString::fromStdString(bare)).isNull());
    EXPECT_TRUE(files.readThumbFromLocal(QString::fromStdString(bare), 1).isEmpty());
    EXPECT_TRUE(kestrel::session::audioArtwork(QString::fromStdString(dir.file("missing.mp3"))).isNull());
    files.setVideoFrameGrabber(nullptr);
    files.setAudioArtworkGrabber(nullptr);
}
