#include "tools/collage/filter_preview_panel.h"

#include "services/help_class.h"
#include "session/preview/collage_preview.h"
#include "tools/shared/kit_controls.h"
#include "widgets/zor_button.h"

#include <QBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <algorithm>

namespace kestrel::tools::collage {

namespace {
constexpr int kTickMs = 200;
constexpr int kAreaHeight = 216;

QString secondsText(int64_t us) { return services::HelpClass::returnTimeToStr(double(us / 1'000'000)); }
}  // namespace

FilterPreviewPanel::FilterPreviewPanel(session::CollageSpec spec, int width, int height, QWidget* parent)
    : QWidget(parent), spec_(std::move(spec)), preview_(std::make_unique<session::CollagePreview>()) {
    setObjectName(QStringLiteral("collageFilterPreview"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    pictureArea = new QWidget(this);
    pictureArea->setObjectName(QStringLiteral("collageFilterPicture"));
    const int areaWidth = std::max(2, kAreaHeight * std::max(1, width) / std::max(1, height));
    pictureArea->setFixedSize(areaWidth, kAreaHeight);
    column->addWidget(pictureArea, 0, Qt::AlignHCenter);
    if (auto* view = static_cast<QWidget*>(preview_->recreate(width, height))) {
        view->setParent(pictureArea);
        view->setGeometry(pictureArea->rect());
        view->show();
    }

    auto* row = new QHBoxLayout();
    row->setSpacing(8);
    playBtn = shared::pictureButton(this, QStringLiteral("ZantImage/GifMaker/btnPlay"), QStringLiteral("@2x.png"),
                                    QStringLiteral("collageFilterPlay"));
    stopBtn = shared::pictureButton(this, QStringLiteral("ZantImage/GifMaker/btnStop"), QStringLiteral("@2x.png"),
                                    QStringLiteral("collageFilterStop"));
    positionSlider = new QSlider(Qt::Horizontal, this);
    positionSlider->setObjectName(QStringLiteral("collageFilterPosition"));
    timeLabel = shared::toolLabel(this, 13, shared::kToolText, QStringLiteral("collageFilterTime"));
    shared::keepLeftToRight(timeLabel);
    row->addWidget(playBtn);
    row->addWidget(stopBtn);
    row->addWidget(positionSlider, 1);
    row->addWidget(timeLabel);
    column->addLayout(row);

    timer_ = new QTimer(this);
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, [this] { showPosition(preview_->positionUs()); });
    connect(preview_.get(), &session::CollagePreview::playFinished, this, [this] { stop(); });
    playBtn->setMouseDownAction([this](widgets::ZorButton*) { togglePlay(); });
    stopBtn->setMouseDownAction([this](widgets::ZorButton*) { stop(); });
    // Whole seconds, sought on every move and on a click into the groove.
    connect(positionSlider, &QSlider::valueChanged, this, [this](int seconds) {
        const int64_t at = std::min<int64_t>(int64_t(seconds) * 1'000'000, preview_->totalUs());
        preview_->seek(at);
        timeLabel->setText(secondsText(at) + QStringLiteral(" / ") + secondsText(preview_->totalUs()));
    });
    showTable(spec_.lookupPath);
}

FilterPreviewPanel::~FilterPreviewPanel() {
    timer_->stop();
    preview_->pause();
}

void FilterPreviewPanel::showTable(const QString& tablePath) {
    const bool wasPlaying = preview_->playing();
    const int64_t at = preview_->positionUs();
    spec_.lookupPath = tablePath;
    preview_->rebuild(spec_);
    const int64_t total = preview_->totalUs();
    positionSlider->blockSignals(true);
    positionSlider->setRange(0, int(std::max<int64_t>(0, total) / 1'000'000));
    positionSlider->blockSignals(false);
    const int64_t position = std::clamp<int64_t>(at, 0, std::max<int64_t>(0, total));
    preview_->seek(position);
    if (wasPlaying && position < total) preview_->play();
    showPosition(position);
    showTransport();
}

void FilterPreviewPanel::togglePlay() {
    if (preview_->playing()) {
        preview_->pause();
    } else {
        preview_->play();
    }
    showTransport();
}

void FilterPreviewPanel::stop() {
    preview_->pause();
    preview_->seek(0);
    showPosition(0);
    showTransport();
}

void FilterPreviewPanel::showPosition(int64_t position_us) {
    positionSlider->blockSignals(true);
    positionSlider->setValue(int(position_us / 1'000'000));
    positionSlider->blockSignals(false);
    timeLabel->setText(secondsText(position_us) + QStringLiteral(" / ") + secondsText(preview_->totalUs()));
}

void FilterPreviewPanel::showTransport() {
    const bool playing = preview_->playing();
    playing ? timer_->start() : timer_->stop();
    shared::setStatePictures(playBtn, playing ? QStringLiteral("ZantImage/GifMaker/btnPause") : QStringLiteral("ZantImage/GifMaker/btnPlay"),
                             QStringLiteral("@2x.png"));
    stopBtn->setEnabled(playing || preview_->positionUs() > 0);
}

}  // namespace kestrel::tools::collage
