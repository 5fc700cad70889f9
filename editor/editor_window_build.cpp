// Building the editor window's views in code: the frame, the tool buttons, the preview with its
// bottom bar and transport, the lists, and the empty frames of the later panels.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_look.h"
#include "editor/editor_views.h"
#include "editor/editor_window.h"
#include "editor/editor_export_attachment.h"
#include "editor/output_folder_menu.h"
#include "editor/watermark/editor_side_panels.h"
#include "export/ui/output_format_bar.h"
#include "services/language.h"
#include "widgets/eliding_combo_box.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/volume_progress_slider.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

using namespace kestrel::editor::look;

void EditVideoWindowController::styleToolButton(kestrel::widgets::ZorButton* b, const QString& stem, const QString& titleKey) {
    const QString base = QStringLiteral("ZantImage/SubFun/btn%1_").arg(stem);
    b->setNormalImage(picture(base + QStringLiteral("Normal@2x.png")));
    b->setDownImage(picture(base + QStringLiteral("Down@2x.png")));
    b->setSelectedImage(picture(base + QStringLiteral("Down@2x.png")));
    b->setOnImage(picture(base + QStringLiteral("On@2x.png")));
    b->setDisAbleImage(picture(base + QStringLiteral("Disable@2x.png")));
    b->setContentColor(kControlText);
    b->setOnColor(Qt::white);
    b->setDownColor(kAccent);
    b->setSelectColor(kAccent);
    QColor disabled = kControlText;
    disabled.setAlphaF(0.5);
    b->setDisableColor(disabled);
    b->setImagePosition(kestrel::widgets::ImagePosition::ImageAbove);
    b->setContentTitle(services::localized(titleKey));
    b->setFont(systemFont(12));
    b->setCornerRadius(1);
    b->setBorderWidth(0);
    b->setEnabled(true);
}

