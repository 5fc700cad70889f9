// The GIF maker view's controls from the widget kit, their layout and their texts: the settings
// column (mode tabs, the video's settings or the photo list) on the left, the preview with its
// cut bar, times, playback row and Export on the right.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "services/language.h"
#include "tools/gif/gif_photo_grid.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/gif/gif_view_support.h"
#include "tools/shared/cut_range_rows.h"
#include "tools/shared/kit_controls.h"
#include "tools/shared/preview_rows.h"
#include "tools/shared/time_field_group.h"
#include "widgets/image_view.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"

namespace gif {

using kestrel::widgets::RDTextField;
using kestrel::widgets::XJGraphicButton;
using kestrel::widgets::ZorButton;
namespace kit = kestrel::tools::shared;
using namespace detail;

namespace {

constexpr int kSettingsWidth = 460;

// A section: a dim caption with the opened-section arrow, then a rounded panel.
QWidget* section(QWidget* parent, QLabel*& caption, QWidget*& panel, const QString& name) {
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(20, 0, 0, 0);
    row->setSpacing(6);
    auto* arrow = new kestrel::widgets::ImageView(box);
    arrow->setFixedSize(10, 10);
    arrow->setImageScaling(kestrel::widgets::ImageScaling::AxesIndependently);
    arrow->setImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnCombobox_Down.png")));
    caption = kit::toolLabel(box, 13, kit::kToolCaption);
    row->addWidget(arrow);
    row->addWidget(caption, 1);
    column->addLayout(row);
    panel = kit::toolPanel(box, kit::kToolPanel, 5, name);
    column->addWidget(panel);
    return box;
}

// A number field in its framed box.
RDTextField* numberField(QWidget* parent, int width, const QString& name, QWidget** boxOut = nullptr) {
    QWidget* box = kit::toolPanel(parent, kit::kToolWell, 3, name + QStringLiteral("Box"), 1);
    box->setFixedSize(width, 26);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(4, 0, 4, 0);
    auto* field = new RDTextField(box);
    field->setObjectName(name);
    field->setFrame(false);
    field->setAlignment(Qt::AlignCenter);
    field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: rgb(170,177,185); }"
                                        "QLineEdit:disabled { color: rgba(170,177,185,110); }"));
    field->setPointColor(kit::kToolText);
    kit::keepLeftToRight(field);
    row->addWidget(field);
    if (boxOut) *boxOut = box;
    return field;
}

// A spin pair (up over down, the up one tagged 10) beside a field.
QVBoxLayout* spinPair(QWidget* parent, ZorButton*& up, ZorButton*& down, const QString& name) {
    auto* pair = new QVBoxLayout;
    pair->setSpacing(0);
    up = kit::pictureButton(parent, QStringLiteral("ZantImage/Reverse/btnSpinUp"), QStringLiteral("@2x.png"), name + QStringLiteral("UpBtn"));
    down = kit::pictureButton(parent, QStringLiteral("ZantImage/Reverse/btnSpinDown"), QStringLiteral("@2x.png"), name + QStringLiteral("DownBtn"));
    up->setTag(10);
    pair->addWidget(up);
    pair->addWidget(down);
    return pair;
}

ZorButton* listButton(QWidget* parent, const QString& name, bool accent) {
    auto* button = new ZorButton(parent);
    button->setObjectName(name);
    QColor line = kit::kToolAccent;
    line.setAlphaF(accent ? 1.0f : 0.4f);
    button->setBordColor(line);
    button->setBorderWidth(1);
    button->setCornerRadius(accent ? 4 : 2);
    QColor text = kit::kToolAccent;
    text.setAlphaF(accent ? 1.0f : 0.8f);
    button->setContentColor(text);
    button->setOnColor(kit::kToolAccent);
    QColor down = kit::kToolAccent;
    down.setAlphaF(0.5f);
    button->setDownColor(down);
    QColor off = kit::kToolAccent;
    off.setAlphaF(0.2f);
    button->setDisableColor(off);
    QFont font = button->font();
    font.setPixelSize(13);
    button->setFont(font);
    button->setFixedHeight(26);
    return button;
}

}  // namespace

