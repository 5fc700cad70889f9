// The collage's cell tools, music trim, filter and transport through the window's controls:
// results reach what they were opened for, removed cells leave the composition, and the
// preview shows what the export writes.
#include "engine/editing/preview_view.h"
#include "session/preview/collage_preview.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/collage_filter_window.h"
#include "tools/collage/collage_music_window.h"
#include "tools/collage/collage_trim_window.h"
#include "tools/shared/time_field_group.h"
#include "widgets/ns_progress_view.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QDir>
#include <QSlider>
#include <QTimer>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel::test;
using namespace kestrel::tools::collage;

namespace {

void expectNear(const Mean& m, double r, double g, double b, const std::string& where) {
    EXPECT_NEAR(m.r, r, 40) << where;
    EXPECT_NEAR(m.g, g, 40) << where;
    EXPECT_NEAR(m.b, b, 40) << where;
}

void clickCell(CollageHarness& h, int i) {
    QTest::mouseClick(h.w().cellViews()[i], Qt::LeftButton, {}, h.w().cellViews()[i]->rect().center());
}

// The preview's picture once it shows the wanted colour at a point given in fractions.
bool previewShows(CollageHarness& h, double fx, double fy, QColor want) {
    auto* view = h.w().playerFrame()->findChild<kestrel::editing::PreviewView*>();
    if (!view) return false;
    return waitUntil(
        [&] {
            const QImage picture = view->picture();
            if (picture.isNull()) return false;
            const QColor got = picture.pixelColor(int(fx * picture.width()), int(fy * picture.height()));
            return std::abs(got.red() - want.red()) < 40 && std::abs(got.green() - want.green()) < 40 &&
                   std::abs(got.blue() - want.blue()) < 40;
        },
        20000);
}

}  // namespace

// The trim window's result goes to the cell it was opened for, even when the selection moved.
TEST(CollageCells, TrimGoesToTheCellItWasOpenedFor) {
    TempDir media;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 2.0));
    h.fillCell(1, colourClip(media, "blue", "blue", 3.0));
    ASSERT_EQ(h.w().selectedCell(), 1);
    QTest::mouseClick(h.w().trimBtn, Qt::LeftButton);
    auto* trim = qobject_cast<CollageTrimWindow*>(h.w().openSubWindow());
    ASSERT_NE(trim, nullptr);
    h.w().previousCellBtn->click();
    ASSERT_EQ(h.w().selectedCell(), 0);
    // The 3 s clip's handles dragged to 0.5 s and 1.5 s, the loudness to about a half.
    dragTrimPart(trim->trimBar, TrimPart::End, 0.5);
    dragTrimPart(trim->trimBar, TrimPart::Start, 1.0 / 6);
    clickAt(trim->volumeSlider, QPoint(trim->volumeSlider->width() / 2, trim->volumeSlider->height() / 2));
    const int64_t start = trim->startUs(), end = trim->endUs();
    const float volume = trim->volumeSlider->progress();
    EXPECT_NEAR(start, 500'000, 60'000);
    EXPECT_NEAR(end, 1'500'000, 60'000);
    EXPECT_NEAR(volume, 0.5f, 0.1f);
    click(trim->okBtn);
    const auto& left = h.w().cellViews()[0]->cell;
    const auto& right = h.w().cellViews()[1]->cell;
    EXPECT_EQ(right.trimStart_us, start);
    EXPECT_EQ(right.trimDuration_us, end - start);
    EXPECT_FLOAT_EQ(right.volume, volume);
    EXPECT_EQ(left.trimStart_us, 0);
    EXPECT_EQ(left.trimDuration_us, 2'000'000);
    EXPECT_FLOAT_EQ(left.volume, 1.0f);
    EXPECT_EQ(h.w().preview()->totalUs(), std::max<int64_t>(2'000'000, end - start));
}