void EditVideoWindowController::buildWindow() {
    auto* win = new kestrel::editor::EditorWindow;
    v_->window = win;
    win->setObjectName(QStringLiteral("EditVideoWindowController"));
    win->setMinimumSize(kWindowWidth, kWindowHeight);
    win->resize(kWindowWidth, kWindowHeight);
    setBackground(win, kWindowBackground);

    v_->windowTitleLabel = makeLabel(win, 16);
    // Left in every language: right-aligned it would run under the add-file button.
    v_->windowTitleLabel->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    v_->backGroundView = new kestrel::widgets::ZorImageView(win);
    v_->backGroundView->setBackGroundColor(kWindowBackground);
    v_->backGroundView->setCornerRadius(5);

    // Left column: tool buttons over the panel of the current tool.
    v_->funItemContentView = new QWidget(win);
    setBackground(v_->funItemContentView, kWindowBackground);
    v_->toolButtonsView = new QWidget(v_->funItemContentView);
    auto makeTool = [&](const char* stem, const char* key, std::function<void()> action, bool moveLine) {
        auto* b = new kestrel::widgets::ZorButton(v_->toolButtonsView);
        styleToolButton(b, QString::fromLatin1(stem), QString::fromLatin1(key));
        b->setMouseDownAction([this, action, moveLine](kestrel::widgets::ZorButton* pressed) {
            if (moveLine) moveSelectFunLine(pressed);
            action();
        });
        return b;
    };
    v_->cutButton = makeTool("Cut", "tool_trimItemTitle", [this] { cutAction(); }, false);
    v_->cropButton = makeTool("Crop", "tool_cropItemTitle", [this] { cropAction(); }, true);
    v_->effectButton = makeTool("Effect", "tool_effectItemTitle", [this] { effectAction(); }, true);
    v_->watermarkButton = makeTool("WaterMark", "tool_watermarkItemTitle", [this] { watermarkAction(); }, true);
    v_->subtitleButton = makeTool("Subtitle", "tool_subtitleItemTitle", [this] { subtitleAction(); }, true);
    v_->addmusicButton = makeTool("Music", "tool_musicItemTitle", [this] { audioAction(); }, true);
    v_->selectFunLine = new QWidget(v_->toolButtonsView);
    setBackground(v_->selectFunLine, kAccent);

    v_->addfileButton = new kestrel::widgets::ZorButton(win);
    v_->addfileButton->setNormalBackgroundImage(picture(QStringLiteral("ZantImage/Join/btnAddFile_Normal.png")));
    v_->addfileButton->setOnBackgroundImage(picture(QStringLiteral("ZantImage/Join/btnAddFile_On.png")));
    v_->addfileButton->setDownBackgroundImage(picture(QStringLiteral("ZantImage/Join/btnAddFile_Down.png")));
    v_->addfileButton->setCornerRadius(5);
    v_->addfileButton->setContentColor(Qt::black);
    v_->addfileButton->setFont(systemFont(13));
    v_->addfileButton->setMouseDownAction([this](kestrel::widgets::ZorButton*) { addfileAction(); });

    v_->outputPathPopUpBtn = new kestrel::editor::OutputFolderMenu(win);
    v_->outputPathPopUpBtn->setFont(systemFont(13));
    outputPath_ = v_->outputPathPopUpBtn->outputPath();
    connect(v_->outputPathPopUpBtn, &kestrel::editor::OutputFolderMenu::outputPathChanged, this,
            [this](const QString& path) { outputPath_ = path; });
    v_->outputOpenBtn = makeStateButton(win, QStringLiteral("ZantImage/Reverse/btnOpenPath"));
    v_->outputOpenBtn->setMouseDownAction([menu = v_->outputPathPopUpBtn](kestrel::widgets::ZorButton*) { menu->revealFolder(); });

    v_->startExportBtn = new kestrel::widgets::ZorButton(win);
    const QString start = QStringLiteral("ZantImage/Reverse/btnStart_");
    v_->startExportBtn->setNormalBackgroundImage(picture(start + QStringLiteral("Normal@2x.png")));
    v_->startExportBtn->setOnBackgroundImage(picture(start + QStringLiteral("On@2x.png")));
    v_->startExportBtn->setDownBackgroundImage(picture(start + QStringLiteral("Down@2x.png")));
    v_->startExportBtn->setDisAbleBackgroundImage(picture(start + QStringLiteral("Disable@2x.png")));
    v_->startExportBtn->setCornerRadius(5);
    v_->startExportBtn->setContentColor(Qt::white);
    v_->startExportBtn->setFont(systemFont(13));

    // Right side: the preview, its bottom bar and the play tools.
    v_->contentRightView = new QWidget(win);
    v_->playerBackView = new QWidget(v_->contentRightView);
    v_->playerView = new kestrel::widgets::ZorImageView(v_->playerBackView);
    v_->playerView->setBackGroundColor(Qt::black);
    v_->playerBottomView = new QWidget(v_->contentRightView);
    v_->cutProgressView = new kestrel::widgets::RDCutProgressView(QRectF(0, 0, 600, 44), v_->playerBottomView);
    v_->currentTimeLabel = makeLabel(v_->playerBottomView, 13, kTimeLabelText);
    v_->totalTimeLabel = makeLabel(v_->playerBottomView, 13, kTimeLabelText);
    v_->totalTimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    v_->musicRightBottomView = new QWidget(v_->contentRightView);
    setBackground(v_->musicRightBottomView, kWindowBackground);
    v_->mCurrentTimeLabel = makeLabel(v_->musicRightBottomView, 13, kTimeLabelText);
    v_->mTotaldurationLabel = makeLabel(v_->musicRightBottomView, 13, kTimeLabelText);
    v_->mTotaldurationLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    v_->musicRightBottomView->hide();
    buildTransport();

    // Host of the output-format bar along the bottom.
    v_->tabbarView = new QWidget(win);
    setBackground(v_->tabbarView, kPanelBackground);
    v_->formatBar = new exportkit::OutputFormatBar(exportkit::FormatBarConfig::editor(), v_->tabbarView);
    v_->formatBar->setDelegate(this);

    v_->audiochanelPopBtn = new kestrel::widgets::ElidingComboBox(v_->playToolView);
    v_->audiochanelPopBtn->setFont(systemFont(13));
    v_->audiochanelPopBtn->setStyleSheet(
        QStringLiteral("QComboBox{background:rgb(32,35,43);color:rgb(170,177,185);border:1px solid rgb(49,60,72);"
                       "border-radius:6px;padding:0 6px}"));
    // A track chosen is heard at once, also while the preview plays.
    connect(v_->audiochanelPopBtn, &QComboBox::activated, this,
            [this] { applyEditState(kestrel::session::kPreviewSound); });
}

