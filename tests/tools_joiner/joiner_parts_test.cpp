// Parts of the joiner checked alone: time fields and the range checks, apply-to-all, the
// format bar's values on every clip (a custom size keeps each clip's own other side), the join
// progress panel, and every text of the window fitting in all nine languages.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QTest>

#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/tools_joiner/joiner_window_helpers.h"
#include "tools/joiner/join_progress_panel.h"
#include "tools/joiner/joiner_profile_targets.h"
#include "tools/joiner/joiner_text_fit.h"
#include "tools/joiner/joiner_time_fields.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

using namespace kestrel::tools::joiner;
using kestrel::model::SimpleDataPtr;

namespace {

SimpleDataPtr clipOf(double durationS, int width = 640, int height = 360) {
    SimpleDataPtr c = kestrel::model::makeSimpleData();
    c->sourceData.duration = c->targetData.duration = float(durationS);
    c->sourceData.width = c->targetData.width = width;
    c->sourceData.height = c->targetData.height = height;
    c->sourceData.extension = c->targetData.extension = "mov";
    c->sourceData.a_codec = c->targetData.a_codec = "aac";
    return c;
}

TEST(JoinerTimeFields, SplitAndReadBack) {
    const TimeFields f = splitTime(12.345);
    EXPECT_EQ(f.hours, 0);
    EXPECT_EQ(f.seconds, 12);
    EXPECT_EQ(f.hundredths, 34);
    EXPECT_DOUBLE_EQ(readTime(f), 12.34);
    const TimeFields g = splitTime(3725.5);
    EXPECT_EQ(g.hours, 1);
    EXPECT_EQ(g.minutes, 2);
    EXPECT_EQ(g.seconds, 5);
    EXPECT_EQ(g.hundredths, 50);
    EXPECT_EQ(splitTime(2.3).hundredths, 30);  // 2.3 is 2.2999...: not 29
    EXPECT_DOUBLE_EQ(readTime({0, 0, 75, 0}), 75.0);  // fields are never wrapped
    EXPECT_EQ(fieldValue("07x"), 7);
    EXPECT_EQ(fieldValue("abc"), 0);
    EXPECT_EQ(fieldText(5), "05");
    EXPECT_EQ(toMicroseconds(2.5), 2500000);
}

TEST(JoinerTimeFields, RangeChecksNameTheirMessage) {
    struct Case {
        bool startField;
        double s, e, d;
        const char* key;
    } cases[] = {
        {true, -1, 5, 10, "showmessageTime4"},
        {true, 6, 5, 10, "showmessageTime1"},
        {true, 5, 5, 10, "showmessageTime1"},  // nothing would be left
        {true, 1, 5, 10, ""},
        {false, 1, 11, 10, "showmessageTime2"},
        {false, 6, 5, 10, "showmessageTime3"},
        {false, 1, 10, 10, ""},
    };
    for (const Case& c : cases) {
        const RangeProblem p = c.startField ? checkStart(c.s, c.e) : checkEnd(c.s, c.e, c.d);
        EXPECT_EQ(problemKey(p), QString::fromLatin1(c.key)) << c.s << " " << c.e;
    }
}

TEST(JoinerTimeFields, ApplyToAllFitsEachClip) {
    const SimpleDataPtr selected = clipOf(40);
    selected->isTrimFanxuan = true;
    const SimpleDataPtr longer = clipOf(30), shorter = clipOf(15), tiny = clipOf(8), exact = clipOf(10);
    applyRangeToAll({selected, longer, shorter, tiny, exact}, selected, 10, 20);
    EXPECT_EQ(longer->cutTimeRange_start, 10000000);
    EXPECT_EQ(longer->cutTimeRange_stop, 20000000);
    EXPECT_EQ(shorter->cutTimeRange_start, 5000000);  // same length, ending at the end
    EXPECT_EQ(shorter->cutTimeRange_stop, 15000000);
    EXPECT_EQ(tiny->cutTimeRange_start, 0);  // longer than the clip: all of it
    EXPECT_EQ(tiny->cutTimeRange_stop, 8000000);
    EXPECT_EQ(exact->cutTimeRange_start, 0);  // never an empty range
    EXPECT_EQ(exact->cutTimeRange_stop, 10000000);
    EXPECT_TRUE(longer->isTrimFanxuan);
    EXPECT_EQ(selected->cutTimeRange_stop, 0);  // the selected clip is left as it is
}

TEST(JoinerProfileTargets, ChoiceAndCustomSizeOnEveryClip) {
    auto& defaults = platform::UserDefaults::standard();
    const SimpleDataPtr wide = clipOf(10, 1920, 1080), small = clipOf(4, 320, 240);
    exportkit::ProfileChoice choice;
    choice.extName = "mp4";
    choice.resolution = "1280x720";
    choice.framerate = "25";
    choice.bitrate = "2000";
    choice.abitrate = "128";
    applyChoiceToClips(choice, false, {wide, small});
    for (const SimpleDataPtr& c : {wide, small}) {
        EXPECT_EQ(c->targetData.width, 1280);
        EXPECT_EQ(c->targetData.extension, "mp4");
        EXPECT_EQ(c->targetData.fps, 25.0);
    }
    EXPECT_FLOAT_EQ(wide->targetData.fileSize, float(10 * (2000 + 128) * 0.125));

    // A custom width with no custom height: each clip keeps the height it had as target.
    const auto& keys = exportkit::ChoiceKeys::joiner();
    defaults.setString(keys.resolution, exportkit::kCustomValue);
    defaults.setInteger(exportkit::kCustomWidthKey, 1000);
    defaults.removeObjectForKey(exportkit::kCustomHeightKey);
    wide->targetData.height = 1080;
    small->targetData.height = 240;
    applySettingToClips(exportkit::kSettingFrameSize, choice, keys, {wide, small});
    EXPECT_EQ(wide->targetData.width, 1000);
    EXPECT_EQ(wide->targetData.height, 1080);
    EXPECT_EQ(small->targetData.width, 1000);
    EXPECT_EQ(small->targetData.height, 240);
    defaults.removeObjectForKey(keys.resolution);
    defaults.removeObjectForKey(exportkit::kCustomWidthKey);
}

class Source : public ConvertJoinProgressDelegate {
public:
    float value = 0;
    bool cancels = true;
    int cancelled = 0;
    bool answersChangeProgress() const override { return true; }
    float changeProgress() override { return value; }
    bool answersCancelConvertJoin() const override { return cancels; }
    void cancelConvertJoin() override { ++cancelled; }
};

TEST(JoinProgressPanel, ShowsTheDelegatesPercentAndPassesCancelOn) {
    ConvertJoinProgressVC panel;
    Source source;
    panel.setJoinDelegate(&source);
    source.value = 45.6f;
    panel.convertJoinGetProgress();
    EXPECT_FLOAT_EQ(panel.progress(), 0.456f);
    EXPECT_EQ(panel.progressStatues(), "46%");
    for (float bad : {-1.0f, 101.0f, std::nanf("")}) {
        source.value = bad;
        panel.convertJoinGetProgress();
        EXPECT_FLOAT_EQ(panel.progress(), 0.456f);
        EXPECT_EQ(panel.progressStatues(), "46%");
    }
    source.value = 80;
    QTest::qWait(450);  // the panel polls by itself
    EXPECT_EQ(panel.progressStatues(), "80%");

    source.cancels = false;
    panel.show();
    QTest::mouseClick(panel.cancelBtn(), Qt::LeftButton);
    EXPECT_EQ(source.cancelled, 0);
    EXPECT_TRUE(panel.polling());
    source.cancels = true;
    QTest::mouseClick(panel.cancelBtn(), Qt::LeftButton);
    EXPECT_EQ(source.cancelled, 1);
    EXPECT_FALSE(panel.polling());
}

TEST(JoinProgressPanel, WithoutADelegateNothingChanges) {
    ConvertJoinProgressVC panel;
    panel.convertJoinGetProgress();
    EXPECT_EQ(panel.progressStatues(), "");
    EXPECT_TRUE(panel.polling());
    panel.closeWindow();
    EXPECT_FALSE(panel.polling());
}

class JoinerTextFit : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override {
        platform::UserDefaults::standard().removeObjectForKey("AppLanguage");
        services::Language::setLanguage();
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    }
};

TEST_P(JoinerTextFit, EveryTextFitsItsControl) {
    kestrel::test::JoinerWindowHarness h;
    platform::UserDefaults::standard().setInteger("AppLanguage", GetParam());
    services::Language::setLanguage();
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    h.window().changeLanguage();
    const bool arabic = GetParam() == 8;
    for (QWidget* control : h.window().textControls()) {
        const QString full = control->property("fullText").toString();
        EXPECT_FALSE(full.isEmpty()) << control->metaObject()->className();
        EXPECT_TRUE(textFits(control)) << full.toStdString() << " in language " << GetParam();
        EXPECT_EQ(control->layoutDirection(), arabic ? Qt::RightToLeft : Qt::LeftToRight);
        // No key shows as its own text.
        EXPECT_FALSE(full.contains("BtnTitle") || full.contains("stringValue") || full.startsWith("joinner_"))
            << full.toStdString();
    }
    EXPECT_EQ(h.window().layoutDirection(), Qt::LeftToRight);  // the layout is never mirrored
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, JoinerTextFit, ::testing::Range(0, 9));

}  // namespace
