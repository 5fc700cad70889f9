// Where the editor's outputs go and how they are made, driven through the window: the output-folder
// pop-up and its open button, snapshots written as the pictures their names say, and the export
// dialog's re-encode and graphics-processor boxes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QTimer>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_export_attachment.h"
#include "editor/editor_views.h"
#include "editor/output_folder_menu.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "export/ui/reveal_in_file_manager.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "session/export/hardware_encoding.h"
#include "tests/editor_export/editor_export_test_helpers.h"
#include "tests/support/ffprobe.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/packet_hashes.h"
#include "tests/support/temp_dir.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

namespace kestrel::test {
namespace {

using kestrel::editor::OutputFolderMenu;

bool startsWith(const QString& path, const QByteArray& magic) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(magic.size()) == magic;
}

struct OutputChoices : ::testing::Test {
    QPointer<EditVideoWindowController> window;
    QStringList alerts;
    QList<widgets::OpenPanelRequest> panels;
    QStringList opened;
    QString panelAnswer;

    void SetUp() override {
        platform::UserDefaults::standard().removeObjectForKey("kOutputDir");
        setEditorChoice({});  // Keep Original
        widgets::setOpenPanelRunner([this](const widgets::OpenPanelRequest& request) {
            panels << request;
            return panelAnswer.isEmpty() ? QStringList() : QStringList{panelAnswer};
        });
        exportkit::setFileManagerHandler([this](const QString& path) {
            opened << path;
            return true;
        });
        exportkit::ExportSession::setFailureAlert([this](QWidget*, const QString& text) { alerts << text; });
    }
    void TearDown() override {
        if (window && window->exportAttachment())
            waitUntil([this] { return window->exportAttachment()->exportRun()->pendingJobs() == 0; });
        if (window) window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        widgets::setOpenPanelRunner({});
        exportkit::setFileManagerHandler({});
        exportkit::ExportSession::setFailureAlert(nullptr);
        exportkit::ExportWindowController::setHardwareEncodingProbe({});
        platform::UserDefaults::standard().removeObjectForKey("kOutputDir");
    }
    void open(int64_t tool) {
        window = new EditVideoWindowController(tool);
        window->setFilePath(QString::fromStdString(standardClip()));
        window->setAlertPresenter([this](const QString& m) { alerts << m; });
        window->showWindow(QStringLiteral("Editor"));
        ASSERT_NE(window->fileData(), nullptr);
    }
    EditVideoWindowController::Views& v() { return window->views(); }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    static void typeInto(kestrel::widgets::RDTextField* field, const QString& text) {
        field->setText(text);
        Q_EMIT field->textEdited(text);
    }
    // An item picked in the pop-up's list.
    static void pick(OutputFolderMenu* menu, int index) {
        menu->setCurrentIndex(index);
        Q_EMIT menu->activated(index);
        QCoreApplication::processEvents();
    }
    // The export button, its dialog prepared by `inDialog`, then (with start) Start pressed and the
    // export waited for; the written file.
    QString exportThroughTheButton(const std::function<void(exportkit::ExportWindowController*)>& inDialog,
                                   bool start = true) {
        kestrel::editor::EditorExportAttachment* attachment = window->exportAttachment();
        bool finished = false;
        QTimer::singleShot(0, [&] {
            exportkit::ExportWindowController* dialog = attachment->exportRun()->exportProgressWindow();
            if (!dialog) return;
            inDialog(dialog);
            if (!start) {
                finished = true;
                dialog->closeWindowAction();
                return;
            }
            click(dialog->startBtn);
            finished = waitUntil([&] { return !dialog->exporting() && attachment->exportRun()->pendingJobs() == 0; });
            dialog->closeWindowAction();
        });
        click(v().startExportBtn);
        EXPECT_TRUE(finished);
        return finished && start ? window->fileData()->exportPath : QString();
    }
};

TEST_F(OutputChoices, ChosenFolderTakesSnapshotsAndExportsAndIsRemembered) {
    TempDir out;
    panelAnswer = QString::fromStdString(out.path()) + "/mine";
    QDir().mkpath(panelAnswer);
    open(1);
    OutputFolderMenu* menu = v().outputPathPopUpBtn;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->currentIndex(), OutputFolderMenu::ProgramFolder);
    EXPECT_EQ(window->outputPath(), OutputFolderMenu::folderOf(OutputFolderMenu::ProgramFolder));

    // A cancelled panel changes nothing.
    const QString answer = panelAnswer;
    panelAnswer.clear();
    pick(menu, OutputFolderMenu::Other);
    ASSERT_EQ(panels.size(), 1);
    EXPECT_EQ(menu->currentIndex(), OutputFolderMenu::ProgramFolder);
    EXPECT_FALSE(platform::UserDefaults::standard().hasKey("kOutputDir"));