void EditVideoWindowController::buildTransport() {
    v_->playToolView = new QWidget(v_->playerBottomView);
    auto makeTransport = [&](const QString& stem, bool enabled) {
        kestrel::widgets::ZorButton* b = makeStateButton(v_->playToolView, stem);
        b->setEnabled(enabled);
        return b;
    };
    v_->b_playPauseBtn = makeTransport(QStringLiteral("ZantImage/GifMaker/btnPlay"), true);
    v_->b_playPauseBtn->setSelectedImage(picture(QStringLiteral("ZantImage/GifMaker/btnPause_Normal@2x.png")));
    v_->b_stopBtn = makeTransport(QStringLiteral("ZantImage/GifMaker/btnStop"), false);
    v_->b_cameraBtn = makeTransport(QStringLiteral("ZantImage/Join/btnCapture"), true);
    v_->b_picStyleBtn = makeTransport(QStringLiteral("ZantImage/Join/btnCaptureSet"), true);
    v_->b_volumeBtn = makeTransport(QStringLiteral("ZantImage/Reverse/btnOpenVolume"), true);

    v_->b_playPauseBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { action_playPauseBtn(); });
    v_->b_stopBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { stop(); });
    v_->b_cameraBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) {
        if (rdPlayer_) actionCarameraBtn();
    });

    v_->coverStyleMenus = new QMenu(v_->window);
    for (const char* key : {"png", "jpg", "bmp"}) {
        QString title = services::localized(QString::fromLatin1(key));
        title.remove(QLatin1Char('"'));
        if (title.isEmpty()) continue;
        QAction* item = v_->coverStyleMenus->addAction(title);
        // The format is the key, not its translation, so every language saves what it shows.
        // The menu closes by itself; its button stays for the next choice.
        connect(item, &QAction::triggered, this, [this, key] { coverStyle_ = QString::fromLatin1(key); });
    }
    v_->b_picStyleBtn->setMouseDownAction([this](kestrel::widgets::ZorButton* b) {
        if (!rdPlayer_) return;
        QPointer<kestrel::widgets::ZorButton> guard = b;
        QTimer::singleShot(0, v_->window, [this, guard] {
            if (guard) v_->coverStyleMenus->popup(guard->mapToGlobal(QPoint(0, 0)));
        });
    });

    // The volume slider pops up over the bar and hides again 2 s after the last press.
    v_->volumeSliderContainer = new QWidget(v_->contentRightView);
    setBackground(v_->volumeSliderContainer, kPanelBackground);
    v_->volumeSliderContainer->hide();
    v_->b_volumeSlider = new kestrel::widgets::VolumeProgressSlider(QRectF(0, 0, 24, 110), v_->volumeSliderContainer);
    v_->b_volumeSlider->setProgress(0.5f);
    v_->b_volumeSlider->setDelegate(this);
    v_->b_volumeSlider->setDisable(false);
    volumeHideTimer_ = new QTimer(this);
    volumeHideTimer_->setSingleShot(true);
    connect(volumeHideTimer_, &QTimer::timeout, this, [this] { hiddenVolumeSliderView(); });
    v_->b_volumeBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { volumeButtonPressed(); });
}

void EditVideoWindowController::buildEmptyPanels() {
    // Frames of the effect, watermark, subtitle and music panels; the last three fill theirs.
    auto makePanel = [&](const char* name) {
        auto* panel = new QWidget(v_->funItemContentView);
        panel->setObjectName(QString::fromLatin1(name));
        panel->hide();
        return panel;
    };
    v_->kxfxView = makePanel("kxfxView");
    v_->waterView = makePanel("waterView");
    v_->captionView = makePanel("captionView");
    v_->musicContentView = makePanel("musicContentView");
    sidePanels_ = std::make_unique<kestrel::editor::EditorSidePanels>(v_->waterView, v_->captionView, v_->musicContentView);
    exportAttachment_ = new kestrel::editor::EditorExportAttachment(*this, this);
    // Starting the music preview pauses the video preview the window's own way.
    sidePanels_->setVideoPreviewPause([this] {
        if (isPlaying()) pause();
    });
    sidePanels_->setUserTurn([this] { return edits_.userAngleDegrees(); });
    sidePanels_->setAlertPresenter([this](const QString& message) { showAlert(message); });
    // Every panel's change reaches the preview as the window's one edit state.
    sidePanels_->setPreviewApplier(
        [this](unsigned parts, const kestrel::session::PreviewContext& context) { applyEditState(parts, context); });
    changesize(LayoutReason::Request);
}