void GIFViewController::buildViews() {
    setStyleSheet(QStringLiteral("#gifView { background: rgb(23,26,32); }"));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 6, 16, 12);
    root->setSpacing(6);
    titleLabel = kit::toolLabel(this, 16, kit::kToolText, QStringLiteral("titleLabel"));
    titleLabel->setAlignment(Qt::AlignCenter);
    root->addWidget(titleLabel);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    auto* settings = new QWidget(this);
    settings->setFixedWidth(kSettingsWidth);
    auto* settingsColumn = new QVBoxLayout(settings);
    settingsColumn->setContentsMargins(16, 0, 20, 0);
    settingsColumn->setSpacing(8);
    settingsColumn->addWidget(buildTabs());
    videoSetsView = buildVideoSettings();
    photosSetsView = buildPhotoSettings();
    settingsColumn->addWidget(videoSetsView, 1);
    settingsColumn->addWidget(photosSetsView, 1);
    photosSetsView->hide();
    body->addWidget(settings);
    body->addWidget(buildPreviewColumn(), 1);
    root->addLayout(body, 1);
}

QWidget* GIFViewController::buildTabs() {
    auto* tabs = new QWidget(this);
    auto* grid = new QGridLayout(tabs);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    const struct {
        ZorButton** button;
        const char* stem;
        const char* name;
        Mode mode;
    } entries[] = {{&videotoGifBtn, "ZantImage/GifMaker/btnVideo2GIF", "videotoGifBtn", Mode::VideoToGif},
                   {&videotoJpgBtn, "ZantImage/GifMaker/btnVideo2JPG", "videotoJpgBtn", Mode::VideoToPictures},
                   {&photostoGifBtn, "ZantImage/GifMaker/btnPhoto2GIF", "photostoGifBtn", Mode::PhotosToGif}};
    int column = 0;
    for (const auto& entry : entries) {
        auto* tab = new ZorButton(tabs);
        tab->setObjectName(QString::fromLatin1(entry.name));
        kit::setStatePictures(tab, QString::fromLatin1(entry.stem), QStringLiteral("@2x.png"));
        tab->setSelectedImage(services::Language::pixmapWithfileName(QString::fromLatin1(entry.stem) + QStringLiteral("_On@2x.png")));
        tab->setImagePosition(kestrel::widgets::ImagePosition::ImageLeading);
        tab->setCornerRadius(5);
        tab->setContentColor(kit::kToolText);
        tab->setOnColor(kit::kToolAccent);
        tab->setSelectColor(kit::kToolAccent);
        QFont font = tab->font();
        font.setPixelSize(13);
        tab->setFont(font);
        tab->setFixedHeight(34);
        tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const Mode mode = entry.mode;
        tab->setMouseDownAction([this, mode](ZorButton*) { selectMode(mode); });
        *entry.button = tab;
        grid->addWidget(tab, 0, column++);
    }
    selectTabView = kit::toolPanel(tabs, kit::kToolAccent, 0, QStringLiteral("selectTabView"));
    selectTabView->setFixedHeight(2);
    grid->addWidget(selectTabView, 1, 0);
    return tabs;
}

