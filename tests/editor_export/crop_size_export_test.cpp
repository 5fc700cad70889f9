// The crop tool's sizes, end to end: a crop set through the panel's fields or by dragging the
// overlay, exported through the window's own button; the file ffprobe reads has the size the
// panel shows, and its picture is that part of the source.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

// Sources: what the file is, and whether its export's encoder takes even sizes only.
struct Source {
    const char* name;
    int width, height;
    int rotation_deg;
    const char* codec;
    const char* pixel_format;
};
constexpr Source kPlain{"plain.mp4", 320, 240, 0, "libx264", "yuv420p"};
constexpr Source kOddH264{"odd.mp4", 321, 241, 0, "libx264", "yuv444p"};  // H.264 out: even sizes
constexpr Source kOddLossless{"odd.mkv", 321, 241, 0, "ffv1", "yuv444p"};  // FFV1 4:4:4 out: any size
constexpr Source kPhone{"phone.mp4", 320, 240, 90, "libx264", "yuv420p"};  // shown upright, 240 x 320

std::string makeSource(const TempDir& dir, const Source& s) {
    const std::string path = dir.file(s.name);
    FixtureSpec spec;
    spec.duration_s = 1.0;
    spec.width = s.width;
    spec.height = s.height;
    spec.rotation_deg = s.rotation_deg;
    spec.video_codec = s.codec;
    spec.pixel_format = s.pixel_format;
    spec.video_source = "testsrc";  // testsrc2 rounds odd sizes to even
    makeMedia(path, spec);
    return path;
}

struct CropExport : ::testing::Test {
    QPointer<EditVideoWindowController> window;
    QStringList alerts;

