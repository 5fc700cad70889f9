// The 3D converter window in every interface language: the six mode buttons, the time fields
// and the export button all show their whole text.
#include "tools/converter3d/ui3d_converter_window_controller.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text_fit.h"
#include "tools/shared/clip_time_fields.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Converter3DTextFit : public kestrel::test::AllLanguagesTest {};

TEST_P(Converter3DTextFit, EveryTextFitsItsControl) {
    kestrel::test::TempDir dir;
    kestrel::test::FixtureSpec spec;
    spec.duration_s = 1.0;
    const std::string clip = dir.file("a_rather_long_holiday_video_name.mp4");
    kestrel::test::makeMedia(clip, spec);
    converter3d::UI3DConverterWindowController w;
    w.setVideoPath(QString::fromStdString(clip));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // Times read left to right in every language.
    EXPECT_GE(kestrel::test::expectTextsFit(&w, "clip open", arabic(), {w.timeLabel, w.startTime, w.endTime}), 7);
}

KESTREL_ALL_LANGUAGES(Converter3DTextFit);

}  // namespace
