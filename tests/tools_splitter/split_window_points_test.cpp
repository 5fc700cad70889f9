// The splitter's points and the files it takes, driven through its own controls: every point a
// mode computes is kept, the count of equal parts stops where a piece would hold less than a
// second (and the window says so), a cancelled custom length changes nothing, and a file the
// window cannot use leaves it as it was, with the file and the reason named.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/user_input.h"
#include "tests/tools_splitter/split_test_helpers.h"
#include "tools/shared/media_input.h"
#include "tools/splitter/split_progress_view.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

using kestrel::tools::splitter::SplitMode;
using kestrel::tools::splitter::SplitWindowController;

class SplitPointsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SplitWindowController::setMessagePresenter([this](const QString& text) { messages.append(text); });
    }
    void TearDown() override {
        SplitWindowController::setMessagePresenter(nullptr);
        SplitWindowController::setNumberPrompt(nullptr);
        kestrel::widgets::setOpenPanelRunner({});
    }

    std::unique_ptr<SplitWindowController> openWindow(const std::string& path) {
        auto window = std::make_unique<SplitWindowController>();
        window->setFilePath(QString::fromStdString(path));
        window->show();
        activate(window.get());
        EXPECT_TRUE(window->fileData() != nullptr);
        return window;
    }

    // The piece ends the bar hands to the export: point j of n sits at j / n.
    static void expectEvenEnds(const kestrel::tools::splitter::SplitProgressView* bar, int pieces) {
        const QList<float> ends = bar->getTimeProgresses();
        ASSERT_EQ(ends.size(), pieces);
        for (int j = 0; j < pieces; ++j) EXPECT_NEAR(ends[j], double(j + 1) / pieces, 1e-6) << "end " << j;
    }

    QStringList messages;
};

TEST_F(SplitPointsWindowTest, EveryComputedPointIsKeptHoweverCloseTheMarkers) {
    auto window = openWindow(fourMinuteClip());
    auto* bar = window->playerSlider;
    // 200 equal parts of 240 s: 199 points, although their markers overlap on the bar.
    typeInto(window->averageTextField, QStringLiteral("200"), Commit::Tab);
    EXPECT_EQ(bar->count(), 199);
    expectEvenEnds(bar, 200);

    // By time, 5 s pieces: 48 of them.
    click(window->split_timeBtn);
    ASSERT_EQ(window->mode(), SplitMode::Time);
    ASSERT_TRUE(chooseInPopup(window->split_timepopBtn, QStringLiteral("5 ")));
    EXPECT_EQ(bar->count(), 47);
    expectEvenEnds(bar, 48);

    // By time, a custom 1 s: 240 pieces.
    SplitWindowController::setNumberPrompt([](int, double) { return QStringLiteral("1"); });
    ASSERT_TRUE(chooseInPopup(window->split_timepopBtn, services::localized(QStringLiteral("SplitCustomValue"))));
    EXPECT_EQ(bar->count(), 239);
    expectEvenEnds(bar, 240);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

TEST_F(SplitPointsWindowTest, EqualPartsStopWhereAPieceWouldHoldLessThanASecond) {
    auto window = openWindow(fourMinuteClip());
    auto* bar = window->playerSlider;
    auto* note = window->findChild<QLabel*>(QStringLiteral("averageLimitLabel"));
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isVisible());
    // A ten-digit count is held to 240 parts of one second, and the window says why.
    typeInto(window->averageTextField, QStringLiteral("3000000000"), Commit::Tab);
    EXPECT_EQ(window->averageTextField->text(), QStringLiteral("240"));
    EXPECT_EQ(bar->count(), 239);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().contains(QStringLiteral("240"))) << note->text().toStdString();
    // The up stepper goes no further; the down stepper steps back and the note goes.
    click(window->averagestepperUpBtn);
    EXPECT_EQ(window->averageTextField->text(), QStringLiteral("240"));
    click(window->averagestepperDownBtn);
    EXPECT_EQ(window->averageTextField->text(), QStringLiteral("239"));
    EXPECT_EQ(bar->count(), 238);
    EXPECT_FALSE(note->isVisible());
    // Letters are no count: the field keeps digits only, and an emptied field keeps its count.
    typeInto(window->averageTextField, QStringLiteral("abc"), Commit::Tab);
    EXPECT_EQ(window->averageTextField->text(), QStringLiteral("239"));
    EXPECT_EQ(bar->count(), 238);
}

