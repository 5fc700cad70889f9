// The face beauty window in every interface language: its five rows, the note shown without
// the landmark model, the time fields and buttons all show their whole text.
#include "tools/beauty/beauty_window_controller.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text_fit.h"
#include "tools/shared/clip_time_fields.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class BeautyTextFit : public kestrel::test::AllLanguagesTest {};

TEST_P(BeautyTextFit, EveryTextFitsItsControl) {
    kestrel::test::TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 1.0;
    const std::string clip = dir.file("a_rather_long_holiday_video_name.mp4");
    kestrel::test::makeMedia(clip, spec);
    beauty::BeautyWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY_WITH_TIMEOUT(w.faceModelSettled(), 60000);
    // The note is the longest text of the window: check it shown whether or not the model is there.
    w.noteLabel->show();
    // Times and values read left to right in every language.
    QList<QWidget*> numbers = {w.timeLabel, w.startTime, w.endTime};
    for (QSpinBox* field : w.fields) numbers << field << field->findChildren<QWidget*>();
    EXPECT_GE(kestrel::test::expectTextsFit(&w, "clip open, note shown", arabic(), numbers), 6);
}

KESTREL_ALL_LANGUAGES(BeautyTextFit);

}  // namespace