QWidget* GIFViewController::buildVideoSettings() {
    auto* view = new QWidget(this);
    view->setObjectName(QStringLiteral("videoSetsView"));
    auto* column = new QVBoxLayout(view);
    column->setContentsMargins(0, 4, 0, 0);
    column->setSpacing(8);

    // The video and what it holds.
    QLabel* infoCaption = nullptr;
    QWidget* info = nullptr;
    auto* infoBox = section(view, infoCaption, info, QStringLiteral("videoInfomationContentView"));
    captions_ << infoCaption;
    auto* infoGrid = new QGridLayout(info);
    infoGrid->setContentsMargins(14, 8, 14, 8);
    infoGrid->setVerticalSpacing(4);
    auto* resolutionCaption = kit::toolLabel(info, 13, kit::kToolText);
    auto* fpsCaption = kit::toolLabel(info, 13, kit::kToolText);
    resolutionCaption->setProperty("tag", 10);
    fpsCaption->setProperty("tag", 20);
    captions_ << resolutionCaption << fpsCaption;
    videoSizeLabel = kit::toolLabel(info, 13, kit::kToolText, QStringLiteral("videoSizeLabel"));
    videoFpsLabel = kit::toolLabel(info, 13, kit::kToolText, QStringLiteral("videoFpsLabel"));
    videoSizeLabel->setProperty("tag", 100);
    videoFpsLabel->setProperty("tag", 200);
    addFileBtn = kit::titledButton(info, QStringLiteral("ZantImage/Reverse/btnCommon"), QStringLiteral(".png"), kit::kToolText,
                                   QStringLiteral("addFileBtn"));
    infoGrid->addWidget(resolutionCaption, 0, 0);
    infoGrid->addWidget(videoSizeLabel, 0, 1);
    infoGrid->addWidget(fpsCaption, 1, 0);
    infoGrid->addWidget(videoFpsLabel, 1, 1);
    infoGrid->addWidget(addFileBtn, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    infoGrid->setColumnStretch(1, 1);
    column->addWidget(infoBox);

    // The range.
    QWidget* range = nullptr;
    auto* rangeBox = section(view, cutTimeRangeLabel_, range, QStringLiteral("leftTopContentView"));
    auto* rangeGrid = new QGridLayout(range);
    rangeGrid->setContentsMargins(14, 10, 14, 10);
    rangeGrid->setHorizontalSpacing(8);
    rangeGrid->setVerticalSpacing(8);
    const kit::CutRangeRows rows =
        kit::cutRangeRows(range, rangeGrid, {QString(), QString(), QStringLiteral("startTextBgView"), QStringLiteral("endTextBgView")});
    startLabel_ = rows.startCaption;
    endLabel_ = rows.endCaption;
    startTextBgView = rows.start;
    endTextBgView = rows.end;
    startTimeUpBtn = startTextBgView->upBtn;
    startTimeDownBtn = startTextBgView->downBtn;
    stopTimeUpBtn = endTextBgView->upBtn;
    stopTimeDownBtn = endTextBgView->downBtn;
    leftCutBtn = rows.setStart;
    rightCutBtn = rows.setEnd;
    leftResetBtn = rows.resetStart;
    rightResetBtn = rows.resetEnd;
    column->addWidget(rangeBox);

    // The output size and frame rate.
    QWidget* output = nullptr;
    auto* outputBox = section(view, outputsetsLabel_, output, QStringLiteral("leftBottomContentView"));
    auto* outputGrid = new QGridLayout(output);
    outputGrid->setContentsMargins(14, 10, 14, 10);
    outputGrid->setHorizontalSpacing(8);
    outputGrid->setVerticalSpacing(8);
    resetsizeLabel_ = kit::toolLabel(output, 13, kit::kToolText);
    pixelBtn = kit::radioButton(output, QStringLiteral("ZantImage/AntiShake"), QStringLiteral("pixelBtn"));
    proportionBtn = kit::radioButton(output, QStringLiteral("ZantImage/AntiShake"), QStringLiteral("proportionBtn"));
    pixelBtn->setSelected(true);
    auto* units = new QHBoxLayout;
    units->setSpacing(10);
    units->addWidget(pixelBtn);
    units->addWidget(proportionBtn);
    units->addStretch(1);
    horizontalLabel_ = kit::toolLabel(output, 13, kit::kToolText);
    verticalLabel_ = kit::toolLabel(output, 13, kit::kToolText);
    outputFrameRateLabel_ = kit::toolLabel(output, 13, kit::kToolText);
    outputSizeWidthField = numberField(output, 80, QStringLiteral("outputSizeWidthField"));
    outputSizeHeightField = numberField(output, 80, QStringLiteral("outputSizeHeightField"));
    QWidget* fpsBox = nullptr;
    outputFrameRateField = numberField(output, 80, QStringLiteral("outputFrameRateField"), &fpsBox);
    linkBtn = kit::pictureButton(output, QStringLiteral("ZantImage/GifMaker/btnlinklock"), QStringLiteral("@2x.png"), QStringLiteral("linkBtn"));
    linkBtn->setSelected(true);
    auto* fpsRow = new QHBoxLayout;
    fpsRow->setSpacing(2);
    fpsRow->addWidget(fpsBox);
    fpsRow->addLayout(spinPair(output, frameRateUpBtn, frameRateDownBtn, QStringLiteral("frameRate")));
    fpsRow->addStretch(1);
    outputGrid->addWidget(resetsizeLabel_, 0, 0);
    outputGrid->addLayout(units, 0, 1, 1, 3);
    outputGrid->addWidget(horizontalLabel_, 1, 0);
    outputGrid->addWidget(outputSizeWidthField->parentWidget(), 1, 1);
    outputGrid->addWidget(linkBtn, 1, 2, 2, 1, Qt::AlignVCenter);
    outputGrid->addWidget(verticalLabel_, 2, 0);
    outputGrid->addWidget(outputSizeHeightField->parentWidget(), 2, 1);
    outputGrid->addWidget(outputFrameRateLabel_, 3, 0);
    outputGrid->addLayout(fpsRow, 3, 1, 1, 3);
    outputGrid->setColumnStretch(3, 1);
    column->addWidget(outputBox);
    column->addStretch(1);

    addFileBtn->setMouseDownAction([this](ZorButton*) { debounce(addFileTimer_, &GIFViewController::addFileBtnAction); });
    connect(startTextBgView, &kit::TimeFieldGroup::pressed, this, [this] { fieldPressed(startTextBgView); });
    connect(endTextBgView, &kit::TimeFieldGroup::pressed, this, [this] { fieldPressed(endTextBgView); });
    connect(startTextBgView, &kit::TimeFieldGroup::edited, this, [this] { changeTime(true, true); });
    connect(endTextBgView, &kit::TimeFieldGroup::edited, this, [this] { changeTime(false, true); });
    connect(leftCutBtn, &XJGraphicButton::clicked, this, [this] { leftCutAction(); });
    connect(rightCutBtn, &XJGraphicButton::clicked, this, [this] { rightCutAction(); });
    connect(leftResetBtn, &XJGraphicButton::clicked, this, [this] { resetRange(true); });
    connect(rightResetBtn, &XJGraphicButton::clicked, this, [this] { resetRange(false); });
    pixelBtn->setMouseDownAction([this](ZorButton*) { chooseUnit(true); });
    proportionBtn->setMouseDownAction([this](ZorButton*) { chooseUnit(false); });
    linkBtn->setMouseDownAction([this](ZorButton*) { linkAction(); });
    for (RDTextField* field : {outputSizeWidthField, outputSizeHeightField, outputFrameRateField}) field->setMouseDelegate(this);
    connect(outputSizeWidthField, &QLineEdit::textEdited, this, [this] { sizeTyped(true); });
    connect(outputSizeHeightField, &QLineEdit::textEdited, this, [this] { sizeTyped(false); });
    connect(outputSizeWidthField, &QLineEdit::editingFinished, this, [this] { commitSizeField(true); });
    connect(outputSizeHeightField, &QLineEdit::editingFinished, this, [this] { commitSizeField(false); });
    connect(outputFrameRateField, &QLineEdit::editingFinished, this, [this] { commitFpsField(outputFrameRateField, mode_); });
    frameRateUpBtn->setMouseDownAction([this](ZorButton*) { stepFps(false, +1); });
    frameRateDownBtn->setMouseDownAction([this](ZorButton*) { stepFps(false, -1); });
    return view;
}

QWidget* GIFViewController::buildPhotoSettings() {
    auto* view = new QWidget(this);
    view->setObjectName(QStringLiteral("photosSetsView"));
    auto* column = new QVBoxLayout(view);
    column->setContentsMargins(0, 4, 0, 0);
    column->setSpacing(8);
    QWidget* listFrame = kit::toolPanel(view, QColor(26, 30, 37), 0, QStringLiteral("photosContentView"), 1);
    auto* listStack = new QGridLayout(listFrame);
    listStack->setContentsMargins(1, 1, 1, 1);
    photoListView = new kestrel::tools::gif::GifPhotoGrid(listFrame);
    fileShowMessageView = kit::toolPanel(listFrame, QColor(23, 26, 32), 0, QStringLiteral("fileShowMessageView"));
    auto* hintLayout = new QVBoxLayout(fileShowMessageView);
    photoHintLabel_ = kit::toolLabel(fileShowMessageView, 13, kit::kToolText);
    photoHintLabel_->setProperty("tag", 10);
    photoHintLabel_->setWordWrap(true);
    photoHintLabel_->setAlignment(Qt::AlignCenter);
    hintLayout->addWidget(photoHintLabel_);
    listStack->addWidget(photoListView, 0, 0);
    listStack->addWidget(fileShowMessageView, 0, 0);
    fileShowMessageView->setAttribute(Qt::WA_TransparentForMouseEvents);
    column->addWidget(listFrame, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    addPhotosBtn = listButton(view, QStringLiteral("addPhotosBtn"), true);
    addFolderBtn = listButton(view, QStringLiteral("addFolderBtn"), true);
    buttons->addWidget(addPhotosBtn);
    buttons->addWidget(addFolderBtn);
    buttons->addStretch(1);
    column->addLayout(buttons);
    auto* edits = new QHBoxLayout;
    QWidget* editGroup = kit::toolPanel(view, Qt::transparent, 5, QStringLiteral("photoEditButtons"));
    auto* editRow = new QHBoxLayout(editGroup);
    editRow->setContentsMargins(0, 0, 0, 0);
    editRow->setSpacing(0);
    pastePhotosBtn = listButton(editGroup, QStringLiteral("pastePhotosBtn"), false);
    deletePhotosBtn = listButton(editGroup, QStringLiteral("deletePhotosBtn"), false);
    clearPhotosBtn = listButton(editGroup, QStringLiteral("clearPhotosBtn"), false);
    for (ZorButton* b : {pastePhotosBtn, deletePhotosBtn, clearPhotosBtn}) {
        editRow->addWidget(b);
        b->setEnabled(false);
    }
    edits->addWidget(editGroup);
    edits->addStretch(1);
    column->addLayout(edits);

    QWidget* settings = kit::toolPanel(view, kit::kToolPanel, 5, QStringLiteral("photostoGif_ContentView"));
    auto* grid = new QGridLayout(settings);
    grid->setContentsMargins(14, 10, 14, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    photoSizeLabel_ = kit::toolLabel(settings, 13, kit::kToolText);
    photoFrameRateLabel_ = kit::toolLabel(settings, 13, kit::kToolText);
    photostoGif_SizeWidthField = numberField(settings, 70, QStringLiteral("photostoGif_SizeWidthField"));
    photostoGif_SizeHeightField = numberField(settings, 70, QStringLiteral("photostoGif_SizeHeightField"));
    QWidget* fpsBox = nullptr;
    photostoGif_FrameRateField = numberField(settings, 70, QStringLiteral("photostoGif_FrameRateField"), &fpsBox);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->setSpacing(6);
    sizeRow->addWidget(photostoGif_SizeWidthField->parentWidget());
    QLabel* times = kit::toolLabel(settings, 13, kit::kToolText);
    times->setText(QStringLiteral("×"));
    sizeRow->addWidget(times);
    sizeRow->addWidget(photostoGif_SizeHeightField->parentWidget());
    sizeRow->addStretch(1);
    auto* fpsRow = new QHBoxLayout;
    fpsRow->setSpacing(2);
    fpsRow->addWidget(fpsBox);
    fpsRow->addLayout(spinPair(settings, photostoGif_frameRateUpBtn, photostoGif_frameRateDownBtn, QStringLiteral("photostoGif_frameRate")));
    fpsRow->addStretch(1);
    grid->addWidget(photoSizeLabel_, 0, 0);
    grid->addLayout(sizeRow, 0, 1);
    grid->addWidget(photoFrameRateLabel_, 1, 0);
    grid->addLayout(fpsRow, 1, 1);
    grid->setColumnStretch(1, 1);
    column->addWidget(settings);

    addPhotosBtn->setMouseDownAction([this](ZorButton*) { debounce(addPhotosTimer_, &GIFViewController::addPhotosAction); });
    addFolderBtn->setMouseDownAction([this](ZorButton*) { addFolderAction(); });
    pastePhotosBtn->setMouseDownAction([this](ZorButton*) { copyPhotosAction(); });
    deletePhotosBtn->setMouseDownAction([this](ZorButton*) { deletePhotosAction(); });
    clearPhotosBtn->setMouseDownAction([this](ZorButton*) { clearPhotosAction(); });
    connect(photoListView, &kestrel::tools::gif::GifPhotoGrid::photoPressed, this, [this](int index) { photoPressed(index); });
    connect(photoListView, &kestrel::tools::gif::GifPhotoGrid::photoMoved, this, [this](int from, int to) { photoMoved(from, to); });
    for (RDTextField* field : {photostoGif_SizeWidthField, photostoGif_SizeHeightField, photostoGif_FrameRateField})
        field->setMouseDelegate(this);
    connect(photostoGif_SizeWidthField, &QLineEdit::editingFinished, this, [this] { commitPhotoSizeField(true); });
    connect(photostoGif_SizeHeightField, &QLineEdit::editingFinished, this, [this] { commitPhotoSizeField(false); });
    connect(photostoGif_FrameRateField, &QLineEdit::editingFinished, this,
            [this] { commitFpsField(photostoGif_FrameRateField, Mode::PhotosToGif); });
    photostoGif_frameRateUpBtn->setMouseDownAction([this](ZorButton*) { stepFps(true, +1); });
    photostoGif_frameRateDownBtn->setMouseDownAction([this](ZorButton*) { stepFps(true, -1); });
    return view;
}

QWidget* GIFViewController::buildPreviewColumn() {
    auto* right = new QWidget(this);
    right->setObjectName(QStringLiteral("rightContentView"));
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    const kit::PreviewArea preview = kit::previewArea(right, column, QSize(420, 240), this);
    playBgView = preview.panel;
    cutTimeSlider = preview.cutBar;
    gifPlayerSlider = new kestrel::widgets::VolumeProgressSlider(QRectF(0, 0, 600, 20), right);
    gifPlayerSlider->setObjectName(QStringLiteral("gifPlayerSlider"));
    gifPlayerSlider->setFixedHeight(20);
    gifPlayerSlider->setTickrefresh(true);
    gifPlayerSlider->setDelegate(this);
    gifPlayerSlider->hide();
    column->addWidget(gifPlayerSlider);
    const kit::TimeLabelRow times = kit::timeLabelRow(right);
    leftTimeTextField = times.left;
    middleTimeTextField = times.middle;
    rightTimeTextField = times.right;
    column->addLayout(times.layout);

    const kit::PlaybackRow playback = kit::playbackRow(
        right, {QStringLiteral("ZantImage/GifMaker/btnPlay"), QStringLiteral("playSelectBtn"), 1.0f},
        [this](QWidget* parent) {
            return stopBtn = kit::pictureButton(parent, QStringLiteral("ZantImage/GifMaker/btnStop"), QStringLiteral("@2x.png"),
                                                QStringLiteral("stopBtn"));
        },
        this);
    playBtn = playback.play;
    playSelectBtn = playback.playRange;
    volumeBtn = playback.mute;
    volumeSlider = playback.volume;
    exportBtn = kit::titledButton(right, QStringLiteral("ZantImage/Reverse/btnStart"), QStringLiteral("@2x.png"), Qt::white,
                                  QStringLiteral("exportBtn"));
    exportBtn->setFixedHeight(32);
    column->addLayout(playback.layout);
    auto* exportRow = new QHBoxLayout;
    exportRow->addStretch(1);
    exportRow->addWidget(exportBtn);
    column->addLayout(exportRow);

    playBtn->setMouseDownAction([this](ZorButton*) { playAction(false); });
    playSelectBtn->setMouseDownAction([this](ZorButton*) { playAction(true); });
    stopBtn->setMouseDownAction([this](ZorButton*) { stopAction(); });
    volumeBtn->setMouseDownAction([this](ZorButton*) { volumeAction(); });
    exportBtn->setMouseDownAction([this](ZorButton*) { debounce(exportTimer_, &GIFViewController::exportBtnAction); });
    return right;
}

void GIFViewController::changeLanguage() {
    titleLabel->setText(QStringLiteral("%1 %2 %3 ").arg(tr_("VelmoraLabelTitle"), tr_(tabState_ == -1 ? "VideoToPic_Title" : "MakeGIF_Title"),
                                                         services::Language::getCurrentVersion()));
    kit::setButtonTitle(videotoGifBtn, tr_("gif_miker_VideotoGIF"));
    kit::setButtonTitle(videotoJpgBtn, tr_("gif_miker_VideotoJPG"));
    kit::setButtonTitle(photostoGifBtn, tr_("gif_miker_PhotostoGIF"));
    for (ZorButton* tab : {videotoGifBtn, videotoJpgBtn, photostoGifBtn}) tab->setMinimumWidth(0);
    kit::setButtonTitle(exportBtn, tr_("gif_miker_Export"));
    kit::setButtonTitle(addFileBtn, tr_("gif_miker_AddFile"));
    kit::setButtonTitle(addPhotosBtn, tr_("gif_miker_AddPhotos"));
    kit::setButtonTitle(addFolderBtn, tr_("gif_miker_AddFolder"));
    kit::setButtonTitle(pastePhotosBtn, tr_("gif_miker_Copy"));
    kit::setButtonTitle(deletePhotosBtn, tr_("gif_miker_Delete"));
    kit::setButtonTitle(clearPhotosBtn, tr_("gif_miker_Clear"));
    kit::setButtonTitle(pixelBtn, tr_("gif_miker_Pixel"));
    kit::setButtonTitle(proportionBtn, tr_("gif_miker_Proportion"));
    captions_.at(0)->setText(tr_("gif_miker_infomation"));
    captions_.at(1)->setText(tr_("gif_miker_infomationResolution"));
    captions_.at(2)->setText(tr_("gif_miker_infomationFramerate"));
    cutTimeRangeLabel_->setText(tr_("gif_miker_CuttingTime"));
    startLabel_->setText(tr_("gif_miker_StartTime"));
    endLabel_->setText(tr_("gif_miker_EndTime"));
    outputsetsLabel_->setText(tr_("gif_miker_Output"));
    resetsizeLabel_->setText(tr_("gif_miker_ResetSizelabel"));
    horizontalLabel_->setText(tr_("gif_miker_Horizontal"));
    verticalLabel_->setText(tr_("gif_miker_Vertical"));
    outputFrameRateLabel_->setText(tr_("gif_miker_FrameRate"));
    photoFrameRateLabel_->setText(tr_("gif_miker_FrameRate"));
    photoSizeLabel_->setText(tr_("gif_miker_OutputSize"));
    photoHintLabel_->setText(tr_("gif_miker_PhotoHint"));
    linkBtn->setToolTip(tr_("gif_miker_Link"));
    leftCutBtn->setToolTip(tr_("gif_miker_SetStart"));
    rightCutBtn->setToolTip(tr_("gif_miker_SetEnd"));
    leftResetBtn->setToolTip(tr_("gif_miker_Reset"));
    rightResetBtn->setToolTip(tr_("gif_miker_Reset"));
    playSelectBtn->setToolTip(tr_("gif_miker_PlaySelection"));
    stopBtn->setToolTip(tr_("gif_miker_StopPreview"));
    volumeBtn->setToolTip(tr_("gif_miker_Mute"));
    refreshPlayButtons();
    resetTextFields();
    kit::applyToolTextDirection(this);
}

}  // namespace gif
