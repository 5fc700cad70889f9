// The GIF maker view's controls, their layout, look and connections.
#include "tools/gif/gif_view_controller.h"

#include "session/preview/gif_preview.h"
#include "tools/gif/gif_photo_list.h"
#include "tools/gif/gif_view_support.h"
#include "widgets/dialogs/dark_look.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace gif {

using kestrel::tools::gif::GifPhotoList;
using kestrel::tools::gif::OutputSize;
using kestrel::tools::gif::SizeUnit;
namespace rules = kestrel::tools::gif;
namespace session = kestrel::session;
using namespace detail;

namespace {

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

void GIFViewController::buildViews() {
    setStyleSheet(QString::fromLatin1(kPanelStyle));
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
    // Arabic reads right to left inside each control; the view keeps its layout and the number
    // and time fields keep their digits left to right.
    kestrel::widgets::applyTextDirection(this);
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->setLayoutDirection(Qt::LeftToRight);
    for (QTimeEdit* field : findChildren<QTimeEdit*>()) field->setLayoutDirection(Qt::LeftToRight);
}

}  // namespace gif