// The music's trim window changes the music only; the music always ends with the collage.
TEST(CollageCells, MusicTrimLeavesTheCellsAlone) {
    TempDir media, out;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 2.0));
    h.fillCell(1, colourClip(media, "blue", "blue", 1.0));
    EXPECT_FALSE(h.w().cutMusicBtn->isEnabled());
    h.panelAnswers << QString::fromStdString(toneFile(media, "tone", 6.0));
    Q_EMIT h.w().musicBox->activated(h.w().musicBox->count() - 1);
    ASSERT_TRUE(h.w().cutMusicBtn->isEnabled());
    QTest::mouseClick(h.w().cutMusicBtn, Qt::LeftButton);
    auto* window = qobject_cast<CollageMusicWindow*>(h.w().openSubWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_NEAR(window->endUs(), 6'000'000, 100'000);
    // Typed into the seconds and milliseconds fields, each committed by moving on.
    typeInto(window->startFields->fields[2], QStringLiteral("01"), Commit::Tab);
    typeInto(window->endFields->fields[2], QStringLiteral("01"), Commit::Tab);
    typeInto(window->endFields->fields[3], QStringLiteral("500"), Commit::Tab);
    click(window->okBtn);
    const auto spec = h.w().spec();
    ASSERT_TRUE(spec.music.has_value());
    EXPECT_EQ(spec.music->sourceStart_us, 1'000'000);
    EXPECT_EQ(spec.music->sourceDuration_us, 500'000);
    EXPECT_EQ(spec.cells[0].trimDuration_us, 2'000'000);
    EXPECT_EQ(spec.cells[1].trimDuration_us, 1'000'000);

    const std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    const ProbedMedia probe = ffprobe(written);
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_NEAR(probe.duration_s, 2.0, 0.15);

    // No music again: the menu's first entry.
    Q_EMIT h.w().musicBox->activated(0);
    EXPECT_FALSE(h.w().spec().music.has_value());
    EXPECT_FALSE(h.w().cutMusicBtn->isEnabled());
}

// The filter shows in the preview as in the export; a removed cell leaves the composition (its
// place is empty in both); play runs the clock and stop brings it back to the start.
TEST(CollageCells, PreviewMatchesExportAfterFilterAndRemoval) {
    TempDir media, out;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 2.0));
    h.fillCell(1, colourClip(media, "blue", "blue", 2.0));
    Q_EMIT h.w().filterBox->activated(h.w().filterBox->count() - 1);
    auto* filters = qobject_cast<CollageFilterWindow*>(h.w().openSubWindow());
    ASSERT_NE(filters, nullptr);
    int row = -1;
    for (int i = 0; i < filters->entries().size(); ++i)
        if (filters->entries()[i].id == "builtin.negative") row = i;
    ASSERT_GE(row, 0);
    QTest::mouseClick(filters->list->viewport(), Qt::LeftButton, {}, filters->list->visualItemRect(filters->list->item(row)).center());
    QTest::mouseClick(filters->okBtn, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return h.w().openSubWindow() == nullptr; }, 5000));
    EXPECT_TRUE(previewShows(h, 0.25, 0.5, QColor(0, 255, 255)));
    EXPECT_TRUE(previewShows(h, 0.75, 0.5, QColor(255, 255, 0)));

    QTest::mouseClick(h.w().playBtn, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return h.w().preview()->positionUs() > 200'000; }, 20000));
    QTest::mouseClick(h.w().stopBtn, Qt::LeftButton);
    EXPECT_FALSE(h.w().preview()->playing());
    EXPECT_EQ(h.w().preview()->positionUs(), 0);

    clickCell(h, 1);
    QTest::mouseClick(h.w().deleteBtn, Qt::LeftButton);
    EXPECT_FALSE(h.w().cellViews()[1]->holdsFile());
    EXPECT_TRUE(previewShows(h, 0.75, 0.5, QColor(0, 0, 0)));
    EXPECT_TRUE(previewShows(h, 0.25, 0.5, QColor(0, 255, 255)));

    const std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    const std::vector<unsigned char> frame = decodeFrameRGB(written, 1.0, 1920, 1080);
    ASSERT_FALSE(frame.empty());
    expectNear(meanAt(frame, 1920, 480, 540), 0, 255, 255, "filtered red");
    expectNear(meanAt(frame, 1920, 1440, 540), 0, 0, 0, "removed cell");
}

