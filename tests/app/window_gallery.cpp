#include "tests/app/window_gallery.h"

#include "app/about_us_window_controller.h"
#include "editor/edit_video_window_controller.h"
#include "editor/subtitle/subtitle_panel.h"
#include "editor/watermark/editor_side_panels.h"
#include "editor/watermark/watermark_panel.h"
#include "app/home_view_controller.h"
#include "app/home_window_controller.h"
#include "export/ui/export_window_controller.h"
#include "export/ui/input_file_name_window_controller.h"
#include "export/ui/setting_window_controller.h"
#include "export/ui/start_export_window_controller.h"
#include "widgets/dialogs/alert_window_controller.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/dialogs/zor_open_alert.h"
#include "widgets/zor_button.h"

#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <functional>

namespace kestrel::test {

namespace {

// A window opened from its home tile.
struct TileWindow {
    const char* name;
    int tag;
};

constexpr TileWindow kTileWindows[] = {
    {"easy_cutter", 1},   {"batch_cutter", 2},      {"editor_cut", 3},      {"joiner", 4},
    {"editor_crop", 5},   {"editor_watermark", 6},  {"editor_subtitle", 7}, {"editor_music", 8},
    {"editor_filter", 9}, {"editor_speed", 10},     {"editor_rotate", 11},  {"editor_pip", 12},
    {"splitter", 13},     {"reverse", 14},          {"editor_enhance", 15}, {"collage", 16},
    {"gif", 17},          {"video_to_picture", 18}, {"converter3d", 19},    {"beauty", 20},
};

// A tool window opened from its tile and then brought into a state the plain window does not
// show: controls that appear only once something is added or loaded.
struct PreparedTileWindow {
    const char* name;
    int tag;
    std::function<void(QObject* controller, const QString& mediaFolder)> prepare;
};

EditVideoWindowController* editorOf(QObject* controller) { return qobject_cast<EditVideoWindowController*>(controller); }

const std::vector<PreparedTileWindow>& preparedTileWindows() {
    static const std::vector<PreparedTileWindow> windows = {
        // Picture in picture with a picture added: its size row and keep-aspect box show.
        {"editor_pip_picture", 12,
         [](QObject* controller, const QString& media) {
             if (EditVideoWindowController* editor = editorOf(controller))
                 editor->sidePanels()->watermarkPanel()->addPictureWaterMark(media + "/picture.png");
         }},
        // Subtitles with a file loaded and placed at the bottom: the position value shows.
        {"editor_subtitle_file", 7,
         [](QObject* controller, const QString& media) {
             if (EditVideoWindowController* editor = editorOf(controller)) {
                 kestrel::editor::SubtitlePanel* panel = editor->sidePanels()->subtitlePanel();
                 panel->loadSubtitleFile(media + "/captions.srt");
                 panel->placeSubtitle(2);
             }
         }},
    };
    return windows;
}

// Dialogs the gallery builds itself, as their owners build them (given the media folder).
using DialogMaker = std::function<std::unique_ptr<QWidget>(const QString& mediaFolder)>;

struct DialogWindow {
    const char* name;
    DialogMaker make;
};

const std::vector<DialogWindow>& dialogWindows() {
    static const std::vector<DialogWindow> dialogs = {
        {"about", [](const QString&) { return std::make_unique<app::AboutUsWindowController>(); }},
        {"alert",
         [](const QString&) {
             auto alert = std::make_unique<kestrel::widgets::AlertWindowController>();
             alert->setTitle(QStringLiteral("Title"));
             alert->setMessage(QStringLiteral("ShowFunMessage"));
             alert->setLeftBtnTitle(QStringLiteral("OKBtnTitle"));
             alert->setRightBtnTitle(QStringLiteral("OpenPanelCancelTitle"));
             alert->changeLanguage();
             return alert;
         }},
        {"task_finished", [](const QString&) { return std::make_unique<kestrel::widgets::ZorOpenAlert>(); }},
        {"export_folder",
         [](const QString&) {
             auto dialog = std::make_unique<exportkit::ExportWindowController>();
             dialog->setInputFileName(QStringLiteral("clip.mp4"));
             return dialog;
         }},
        {"export_format",
         [](const QString&) {
             auto dialog = std::make_unique<exportkit::StartExportWindowController>();
             dialog->setIsReverse(true);
             dialog->setInputFileName(QStringLiteral("clip.mp4"));
             return dialog;
         }},
        {"export_gif",
         [](const QString&) {
             auto dialog = std::make_unique<exportkit::StartExportWindowController>();
             dialog->setIsExportGif(true);
             return dialog;
         }},
        {"output_settings",
         [](const QString&) {
             auto dialog = std::make_unique<exportkit::SettingWindowController>();
             dialog->setFileType(1);
             dialog->displayViewChildes();
             return dialog;
         }},
        {"profile_name", [](const QString&) { return std::make_unique<exportkit::InputFileNameWindowController>(); }},
        {"open_panel",
         [](const QString& mediaFolder) -> std::unique_ptr<QWidget> {
             kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
             request.allowedFileTypes = kestrel::widgets::openPanelFileTypes(true, true);
             request.directory = mediaFolder;
             return kestrel::widgets::makeFileDialog(request);
         }},
    };
    return dialogs;
}

void pump(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

}  // namespace

const std::vector<std::string>& galleryWindowNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all{"home"};
        for (const DialogWindow& dialog : dialogWindows()) all.emplace_back(dialog.name);
        for (const TileWindow& tile : kTileWindows) all.emplace_back(tile.name);
        for (const PreparedTileWindow& tile : preparedTileWindows()) all.emplace_back(tile.name);
        return all;
    }();
    return names;
}

