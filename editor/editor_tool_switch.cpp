// One tool at a time: the switches show the tool's panel and button, place the play tools and
// the range bar's handles and the crop overlay; the layout follows the window's size.
#include <QComboBox>
#include <QLabel>

#include "editor/edit_video_window_controller.h"
#include "editor/editor_look.h"
#include "editor/editor_views.h"
#include "editor/output_folder_menu.h"
#include "editor/watermark/editor_side_panels.h"
#include "engine/player/DIVuverIzizud.h"
#include "export/ui/output_format_bar.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

using namespace kestrel::editor::look;

void EditVideoWindowController::moveSelectFunLine(kestrel::widgets::ZorButton* button) {
    if (!button || !v_->selectFunLine) return;
    QRect line = v_->selectFunLine->geometry();
    line.moveLeft(button->geometry().center().x() - line.width() / 2);
    v_->selectFunLine->setGeometry(line);
}

void EditVideoWindowController::layoutToolButtons() {
    // Each button as wide as its title, the font made smaller until the row fits the column,
    // so no language loses its tool names to an ellipsis.
    const auto tools = v_->toolButtons();
    const int room = kLeftColumnWidth - 12;
    const int gap = 2;
    QList<int> widths;
    for (int points = 12; points >= 9; --points) {
        QFont font = systemFont(points);
        const QFontMetrics metrics(font);
        widths.clear();
        int total = gap * int(tools.size() - 1);
        for (kestrel::widgets::ZorButton* b : tools) {
            widths << std::max(48, metrics.horizontalAdvance(b->contentTitle()) + 10);
            total += widths.last();
        }
        for (kestrel::widgets::ZorButton* b : tools) b->setFont(font);
        if (total <= room) break;
    }
    // Spare room is shared out evenly.
    int total = gap * int(tools.size() - 1);
    for (int w : widths) total += w;
    const int extra = std::max(0, room - total) / int(tools.size());
    int x = 6;
    for (int i = 0; i < tools.size(); ++i) {
        const int w = std::min(widths[i] + extra, room);
        tools[i]->setGeometry(x, 2, w, kToolRowHeight - 8);
        x += w + gap;
    }
    QRect line = v_->selectFunLine->geometry();
    v_->selectFunLine->setGeometry(line.x(), kToolRowHeight - 4, 36, 2);
    for (kestrel::widgets::ZorButton* b : tools)
        if (b->selected()) moveSelectFunLine(b);
}

void EditVideoWindowController::switchTool(int64_t type) {
    toolItemType_ = oldToolItemType_ = type;
    if (type == kToolCrop) enableCropTextField(true);
    const bool showHandles = type == kToolTrim || type == kToolMusic;
    v_->cutProgressView->handLeftView()->setVisible(showHandles);
    v_->cutProgressView->handRightView()->setVisible(showHandles);
    v_->cutProgressView->progressTintView()->setVisible(showHandles);
    v_->playerBottomView->setVisible(type != kToolMusic);
    v_->musicRightBottomView->setVisible(type == kToolMusic);
    // The play tools go with the bar that is shown, so the music tool plays the video too.
    QWidget* toolsHost = type == kToolMusic ? v_->musicRightBottomView : v_->playerBottomView;
    // So does the range bar: the music tool still seeks through the video with it.
    for (QWidget* part : {static_cast<QWidget*>(v_->playToolView), static_cast<QWidget*>(v_->cutProgressView)}) {
        if (part->parentWidget() == toolsHost) continue;
        const QRect place = part->geometry();
        part->setParent(toolsHost);
        part->setGeometry(place);
        part->show();
    }

    QWidget* panel = nullptr;
    kestrel::widgets::ZorButton* button = nullptr;
    switch (type) {
    case kToolTrim: panel = v_->trimView; button = v_->cutButton; break;
    case kToolCrop: panel = v_->cropView; button = v_->cropButton; break;
    case kToolEffect: panel = v_->kxfxView; button = v_->effectButton; break;
    case kToolWatermark: panel = v_->waterView; button = v_->watermarkButton; break;
    case kToolSubtitle: panel = v_->captionView; button = v_->subtitleButton; break;
    case kToolMusic: panel = v_->musicContentView; button = v_->addmusicButton; break;
    default: break;
    }
    for (QWidget* p : v_->panels())
        if (p) p->setVisible(p == panel);
    if (v_->cliper) v_->cliper->setVisible(false);
    for (kestrel::widgets::ZorButton* b : v_->toolButtons()) b->setSelected(b == button);
    v_->cutProgressView->setVisible(true);
    moveSelectFunLine(button);

    if (type == kToolCrop && v_->cliper && rdPlayer_) {
        // The overlay lies on top of the picture.
        v_->cliper->setParent(rdPlayer_->view());
        v_->cliper->show();
        v_->cliper->raise();
        showCropFields();
    }
    if (type == kToolMusic) enableEdit(true);
}

void EditVideoWindowController::cutAction() { switchTool(kToolTrim); }
void EditVideoWindowController::cropAction() { switchTool(kToolCrop); }
void EditVideoWindowController::effectAction() { switchTool(kToolEffect); }
void EditVideoWindowController::watermarkAction() { switchTool(kToolWatermark); }
void EditVideoWindowController::subtitleAction() { switchTool(kToolSubtitle); }
void EditVideoWindowController::audioAction() { switchTool(kToolMusic); }

