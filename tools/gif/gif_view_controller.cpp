#include "tools/gif/gif_view_controller.h"

#include "export/ui/export_session.h"
#include "export/ui/start_export_window_controller.h"
#include "platform/notification_center.h"
#include "services/language.h"
#include "session/gif_export_job.h"
#include "session/gif_limits.h"
#include "session/gif_media_info.h"
#include "session/gif_picture_sequence_job.h"
#include "session/gif_preview.h"
#include "tools/gif/gif_photo_list.h"
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTime>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace gif {

using kestrel::tools::gif::GifPhotoList;
using kestrel::tools::gif::OutputSize;
using kestrel::tools::gif::SizeUnit;
namespace rules = kestrel::tools::gif;
namespace session = kestrel::session;

namespace {

constexpr int kPollMs = 200;
constexpr int kDebounceMs = 200;
constexpr int kPreviewLongSide = 640;

QString tr_(const char* key) { return services::localized(QString::fromLatin1(key)); }

GIFViewController::DialogRunner& dialogRunner() {
    static GIFViewController::DialogRunner runner;
    return runner;
}

QString formatTime(int64_t us) {
    us = std::max<int64_t>(0, us);
    const int64_t ms = us / 1000;
    return QString::asprintf("%02d:%02d:%02d.%03d", int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60),
                             int(ms % 1000));
}

QTime timeOf(int64_t us) { return QTime(0, 0).addMSecs(int(std::max<int64_t>(0, us) / 1000)); }
int64_t usOf(const QTime& time) { return int64_t(QTime(0, 0).msecsTo(time)) * 1000; }

// Dark look of the panel's own controls, from the tool palette.
const char* kPanelStyle = R"(
QWidget#gifView { background: #171A20; }
QLabel { color: #AAB1B9; font-size: 13px; }
QLabel#gifTitle { font-size: 16px; }
QLabel#gifSection { color: #CDD6DD; font-weight: bold; }
QWidget#gifPanel { background: #20232B; border-radius: 5px; }
QWidget#gifPreview { background: #000000; }
QPushButton { color: #CDD6DD; background: #222730; border: 1px solid #3A414D; border-radius: 5px; padding: 4px 10px; }
QPushButton:hover { background: #2C323D; border-color: #60DED0; }
QPushButton:pressed { background: #1C2027; }
QPushButton:checked { color: #171A20; background: #60DED0; border-color: #60DED0; }
QPushButton:disabled { color: #5A616C; border-color: #2C323D; }
QPushButton#gifExport { color: white; background: #21B0EB; border-color: #21B0EB; font-weight: bold; }
QPushButton#gifExport:disabled { background: #2C323D; color: #5A616C; }
QLineEdit, QTimeEdit { color: #AAB1B9; background: #151B21; border: 1px solid #313C48; border-radius: 3px; padding: 2px 4px; }
QRadioButton { color: #AAB1B9; }
QListWidget { color: #AAB1B9; background: #1A1E25; border: 1px solid #313C48; }
QListWidget::item:selected { background: #2C323D; color: #60DED0; }
QSlider::groove:horizontal { height: 4px; background: #3A414D; }
QSlider::handle:horizontal { width: 12px; margin: -5px 0; border-radius: 6px; background: #60DED0; }
QSlider::sub-page:horizontal { background: #3FB3A7; }
)";

QLabel* label(QWidget* parent, const char* name = nullptr) {
    auto* l = new QLabel(parent);
    if (name) l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    return l;
}

QLineEdit* numberField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setAlignment(Qt::AlignCenter);
    field->setMaximumWidth(80);
    return field;
}

}  // namespace

void GIFViewController::setDialogRunner(DialogRunner runner) { dialogRunner() = std::move(runner); }

GIFViewController::GIFViewController(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gifView"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QString::fromLatin1(kPanelStyle));
    // Text runs right to left in Arabic, but the window's layout is never mirrored.
    setLayoutDirection(Qt::LeftToRight);
    preview_ = std::make_unique<session::GifPreview>();
    connect(preview_.get(), &session::GifPreview::playFinished, this, [this] {
        playing_ = false;
        playBtn->setText(tr_("gif_miker_Play"));
    });
    buildViews();
    changeLanguage();
    previewTimer_ = new QTimer(this);
    previewTimer_->setInterval(kPollMs);
    connect(previewTimer_, &QTimer::timeout, this, &GIFViewController::pollPreview);
}

GIFViewController::~GIFViewController() {
    if (job_) job_->stop();
    // The engine's preview view lives in our layout; the preview must not outlive it unparented.
    preview_.reset();
}

exportkit::StartExportWindowController* GIFViewController::exportDialog() const { return exportDialog_; }

int64_t GIFViewController::previewPositionUs() const { return preview_->positionUs(); }

bool GIFViewController::exporting() const { return job_ && job_->running(); }

double GIFViewController::fps(Mode mode) const {
    switch (mode) {
        case Mode::VideoToGif: return vtoGifFps_;
        case Mode::VideoToPictures: return vtoJpgFps_;
        case Mode::PhotosToGif: return ptoGifFps_;
    }
    return vtoGifFps_;
}

OutputSize& GIFViewController::videoSize() { return mode_ == Mode::VideoToPictures ? pictureSize_ : gifSize_; }

void GIFViewController::buildViews() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 10, 16, 14);
    root->setSpacing(10);
    titleLabel = label(this, "gifTitle");
    root->addWidget(titleLabel);

    auto* body = new QHBoxLayout();
    body->setSpacing(14);
    root->addLayout(body, 1);

    // Left: the preview and its transport.
    auto* left = new QVBoxLayout();
    body->addLayout(left, 3);
    previewHost_ = new QWidget(this);
    previewHost_->setObjectName(QStringLiteral("gifPreview"));
    previewHost_->setAttribute(Qt::WA_StyledBackground, true);
    previewHost_->setMinimumSize(480, 270);
    previewLayout_ = new QVBoxLayout(previewHost_);
    previewLayout_->setContentsMargins(0, 0, 0, 0);
    left->addWidget(previewHost_, 1);
    positionSlider = new QSlider(Qt::Horizontal, this);
    positionSlider->setRange(0, 1000);
    left->addWidget(positionSlider);
    auto* transport = new QHBoxLayout();
    playBtn = new QPushButton(this);
    playSelectBtn = new QPushButton(this);
    stopBtn = new QPushButton(this);
    timeLabel = label(this);
    timeLabel->setWordWrap(false);
    transport->addWidget(playBtn);
    transport->addWidget(playSelectBtn);
    transport->addWidget(stopBtn);
    transport->addStretch(1);
    transport->addWidget(timeLabel);
    left->addLayout(transport);
    photoHintLabel = label(this);
    photoHintLabel->setAlignment(Qt::AlignCenter);
    left->addWidget(photoHintLabel);

    // Right: tabs, the mode's settings and the export.
    auto* right = new QVBoxLayout();
    body->addLayout(right, 2);
    auto* tabRow = new QHBoxLayout();
    tabs_ = new QButtonGroup(this);
    tabs_->setExclusive(true);
    for (QPushButton** tab : {&videotoGifBtn, &videotoJpgBtn, &photostoGifBtn}) {
        *tab = new QPushButton(this);
        (*tab)->setCheckable(true);
        (*tab)->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        tabs_->addButton(*tab);
        tabRow->addWidget(*tab);
    }
    right->addLayout(tabRow);
    settingsStack_ = new QStackedWidget(this);
    right->addWidget(settingsStack_, 1);

    // Video settings.
    auto* videoPanel = new QWidget(settingsStack_);
    videoPanel->setObjectName(QStringLiteral("gifPanel"));
    videoPanel->setAttribute(Qt::WA_StyledBackground, true);
    auto* vgrid = new QGridLayout(videoPanel);
    vgrid->setContentsMargins(12, 12, 12, 12);
    vgrid->setVerticalSpacing(8);
    int row = 0;
    videoNameLabel_ = label(videoPanel);
    videoNameLabel_->setWordWrap(false);
    videoNameLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addFileBtn = new QPushButton(videoPanel);
    vgrid->addWidget(videoNameLabel_, row, 0, 1, 3);
    vgrid->addWidget(addFileBtn, row++, 3);
    cutTimeRangeLabel_ = label(videoPanel, "gifSection");
    vgrid->addWidget(cutTimeRangeLabel_, row++, 0, 1, 4);
    startLabel_ = label(videoPanel);
    startTimeEdit = new QTimeEdit(videoPanel);
    setStartBtn = new QPushButton(videoPanel);
    vgrid->addWidget(startLabel_, row, 0);
    vgrid->addWidget(startTimeEdit, row, 1, 1, 2);
    vgrid->addWidget(setStartBtn, row++, 3);
    endLabel_ = label(videoPanel);
    endTimeEdit = new QTimeEdit(videoPanel);
    setEndBtn = new QPushButton(videoPanel);
    vgrid->addWidget(endLabel_, row, 0);
    vgrid->addWidget(endTimeEdit, row, 1, 1, 2);
    vgrid->addWidget(setEndBtn, row++, 3);
    for (QTimeEdit* edit : {startTimeEdit, endTimeEdit}) {
        edit->setDisplayFormat(QStringLiteral("HH:mm:ss.zzz"));
        edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    }
    outputsetsLabel_ = label(videoPanel, "gifSection");
    vgrid->addWidget(outputsetsLabel_, row++, 0, 1, 4);
    pixelBtn = new QRadioButton(videoPanel);
    proportionBtn = new QRadioButton(videoPanel);
    pixelBtn->setChecked(true);
    vgrid->addWidget(pixelBtn, row, 0, 1, 2);
    vgrid->addWidget(proportionBtn, row++, 2, 1, 2);
    horizontalLabel_ = label(videoPanel);
    outputSizeWidthField = numberField(videoPanel);
    linkBtn = new QPushButton(videoPanel);
    linkBtn->setCheckable(true);
    linkBtn->setChecked(true);
    vgrid->addWidget(horizontalLabel_, row, 0);
    vgrid->addWidget(outputSizeWidthField, row, 1);
    vgrid->addWidget(linkBtn, row++, 2, 2, 2);
    verticalLabel_ = label(videoPanel);
    outputSizeHeightField = numberField(videoPanel);
    vgrid->addWidget(verticalLabel_, row, 0);
    vgrid->addWidget(outputSizeHeightField, row++, 1);
    outputFrameRateLabel_ = label(videoPanel);
    outputFrameRateField = numberField(videoPanel);
    vgrid->addWidget(outputFrameRateLabel_, row, 0);
    vgrid->addWidget(outputFrameRateField, row++, 1);
    resultTitleLabel_ = label(videoPanel, "gifSection");
    vgrid->addWidget(resultTitleLabel_, row++, 0, 1, 4);
    resultLabel_ = label(videoPanel);
    vgrid->addWidget(resultLabel_, row++, 0, 1, 4);
    vgrid->setRowStretch(row, 1);
    vgrid->setColumnStretch(1, 1);
    settingsStack_->addWidget(videoPanel);

    // Photo settings.
    auto* photoPanel = new QWidget(settingsStack_);
    photoPanel->setObjectName(QStringLiteral("gifPanel"));
    photoPanel->setAttribute(Qt::WA_StyledBackground, true);
    auto* pgrid = new QGridLayout(photoPanel);
    pgrid->setContentsMargins(12, 12, 12, 12);
    pgrid->setVerticalSpacing(8);
    row = 0;
    photoList = new GifPhotoList(photoPanel);
    pgrid->addWidget(photoList, row++, 0, 1, 4);
    auto* photoButtons = new QHBoxLayout();
    addPhotosBtn = new QPushButton(photoPanel);
    deletePhotosBtn = new QPushButton(photoPanel);
    clearPhotosBtn = new QPushButton(photoPanel);
    photoButtons->addWidget(addPhotosBtn);
    photoButtons->addWidget(deletePhotosBtn);
    photoButtons->addWidget(clearPhotosBtn);
    pgrid->addLayout(photoButtons, row++, 0, 1, 4);
    photoSizeLabel_ = label(photoPanel, "gifSection");
    pgrid->addWidget(photoSizeLabel_, row++, 0, 1, 4);
    photoWidthLabel_ = label(photoPanel);
    photostoGif_SizeWidthField = numberField(photoPanel);
    photoHeightLabel_ = label(photoPanel);
    photostoGif_SizeHeightField = numberField(photoPanel);
    pgrid->addWidget(photoWidthLabel_, row, 0);
    pgrid->addWidget(photostoGif_SizeWidthField, row, 1);
    pgrid->addWidget(photoHeightLabel_, row, 2);
    pgrid->addWidget(photostoGif_SizeHeightField, row++, 3);
    photoFrameRateLabel_ = label(photoPanel);
    photostoGif_FrameRateField = numberField(photoPanel);
    pgrid->addWidget(photoFrameRateLabel_, row, 0);
    pgrid->addWidget(photostoGif_FrameRateField, row++, 1);
    pgrid->setRowStretch(0, 1);
    settingsStack_->addWidget(photoPanel);

    exportBtn = new QPushButton(this);
    exportBtn->setObjectName(QStringLiteral("gifExport"));
    exportBtn->setMinimumHeight(34);
    right->addWidget(exportBtn);

    // Actions.
    connect(videotoGifBtn, &QPushButton::clicked, this, [this] { selectMode(Mode::VideoToGif); });
    connect(videotoJpgBtn, &QPushButton::clicked, this, [this] { selectMode(Mode::VideoToPictures); });
    connect(photostoGifBtn, &QPushButton::clicked, this, [this] { selectMode(Mode::PhotosToGif); });
    connect(addFileBtn, &QPushButton::clicked, this, [this] { debounce(addFileTimer_, &GIFViewController::addFileBtnAction); });
    connect(addPhotosBtn, &QPushButton::clicked, this, [this] { debounce(addPhotosTimer_, &GIFViewController::addPhotosAction); });
    connect(exportBtn, &QPushButton::clicked, this, [this] { debounce(exportTimer_, &GIFViewController::exportBtnAction); });
    connect(deletePhotosBtn, &QPushButton::clicked, photoList, &GifPhotoList::removeSelected);
    connect(clearPhotosBtn, &QPushButton::clicked, this, [this] {
        photoList->clear();
        photosChanged();
    });
    connect(photoList, &GifPhotoList::photosChanged, this, &GIFViewController::photosChanged);
    connect(photoList, &QListWidget::itemSelectionChanged, this,
            [this] { deletePhotosBtn->setEnabled(!photoList->selectedItems().isEmpty()); });
    connect(playBtn, &QPushButton::clicked, this, [this] { playAction(false); });
    connect(playSelectBtn, &QPushButton::clicked, this, [this] { playAction(true); });
    connect(stopBtn, &QPushButton::clicked, this, &GIFViewController::stopAction);
    connect(setStartBtn, &QPushButton::clicked, this, [this] {
        startTimeEdit->setTime(timeOf(preview_->positionUs()));
        commitTimes();
    });
    connect(setEndBtn, &QPushButton::clicked, this, [this] {
        endTimeEdit->setTime(timeOf(preview_->positionUs()));
        commitTimes();
    });
    connect(startTimeEdit, &QTimeEdit::editingFinished, this, &GIFViewController::commitTimes);
    connect(endTimeEdit, &QTimeEdit::editingFinished, this, &GIFViewController::commitTimes);
    connect(pixelBtn, &QRadioButton::toggled, this, &GIFViewController::refreshOutputFields);
    connect(linkBtn, &QPushButton::toggled, this, [this](bool on) {
        if (on && mode_ != Mode::PhotosToGif) rules::linkTurnedOn(videoSize());
        refreshOutputFields();
    });
    connect(outputSizeWidthField, &QLineEdit::editingFinished, this, [this] { commitSizeField(true); });
    connect(outputSizeHeightField, &QLineEdit::editingFinished, this, [this] { commitSizeField(false); });
    connect(photostoGif_SizeWidthField, &QLineEdit::editingFinished, this, [this] { commitPhotoSizeField(true); });
    connect(photostoGif_SizeHeightField, &QLineEdit::editingFinished, this, [this] { commitPhotoSizeField(false); });
    connect(outputFrameRateField, &QLineEdit::editingFinished, this, [this] { commitFpsField(outputFrameRateField, mode_); });
    connect(photostoGif_FrameRateField, &QLineEdit::editingFinished, this,
            [this] { commitFpsField(photostoGif_FrameRateField, Mode::PhotosToGif); });
    connect(positionSlider, &QSlider::sliderMoved, this, [this](int value) {
        preview_->seek(preview_->totalUs() * value / 1000);
        pollPreview();
    });
    deletePhotosBtn->setEnabled(false);
    clearPhotosBtn->setEnabled(false);
}

void GIFViewController::changeLanguage() {
    titleLabel->setText(tr_(tabState_ == -1 ? "VideoToPic_Title" : "MakeGIF_Title"));
    videotoGifBtn->setText(tr_("gif_miker_VideotoGIF"));
    videotoJpgBtn->setText(tr_("gif_miker_VideotoJPG"));
    photostoGifBtn->setText(tr_("gif_miker_PhotostoGIF"));
    addFileBtn->setText(tr_("gif_miker_AddFile"));
    addPhotosBtn->setText(tr_("gif_miker_AddPhotos"));
    deletePhotosBtn->setText(tr_("gif_miker_Delete"));
    clearPhotosBtn->setText(tr_("gif_miker_Clear"));
    exportBtn->setText(tr_("gif_miker_Export"));
    playBtn->setText(tr_(playing_ ? "gif_miker_Pause" : "gif_miker_Play"));
    playSelectBtn->setText(tr_("gif_miker_PlaySelection"));
    stopBtn->setText(tr_("gif_miker_StopPreview"));
    setStartBtn->setText(tr_("gif_miker_SetStart"));
    setEndBtn->setText(tr_("gif_miker_SetEnd"));
    linkBtn->setText(tr_("gif_miker_Link"));
    linkBtn->setToolTip(tr_("gif_miker_Link"));
    pixelBtn->setText(tr_("gif_miker_Pixel"));
    proportionBtn->setText(tr_("gif_miker_Proportion"));
    cutTimeRangeLabel_->setText(tr_("gif_miker_CuttingTime"));
    startLabel_->setText(tr_("gif_miker_StartTime"));
    endLabel_->setText(tr_("gif_miker_EndTime"));
    outputsetsLabel_->setText(tr_("gif_miker_Output"));
    horizontalLabel_->setText(tr_("gif_miker_Horizontal"));
    verticalLabel_->setText(tr_("gif_miker_Vertical"));
    outputFrameRateLabel_->setText(tr_("gif_miker_FrameRate"));
    photoSizeLabel_->setText(tr_("gif_miker_OutputSize"));
    photoWidthLabel_->setText(tr_("gif_miker_Horizontal"));
    photoHeightLabel_->setText(tr_("gif_miker_Vertical"));
    photoFrameRateLabel_->setText(tr_("gif_miker_FrameRate"));
    photoHintLabel->setText(tr_("gif_miker_PhotoHint"));
    resultTitleLabel_->setText(tr_("gif_miker_Result"));
    refreshResult();
}

void GIFViewController::refreshResult() {
    // What the export will hold, so a size or rate slip shows before anything runs.
    const OutputSize& size = mode_ == Mode::VideoToPictures ? pictureSize_ : gifSize_;
    const double rate = fps(mode_);
    const int64_t span_us = std::max<int64_t>(0, endUs_ - startUs_);
    const int64_t count = mode_ == Mode::VideoToPictures ? int64_t(double(span_us) / 1e6 * rate) + 1
                                                         : int64_t(std::ceil(double(span_us) / 1e6 * rate));
    const QString dimensions = QString::number(session::clampGifSide(size.width)) + " × " +
                               QString::number(session::clampGifSide(size.height));
    const QString what = tr_(mode_ == Mode::VideoToPictures ? "gif_miker_ResultPictures" : "gif_miker_ResultFrames")
                             .arg(span_us > 0 ? count : 0)
                             .arg(QString::number(double(span_us) / 1e6, 'f', 1));
    resultLabel_->setText(dimensions + "\n" + what);
}

void GIFViewController::showEvent(QShowEvent* event) {
    if (!loaded_) {
        loaded_ = true;
        viewDidLoad();
    }
    QWidget::showEvent(event);
}

void GIFViewController::viewDidLoad() {
    changeLanguage();
    loadVideo(videoPath_);
    selectMode(tabState_ == 1 ? Mode::PhotosToGif : tabState_ == -1 ? Mode::VideoToPictures : Mode::VideoToGif);
}

void GIFViewController::loadVideo(const QString& path) {
    videoPath_ = path;
    const session::GifMediaInfo info = session::probeGifMedia(path);
    durationUs_ = info.ok ? info.duration_us : 0;
    startUs_ = 0;
    endUs_ = durationUs_;
    gifSize_ = rules::initialGifSize(info.width, info.height);
    pictureSize_ = rules::initialPictureSize(info.width, info.height);
    showVideoName();
    for (QTimeEdit* edit : {startTimeEdit, endTimeEdit}) {
        edit->setMinimumTime(QTime(0, 0));
        edit->setMaximumTime(timeOf(durationUs_));
    }
    startTimeEdit->setTime(timeOf(startUs_));
    endTimeEdit->setTime(timeOf(endUs_));
    refreshOutputFields();
    if (mode_ != Mode::PhotosToGif) rebuildPreview();
}

void GIFViewController::showVideoName() {
    const QString name = QFileInfo(videoPath_).fileName();
    const int room = std::max(40, videoNameLabel_->width());
    videoNameLabel_->setText(videoNameLabel_->fontMetrics().elidedText(name, Qt::ElideMiddle, room));
    videoNameLabel_->setToolTip(videoPath_);
}

void GIFViewController::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    QTimer::singleShot(0, this, [this] { showVideoName(); });  // after the layout has placed the label
}

void GIFViewController::selectMode(Mode mode) {
    const bool photoChange = (mode == Mode::PhotosToGif) != (mode_ == Mode::PhotosToGif);
    mode_ = mode;
    QPushButton* tab = mode == Mode::VideoToGif ? videotoGifBtn : mode == Mode::VideoToPictures ? videotoJpgBtn : photostoGifBtn;
    tab->setChecked(true);
    settingsStack_->setCurrentIndex(mode == Mode::PhotosToGif ? 1 : 0);
    playSelectBtn->setVisible(mode != Mode::PhotosToGif);
    photoHintLabel->setVisible(mode == Mode::PhotosToGif && photoList->count() == 0);
    refreshOutputFields();
    if (photoChange || !previewView_) {
        stopAction();
        rebuildPreview();
    }
}

void GIFViewController::refreshOutputFields() {
    const bool pixels = pixelBtn->isChecked();
    const OutputSize& size = mode_ == Mode::VideoToPictures ? pictureSize_ : gifSize_;
    outputSizeWidthField->setText(QString::number(pixels ? size.width : size.widthPercent));
    outputSizeHeightField->setText(QString::number(pixels ? size.height : size.heightPercent));
    outputFrameRateField->setText(QString::asprintf("%.1f", mode_ == Mode::VideoToPictures ? vtoJpgFps_ : vtoGifFps_));
    photostoGif_SizeWidthField->setText(QString::number(photoWidth_));
    photostoGif_SizeHeightField->setText(QString::number(photoHeight_));
    photostoGif_FrameRateField->setText(QString::asprintf("%.1f", ptoGifFps_));
    refreshResult();
}

void GIFViewController::commitSizeField(bool width) {
    QLineEdit* field = width ? outputSizeWidthField : outputSizeHeightField;
    const int64_t typed = field->text().trimmed().toLongLong();  // not a number counts as 0
    const SizeUnit unit = pixelBtn->isChecked() ? SizeUnit::Pixel : SizeUnit::Proportion;
    if (width) rules::commitWidth(videoSize(), unit, linkBtn->isChecked(), typed);
    else rules::commitHeight(videoSize(), unit, linkBtn->isChecked(), typed);
    refreshOutputFields();
}

void GIFViewController::commitPhotoSizeField(bool width) {
    QLineEdit* field = width ? photostoGif_SizeWidthField : photostoGif_SizeHeightField;
    const int64_t side = rules::commitPhotoSide(field->text().trimmed().toLongLong());
    (width ? photoWidth_ : photoHeight_) = side;
    refreshOutputFields();
    if (mode_ == Mode::PhotosToGif) rebuildPreview();
}

void GIFViewController::commitFpsField(QLineEdit* field, Mode mode) {
    const double value = rules::commitFps(field->text().trimmed().toDouble());
    if (mode == Mode::PhotosToGif) ptoGifFps_ = value;
    else if (mode == Mode::VideoToPictures) vtoJpgFps_ = value;
    else vtoGifFps_ = value;
    refreshOutputFields();
    if (mode == Mode::PhotosToGif && mode_ == Mode::PhotosToGif) rebuildPreview();
}

void GIFViewController::commitTimes() {
    int64_t start = usOf(startTimeEdit->time());
    int64_t end = usOf(endTimeEdit->time());
    end = std::clamp<int64_t>(end, 0, durationUs_);
    start = std::clamp<int64_t>(start, 0, end);
    startUs_ = start;
    endUs_ = end;
    startTimeEdit->setTime(timeOf(startUs_));
    endTimeEdit->setTime(timeOf(endUs_));
    refreshResult();
}

void GIFViewController::rebuildPreview() {
    if (previewView_) {
        previewLayout_->removeWidget(previewView_);
        previewView_->hide();
    }
    bool shown = false;
    if (mode_ == Mode::PhotosToGif) {
        shown = preview_->showPhotos(photoList->paths(), ptoGifFps_, int(photoWidth_), int(photoHeight_));
    } else if (!videoPath_.isEmpty()) {
        const OutputSize& s = gifSize_;
        int w = kPreviewLongSide, h = kPreviewLongSide * 9 / 16;
        if (s.sourceWidth > 0 && s.sourceHeight > 0) {
            const double scale = double(kPreviewLongSide) / double(std::max(s.sourceWidth, s.sourceHeight));
            w = int(double(s.sourceWidth) * scale);
            h = int(double(s.sourceHeight) * scale);
        }
        shown = preview_->showVideo(videoPath_, w, h);
    }
    auto* view = static_cast<QWidget*>(preview_->view());
    if (view) {
        previewView_ = view;
        if (previewLayout_->indexOf(view) < 0) previewLayout_->addWidget(view);
        view->setVisible(shown);
    }
    playing_ = false;
    playBtn->setText(tr_("gif_miker_Play"));
    pollPreview();
}

void GIFViewController::pollPreview() {
    const int64_t total = preview_->totalUs();
    int64_t now = preview_->positionUs();
    if (playing_ && playingSelection_ && now >= endUs_) {
        // The poll may come a little late: the playhead rests on the range's end itself.
        preview_->pause();
        preview_->seek(endUs_);
        now = endUs_;
        playing_ = false;
        playBtn->setText(tr_("gif_miker_Play"));
    }
    if (!positionSlider->isSliderDown()) positionSlider->setValue(total > 0 ? int(now * 1000 / total) : 0);
    timeLabel->setText(formatTime(now) + " / " + formatTime(total));
    if (!playing_) previewTimer_->stop();
}

void GIFViewController::playAction(bool selectionOnly) {
    if (!preview_->hasContent()) return;
    if (playing_ && !selectionOnly) {
        preview_->pause();
        playing_ = false;
        playBtn->setText(tr_("gif_miker_Play"));
        return;
    }
    playingSelection_ = selectionOnly && mode_ != Mode::PhotosToGif;
    const int64_t now = preview_->positionUs();
    if (playingSelection_ && !(now > startUs_ && now < endUs_)) preview_->seek(startUs_);
    if (preview_->positionUs() >= preview_->totalUs() && !playingSelection_) preview_->play();
    else preview_->resume();
    playing_ = true;
    playBtn->setText(tr_("gif_miker_Pause"));
    previewTimer_->start();
}

void GIFViewController::stopAction() {
    preview_->pause();
    preview_->seek(0);
    playing_ = false;
    playBtn->setText(tr_("gif_miker_Play"));
    pollPreview();
}

void GIFViewController::debounce(QTimer*& timer, void (GIFViewController::*action)()) {
    if (!timer) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setInterval(kDebounceMs);
        connect(timer, &QTimer::timeout, this, action);
    }
    timer->start();
}

void GIFViewController::addFileBtnAction() {
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = kestrel::widgets::videoFileTypes();
    const QStringList chosen = kestrel::widgets::runOpenPanel(request);
    if (chosen.isEmpty() || !kestrel::widgets::hasAllowedExtension(chosen.first(), request.allowedFileTypes)) return;
    stopAction();
    loadVideo(chosen.first());
}

void GIFViewController::addPhotosAction() {
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = kestrel::tools::gif::photoFileTypes();
    request.allowsMultipleSelection = true;
    photoList->addPhotos(kestrel::widgets::runOpenPanel(request));
}

void GIFViewController::photosChanged() {
    const bool empty = photoList->count() == 0;
    clearPhotosBtn->setEnabled(!empty);
    deletePhotosBtn->setEnabled(!photoList->selectedItems().isEmpty());
    photoHintLabel->setVisible(mode_ == Mode::PhotosToGif && empty);
    if (!empty) {
        // The first photo decides the GIF's shape.
        const session::GifMediaInfo first = session::probeGifMedia(photoList->paths().first());
        rules::initialPhotoSize(first.width, first.height, &photoWidth_, &photoHeight_);
        refreshOutputFields();
    }
    if (mode_ == Mode::PhotosToGif) {
        stopAction();
        rebuildPreview();
    }
}

void GIFViewController::exportBtnAction() {
    if (exporting()) return;
    if (playing_) playAction(false);
    if (exportDialog_) exportDialog_->deleteLater();
    exportSession_.reset();
    auto* dialog = new exportkit::StartExportWindowController(this);
    exportDialog_ = dialog;
    dialog->setIsExportGif(true);
    dialog->setIsExportJpg(mode_ == Mode::VideoToPictures);
    dialog->setInputFileName(videoPath_);
    dialog->setStartExportCallbackBlock([this, dialog](const QString& path) { exportAction(dialog, path); });
    if (dialogRunner()) {
        dialogRunner()(dialog, this);
        return;
    }
    dialog->runModal(this);
    // The modal dialog stays open until its job has ended, so nothing of it is left running.
    exportSession_.reset();
    dialog->deleteLater();
}

void GIFViewController::exportAction(exportkit::StartExportWindowController* dialog, const QString& outputPath) {
    if (exporting()) {
        job_->stop();  // the dialog's Stop, or its window closed: finished() follows as stopped
        return;
    }
    const QFileInfo chosen(outputPath);
    const QString folder = chosen.absolutePath();
    const QString base = chosen.completeBaseName();
    const QString videoBase = QFileInfo(videoPath_).completeBaseName() + "_" + base;
    session::Job* job = nullptr;
    if (mode_ == Mode::PhotosToGif) {
        session::GifPhotosRequest request{photoList->paths(), photoWidth_, photoHeight_, ptoGifFps_, folder, base};
        auto* gifJob = new session::GifExportJob(request, this);
        jobOutput_ = gifJob->outputPath();
        job = gifJob;
    } else if (mode_ == Mode::VideoToGif) {
        session::GifVideoRequest request{videoPath_, startUs_, endUs_, gifSize_.width, gifSize_.height, vtoGifFps_, folder, videoBase};
        auto* gifJob = new session::GifExportJob(request, this);
        jobOutput_ = gifJob->outputPath();
        job = gifJob;
    } else {
        session::PictureSequenceRequest request{videoPath_, startUs_, endUs_, pictureSize_.width, pictureSize_.height,
                                                vtoJpgFps_, folder, videoBase};
        auto* pictureJob = new session::PictureSequenceJob(request, this);
        jobOutput_ = pictureJob->outputFolder();
        job = pictureJob;
    }
    job_ = job;
    dialog->setOutputFileName(QFileInfo(jobOutput_).fileName());
    exportSession_ = std::make_unique<exportkit::ExportSession>(dialog);
    connect(job, &session::Job::progressChanged, this, [this](double fraction) {
        if (exportSession_) exportSession_->setProgress(fraction);
    });
    connect(job, &session::Job::finished, this, &GIFViewController::jobFinished);
    exportSession_->begin();
    job->start();
}

void GIFViewController::jobFinished(const session::JobResult& result) {
    if (job_) job_->deleteLater();
    if (!exportSession_) return;
    if (result.done()) {
        exportSession_->finishSucceeded(jobOutput_, tr_("gif_miker_SucceededConverting!"));
    } else if (result.stopped()) {
        exportSession_->finishStopped();
        if (exportDialog_) exportDialog_->showSucceeded(tr_("gif_miker_CancelTheFileConverting!"));
    } else if (!result.message.isEmpty()) {
        exportSession_->finishFailed(result.message);
    } else {
        exportSession_->finishFailed(result.code);
    }
}

void GIFViewController::windowWillClose() {
    preview_->pause();
    platform::NotificationCenter::defaultCenter().post(platform::kWillCloseNotification);
}

}  // namespace gif