WindowGallery::WindowGallery() : media_(std::make_unique<TempDir>()) {
    const std::string clip = media_->file("clip.mp4");
    makeMedia(clip, FixtureSpec{.duration_s = 2.0, .width = 640, .height = 360});
    clip_ = QString::fromStdString(clip);
    makePicture(media_->file("picture.png"), 160, 120);
    writeBytes(media_->file("captions.srt"), "1\n00:00:00,000 --> 00:00:02,000\nA caption\n\n");
    kestrel::widgets::setOpenPanelRunner([this](const kestrel::widgets::OpenPanelRequest&) { return QStringList{clip_}; });
    ui_ = app::loadMainInterface();
    settle();
}

WindowGallery::~WindowGallery() {
    close();
    ui_ = app::MainInterface();
    kestrel::widgets::setOpenPanelRunner({});
    pump(5);
}

QWidget* WindowGallery::open(const std::string& name) {
    close();
    if (name == "home") {
        opened_ = ui_.homeWindow.get();
        fromTile_ = false;
    }
    for (const DialogWindow& dialog : dialogWindows()) {
        if (name != dialog.name) continue;
        owned_ = dialog.make(QString::fromStdString(media_->path()));
        opened_ = owned_.get();
        opened_->show();
        fromTile_ = false;
    }
    for (const TileWindow& tile : kTileWindows)
        if (name == tile.name) opened_ = openTile(tile.tag);
    for (const PreparedTileWindow& tile : preparedTileWindows()) {
        if (name != tile.name) continue;
        opened_ = openTile(tile.tag);
        if (!opened_) continue;
        settle();
        tile.prepare(openedController_, QString::fromStdString(media_->path()));
    }
    if (!opened_) return nullptr;
    opened_->raise();
    settle();
    return opened_;
}

QWidget* WindowGallery::openTile(int tag) {
    app::HomeViewController* home = ui_.homeWindow->contentViewController();
    kestrel::widgets::ZorButton* tile = home ? home->tileWithTag(tag) : nullptr;
    if (!tile) return nullptr;
    QPointer<QWidget> window;
    const QMetaObject::Connection opened =
        QObject::connect(home, &app::HomeViewController::toolOpened, home, [this, &window](QObject* controller, QWidget* shown) {
            window = shown;
            openedController_ = controller;
        });
    QTest::mouseClick(tile, Qt::LeftButton);
    // The tile defers its work, and some tools defer once more.
    for (int i = 0; i < 400 && !window; ++i) pump(1);
    QObject::disconnect(opened);
    fromTile_ = window != nullptr;
    return window;
}

void WindowGallery::settle() {
    // Previews start, first pictures arrive and deferred layouts run.
    pump(40);
    QTest::qWait(300);
    pump(10);
}

void WindowGallery::close() {
    if (owned_) {
        owned_->close();
        owned_.reset();
    } else if (fromTile_ && opened_) {
        opened_->close();
        for (int i = 0; i < 400 && opened_; ++i) pump(1);
    }
    fromTile_ = false;
    opened_ = nullptr;
    pump(2);
}

}  // namespace kestrel::test
