// The crop, turn and mirror set in the editor, handed to the transcoding engine the way the
// export hands them, give the picture the preview showed inside the crop box.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <vector>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_views.h"
#include "engine/mediacore/media_core.h"
#include "engine/player/DIVuverIzizud.h"
#include "session/edit/edit_bindings.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "widgets/zor_button.h"

using namespace kestrel::test;

namespace {

std::vector<unsigned char> rgbOf(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> out;
    for (int y = 0; y < rgb.height(); ++y)
        out.insert(out.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
    return out;
}

}  // namespace

TEST(WhatYouSeeIsExported, CropTurnAndMirrorMatchThePreview) {
    TempDir dir;
    const std::string input = dir.file("phone.mp4");
    FixtureSpec spec;
    spec.rotation_deg = 90;
    spec.duration_s = 1.0;
    spec.width = 320;
    spec.height = 240;
    spec.audio_streams = 0;
    makeMedia(input, spec);

    QPointer<EditVideoWindowController> editor = new EditVideoWindowController(4);
    editor->setFilePath(QString::fromStdString(input));
    editor->setAlertPresenter([](const QString&) { ADD_FAILURE() << "no alert expected"; });
    editor->showWindow();
    auto& v = editor->views();
    QTest::mouseClick(v.right_ratioBtn, Qt::LeftButton, {}, v.right_ratioBtn->rect().center());
    QTest::mouseClick(v.horizontal_mirrorBtn, Qt::LeftButton, {}, v.horizontal_mirrorBtn->rect().center());
    // A box off the centre, dragged on the overlay.
    auto* cliper = v.cliper.data();
    ASSERT_NE(cliper, nullptr);
    const QSizeF o = cliper->size();
    cliper->pressAt({2, 2});
    cliper->dragTo({o.width() * 0.1, o.height() * 0.3});
    cliper->releaseAt({o.width() * 0.1, o.height() * 0.3});
    cliper->pressAt({o.width() - 2, o.height() - 2});
    cliper->dragTo({o.width() * 0.7, o.height() * 0.9});
    cliper->releaseAt({o.width() * 0.7, o.height() * 0.9});
    const kestrel::session::EditState state = editor->editState();

    // What the preview shows at the start, cut to the box (its rectangle counts from the bottom).
    auto* player = editor->rdPlayer();
    player->seekTime(platform::MediaTime::zero());
    player->Refresh();
    int32_t w = player->frameWidth(), h = player->frameHeight();
    ASSERT_EQ(QSize(w, h), QSize(320, 240));
    std::vector<uint8_t> frame(size_t(w) * h * 4);
    ASSERT_EQ(player->Snapshot(&w, &h, frame.data()), 1);
    const QImage shown(frame.data(), w, h, w * 4, QImage::Format_ARGB32_Premultiplied);
    const kestrel::model::RECT m = state.cropMargins;
    const QRect box(m.left, m.top, w - m.left - m.right, h - m.top - m.bottom);
    const QImage expected = shown.copy(box);

    // The export's convert job, configured from the same edit state: the source's turn plus the
    // user's, the flips, the margins.
    const std::string output = dir.file("out.mp4");
    void* job_handle = apiMediaConvertCreate();
    ASSERT_NE(job_handle, nullptr);
    EXPECT_GT(apiMediaConvertSetInputMedia(job_handle, input.c_str()), 0);
    EXPECT_GT(apiMediaConvertSetOutputPath(job_handle, output.c_str()), 0);
    EXPECT_TRUE(kestrel::session::configureConvert(job_handle, state, *editor->fileData(), {}, std::nullopt).ok);
    EXPECT_GT(apiMediaConvertStart(job_handle), 0);
    apiMediaConvertClose(job_handle);

    const ProbedMedia probed = ffprobe(output);
    ASSERT_TRUE(probed.ok);
    ASSERT_NE(probed.firstOf("video"), nullptr);
    EXPECT_EQ(probed.firstOf("video")->width, box.width());
    EXPECT_EQ(probed.firstOf("video")->height, box.height());
    const auto exported = decodeFrameRGB(output, 0.0, box.width(), box.height());
    EXPECT_LT(meanAbsDiff(exported, rgbOf(expected)), 12.0);

    editor->closeAction();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