// A file with no picture is refused with an alert and leaves the cell as it was.
TEST(CollageCells, SoundOnlyAndDamagedFilesAreRefused) {
    TempDir media;
    CollageHarness h;
    const std::string tone = toneFile(media, "tone", 1.0);
    writeBytes(media.file("broken.mp4"), "not a video at all");
    h.fillCell(0, tone);
    h.fillCell(0, media.file("broken.mp4"));
    EXPECT_EQ(h.alerts.size(), 2);
    EXPECT_FALSE(h.w().cellViews()[0]->holdsFile());
    EXPECT_FALSE(h.w().exportBtn->isEnabled());
}

// Turns and mirrors move the picture as seen: a picture red on the left and blue on the right,
// turned a quarter clockwise, shows red at the top; mirrored top to bottom, blue at the top.
TEST(CollageCells, TurnAndMirrorInTheExport) {
    TempDir media, out;
    const std::string halves = media.file("halves.png");
    std::string output;
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i color=c=red:s=200x300 -f lavfi -i "
                         "color=c=blue:s=200x300 -filter_complex hstack -frames:v 1 '" + halves + "'",
                         &output),
              0)
        << output;
    CollageHarness h;
    h.fillCell(0, halves);
    h.fillCell(1, colourClip(media, "lime", "lime", 1.0));
    clickCell(h, 0);
    QTest::mouseClick(h.w().rotateBtn, Qt::LeftButton);
    EXPECT_EQ(h.w().cellViews()[0]->cell.angle, 90);
    std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    std::vector<unsigned char> frame = decodeFrameRGB(written, 0.5, 1920, 1080);
    ASSERT_FALSE(frame.empty());
    expectNear(meanAt(frame, 1920, 480, 200), 255, 0, 0, "top after the turn");
    expectNear(meanAt(frame, 1920, 480, 880), 0, 0, 255, "bottom after the turn");
    expectNear(meanAt(frame, 1920, 1440, 540), 0, 255, 0, "other cell");

    QTest::mouseClick(h.w().mirrorVerticalBtn, Qt::LeftButton);
    written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty());
    frame = decodeFrameRGB(written, 0.5, 1920, 1080);
    expectNear(meanAt(frame, 1920, 480, 200), 0, 0, 255, "top after the mirror");
    expectNear(meanAt(frame, 1920, 480, 880), 255, 0, 0, "bottom after the mirror");
}

// Another aspect gives its own even frame size; the border keeps its width; the layout's
// cells keep their files.
TEST(CollageCells, AspectChangeKeepsCellsAndBorderWidth) {
    TempDir media, out;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 1.0));
    h.fillCell(1, colourClip(media, "blue", "blue", 1.0));
    h.w().borderWidthSlider->setValue(12);
    h.w().aspectBox->setCurrentIndex(1);  // 9 : 16
    EXPECT_EQ(h.w().aspectIndex(), 1);
    EXPECT_FLOAT_EQ(h.w().borderWidth(), 12.0f);
    EXPECT_TRUE(h.w().cellViews()[0]->holdsFile());
    EXPECT_TRUE(h.w().cellViews()[1]->holdsFile());
    const QSize frame = h.w().playerFrame()->size();
    EXPECT_NEAR(double(frame.width()) / frame.height(), 9.0 / 16.0, 0.02);
    const std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    const ProbedMedia probe = ffprobe(written);
    ASSERT_TRUE(probe.ok) << probe.error;
    ASSERT_NE(probe.firstOf("video"), nullptr);
    EXPECT_EQ(probe.firstOf("video")->width, 606);
    EXPECT_EQ(probe.firstOf("video")->height, 1080);
    const std::vector<unsigned char> picture = decodeFrameRGB(written, 0.5, 606, 1080);
    ASSERT_FALSE(picture.empty());
    expectNear(meanAt(picture, 606, 151, 540), 255, 0, 0, "left");
    expectNear(meanAt(picture, 606, 454, 540), 0, 0, 255, "right");
    // 12 points of a 540-line frame: a line at least 12 pixels wide between the cells.
    expectNear(meanAt(picture, 606, 303, 540, 4), 195, 197, 201, "border");
}