    panelAnswer = answer;
    pick(menu, OutputFolderMenu::Other);
    ASSERT_EQ(panels.size(), 2);
    EXPECT_EQ(panels.last().message, services::localized("Main_Sel_Dir_Hit"));
    EXPECT_TRUE(panels.last().chooseFolders);
    EXPECT_EQ(menu->currentIndex(), OutputFolderMenu::Chosen);
    EXPECT_EQ(menu->currentText(), "mine");
    EXPECT_EQ(window->outputPath(), panelAnswer);
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("kOutputDir"), panelAnswer);

    // Snapshots land in the chosen folder, as the kind of picture their names say.
    click(v().b_cameraBtn);
    const QString png = window->lastSnapshotPath();
    QList<QAction*> kinds = v().coverStyleMenus->actions();
    ASSERT_EQ(kinds.size(), 3);
    // The kind is chosen from the format button's menu, as often as the user likes.
    const auto chooseKind = [&](QAction* kind) {
        const auto chosen = chooseInNextMenu(kind->text());
        click(v().b_picStyleBtn);
        EXPECT_TRUE(waitUntil([&] { return *chosen; }, 5000)) << kind->text().toStdString();
        EXPECT_TRUE(v().b_picStyleBtn->isVisible()) << "the format button stays for the next choice";
    };
    chooseKind(kinds[2]);  // bmp
    chooseKind(kinds[1]);  // jpg
    click(v().b_cameraBtn);
    const QString jpg = window->lastSnapshotPath();
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
    const struct {
        QString path;
        const char* suffix;
        QByteArray magic;
        const char* codec;
    } snapshots[] = {{png, ".png", QByteArray("\x89PNG", 4), "png"}, {jpg, ".jpg", QByteArray("\xFF\xD8\xFF", 3), "mjpeg"}};
    for (const auto& s : snapshots) {
        SCOPED_TRACE(s.suffix);
        EXPECT_EQ(QFileInfo(s.path).absolutePath(), panelAnswer);
        EXPECT_TRUE(s.path.endsWith(s.suffix)) << s.path.toStdString();
        EXPECT_TRUE(startsWith(s.path, s.magic));
        const ProbedMedia probed = ffprobe(s.path.toStdString());
        ASSERT_TRUE(probed.ok) << probed.error;
        EXPECT_EQ(probed.firstOf("video")->codec, s.codec);
    }

    // The open button shows that folder.
    click(v().outputOpenBtn);
    EXPECT_EQ(opened, QStringList{panelAnswer});

    // The export dialog starts there, and the export is written there.
    typeInto(v().stopSecondsField, QStringLiteral("01"));
    typeInto(v().stopMioSecondsField, QStringLiteral("000"));
    QString shownInDialog;
    const QString written = exportThroughTheButton([&](exportkit::ExportWindowController* dialog) {
        shownInDialog = dialog->outputPathTextFiled->text();
    });
    EXPECT_EQ(shownInDialog, panelAnswer);
    EXPECT_EQ(QFileInfo(written).absolutePath(), panelAnswer);
    EXPECT_TRUE(ffprobe(written.toStdString()).ok);

    // The next window shows the remembered folder.
    window->closeAction();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    open(1);
    EXPECT_EQ(v().outputPathPopUpBtn->currentIndex(), OutputFolderMenu::Chosen);
    EXPECT_EQ(v().outputPathPopUpBtn->currentText(), "mine");
    EXPECT_EQ(window->outputPath(), panelAnswer);
    pick(v().outputPathPopUpBtn, OutputFolderMenu::Desktop);
    EXPECT_EQ(window->outputPath(), OutputFolderMenu::folderOf(OutputFolderMenu::Desktop));
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("kOutputDir"), window->outputPath());
}

// Under Keep Original a cut that starts between key frames keeps the source's packets after the
// first key frame; with the re-encode box ticked no packet of the source is left.
TEST_F(OutputChoices, ReEncodeBoxLeavesNoSourcePacket) {
    const QSet<QString> source = videoPacketHashes(standardClip());
    ASSERT_FALSE(source.isEmpty());
    const struct {
        bool reencode;
        bool sharesPackets;
    } cases[] = {{false, true}, {true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reencode ? "re-encode" : "keep packets");
        TempDir out;
        open(1);
        typeInto(v().startMioSecondsField, QStringLiteral("200"));  // frame 5; key frames every 12
        typeInto(v().stopSecondsField, QStringLiteral("01"));
        typeInto(v().stopMioSecondsField, QStringLiteral("600"));
        const QString written = exportThroughTheButton([&](exportkit::ExportWindowController* dialog) {
            dialog->setOutputPath(QString::fromStdString(out.path()));
            if (c.reencode) click(dialog->reEncodingBtn);
            EXPECT_EQ(dialog->reEncoding(), c.reencode);
        });
        EXPECT_TRUE(alerts.isEmpty()) << alerts.join(", ").toStdString();
        ASSERT_TRUE(QFileInfo::exists(written));
        const ProbedMedia probed = ffprobe(written.toStdString(), true);
        ASSERT_TRUE(probed.ok) << probed.error;
        ASSERT_NE(probed.firstOf("video"), nullptr);
        EXPECT_EQ(probed.firstOf("video")->codec, "h264");
        EXPECT_NEAR(probed.firstOf("video")->frames / 25.0, 1.4, 0.04 + 1e-6);  // the range, exactly
        const QSet<QString> output = videoPacketHashes(written.toStdString());
        EXPECT_EQ(output.intersects(source), c.sharesPackets);
        window->closeAction();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The graphics-processor box is open only where a hardware encoder really encodes here, and
// otherwise says why in every language.
TEST_F(OutputChoices, GraphicsProcessorBoxFollowsTheProbe) {
    exportkit::ExportWindowController::setHardwareEncodingProbe(session::hardwareEncodingAvailable);
    const bool available = session::hardwareEncodingAvailable();
    EXPECT_EQ(session::hardwareEncodingAvailable(), available);  // one answer per run
    open(1);
    bool checked = false;
    exportThroughTheButton([&](exportkit::ExportWindowController* dialog) {
        checked = true;
        EXPECT_EQ(dialog->enableGpuBtn->isEnabled(), available);
        if (available) return;
        EXPECT_EQ(dialog->enableGpuBtn->toolTip(), services::localized("EnableGpuUnavailableTip"));
        click(dialog->enableGpuBtn);
        EXPECT_FALSE(dialog->enableGpuBtn->selected());  // a disabled box cannot be ticked
    }, false);
    EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace kestrel::test