void EditVideoWindowController::rotateAction() {
    toolItemType_ = oldToolItemType_ = kToolRotate;
    for (QWidget* p : v_->panels())
        if (p) p->hide();
    for (kestrel::widgets::ZorButton* b : v_->toolButtons()) b->setSelected(false);
    if (v_->cliper) v_->cliper->hide();
    v_->cutProgressView->show();
    recomputeCropFromOverlay();
    refreshIfPaused();
}

void EditVideoWindowController::changesize(LayoutReason reason) {
    QWidget* win = v_->window;
    if (!win || !v_->contentRightView || reason == LayoutReason::ExitFullScreen) return;
    const int W = win->width();
    const int H = win->height();
    const int bottom = formatBarCollapsed_ ? kFormatBarCollapsedHeight : kFormatBarHeight;
    // The output folder sits left of the add-file button, its open button beside it.
    v_->windowTitleLabel->setGeometry(16, 6, std::max(0, W - 450), 24);
    v_->addfileButton->setGeometry(W - 190, 4, 170, 28);
    v_->outputOpenBtn->setGeometry(W - 230, 4, 30, 28);
    v_->outputPathPopUpBtn->setGeometry(W - 420, 5, 184, 26);
    v_->tabbarView->setGeometry(0, H - bottom, W, bottom);
    v_->formatBar->setGeometry(0, 0, W, bottom);

    v_->funItemContentView->setGeometry(0, kTitleHeight, kLeftColumnWidth, H - kTitleHeight - bottom);
    v_->toolButtonsView->setGeometry(0, 0, kLeftColumnWidth, kToolRowHeight);
    layoutToolButtons();
    const int panelHeight = v_->funItemContentView->height() - kToolRowHeight - 56;
    for (QWidget* p : v_->panels())
        if (p) p->setGeometry(0, kToolRowHeight, kLeftColumnWidth, std::max(0, panelHeight));
    v_->startExportBtn->setGeometry(20, H - bottom - 48, kLeftColumnWidth - 40, 36);
    v_->startExportBtn->raise();

    const int rightW = W - kLeftColumnWidth - 10;
    const int rightH = H - kTitleHeight - bottom;
    v_->contentRightView->setGeometry(kLeftColumnWidth, kTitleHeight, rightW, rightH);
    v_->backGroundView->setGeometry(kLeftColumnWidth - 2, kTitleHeight - 2, rightW + 4, rightH + 4);
    v_->backGroundView->lower();
    const int previewH = std::max(0, rightH - kBottomBarHeight);
    v_->playerBackView->setGeometry(0, 0, rightW, previewH);
    v_->playerView->setGeometry(0, 0, rightW, previewH);
    v_->playerBottomView->setGeometry(0, previewH, rightW, kBottomBarHeight);
    v_->musicRightBottomView->setGeometry(0, previewH, rightW, kBottomBarHeight);
    // The bar's frame counts from the bottom of the bar area; it sits in the top half.
    v_->cutProgressView->setFrame(QRectF(124, kBottomBarHeight - 50, std::max(0, rightW - 248), 46));
    // The times take the room beside the bar (it starts at 124): "00:00:00.000" at 13 points.
    v_->currentTimeLabel->setGeometry(8, 12, 112, 26);
    v_->totalTimeLabel->setGeometry(rightW - 120, 12, 112, 26);
    v_->mCurrentTimeLabel->setGeometry(8, 12, 112, 26);
    v_->mTotaldurationLabel->setGeometry(rightW - 120, 12, 112, 26);
    // The track box names a track in words, so it takes the wider share of the bar.
    v_->playToolView->setGeometry(rightW / 2 - 230, 58, 460, 34);
    const kestrel::widgets::ZorButton* transport[] = {v_->b_playPauseBtn, v_->b_stopBtn, v_->b_cameraBtn, v_->b_picStyleBtn,
                                             v_->b_volumeBtn};
    for (int i = 0; i < 5; ++i) const_cast<kestrel::widgets::ZorButton*>(transport[i])->setGeometry(i * 40, 2, 30, 30);
    v_->audiochanelPopBtn->setGeometry(210, 4, 250, 26);

    if (rdPlayer_) rdPlayer_->setFrame(QRectF(QPointF(0, 0), QSizeF(v_->playerView->size())));
    if (rdPlayer_ && rdPlayer_->view()) rdPlayer_->view()->setGeometry(v_->playerView->rect());

    if (reason == LayoutReason::Resize || reason == LayoutReason::EnterFullScreen || reason == LayoutReason::Request) {
        if (!fileData_ || !v_->cliper) return;
        videoSize_ = kestrel::editor::rotatedSize(sourceSize(), edits_.userAngleDegrees());
        const QRectF rect = videoRect();
        // The overlay follows the picture and keeps showing the crop the job holds.
        v_->cliper->setFrameRect(rect);
        v_->cliper->setVideoSize(videoSize_);
        if (auto box = kestrel::editor::videoToOverlay(editVideoClipRect_, videoSize_, rect.size()))
            v_->cliper->setClipRect(*box);
        // The watermark overlay follows the picture as well.
        if (sidePanels_) sidePanels_->changesize();
    }
}
