// The joiner as a person uses it where it used to fail them: handles dragged onto each other,
// a clip with nothing left to join, the alerts of refused files and failed snapshots, the
// support address, an unwritable standard folder, and a window closed while a time is typed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "editor/shutter_sound.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/support_address_resources.h"
#include "tests/support/user_input.h"
#include "tests/tools_joiner/joiner_window_helpers.h"
#include "tools/shared/clip_list_cell.h"
#include "tools/shared/output_folder_popup.h"
#include "tools/shared/support_mail.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/zor_button.h"

namespace kt = kestrel::test;
using kestrel::test::JoinerWindowHarness;
using kestrel::tools::joiner::JoinnerWindowController;

namespace {

QString text(const char* key) { return services::localized(QString::fromLatin1(key)); }

// Three short clips, generated once.
const QStringList& threeClips() {
    static kt::TempDir* dir = new kt::TempDir;
    static const QStringList made = [] {
        QStringList paths;
        for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) {
            kt::FixtureSpec spec;
            spec.duration_s = 3;
            kt::makeMedia(dir->file(name), spec);
            paths << QString::fromStdString(dir->file(name));
        }
        return paths;
    }();
    return made;
}

// What the next alert showed, read from the dialog a person sees, which is then dismissed.
struct SeenAlert {
    QString title, message, button;
    bool seen = false;
};

std::shared_ptr<SeenAlert> readNextAlert() {
    auto seen = std::make_shared<SeenAlert>();
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        seen->seen = true;
        seen->title = box->text();
        seen->message = box->informativeText();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) seen->button = ok->text();
        box->close();
    });
    poll->start(20);
    return seen;
}

// Takes the mail links the window asks the desktop to open.
class MailCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

struct CountingShutter : kestrel::editor::ShutterSound {
    explicit CountingShutter(int* plays) : plays_(plays) {}
    void play() override { ++*plays_; }
    int* plays_;
};

}  // namespace