    void SetUp() override { setEditorChoice({}); }  // Keep Original: the size is the crop's
    void TearDown() override {
        if (window) {
            kestrel::editor::EditorExportController* run = window->exportAttachment()->exportRun();
            waitUntil([run] { return run->pendingJobs() == 0; });
            window->closeAction();
        }
        exportkit::ExportSession::setFailureAlert(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EditVideoWindowController::Views& v() { return window->views(); }

    void open(const std::string& path) {
        window = new EditVideoWindowController(4);
        window->setFilePath(QString::fromStdString(path));
        window->setAlertPresenter([this](const QString& m) { alerts << m; });
        window->showWindow(QStringLiteral("Editor"));
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts << text; });
        // The crop fields take typing once the window has settled.
        waitUntil([this] { return !v().cropLeftField->isReadOnly() && !v().cropWidthField->isReadOnly(); });
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    // Typed key by key over the old value, ended with Return.
    static void type(kestrel::widgets::RDTextField* field, int value) {
        field->selectAll();
        QTest::keyClicks(field, QString::number(value));
        QTest::keyClick(field, Qt::Key_Return);
    }
    // A drag on the overlay between two points given as fractions of it (bottom-left origin).
    void dragOverlay(QPointF from, QPointF to) {
        QWidget* overlay = v().cliper;
        auto at = [overlay](QPointF f) {
            return QPoint(int(f.x() * overlay->width()), int((1.0 - f.y()) * overlay->height()));
        };
        QTest::mousePress(overlay, Qt::LeftButton, {}, at(from));
        QTest::mouseMove(overlay, at((from + to) / 2));
        QTest::mouseMove(overlay, at(to));
        QTest::mouseRelease(overlay, Qt::LeftButton, {}, at(to));
    }
    static int number(const QLineEdit* field) { return field->text().toInt(); }

    // Presses Export; the modal dialog is given the folder and started; returns the written file.
    QString exportThroughTheButton(const std::string& folder) {
        kestrel::editor::EditorExportAttachment* attachment = window->exportAttachment();
        bool finished = false;
        QTimer::singleShot(0, [&] {
            exportkit::ExportWindowController* dialog = attachment->exportRun()->exportProgressWindow();
            if (!dialog) return;
            dialog->setOutputPath(QString::fromStdString(folder));
            dialog->startExport();
            finished = waitUntil([&] { return !dialog->exporting() && attachment->exportRun()->pendingJobs() == 0; });
            dialog->closeWindowAction();
        });
        click(v().startExportBtn);
        EXPECT_TRUE(finished);
        return window->fileData()->exportPath;
    }
};

TEST_F(CropExport, TheWrittenSizeIsTheSizeThePanelShows) {
    enum How { Fields, Overlay };
    const struct Case {
        const char* name;
        Source source;
        int quarterTurns;
        bool keepAspect;
        How how;
        int left, top, width, height;  // typed, for Fields
        QPointF from, to;              // overlay fractions, for Overlay
        const char* label;             // the size label before cropping
        bool even;                     // the encoder takes even sizes only
    } cases[] = {
        {"odd typed margins", kPlain, 0, false, Fields, 33, 17, 251, 187, {}, {}, "320 x 240", true},
        {"dragged corners", kPlain, 0, false, Overlay, 0, 0, 0, 0, {0.003, 0.003}, {0.163, 0.121}, "320 x 240", true},
        {"odd source, even encoder", kOddH264, 0, false, Fields, 5, 3, 201, 151, {}, {}, "320 x 240", true},
        {"odd source, any size", kOddLossless, 0, false, Fields, 4, 2, 201, 151, {}, {}, "321 x 241", false},
        {"rotated source", kPhone, 0, false, Overlay, 0, 0, 0, 0, {0.997, 0.997}, {0.731, 0.853}, "240 x 320", true},
        {"turned by the user", kPlain, 1, false, Fields, 11, 21, 171, 243, {}, {}, "240 x 320", true},
        {"keep ratio", kPlain, 0, true, Overlay, 0, 0, 0, 0, {0.997, 0.997}, {0.613, 0.7}, "320 x 240", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string source = makeSource(dir, c.source);
        open(source);
        ASSERT_NE(window->fileData(), nullptr);
        for (int i = 0; i < c.quarterTurns; ++i) click(v().right_ratioBtn);
        EXPECT_EQ(v().original_SizeValueLabel->text(), QString::fromLatin1(c.label));
        if (c.keepAspect) click(v().keepAspectBtn);
        if (c.how == Fields) {
            // The size first: a full-height crop has no room for a top margin.
            type(v().cropWidthField, c.width);
            type(v().cropHeightField, c.height);
            type(v().cropLeftField, c.left);
            type(v().cropTopField, c.top);
        } else {
            dragOverlay(c.from, c.to);
        }
        const int left = number(v().cropLeftField), top = number(v().cropTopField);
        const int width = number(v().cropWidthField), height = number(v().cropHeightField);
        if (c.how == Fields) {
            // What is shown is what was typed, rounded down to what the export can write.
            EXPECT_LE(c.left - left, 1);
            EXPECT_LE(c.top - top, 1);
            EXPECT_TRUE(c.width - width == 0 || c.width - width == 1) << width;
            EXPECT_TRUE(c.height - height == 0 || c.height - height == 1) << height;
        }
        if (c.even) {
            EXPECT_EQ(width % 2, 0);
            EXPECT_EQ(height % 2, 0);
        }

        TempDir out;
        const QString written = exportThroughTheButton(out.path());
        EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
        ASSERT_TRUE(QFileInfo::exists(written));
        const ProbedMedia probed = ffprobe(written.toStdString());
        ASSERT_TRUE(probed.ok) << probed.error;
        const ProbedStream* video = probed.firstOf("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->width, width);
        EXPECT_EQ(video->height, height);

        // The picture is the part of the upright source the fields name.
        if (c.quarterTurns == 0) {
            const std::string reference = out.file("reference.png");
            ASSERT_EQ(runCommand("ffmpeg -v error -y -ss 0.4 -i '" + source + "' -vf crop=" + std::to_string(width) +
                                 ":" + std::to_string(height) + ":" + std::to_string(left) + ":" +
                                 std::to_string(top) + " -frames:v 1 '" + reference + "'"),
                      0);
            EXPECT_LT(meanAbsDiff(decodeFrameRGB(written.toStdString(), 0.4, width, height),
                                  decodeFrameRGB(reference, 0, width, height)),
                      6.0);
        }
        window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        alerts.clear();
    }
}

}  // namespace
}  // namespace kestrel::test