// Stopping the export from its dialog ends it stopped and leaves no file behind.
TEST(CollageCells, StoppedExportLeavesNoFile) {
    TempDir media, out;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 20.0));
    h.fillCell(1, colourClip(media, "blue", "blue", 20.0));
    bool stopped = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = h.w().exportDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->setStopConfirmer([](const QString&) { return true; });
        dialog->setOutputPath(QString::fromStdString(out.path()));
        dialog->startExport();
        // Stopped while it runs: once it has reported progress, well before its 20 s are written.
        waitUntil([&] { return h.w().exporting() && dialog->progressView->progress() > 0; }, 30000);
        ASSERT_TRUE(dialog->exporting());
        dialog->startExport();  // Stop
        stopped = waitUntil([&] { return !dialog->exporting(); }, 60000);
        dialog->closeWindowAction();
    });
    QTest::mouseClick(h.w().exportBtn, Qt::LeftButton);
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(h.alerts.isEmpty()) << h.alerts.join(", ").toStdString();
    EXPECT_TRUE(waitUntil([&] { return QDir(QString::fromStdString(out.path())).entryList(QDir::Files).isEmpty(); }, 30000))
        << QDir(QString::fromStdString(out.path())).entryList(QDir::Files).join(", ").toStdString();
    EXPECT_TRUE(h.w().exportBtn->isEnabled());
}

// A file dropped on a cell fills that cell and selects it.
TEST(CollageCells, DropFillsTheCell) {
    TempDir media;
    CollageHarness h;
    CollageCellView* cell = h.w().cellViews()[1];
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(colourClip(media, "red", "red", 1.0)))});
    QDragEnterEvent enter(cell->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(cell->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell, &drop);
    EXPECT_TRUE(cell->holdsFile());
    EXPECT_FALSE(h.w().cellViews()[0]->holdsFile());
    EXPECT_EQ(h.w().selectedCell(), 1);
    EXPECT_EQ(h.w().preview()->totalUs(), cell->cell.trimDuration_us);
    EXPECT_TRUE(h.w().exportBtn->isEnabled());
}

// Dragging in a cell pans the picture within it: a wide picture red on the left and blue on the
// right shows both halves at the cell's centre line; dragged far right, its left (red) part.
TEST(CollageCells, DragPansThePicture) {
    TempDir media, out;
    const std::string halves = media.file("wide.png");
    std::string output;
    ASSERT_EQ(runCommand("ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i color=c=red:s=400x300 -f lavfi -i "
                         "color=c=blue:s=400x300 -filter_complex hstack -frames:v 1 '" + halves + "'",
                         &output),
              0)
        << output;
    CollageHarness h;
    h.fillCell(0, halves);
    CollageCellView* cell = h.w().cellViews()[0];
    const double before = cell->cell.clip.left;
    EXPECT_GT(before, 0.2);  // an 8:3 picture in a nearly square cell shows its middle
    const QPoint from = cell->rect().center();
    QTest::mousePress(cell, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(3 * cell->width(), 0)), cell->mapToGlobal(QPointF(from + QPoint(3 * cell->width(), 0))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(cell, &move);
    QTest::mouseRelease(cell, Qt::LeftButton, {}, from + QPoint(3 * cell->width(), 0));
    EXPECT_NEAR(cell->cell.clip.left, 0.0, 1e-6);
    EXPECT_NEAR(cell->cell.clip.right - cell->cell.clip.left, 1 - 2 * before, 1e-6);  // same size, moved

    h.fillCell(1, colourClip(media, "lime", "lime", 1.0));
    const std::string written = h.exportTo(out.path());
    ASSERT_FALSE(written.empty()) << h.alerts.join(", ").toStdString();
    const std::vector<unsigned char> frame = decodeFrameRGB(written, 0.5, 1920, 1080);
    ASSERT_FALSE(frame.empty());
    expectNear(meanAt(frame, 1920, 480, 540), 255, 0, 0, "panned to the left half");
    expectNear(meanAt(frame, 1920, 880, 540), 255, 0, 0, "the right of the cell is still red");
}
