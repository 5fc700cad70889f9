#include "tools/collage/collage_trim_window.h"

#include "editor/rd_ui_cliper.h"
#include "services/help_class.h"
#include "services/language.h"
#include "tools/collage/trim_player.h"
#include "tools/shared/handle_gap.h"
#include "tools/shared/kit_controls.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/player_view.h"
#include "widgets/tool_window.h"
#include "widgets/zor_button.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTransform>
#include <algorithm>

namespace kestrel::tools::collage {

namespace {

using services::localized;
using widgets::ZorButton;

constexpr int kAreaWidth = 560;
constexpr int kAreaHeight = 315;
// The used part is never shorter than a tenth of a second.
constexpr int64_t kShortestUs = 100'000;

// The picture as the cell shows it: turned clockwise, then mirrored.
QImage seenPicture(const session::CollageCell& cell) {
    QImage image(cell.path);
    if (image.isNull()) return image;
    if (cell.angle) image = image.transformed(QTransform().rotate(cell.angle));
    return image.mirrored(cell.mirrorHorizontal, cell.mirrorVertical);
}

// The cell's picture size as it is shown (sides swapped for a quarter turn).
QSizeF seenSize(const session::CollageCell& cell, const QImage& picture) {
    if (!picture.isNull()) return QSizeF(picture.size());
    const QSizeF source(std::max(1, cell.width), std::max(1, cell.height));
    return cell.angle % 180 ? source.transposed() : source;
}

QString timeText(int64_t time_us) { return services::HelpClass::returnTimeToStr(double(time_us) / 1e6); }

}  // namespace

CollageTrimWindow::CollageTrimWindow(const session::CollageCell& cell, const session::CellEdges& crop, Result result,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), result_(std::move(result)) {
    setObjectName(QStringLiteral("collageTrimWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    widgets::applyToolWindowLook(this);
    setWindowTitle(localized(QStringLiteral("Collage_Trim")));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(16, 16, 16, 16);
    v->setSpacing(10);
    auto* heading = shared::toolLabel(this, 16, shared::kToolText, QStringLiteral("collageTrimHeading"));
    heading->setText(localized(cell.isVideo ? QStringLiteral("Cut Video") : QStringLiteral("Collage_Trim")));
    v->addWidget(heading);

    playerArea = new widgets::PlayerView(this);
    playerArea->setObjectName(QStringLiteral("collageTrimPlayerArea"));
    playerArea->setFixedSize(kAreaWidth, kAreaHeight);
    playerArea->setAutoFillBackground(true);
    QPalette dark = playerArea->palette();
    dark.setColor(QPalette::Window, QColor(23, 26, 32));
    playerArea->setPalette(dark);
    v->addWidget(playerArea, 0, Qt::AlignHCenter);

    volume_ = std::clamp(cell.volume, 0.0f, 1.0f);
    if (cell.isVideo) {
        player_ = new TrimPlayer(cell.path, playerArea, this);
        player_->setOrientation(cell.angle, cell.mirrorHorizontal, cell.mirrorVertical);
        player_->setVolume(volume_);
        connect(player_, &TrimPlayer::ticked, this, [this](int64_t position_us) {
            if (length_us_ > 0) trimBar->setProgress(float(double(position_us) / double(length_us_)));
            currentTimeLabel->setText(timeText(position_us));
        });
        connect(player_, &TrimPlayer::ended, this, [this] {
            trimBar->setProgress(0);
            showTimes();
            showTransport();
        });
    }
    length_us_ = player_ && player_->lengthUs() > 0 ? player_->lengthUs() : std::max<int64_t>(0, cell.mediaDuration_us);
    start_us_ = std::clamp<int64_t>(cell.trimStart_us, 0, length_us_);
    end_us_ = cell.trimDuration_us > 0 ? std::min(length_us_, cell.trimStart_us + cell.trimDuration_us) : length_us_;
    if (end_us_ - start_us_ < kShortestUs) end_us_ = std::min(length_us_, start_us_ + kShortestUs);

    auto* transport = new QWidget(this);
    buildTransport(transport);
    v->addWidget(transport);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    cancelBtn = new QPushButton(localized(QStringLiteral("Cancel")), this);
    okBtn = new QPushButton(localized(QStringLiteral("OK")), this);
    buttons->addWidget(cancelBtn);
    buttons->addWidget(okBtn);
    v->addLayout(buttons);
    connect(cancelBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(okBtn, &QPushButton::clicked, this, [this] {
        // The loudness set on the slider, whatever the mute did to the preview.
        if (result_) result_(start_us_, end_us_ - start_us_, currentCrop(), volume_);
        close();
    });
    placeCrop(cell, crop);
    showTimes();
    showTransport();
    shared::applyToolTextDirection(this);
}

CollageTrimWindow::~CollageTrimWindow() {
    trimBar->setDelegate(nullptr);
    volumeSlider->setDelegate(nullptr);
}

void CollageTrimWindow::buildTransport(QWidget* bar) {
    auto* column = new QVBoxLayout(bar);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    trimBar = new widgets::RDCutProgressView(QRectF(0, 0, kAreaWidth, 40), bar);
    trimBar->setObjectName(QStringLiteral("collageTrimBar"));
    trimBar->setIsNew(true);
    trimBar->setFixedHeight(40);
    trimBar->setTickMark(true);
    trimBar->setDelegate(this);
    if (length_us_ > 0)
        trimBar->setLowerValue(float(double(start_us_) / double(length_us_)), float(double(end_us_) / double(length_us_)));
    column->addWidget(trimBar);

    auto* row = new QHBoxLayout();
    row->setSpacing(8);
    playBtn = shared::pictureButton(bar, QStringLiteral("ZantImage/GifMaker/btnPlay"), QStringLiteral("@2x.png"),
                                    QStringLiteral("collageTrimPlay"));
    stopBtn = shared::pictureButton(bar, QStringLiteral("ZantImage/GifMaker/btnStop"), QStringLiteral("@2x.png"),
                                    QStringLiteral("collageTrimStop"));
    volumeBtn = shared::pictureButton(bar, QStringLiteral("ZantImage/Reverse/btnOpenVolume"), QStringLiteral("@2x.png"),
                                      QStringLiteral("collageTrimMute"));
    volumeSlider = new widgets::VolumeProgressSlider(QRectF(0, 0, 90, 20), bar);
    volumeSlider->setObjectName(QStringLiteral("collageTrimVolume"));
    volumeSlider->setFixedSize(90, 20);
    volumeSlider->setProgress(volume_);
    volumeSlider->setTickrefresh(true);
    volumeSlider->setDelegate(this);
    currentTimeLabel = shared::toolLabel(bar, 13, shared::kToolText, QStringLiteral("collageTrimCurrent"));
    endTimeLabel = shared::toolLabel(bar, 13, shared::kToolText, QStringLiteral("collageTrimEnd"));
    durationLabel = shared::toolLabel(bar, 13, shared::kToolText, QStringLiteral("collageTrimDuration"));
    for (QLabel* label : {currentTimeLabel, endTimeLabel, durationLabel}) shared::keepLeftToRight(label);
    auto* lengthCaption = shared::toolLabel(bar, 13, shared::kToolText);
    lengthCaption->setText(localized(QStringLiteral("cutDurationLabelstringValue")));
    row->addWidget(playBtn);
    row->addWidget(stopBtn);
    row->addSpacing(6);
    auto* slash = shared::toolLabel(bar, 13, shared::kToolText);
    slash->setText(QStringLiteral("/"));
    row->addWidget(currentTimeLabel);
    row->addWidget(slash);
    row->addWidget(endTimeLabel);
    row->addStretch(1);
    row->addWidget(lengthCaption);
    row->addWidget(durationLabel);
    row->addSpacing(12);
    row->addWidget(volumeBtn);
    row->addWidget(volumeSlider);
    column->addLayout(row);

    playBtn->setMouseDownAction([this](ZorButton*) { togglePlay(); });
    stopBtn->setMouseDownAction([this](ZorButton*) { stopPlay(); });
    volumeBtn->setMouseDownAction([this](ZorButton*) { toggleMute(); });
    volumeBtn->setToolTip(localized(QStringLiteral("Collage_Mute")));
    const bool video = player_ && player_->isOpen();
    for (QWidget* control : {static_cast<QWidget*>(trimBar), static_cast<QWidget*>(playBtn),
                             static_cast<QWidget*>(volumeBtn), static_cast<QWidget*>(volumeSlider)})
        control->setEnabled(video);
}

void CollageTrimWindow::placeCrop(const session::CollageCell& cell, const session::CellEdges& crop) {
    const QImage still = cell.isVideo ? QImage() : seenPicture(cell);
    const QSizeF frame = seenSize(cell, still);
    // The picture is fitted into the area as the player shows it; the crop box lies over it.
    const QSizeF fitted = frame.scaled(QSizeF(playerArea->size()), Qt::KeepAspectRatio);
    const QRectF box(QPointF((playerArea->width() - fitted.width()) / 2, (playerArea->height() - fitted.height()) / 2), fitted);
    if (!still.isNull()) {
        picture_ = new QLabel(playerArea);
        picture_->setGeometry(box.toRect());
        picture_->setPixmap(QPixmap::fromImage(still.scaled(box.size().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }
    cliper_ = new editor::RDUICliper(box, playerArea);
    cliper_->setVideoSize(box.size());
    cliper_->setFrameRect(box);
    // The overlay counts from its bottom-left corner.
    const double w = box.width(), h = box.height();
    cliper_->setClipRect(QRectF(crop.left * w, (1 - crop.bottom) * h, (crop.right - crop.left) * w,
                                (crop.bottom - crop.top) * h));
    cliper_->raise();
    cliper_->show();
}

session::CellEdges CollageTrimWindow::currentCrop() const {
    const QRectF p = cliper_->getPercentClipRect();
    auto c = [](double v) { return std::clamp(v, 0.0, 1.0); };
    return session::CellEdges{c(p.x()), c(1 - p.y() - p.height()), c(p.x() + p.width()), c(1 - p.y())};
}

void CollageTrimWindow::closeEvent(QCloseEvent* event) {
    if (player_) player_->pause();
    QWidget::closeEvent(event);
}

void CollageTrimWindow::togglePlay() {
    if (!player_) return;
    player_->playing() ? player_->pause() : player_->play();
    showTransport();
}

void CollageTrimWindow::stopPlay() {
    if (!player_) return;
    player_->stop();
    trimBar->setProgress(0);
    currentTimeLabel->setText(timeText(0));
    showTransport();
}

void CollageTrimWindow::toggleMute() {
    muted_ = !muted_;
    if (!muted_ && volume_ <= 0) volume_ = 1.0f;
    if (player_) player_->setVolume(muted_ ? 0.0 : volume_);
    volumeSlider->setProgress(muted_ ? 0.0f : volume_);
    showTransport();
}

void CollageTrimWindow::showTimes() {
    durationLabel->setText(timeText(end_us_ - start_us_));
    currentTimeLabel->setText(timeText(player_ ? player_->positionUs() : start_us_));
    endTimeLabel->setText(timeText(length_us_));
}

void CollageTrimWindow::showTransport() {
    const bool playing = player_ && player_->playing();
    shared::setStatePictures(playBtn, playing ? QStringLiteral("ZantImage/GifMaker/btnPause") : QStringLiteral("ZantImage/GifMaker/btnPlay"),
                             QStringLiteral("@2x.png"));
    playBtn->setToolTip(localized(playing ? QStringLiteral("Collage_Pause") : QStringLiteral("Collage_Play")));
    stopBtn->setEnabled(playing);
    shared::setStatePictures(volumeBtn, muted_ ? QStringLiteral("ZantImage/Reverse/btnCloseVolume") : QStringLiteral("ZantImage/Reverse/btnOpenVolume"),
                             QStringLiteral("@2x.png"));
}

void CollageTrimWindow::actionMouseDownForCutProgressViewBlock(widgets::RDCutProgressView*, float) {
    if (player_) player_->holdForPress();
}

void CollageTrimWindow::actionSeekToTimeForCutProgressViewBlock(widgets::RDCutProgressView*, float progress) {
    if (!player_) return;
    const int64_t at_us = int64_t(double(progress) * double(length_us_));
    player_->seekUs(at_us);
    currentTimeLabel->setText(timeText(at_us));
}

void CollageTrimWindow::actionMouseMovedForCutProgressViewBlock(widgets::RDCutProgressView*, float startvalue,
                                                                float stopvalue, int64_t handleType) {
    const bool startDragged = handleType == widgets::RDCutProgressView::kLeftHandle;
    const shared::DraggedRange range =
        shared::keepHandlesApart(int64_t(double(startvalue) * double(length_us_)), int64_t(double(stopvalue) * double(length_us_)),
                                 length_us_, kShortestUs, startDragged);
    start_us_ = range.start_us;
    end_us_ = range.stop_us;
    if (range.corrected && length_us_ > 0)
        trimBar->setLowerValue(float(double(start_us_) / double(length_us_)), float(double(end_us_) / double(length_us_)));
    if (player_ && (startDragged || handleType == widgets::RDCutProgressView::kRightHandle))
        player_->seekUs(startDragged ? start_us_ : end_us_);
    showTimes();
}

void CollageTrimWindow::actionMouseUpForCutProgressViewBlock(widgets::RDCutProgressView*, float) {
    if (player_) player_->releasePress();
    showTransport();
}

void CollageTrimWindow::actionProgressForProgressSliderBlock(widgets::VolumeProgressSlider*, float progress) {
    volume_ = std::clamp(progress, 0.0f, 1.0f);
    muted_ = volume_ <= 0;
    if (player_) player_->setVolume(volume_);
    showTransport();
}

}  // namespace kestrel::tools::collage