TEST_F(SplitPointsWindowTest, ACancelledCustomLengthChangesNothing) {
    auto window = openWindow(twentySecondClip());
    auto* bar = window->playerSlider;
    click(window->split_timeBtn);
    ASSERT_TRUE(chooseInPopup(window->split_timepopBtn, QStringLiteral("10 ")));
    ASSERT_EQ(bar->count(), 1);
    for (const QString& answer : {QString(), QStringLiteral("0")}) {
        SplitWindowController::setNumberPrompt([answer](int, double) { return answer; });
        ASSERT_TRUE(chooseInPopup(window->split_timepopBtn, services::localized(QStringLiteral("SplitCustomValue"))));
        EXPECT_TRUE(window->split_timepopBtn->currentText().startsWith(QStringLiteral("10 ")))
            << window->split_timepopBtn->currentText().toStdString();
        EXPECT_EQ(bar->count(), 1);
        expectEvenEnds(bar, 2);
    }
}

TEST_F(SplitPointsWindowTest, AFileItCannotUseLeavesTheWindowAsItWasAndSaysWhy) {
    TempDir dir;
    const std::string broken = brokenFile(dir, "broken.mp4");
    const QString reason = kestrel::tools::shared::refusalReason(QString::fromStdString(broken));

    // Opened from the home screen on a broken file: an empty window that can still take a file.
    SplitWindowController window;
    window.setFilePath(QString::fromStdString(broken));
    window.show();
    activate(&window);
    EXPECT_EQ(window.fileData(), nullptr);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("broken.mp4"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(reason)) << messages[0].toStdString();
    EXPECT_TRUE(window.addfileBtn->isEnabled());
    EXPECT_FALSE(window.startExportBtn->isEnabled());

    // Add File with a good file loads it.
    const QString good = QString::fromStdString(twentySecondClip());
    QStringList offered;
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest& request) {
        offered = request.allowedFileTypes;
        return QStringList{good};
    });
    click(window.addfileBtn);
    // The panel offers the containers a user may have sound or video in, these four among them.
    for (const char* type : {"mka", "mpeg", "mpa", "mxf", "mp4", "mp3"}) EXPECT_TRUE(offered.contains(QString::fromLatin1(type))) << type;
    ASSERT_NE(window.fileData(), nullptr);
    EXPECT_EQ(window.fileData()->path, good);
    click(window.averagestepperUpBtn);
    ASSERT_EQ(window.playerSlider->count(), 2);

    // Add File with a broken one keeps the good file, its points and its controls.
    const QString other = QString::fromStdString(brokenFile(dir, "other.mov"));
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest&) { return QStringList{other}; });
    click(window.addfileBtn);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(QStringLiteral("other.mov"))) << messages[1].toStdString();
    EXPECT_TRUE(messages[1].contains(reason)) << messages[1].toStdString();
    ASSERT_NE(window.fileData(), nullptr);
    EXPECT_EQ(window.fileData()->path, good);
    EXPECT_EQ(window.filePath(), good);
    EXPECT_EQ(window.playerSlider->count(), 2);
    EXPECT_TRUE(window.startExportBtn->isEnabled());
    EXPECT_TRUE(window.averagestepperUpBtn->isEnabled());
    EXPECT_TRUE(window.addfileBtn->isEnabled());
}

}  // namespace
}  // namespace kestrel::test
