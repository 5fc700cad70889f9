// The image-enhancement tile's colour, from the contrast slider dragged as a person drags it to
// the exported file: the export is ffmpeg's `eq` at the contrast the field shows (with the
// tile's enhancement after it), and the colours the preview shows are the colours a player
// shows of the file, for a standard-definition source, a BT.709 high-definition one and a
// full-range one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "editor/effects/kxfx_view.h"
#include "engine/core/effect_chains.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/media_oracle.h"
#include "tests/support/temp_dir.h"
#include "widgets/volume_progress_slider.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

struct Source {
    const char* name;
    int width, height;
    std::vector<std::string> colour_args;  // how the file describes its colours
};

// Largest difference of one channel of one pixel, and the mean, between two RGB pictures.
struct RgbDifference {
    int largest = 0;
    double mean = 0;
};
RgbDifference differenceOf(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    RgbDifference d;
    if (a.size() != b.size() || a.empty()) return RgbDifference{255, 255};
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const int step = std::abs(int(a[i]) - int(b[i]));
        d.largest = std::max(d.largest, step);
        sum += step;
    }
    d.mean = sum / double(a.size());
    return d;
}

class EnhanceColour : public ::testing::TestWithParam<Source> {};

TEST_P(EnhanceColour, ContrastIsEqAtTheSliderValueAndThePreviewShowsTheExportsColours) {
    const Source& source = GetParam();
    TempDir dir;
    const std::string input = dir.file(std::string(source.name) + ".mp4");
    FixtureSpec spec;
    spec.duration_s = 0.6;
    spec.width = source.width;
    spec.height = source.height;
    spec.audio_streams = 0;
    spec.video_source = "smptehdbars";  // saturated bars: a colour matrix mix-up shows at once
    spec.extra_args = source.colour_args;
    makeMedia(input, spec);

    QPointer<EditVideoWindowController> window = new EditVideoWindowController(8);
    window->setIsMagicEnhance(true);   // what the image-enhancement tile opens
    window->setFilePath(QString::fromStdString(input));
    QStringList alerts;
    window->setAlertPresenter([&](const QString& m) { alerts << m; });
    window->showWindow(QStringLiteral("Editor"));
    ASSERT_NE(window->exportAttachment(), nullptr);
    kestrel::editor::EditorExportAttachment* attachment = window->exportAttachment();
    exportkit::ExportSession::setFailureAlert([&](QWidget*, const QString& text) { alerts << text; });
    kestrel::editor::KxfxView* panel = attachment->effectPanel();
    ASSERT_NE(panel, nullptr);
    waitUntil([&] { return panel->magicEnhanceOn(); }, 5000);

    // The contrast knob dragged a quarter of the track to the right in several moves.
    kestrel::widgets::VolumeProgressSlider* slider = panel->contrastSlider;
    const QPoint grip = slider->tickMarkView()->geometry().center();
    const QPoint to = grip + QPoint(slider->width() * 28 / 100, 0);
    QTest::mousePress(slider, Qt::LeftButton, {}, grip);
    for (int i = 1; i <= 8; ++i) QTest::mouseMove(slider, grip + (to - grip) * i / 8);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, to);
    const int contrast = panel->contrastValueLabel->text().toInt();
    ASSERT_GE(contrast, 40) << "the drag did not reach the slider";

    window->rdPlayer()->seekTime(platform::MediaTime::fromSeconds(0.0));
    int w = 0, h = 0;
    const std::vector<unsigned char> previewed = snapshotRGB(*window->rdPlayer(), &w, &h);
    ASSERT_EQ(w, source.width);

    TempDir out;
    bool finished = false;
    QTimer::singleShot(0, [&] {
        exportkit::ExportWindowController* dialog = attachment->exportRun()->exportProgressWindow();
        ASSERT_NE(dialog, nullptr);
        dialog->setOutputPath(QString::fromStdString(out.path()));
        dialog->startExport();
        finished = waitUntil([&] { return !dialog->exporting() && attachment->exportRun()->pendingJobs() == 0; });
        dialog->closeWindowAction();
    });
    QTest::mouseClick(window->views().startExportBtn, Qt::LeftButton, {}, window->views().startExportBtn->rect().center());
    ASSERT_TRUE(finished);
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    const std::string exported = window->fileData()->exportPath.toStdString();
    window->closeAction();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    exportkit::ExportSession::setFailureAlert(nullptr);

    // The export is the command line's eq at the shown contrast, then the tile's enhancement.
    EXPECT_TRUE(decodesCleanly(exported));
    const std::string eq = "eq=contrast=" + std::to_string(1.0 + contrast / 100.0) + "," +
                           engine::imageEffectChain(engine::kMagicEnhanceEffect);
    EXPECT_TRUE(framesMatch(exported, makeReference(dir, "eq", {"-i", input, "-vf", eq})));

    // A player shows the exported colours as the preview showed them (ffmpeg reads the file's
    // colour description, as players do).
    const RgbDifference shown = differenceOf(previewed, decodeFrameRGB(exported, 0.0, w, h));
    EXPECT_LT(shown.mean, 1.5) << "largest " << shown.largest;
    EXPECT_LT(shown.largest, 32) << "mean " << shown.mean;
}

INSTANTIATE_TEST_SUITE_P(
    Sources, EnhanceColour,
    ::testing::Values(Source{"sd", 320, 240, {}},
                      Source{"hd709", 640, 360,
                             {"-vf", "scale=out_color_matrix=bt709", "-colorspace", "bt709", "-color_primaries", "bt709",
                              "-color_trc", "bt709"}},
                      Source{"fullrange", 320, 240, {"-vf", "scale=out_range=full", "-color_range", "pc"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrel::test
