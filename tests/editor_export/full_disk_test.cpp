// The editor's export on a full disk ends in the dialog's failed state with the code and leaves
// no file; and no job ever changes the files it reads.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QPointer>
#include <filesystem>
#include <sys/stat.h>

#include "editor/edit_video_window_controller.h"
#include "engine/editing/rdve.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"
#include "export/profiles/profile_choice.h"
#include "export/ui/export_window_controller.h"
#include "services/language.h"
#include "session/export/output_choice.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

const auto& keys() { return exportkit::ChoiceKeys::editor(); }

TEST(EditorExportFullDisk, EndsFailedWithTheCodeAndLeavesNoFile) {
    const std::string& clip = standardClip();  // made before the disk fills
    for (bool removePart : {false, true}) {
        SCOPED_TRACE(removePart ? "remove a part" : "keep a part");
        TempDir out;
        setEditorChoice({{keys().vcodec, "mpeg4"}, {keys().acodec, "aac"}});
        ExportHarness h(clip);
        h.edits.removeSelectedPart = removePart;
        h.edits.trimStart_us = (0) * 1000000LL + (520) * 1000LL;
        h.edits.trimStop_us = (1) * 1000000LL + (200) * 1000LL;
        {
            ScopedFileSizeLimit full(16 * 1024);
            h.start(out.path());
            ASSERT_TRUE(h.waitForEnd());
        }
        ASSERT_EQ(h.alerts.size(), 1);
        EXPECT_TRUE(h.alerts[0].startsWith("error:-")) << h.alerts[0].toStdString();
        EXPECT_TRUE(filesIn(out.path()).isEmpty()) << filesIn(out.path()).join(", ").toStdString();
        auto* dialog = h.run.exportProgressWindow();
        EXPECT_FALSE(dialog->exporting());
        EXPECT_EQ(dialog->startBtn->contentTitle(), services::localized("Start"));
        EXPECT_TRUE(dialog->openBtn->isHidden());
        EXPECT_EQ(h.run.currentPhase(), -1);
    }
}

TEST(EditorSnapshotFullDisk, SnapshotsAndSavedPicturesLeaveNoCutOffFile) {
    TempDir out;
    QPointer<::EditVideoWindowController> editor = new ::EditVideoWindowController(1);
    editor->setFilePath(QString::fromStdString(standardClip()));
    editor->showWindow(QStringLiteral("Editor"));
    editor->setOutputPath(QString::fromStdString(out.path()));
    const QString saved = QString::fromStdString(out.file("mark.png"));
    QImage picture(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) picture.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * y) % 256));
    for (const char* style : {"png", "jpg", "bmp"}) {
        SCOPED_TRACE(style);
        editor->setCoverStyle(QString::fromLatin1(style));
        {
            ScopedFileSizeLimit full(1024);
            editor->actionCarameraBtn();
            EXPECT_FALSE(editor->saveImage(picture, saved));
        }
        EXPECT_TRUE(editor->lastSnapshotPath().isEmpty()) << editor->lastSnapshotPath().toStdString();
        EXPECT_TRUE(filesIn(out.path()).isEmpty()) << filesIn(out.path()).join(", ").toStdString();
    }
    // With room the same calls write whole pictures.
    editor->actionCarameraBtn();
    EXPECT_EQ(QImage(editor->lastSnapshotPath()).size(), QSize(320, 240));
    EXPECT_TRUE(editor->saveImage(picture, saved));
    EXPECT_EQ(QImage(saved), picture);
    editor->closeAction();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
}

struct FileState {
    QByteArray sha256;
    timespec mtime{};
    bool operator==(const FileState& o) const {
        return sha256 == o.sha256 && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

FileState stateOf(const std::string& path) {
    FileState state;
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::ReadOnly)) state.sha256 = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) state.mtime = info.st_mtim;
    return state;
}

TEST(InputsUntouched, ConvertJoinReverseAndEditorExportLeaveTheirInputsAsTheyWere) {
    TempDir in, out;
    const std::string first = in.file("first.mp4"), second = in.file("second.mkv");
    makeMedia(first);
    FixtureSpec other;
    other.duration_s = 1.0;
    makeMedia(second, other);
    // Old times, so a rewrite within the same clock tick would still show.
    for (const std::string& path : {first, second})
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::hours(24));
    const FileState firstBefore = stateOf(first), secondBefore = stateOf(second);

    void* convert = apiMediaConvertCreate();
    apiMediaConvertSetInputMedia(convert, first.c_str());
    apiMediaConvertSetVcodec(convert, "h264");
    apiMediaConvertSetOutputPath(convert, out.file("converted.mp4").c_str());
    EXPECT_EQ(apiMediaConvertStart(convert), 1);
    apiMediaConvertClose(convert);

    void* join = apiMediaJoinCreate();
    apiMediaJoinAddMediaClip(join, first.c_str(), 0, 0);
    apiMediaJoinAddMediaClip(join, second.c_str(), 0, 0);
    apiMediaJoinSetOutputPath(join, out.file("joined.mp4").c_str());
    EXPECT_EQ(apiMediaJoinStart(join), 1);
    apiMediaJoinClose(join);

    void* reverse = rdVEMediaReverseCreate();
    rdVEMediaReverseSetInputFile(reverse, second.c_str());
    rdVEMediaReverseSetOutputPath(reverse, out.file("reversed.mp4").c_str());
    rdVEMediaReverseSetAudioMode(reverse, 2);
    EXPECT_EQ(rdVEMediaReverseEncode(reverse), 1);
    rdVEMediaReverseClose(reverse);

    setEditorChoice({});
    {
        ExportHarness h(first);
        h.edits.trimStart_us = (0) * 1000000LL + (400) * 1000LL;
        h.edits.trimStop_us = (1) * 1000000LL + (600) * 1000LL;
        h.start(out.path());
        ASSERT_TRUE(h.waitForEnd());
        EXPECT_TRUE(h.alerts.isEmpty()) << h.alerts.join(", ").toStdString();
    }
    EXPECT_EQ(filesIn(out.path()).size(), 4) << filesIn(out.path()).join(", ").toStdString();
    EXPECT_TRUE(stateOf(first) == firstBefore);
    EXPECT_TRUE(stateOf(second) == secondBefore);
    EXPECT_EQ(filesIn(in.path()), (QStringList{"first.mp4", "second.mkv"}));
}

}  // namespace
}  // namespace kestrel::test