// Dragging a clip's start handle onto its end leaves the shortest range typing takes (a
// hundredth of a second), never an empty one; a clip whose whole range is removed has nothing
// left to join, and Start names it instead of joining the others and calling it finished.
TEST(JoinerRangesAndAlerts, HandlesStopApartAndAClipWithNothingLeftIsNamed) {
    JoinerWindowHarness h;
    h.addThroughPanel(threeClips());
    JoinnerWindowController& w = h.window();
    ASSERT_EQ(w.fileList().size(), 3);
    h.selectRow(1);
    ASSERT_TRUE(kt::waitUntil([&] { return w.player() != nullptr; }));
    kestrel::widgets::RDCutProgressView* bar = w.cutProgressView();
    const QPoint from = kt::trimGrip(bar, kt::TrimPart::Start);
    kt::drag(bar, from, QPoint(kt::drawnTrack(bar).right() + 20, from.y()), 12);
    const auto clip = w.fileList()[1];
    EXPECT_EQ(clip->cutTimeRange_stop - clip->cutTimeRange_start, 10'000);
    EXPECT_EQ(clip->cutTimeRange_stop, int64_t(double(clip->sourceData.duration) * 1e6));
    EXPECT_EQ(w.startFields()[2]->text(), "02");
    EXPECT_EQ(w.startFields()[3]->text(), "99");

    // The whole of the first clip removed: nothing of it is left to join.
    h.selectRow(0);
    kt::click(w.unSelectTimeBtn());
    ASSERT_TRUE(w.fileList()[0]->isTrimFanxuan);
    kt::click(w.startJoinnerBtn());
    EXPECT_FALSE(w.joining());
    ASSERT_EQ(h.alerts.size(), 1);
    EXPECT_EQ(h.alerts[0].first, JoinnerWindowController::kPlainAlert);
    EXPECT_TRUE(h.alerts[0].second.contains(w.fileList()[0]->name + ": " + text("CutRangeEmptyMessage")))
        << h.alerts[0].second.toStdString();
    EXPECT_TRUE(h.outputs().isEmpty());
}

// The alert of a refused file, as shown: headed by the window's title, naming the file and the
// reason, with an OK button that says so.
TEST(JoinerRangesAndAlerts, ARefusedFilesAlertNamesTheFileAndTheReason) {
    JoinerWindowHarness h;
    JoinnerWindowController& w = h.window();
    w.setWindowTitle(text("Joiner_Title"));
    w.setAlertPresenter({});
    const QString broken = h.file("broken.mov");
    kt::writeBytes(broken.toStdString(), std::string(4096, '\x42'));
    QStringList offered;
    kestrel::widgets::setOpenPanelRunner([&](const kestrel::widgets::OpenPanelRequest& request) {
        offered = request.allowedFileTypes;
        return QStringList{broken};
    });
    const auto seen = readNextAlert();
    kt::click(w.addfileBtn());
    kestrel::widgets::setOpenPanelRunner({});
    ASSERT_TRUE(seen->seen);
    EXPECT_TRUE(offered.contains("webm"));
    EXPECT_EQ(seen->title, text("Joiner_Title"));
    EXPECT_TRUE(seen->message.contains("broken.mov: " + text("RefusedFileNotMedia"))) << seen->message.toStdString();
    EXPECT_EQ(seen->button, text("OKBtnTitle"));
    EXPECT_FALSE(seen->button.isEmpty());
}

// A snapshot that cannot be written says so and makes no click; a written one clicks. The empty
// list's support address starts a mail.
TEST(JoinerRangesAndAlerts, SnapshotFailuresSaySoAndTheSupportAddressStartsAMail) {
    kestrel::test::SupportAddressResources supportAddress(QStringLiteral("help@example.org"));
    ASSERT_TRUE(supportAddress.ok());
    JoinerWindowHarness h;
    JoinnerWindowController& w = h.window();
    int plays = 0;
    w.setShutterSound(std::make_unique<CountingShutter>(&plays));

    MailCatcher mail;
    QDesktopServices::setUrlHandler("mailto", &mail, "open");
    kt::click(w.supportMailLink()->addressLabel());
    ASSERT_TRUE(kt::waitUntil([&] { return !mail.urls.isEmpty(); }, 5000));
    QDesktopServices::unsetUrlHandler("mailto");
    EXPECT_EQ(mail.urls.first(), kestrel::tools::shared::supportMailUrl());
    EXPECT_TRUE(mail.urls.first().toString(QUrl::FullyEncoded).endsWith("?Subject=%20&body=%20"));

    h.addThroughPanel({threeClips()[0]});
    h.selectRow(0);
    ASSERT_TRUE(kt::waitUntil([&] { return w.player() != nullptr; }));
    QTest::qWait(300);
    const QString plain = h.file("plain");
    kt::writeBytes(plain.toStdString(), "x");
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser([&](const QString&) { return plain; });
    w.outputFolderBtn()->choose(kestrel::tools::shared::OutputFolderPopup::Other);
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser({});
    kt::click(w.cutCoverBtn());
    ASSERT_EQ(h.alerts.size(), 1);
    EXPECT_TRUE(h.alerts[0].second.startsWith(text("SnapshotFailedMessage"))) << h.alerts[0].second.toStdString();
    EXPECT_EQ(plays, 0);
    h.chooseOutputFolder(h.file("pictures"));
    kt::click(w.cutCoverBtn());
    EXPECT_EQ(h.outputs().size(), 1);
    EXPECT_EQ(plays, 1);
}

// The desktop (or movies, or documents) folder that cannot be written is no choice: the folder
// panel opens instead, and the folder picked there becomes the output folder.
TEST(JoinerRangesAndAlerts, AnUnwritableDesktopOpensTheFolderPanel) {
    JoinerWindowHarness h;
    const QString plain = h.file("plain");
    kt::writeBytes(plain.toStdString(), "x");
    const QString dirsFile = QDir::homePath() + "/config/user-dirs.dirs";
    QFile::remove(dirsFile);
    {
        QFile dirs(dirsFile);
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write(QString("XDG_DESKTOP_DIR=\"%1/Desktop\"\n").arg(plain).toUtf8());
    }
    struct DirsBack {
        QString path;
        ~DirsBack() { QFile::remove(path); }
    } dirsBack{dirsFile};
    int asked = 0;
    const QString chosen = h.file("chosen");
    QDir().mkpath(chosen);
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser([&](const QString&) {
        ++asked;
        return chosen;
    });
    h.window().outputFolderBtn()->choose(kestrel::tools::shared::OutputFolderPopup::Desktop);
    kestrel::tools::shared::OutputFolderPopup::setFolderChooser({});
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(h.window().outputPath(), chosen);
    EXPECT_EQ(h.window().outputFolderBtn()->currentIndex(), int(kestrel::tools::shared::OutputFolderPopup::Chosen));
}

// A window closed while a time is being typed goes quietly: the field's end of editing reaches
// no half-destroyed window.
TEST(JoinerRangesAndAlerts, ClosingWhileATimeIsTypedIsQuiet) {
    kt::TempDir dir;
    auto window = std::make_unique<JoinnerWindowController>();
    window->setAlertPresenter([](int, const QString&) { return false; });
    window->show();
    kt::activate(window.get());
    kestrel::widgets::setOpenPanelRunner([](const kestrel::widgets::OpenPanelRequest&) { return QStringList{threeClips()[0]}; });
    kt::click(window->addfileBtn());
    kestrel::widgets::setOpenPanelRunner({});
    ASSERT_EQ(window->fileList().size(), 1);
    ASSERT_TRUE(kt::waitUntil([&] { return window->player() != nullptr; }));
    QWidget* seconds = window->startFields()[2];
    kt::clickAt(seconds, seconds->rect().center());
    QTest::keyClicks(seconds, "1");
    ASSERT_TRUE(seconds->hasFocus());
    window.reset();  // UBSan and ASan watch the field's last signal
    QTest::qWait(20);
}

#include "joiner_ranges_and_alerts_test.moc"
