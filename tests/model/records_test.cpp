#include <gtest/gtest.h>

#include "model/cutter_time_item.h"
#include "model/music_info.h"
#include "model/simple_data.h"
#include "model/subtitle_param.h"
#include "model/water_param.h"
#include "platform/user_defaults.h"

using namespace kestrel::model;

TEST(Records, NewJobRecordHasItsDefaults) {
    const SimpleDataPtr data = makeSimpleData();
    EXPECT_EQ(data->volume, 1.0);
    EXPECT_TRUE(data->selected);
    EXPECT_EQ(data->transitionEffect, 0);
    EXPECT_EQ(data->cutTimeRange_start, 0);
    EXPECT_EQ(data->cutTimeRange_stop, 0);
    EXPECT_EQ(data->sourceData, FileData());
    EXPECT_EQ(data->targetData, FileData());
    EXPECT_TRUE(data->audioStreamInfos.isEmpty());
    // The nested records are the record's own: changing one source leaves the other alone.
    data->sourceData.width = 1920;
    EXPECT_EQ(data->targetData.width, 0);

    const MusicInfo music;
    EXPECT_EQ(music.volume, 0.0f);
    EXPECT_FALSE(music.selected || music.isCheck || music.prune || music.repeat || music.fadeIn || music.fadeOut);
    const AudioStreamInfo stream;
    EXPECT_TRUE(stream.lang.isEmpty() && stream.title.isEmpty() && stream.psect.isEmpty() && stream.codec.isEmpty());
    EXPECT_EQ(CutterTimeItem(), (CutterTimeItem{0, 0, QImage(), 0, false}));
}

TEST(Records, WatermarkDefaultsFollowTheInterfaceLanguage) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setInteger("AppLanguage", 0);
    const WaterParam english;
    EXPECT_EQ(english.waterType, 1);
    EXPECT_EQ(english.waterAlph, 0.0);
    EXPECT_EQ(english.waterFontSize, 30.0f);
    EXPECT_EQ(english.waterFontColor, QColor(0, 0, 255));
    EXPECT_EQ(english.waterFontName, "STHeitiTC-Light");
    defaults.setInteger("AppLanguage", 8);
    EXPECT_EQ(WaterParam().waterFontName, "Muna");
    defaults.setInteger("AppLanguage", 0);

    const SubtitleParam subtitle;
    EXPECT_EQ(subtitle.fontSize, 30);
    EXPECT_EQ(subtitle.fontColor, QColor(255, 255, 255));
    EXPECT_EQ(subtitle.subtitleAlph, 1.0);
    EXPECT_EQ(subtitle.shadow, 1);
    EXPECT_EQ(subtitle.positon, -1);
}

TEST(Records, CopiesCarryEveryField) {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::yellow);

    WaterParam water;
    water.waterType = 2;
    water.waterAlph = 40;
    water.waterRect = QRectF(1, 2, 3, 4);
    water.waterPercentClipRect = QRectF(0.1, 0.2, 0.3, 0.4);
    water.waterText = "logo";
    water.waterImagePath = "/v/mark.mp4";
    water.waterImage = picture;
    water.waterFontName = "Serif";
    water.waterFontColor = Qt::green;
    water.waterFontSize = 12;
    water.waterViewFrameWidth = 320;
    water.selected = water.isCheck = water.isVideo = water.keepaspectRatio = true;
    water.fileDuration = 9;
    water.fileStartTime = 1;
    water.fileEndTime = 8;
    water.startTime = 2.5f;
    water.duration = 3;
    water.rect = QRectF(5, 6, 7, 8);
    const WaterParam waterCopy = water;
    EXPECT_EQ(waterCopy, water);
    EXPECT_TRUE(waterCopy.isVideo);  // the partial copy this replaces dropped these
    EXPECT_EQ(waterCopy.startTime, 2.5f);
    EXPECT_EQ(waterCopy.waterImage, picture);

    SubtitleParam subtitle;
    subtitle.textContent = "hello";
    subtitle.bold = 1;
    subtitle.italic = 1;
    subtitle.underline = 1;
    subtitle.strokeWidth = 2.5;
    subtitle.fadeInTime = 0.5;
    subtitle.fontPathList = {"/f/a.ttf", "/f/b.ttf"};
    subtitle.fontSelectIndex = 1;
    subtitle.alignment = "center";
    subtitle.nTimelineStart = 1;
    subtitle.nTimelineEnd = 4;
    const SubtitleParam subtitleCopy = subtitle;
    EXPECT_EQ(subtitleCopy, subtitle);
    EXPECT_EQ(subtitleCopy.bold, 1);

    const CutterTimeItem clip{1.5f, 4.0f, picture, 2.5f, true};
    EXPECT_EQ(CutterTimeItem(clip), clip);

    // A job record handed to another list is the same record; an explicit copy is a full one.
    SimpleDataPtr job = makeSimpleData();
    job->path = "/in/a.mp4";
    job->cutTimeRange_start = 500000;
    job->cutTimeRange_stop = 1500000;
    job->audioStreamInfos.append(AudioStreamInfo{2, 128, 1, 1, 48000, 1, "eng", "Main", "", "aac"});
    job->transitionEffect = 3;
    const SimpleData snapshot = *job;
    EXPECT_EQ(snapshot, *job);
    job->audioStreamInfos[0].index = 5;
    EXPECT_EQ(snapshot.audioStreamInfos[0].index, 1);
}
