// The home screen's twenty tool actions: which window each tile opens, with which options,
// file kinds, title and size.
#include "app/home_tiles.h"
#include "app/home_view_controller.h"
#include "app/window_placement.h"
#include "editor/edit_video_window_controller.h"
#include "platform/dispatch.h"
#include "services/language.h"
#include "tools/beauty/beauty_window_controller.h"
#include "tools/collage/collage_window_controller.h"
#include "tools/converter3d/ui3d_converter_window_controller.h"
#include "tools/cutter/batch_cutter_window_controller.h"
#include "tools/cutter/easy_cutter_windowcontroller.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/gif/gif_window_controller.h"
#include "tools/joiner/joinner_window_controller.h"
#include "tools/reverse/reverse_view_controller.h"
#include "tools/reverse/reverse_window_controller.h"
#include "tools/splitter/split_window_controller.h"
#include "widgets/zor_button.h"

#include <QPointer>
#include <array>
#include <memory>

namespace app {

namespace {

using Action = void (HomeViewController::*)();
// By tag - 1; the picture-in-picture tile opens the watermark editor.
constexpr std::array<Action, kHomeTileCount> kTileActions = {
    &HomeViewController::easy_cutterAction,  &HomeViewController::batch_cutterAction,
    &HomeViewController::advanced_cutterAction, &HomeViewController::joinnerAction,
    &HomeViewController::cropAction,         &HomeViewController::watermarkAction,
    &HomeViewController::subtitleAction,     &HomeViewController::addOrremovemusicAction,
    &HomeViewController::effectAction,       &HomeViewController::speedAction,
    &HomeViewController::rotateAction,       &HomeViewController::watermarkAction,
    &HomeViewController::splitAction,        &HomeViewController::reverseAction,
    &HomeViewController::HDAction,           &HomeViewController::collageAction,
    &HomeViewController::gifAction,          &HomeViewController::snapshotAction,
    &HomeViewController::converter3DAction,  &HomeViewController::beautyAction};

QString firstPath(const QStringList& paths) { return paths.isEmpty() ? QString() : paths.first(); }

QSizeF largeToolSize(float baseHeight) { return scaledToolWindowSize(mainScreenWidth(), 1500, baseHeight); }

// Runs work on the main queue after the current event, unless the home screen is gone by then.
void later(HomeViewController* home, std::function<void(HomeViewController*)> work) {
    QPointer<HomeViewController> guard(home);
    platform::dispatchMainAsync([guard, work = std::move(work)] {
        if (guard) work(guard);
    });
}

}  // namespace

void HomeViewController::subFunAction(const kestrel::widgets::ZorButton* tile) {
    if (!tile) return;
    const qint64 tag = tile->tag();
    if (tag < 1 || tag > kHomeTileCount) return;
    (this->*kTileActions[std::size_t(tag - 1)])();
}

void HomeViewController::openEditor(qint64 toolItemType, bool allowAudio, const QString& titleKey, bool magicEnhance) {
    auto editor = std::make_unique<EditVideoWindowController>();
    editor->setToolItemType(toolItemType);
    editor->setTitleKey(titleKey);
    if (magicEnhance) editor->setIsMagicEnhance(true);
    editor->setFilePath(firstPath(openFile(false, allowAudio)));
    if (editor->filePath().isEmpty()) return;
    // The editor frees itself once its window has closed.
    EditVideoWindowController* opened = editor.release();
    opened->showWindow(services::localized(titleKey));
    Q_EMIT toolOpened(opened, opened->window());
    window()->close();
}

// The editor opens videos only, so its tiles offer no audio files.
void HomeViewController::advanced_cutterAction() { openEditor(1, false, QStringLiteral("AdvancedCut_Title")); }
void HomeViewController::cropAction() { openEditor(4, false, QStringLiteral("Crop_Title")); }
void HomeViewController::watermarkAction() { openEditor(16, false, QStringLiteral("Watermark_Title")); }
void HomeViewController::subtitleAction() { openEditor(32, false, QStringLiteral("Subtitle_Title")); }
void HomeViewController::addOrremovemusicAction() { openEditor(64, false, QStringLiteral("AddMusic_Title")); }
void HomeViewController::effectAction() { openEditor(8, false, QStringLiteral("Effect_Title")); }
void HomeViewController::speedAction() { openEditor(8, false, QStringLiteral("Speed_Title")); }
void HomeViewController::rotateAction() { openEditor(2, false, QStringLiteral("Rotate_Title")); }
void HomeViewController::HDAction() { openEditor(8, false, QStringLiteral("ImageEnhancement_Title"), true); }

void HomeViewController::easy_cutterAction() {
    auto cutter = std::make_unique<kestrel::tools::cutter::EasyCutterWindowcontroller>();
    cutter->setFilePath(firstPath(openFile(false, true)));
    if (cutter->filePath().isEmpty()) return;
    showTool(cutter.release(), QStringLiteral("EasyCut_Title"), std::nullopt);
}

void HomeViewController::batch_cutterAction() {
    showTool(new kestrel::tools::cutter::BatchCutterWindowController(), QStringLiteral("BatchCut_Title"), std::nullopt);
}

void HomeViewController::joinnerAction() {
    showTool(new joiner::JoinnerWindowController(), QStringLiteral("Joiner_Title"), std::nullopt);
}

void HomeViewController::splitAction() {
    auto splitter = std::make_unique<splitter::SplitWindowController>();
    splitter->setFilePath(firstPath(openFile(false, true)));
    if (splitter->filePath().isEmpty()) return;
    showTool(splitter.release(), QStringLiteral("Split_Title"), std::nullopt);
}

void HomeViewController::reverseAction() {
    const QSizeF size = largeToolSize(875);
    auto window = std::make_unique<reverse::ReverseWindowController>();
    auto view = std::make_unique<reverse::ReverseViewController>();
    view->setFilePath(firstPath(openFile(false, true)));
    if (view->filePath().isEmpty()) return;
    view->resize(size.toSize());
    window->setContentViewController(view.release());
    showTool(window.release(), QStringLiteral("Reverse_Title"), size);
}

void HomeViewController::collageAction() {
    later(this, [](HomeViewController* home) {
        const QSizeF size = scaledToolWindowSize(mainScreenWidth(), 1370, 770);
        home->showTool(new collage::CollageWindowController(), QStringLiteral("Collage_Title"), size);
    });
}

void HomeViewController::openGif(qint64 tabState, const QString& titleKey) {
    later(this, [tabState, titleKey](HomeViewController* home) {
        const QSizeF size = largeToolSize(875);
        auto window = std::make_unique<gif::GIFWindowController>();
        auto view = std::make_unique<gif::GIFViewController>();
        view->setTabState(tabState);
        view->setVideoPath(firstPath(home->openFile(false, false)));
        if (view->videoPath().isEmpty()) return;
        view->resize(size.toSize());
        window->setContentViewController(view.release());
        home->showTool(window.release(), titleKey, size);
    });
}

void HomeViewController::gifAction() { openGif(0, QStringLiteral("MakeGIF_Title")); }
void HomeViewController::snapshotAction() { openGif(-1, QStringLiteral("VideoToPic_Title")); }

void HomeViewController::converter3DAction() {
    later(this, [](HomeViewController* home) {
        const QSizeF size = largeToolSize(876);
        auto converter = std::make_unique<converter3d::UI3DConverterWindowController>();
        converter->setVideoPath(firstPath(home->openFile(false, false)));
        if (converter->videoPath().isEmpty()) return;
        home->showTool(converter.release(), QStringLiteral("3D_Title"), size);
    });
}

void HomeViewController::beautyAction() {
    later(this, [](HomeViewController* home) {
        const QSizeF size = largeToolSize(876);
        auto beauty = std::make_unique<beauty::BeautyWindowController>();
        // Several files may be chosen; the tool takes the first.
        beauty->setVideoPath(firstPath(home->openFile(true, false)));
        if (beauty->videoPath().isEmpty()) return;
        home->showTool(beauty.release(), QStringLiteral("Beauty_Title"), size);
    });
}

}  // namespace app
