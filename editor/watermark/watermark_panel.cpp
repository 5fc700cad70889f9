#include "editor/watermark/watermark_panel.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "editor/watermark/watermark_stacking.h"
#include "editor/watermark/watermark_time_fields.h"
#include "engine/player/DIVuverIzizud.h"
#include "services/language.h"
#include "session/edit/text_watermark_layout.h"
#include "session/media/first_frame.h"
#include "session/preview/draw_text_callback.h"
#include "session/preview/watermark_preview.h"

namespace kestrel::editor {

using kestrel::session::getWaterImageWithPath;
using kestrel::session::mediaDurationSeconds;
using kestrel::session::PreviewDrawTextCallback;
using kestrel::session::waterMarkFontOf;
using kestrel::session::textBoxSize;

using services::localized;

namespace {

// The times a watermark may hold: shown inside the video (0 <= start, start + duration <= the
// video's length) and, for a video watermark, a used range inside its own file with its start
// before its end. The edited end gives way to the other one, so typing is never blocked.
void keepWatermarkTimes(kestrel::model::WaterParam& m, double videoSeconds, bool fileStartEdited) {
    constexpr float kLeast = 0.01f;  // the fields' step
    if (videoSeconds > 0) {
        m.startTime = std::clamp(m.startTime, 0.0f, float(videoSeconds));
        m.duration = std::clamp(m.duration, 0.0f, float(videoSeconds) - m.startTime);
    } else {
        m.startTime = std::max(m.startTime, 0.0f);
        m.duration = std::max(m.duration, 0.0f);
    }
    if (m.fileDuration <= 0) return;
    const float D = m.fileDuration;
    m.fileStartTime = std::clamp(m.fileStartTime, 0.0f, std::max(0.0f, D - kLeast));
    m.fileEndTime = std::clamp(m.fileEndTime, std::min(kLeast, D), D);
    if (m.fileStartTime < m.fileEndTime) return;
    if (fileStartEdited) m.fileEndTime = std::min(D, m.fileStartTime + kLeast);
    else m.fileStartTime = std::max(0.0f, m.fileEndTime - kLeast);
}

const QStringList kPictureExtensions = {"png", "jpg", "tiff", "jpeg", "gif"};
const QStringList kOpenTypes = {"mov", "qt",  "mp4", "m4v", "flv",  "ts",   "m2ts", "mts", "mkv",  "mka",  "mpg", "mpeg",
                                "mpa", "m2v", "mpv", "dat", "avi",  "divx", "3gp",  "3g2", "mxf",  "tp",   "trp", "nut",
                                "h261", "h264", "mod", "tod", "wmv", "png", "jpg",  "tiff", "JPEG", "gif"};

bool isPicturePath(const QString& path) { return kPictureExtensions.contains(QFileInfo(path).suffix().toLower()); }

// A picture's size in overlay points, shrunk (aspect kept) to fit half the overlay.
QSizeF fittedPictureSize(const QSizeF& picture, const QSizeF& view) {
    if (picture.isEmpty()) return QSizeF(10, 10);
    const double scale = std::min({1.0, view.width() / 2 / picture.width(), view.height() / 2 / picture.height()});
    return QSizeF(std::max(10.0, picture.width() * scale), std::max(10.0, picture.height() * scale));
}

}  // namespace

WatermarkPanel::WatermarkPanel(QWidget* parent) : QWidget(parent) {
    buildUi();
    changelanguage();
    refreshWaterTime();
    enableWaterChildView(false);
}

WatermarkPanel::~WatermarkPanel() {
    // A field that loses the focus while the panel goes hands nothing over to it.
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->disconnect(this);
    if (watermarkView_) {
        watermarkView_->setDelegate(nullptr);
        delete watermarkView_.data();
    }
}

void WatermarkPanel::buildUi() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);

    auto* addRow = new QHBoxLayout;
    textmarkBtn_ = panel::makeTextButton(this, "ZantImage/Cut/btnCommonBlack", [this](auto*) { addTextWaterMark(); });
    imagemarkBtn_ = panel::makeTextButton(this, "ZantImage/Cut/btnCommonBlack", [this](auto*) { imagemarkAction(); });
    deletedmarkBtn_ = panel::makePictureButton(this, "ZantImage/SubFun/btnDeleteWaterMark_Normal.png",
                                               [this](auto*) { deleteWaterMark(); });
    addRow->addWidget(textmarkBtn_);
    addRow->addWidget(imagemarkBtn_);
    addRow->addStretch();
    addRow->addWidget(deletedmarkBtn_);
    column->addLayout(addRow);

    listLayout_ = panel::makeListArea(this, 130, column);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(4);
    int row = 0;
    auto addTitled = [&](const QString& key) {
        QLabel* label = panel::makeLabel(this);
        label->setProperty("key", key);
        titledLabels_.append(label);
        return label;
    };
    auto addTimeGroup = [&](TimeGroupIndex index, QWidget* host, QGridLayout* into, int at, const QString& key) {
        timeGroups_[index] = panel::makeTimeGroup(host, this);
        into->addWidget(addTitled(key), at, 0);
        into->addWidget(timeGroups_[index].box, at, 1);
        timeSteppers_[index][0] = panel::makeStepperButton(host, true, [this, index](auto*) { stepTimeGroup(index, +1); });
        timeSteppers_[index][1] = panel::makeStepperButton(host, false, [this, index](auto*) { stepTimeGroup(index, -1); });
        into->addWidget(timeSteppers_[index][0], at, 2);
        into->addWidget(timeSteppers_[index][1], at, 3);
        // A typed time is checked when its field is left or Return is pressed, once.
        for (auto* field : timeGroups_[index].fields)
            QObject::connect(field, &QLineEdit::editingFinished, this, [this, index] { readTimeGroup(index); });
    };
    grid->addWidget(addTitled("timeRangeofDisplayLabelstringValue"), row++, 0, 1, 4);
    addTimeGroup(kStart, this, grid, row++, "watermarkStartTimeLabelstringValue");
    addTimeGroup(kDuration, this, grid, row++, "watermarkDurationLabelstringValue");
    column->addLayout(grid);

    watermarkContent3View_ = new QWidget(this);
    auto* fileGrid = new QGridLayout(watermarkContent3View_);
    fileGrid->setContentsMargins(0, 0, 0, 0);
    fileGrid->addWidget(addTitled("selectaportionofClipLabelstringValue"), 0, 0, 1, 4);
    addTimeGroup(kFileStart, watermarkContent3View_, fileGrid, 1, "wmFileStartTimeLabelstringValue");
    addTimeGroup(kFileEnd, watermarkContent3View_, fileGrid, 2, "wmFileEndTimeLabelstringValue");
    column->addWidget(watermarkContent3View_);

    wmsizeBackgroundView_ = new QWidget(this);
    auto* sizeRows = new QVBoxLayout(wmsizeBackgroundView_);
    sizeRows->setContentsMargins(0, 0, 0, 0);
    auto* sizeRow = new QHBoxLayout;
    sizeRows->addLayout(sizeRow);
    sizeRow->addWidget(addTitled("wmfSizeoftheWatermarkLabelValue"));
    wmWidthField_ = panel::makeValueField(wmsizeBackgroundView_, this);
    wmHeightField_ = panel::makeValueField(wmsizeBackgroundView_, this);
    valueSteppers_[0] = panel::makeStepperButton(wmsizeBackgroundView_, true, [this](auto*) { stepWidth(+1); });
    valueSteppers_[1] = panel::makeStepperButton(wmsizeBackgroundView_, false, [this](auto*) { stepWidth(-1); });
    valueSteppers_[2] = panel::makeStepperButton(wmsizeBackgroundView_, true, [this](auto*) { stepHeight(+1); });
    valueSteppers_[3] = panel::makeStepperButton(wmsizeBackgroundView_, false, [this](auto*) { stepHeight(-1); });
    for (auto* w : std::initializer_list<QWidget*>{wmWidthField_, valueSteppers_[0], valueSteppers_[1], wmHeightField_,
                                                   valueSteppers_[2], valueSteppers_[3]})
        sizeRow->addWidget(w);
    wmkeepaspectRatioBtn_ = panel::makeCheckBox(wmsizeBackgroundView_, [this](kestrel::widgets::ZorButton* b) {
        setKeepAspectRatio(!b->selected());
    });
    sizeRow->addStretch();
    // A line of its own: beside the size fields its title had no room in most languages.
    sizeRows->addWidget(wmkeepaspectRatioBtn_, 0, Qt::AlignLeft);
    column->addWidget(wmsizeBackgroundView_);
    // A typed size is taken when the field is left or Return is pressed, once: taken at every
    // keystroke, the 10-point minimum would turn the first digit of "150" into 10.
    QObject::connect(wmWidthField_, &QLineEdit::editingFinished, this, [this] { stepWidth(0); });
    QObject::connect(wmHeightField_, &QLineEdit::editingFinished, this, [this] { stepHeight(0); });

    auto* alphaRow = new QHBoxLayout;
    alphaRow->addWidget(addTitled("wmTransparenceLabelstringValue"));
    wmAlphaProgressView_ = new kestrel::widgets::VolumeProgressSlider(QRectF(0, 0, 120, 20), this);
    wmAlphaProgressView_->setFixedSize(120, 20);
    wmAlphaProgressView_->setDelegate(this);
    alphaRow->addWidget(wmAlphaProgressView_);
    wmAlphaField_ = panel::makeValueField(this, this);
    wmAlphaField_->setFixedWidth(36);
    alphaRow->addWidget(wmAlphaField_);
    valueSteppers_[4] = panel::makeStepperButton(this, true, [this](auto*) { stepAlpha(+1); });
    valueSteppers_[5] = panel::makeStepperButton(this, false, [this](auto*) { stepAlpha(-1); });
    alphaRow->addWidget(valueSteppers_[4]);
    alphaRow->addWidget(valueSteppers_[5]);
    alphaRow->addWidget(addTitled("CustomStringValue"));
    column->addLayout(alphaRow);
    // Taken once, when the field is left or Return is pressed.
    QObject::connect(wmAlphaField_, &QLineEdit::editingFinished, this, [this] { stepAlpha(0); });

    wmfontStyleBackView_ = new QWidget(this);
    auto* fontRow = new QHBoxLayout(wmfontStyleBackView_);
    fontRow->setContentsMargins(0, 0, 0, 0);
    fontRow->addWidget(addTitled("wmFontStyleLabelstringValue"));
    waterFontBtn_ = panel::makeTextButton(wmfontStyleBackView_, "ZantImage/Cut/btnCommonBlack", [this](auto*) { showFontPanel(); });
    waterColorBtn_ = panel::makeTextButton(wmfontStyleBackView_, "ZantImage/Cut/btnCommonBlack", [this](auto*) { showColourPanel(); });
    fontRow->addWidget(waterFontBtn_);
    fontRow->addWidget(waterColorBtn_);
    column->addWidget(wmfontStyleBackView_);
    column->addStretch();
}

void WatermarkPanel::changelanguage() {
    textmarkBtn_->setContentTitle(localized("Text"));
    imagemarkBtn_->setContentTitle(localized("Picture&Video"));
    waterFontBtn_->setContentTitle(localized("waterFontBtntitle"));
    waterColorBtn_->setContentTitle(localized("wmFontColorBtnTitle"));
    panel::setCheckBoxTitle(wmkeepaspectRatioBtn_, localized("wmkeepaspectRatioBtnTitle"));
    for (QLabel* label : titledLabels_) label->setText(localized(label->property("key").toString()));
}

// ---- the open file and the overlay --------------------------------------------------------

void WatermarkPanel::setPlayer(kestrel::player::DIVuverIzizud* player, kestrel::model::SimpleDataPtr fileData) {
    player_ = player;
    fileData_ = std::move(fileData);
    waterMarkList_.clear();
    selectedWaterMarkIndex_ = -1;
    reloadData();
    initWatermarkView();
    refreshWaterTime();
    enableWaterChildView(false);
}

QSizeF WatermarkPanel::videoSize() const {
    QSizeF size;
    if (fileData_ && fileData_->sourceData.width > 0 && fileData_->sourceData.height > 0) {
        size = QSizeF(fileData_->sourceData.width, fileData_->sourceData.height);
        const int angle = std::abs(userTurn_ ? userTurn_() : 0) % 360;
        if (angle == 90 || angle == 270) size.transpose();
    } else if (player_) {
        size = QSizeF(player_->frameWidth(), player_->frameHeight());
    }
    return size;
}

QRectF WatermarkPanel::videoRectInPlayer() const {
    if (!player_ || !player_->view()) return {};
    const QSizeF bounds = player_->view()->size();
    QSizeF fitted = videoSize();
    if (fitted.isEmpty()) return QRectF(QPointF(0, 0), bounds);
    fitted.scale(bounds, Qt::KeepAspectRatio);
    return QRectF((bounds.width() - fitted.width()) / 2, (bounds.height() - fitted.height()) / 2, fitted.width(),
                  fitted.height());
}

double WatermarkPanel::fileDurationSeconds() const {
    if (fileData_ && fileData_->sourceData.duration > 0) return fileData_->sourceData.duration;
    return player_ ? player_->duration().seconds() : 0;
}

void WatermarkPanel::initWatermarkView() {
    if (watermarkView_) {
        watermarkView_->setDelegate(nullptr);
        delete watermarkView_.data();
    }
    if (!player_ || !player_->view()) return;
    watermarkView_ = new RDWaterView(videoRectInPlayer(), player_->view());
    watermarkView_->setVideoSize(videoSize());
    watermarkView_->setDelegate(this);
    watermarkView_->hide();
}

void WatermarkPanel::changesize() {
    if (!watermarkView_) return;
    watermarkView_->setFrameRect(videoRectInPlayer());
    watermarkView_->setVideoSize(videoSize());
    // The box keeps its place in the picture: it is stored as fractions of the frame.
    for (kestrel::model::WaterParam& mark : waterMarkList_) {
        const QSizeF view = watermarkView_->viewSize();
        const QRectF& f = mark.waterPercentClipRect;
        mark.waterRect = QRectF(f.x() * view.width(), f.y() * view.height(), f.width() * view.width(),
                                f.height() * view.height());
        const double oldWidth = mark.waterViewFrameWidth;
        if (mark.waterType == 4 && oldWidth > 0) mark.waterFontSize = static_cast<float>(mark.waterFontSize * view.width() / oldWidth);
        mark.waterViewFrameWidth = static_cast<float>(view.width());
    }
    placeOverlayForSelection();
}

void WatermarkPanel::placeOverlayForSelection() {
    if (!watermarkView_) return;
    const kestrel::model::WaterParam* mark = selectedMark();
    if (!mark) {
        watermarkView_->setWaterMark(QImage());
        watermarkView_->setWaterMarkString(QString());
        watermarkView_->setMarkWaterType(0);
        watermarkView_->hide();
        return;
    }
    watermarkView_->setMarkWaterType(static_cast<int>(mark->waterType));
    watermarkView_->setWaterMarkAlph(static_cast<int>(mark->waterAlph));
    QImage picture;
    if (mark->waterType == 2 && !mark->waterImagePath.isEmpty())
        picture = mark->isVideo ? getWaterImageWithPath(mark->waterImagePath) : QImage(mark->waterImagePath);
    watermarkView_->setWaterMark(picture);
    watermarkView_->setWaterMarkString(mark->waterType == 4 ? mark->waterText : QString());
    watermarkView_->setWaterMarkFont(waterMarkFontOf(*mark));
    watermarkView_->setWaterMarkColor(mark->waterFontColor);
    watermarkView_->setScale_Type(mark->keepaspectRatio ? 3 : 1);
    watermarkView_->setClipRect(mark->waterRect);
    watermarkView_->setVisible(editingAllowed_ && isVisible());
    watermarkView_->raise();
}

void WatermarkPanel::storeBox() {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark || !watermarkView_) return;
    mark->waterRect = watermarkView_->getclipRectFrame();
    mark->waterPercentClipRect = watermarkView_->getPercentImageClipRect();
    mark->waterViewFrameWidth = static_cast<float>(watermarkView_->width());
    wmWidthField_->setText(QString::number(std::lround(mark->waterRect.width())));
    wmHeightField_->setText(QString::number(std::lround(mark->waterRect.height())));
}

void WatermarkPanel::actionMouseMoveEndForWaterViewBlock(RDWaterView*, const QRectF&) { storeBox(); }

void WatermarkPanel::actionMouseMovedForWaterViewBlock(RDWaterView* view, const QRectF&) {
    if (view == watermarkView_) storeBox();
}

void WatermarkPanel::fitTextBox(kestrel::model::WaterParam& mark) {
    if (!watermarkView_) return;
    const QSizeF view = watermarkView_->viewSize();
    const QSizeF size = textBoxSize(mark.waterText, waterMarkFontOf(mark), view);
    QRectF box(mark.waterRect.topLeft(), size);
    if (box.x() + box.width() > view.width()) box.moveLeft(view.width() - box.width());
    if (box.y() + box.height() > view.height()) box.moveTop(view.height() - box.height());
    watermarkView_->setClipRect(box);
    mark.waterRect = watermarkView_->getclipRectFrame();
    mark.waterPercentClipRect = watermarkView_->getPercentTextClipRect();
    mark.waterViewFrameWidth = static_cast<float>(view.width());
}

// ---- the list ------------------------------------------------------------------------------

void WatermarkPanel::reloadData() {
    for (auto* item : items_) item->deleteLater();
    items_.clear();
    for (int i = 0; i < waterMarkList_.size(); ++i) {
        auto* item = new WaterMarkCollectionViewItem(listLayout_->parentWidget());
        item->setViewTag(i);
        item->setMDelegate(this);
        item->setItem(waterMarkList_[i]);
        listLayout_->insertWidget(i, item);
        items_.append(item);
    }
}

void WatermarkPanel::appendNewMark(kestrel::model::WaterParam mark) {
    for (kestrel::model::WaterParam& other : waterMarkList_) other.selected = false;
    mark.selected = true;
    mark.isCheck = true;
    mark.waterAlph = 0;
    waterMarkList_.append(mark);
    selectedWaterMarkIndex_ = static_cast<int>(waterMarkList_.size()) - 1;
    reloadData();
    refreshPlayerWaterMark(true);
    refreshWaterTime();
    enableWaterChildView(true);
}

void WatermarkPanel::addTextWaterMark() {
    if (!watermarkView_ || !player_) return;
    pauseVideoPreview();
    kestrel::model::WaterParam mark;
    mark.waterType = 4;
    mark.waterText = localized("watermarkstringValue");
    mark.waterFontColor = QColor::fromRgbF(1, 1, 1, 1);
    const double now = player_->currentTime().seconds();
    mark.startTime = static_cast<float>(now);
    // Shown from now to the video's end, never past it.
    mark.duration = static_cast<float>(std::max(0.0, player_->duration().seconds() - now));
    const QSizeF view = watermarkView_->viewSize();
    const QSizeF size = textBoxSize(mark.waterText, waterMarkFontOf(mark), view);
    QList<QRectF> placed;
    for (const auto& other : waterMarkList_) placed.append(other.waterRect);
    mark.waterRect = intersectsRect(QRectF(QPointF(0, 0), size), placed, view.height());
    fitTextBox(mark);
    appendNewMark(mark);
}

void WatermarkPanel::pauseVideoPreview() {
    if (!player_ || player_->playerStatus() != 1) return;
    if (pauseVideoPreview_) pauseVideoPreview_();
    else player_->pause();
}

void WatermarkPanel::imagemarkAction() {
    pauseVideoPreview();
    const QStringList chosen = panel::runOpenPanel(window(), QString(), kOpenTypes);
    if (chosen.isEmpty()) return;
    const QString path = chosen.last();
    if (!addPictureWaterMark(path)) showAlert(localized("wmUnreadableFileMessage").arg(QFileInfo(path).fileName()));
}

bool WatermarkPanel::addPictureWaterMark(const QString& path) {
    if (!watermarkView_ || !player_) return false;
    kestrel::model::WaterParam mark;
    mark.waterType = 2;
    mark.waterImagePath = path;
    mark.keepaspectRatio = true;
    QImage picture;
    if (isPicturePath(path)) {
        picture = QImage(path);
    } else {
        mark.isVideo = true;
        mark.fileDuration = static_cast<float>(mediaDurationSeconds(path));
        mark.fileEndTime = mark.fileDuration;
        picture = getWaterImageWithPath(path);
    }
    // A file that gives no picture would be an invisible watermark: refuse it.
    if (picture.isNull()) return false;
    pauseVideoPreview();
    const double now = player_->currentTime().seconds();
    mark.startTime = static_cast<float>(now);
    mark.duration = static_cast<float>(std::max(0.0, player_->duration().seconds() - now));
    const QSizeF view = watermarkView_->viewSize();
    QList<QRectF> placed;
    for (const auto& other : waterMarkList_) placed.append(other.waterRect);
    QRectF box = intersectsRect(QRectF(QPointF(0, 0), fittedPictureSize(picture.size(), view)), placed, view.height());
    box.moveLeft(std::clamp(box.x(), 0.0, std::max(0.0, view.width() - box.width())));
    box.moveTop(std::clamp(box.y(), 0.0, std::max(0.0, view.height() - box.height())));
    watermarkView_->setClipRect(box);
    mark.waterRect = watermarkView_->getclipRectFrame();
    mark.waterPercentClipRect = watermarkView_->getPercentImageClipRect();
    mark.waterViewFrameWidth = static_cast<float>(view.width());
    appendNewMark(mark);
    return true;
}

void WatermarkPanel::deleteWaterMark() {
    for (int i = static_cast<int>(waterMarkList_.size()) - 1; i >= 0; --i)
        if (waterMarkList_[i].selected) waterMarkList_.removeAt(i);
    // Nothing stays selected: the panel edits no entry until one is picked again.
    selectedWaterMarkIndex_ = -1;
    reloadData();
    refreshPlayerWaterMark(false);
    refreshWaterTime();
    enableWaterChildView(!waterMarkList_.isEmpty());
}

void WatermarkPanel::selectWaterMark(int index) {
    if (index < 0 || index >= waterMarkList_.size()) return;
    for (int i = 0; i < waterMarkList_.size(); ++i) {
        waterMarkList_[i].selected = i == index;
        waterMarkList_[i].waterImage = QImage();
    }
    selectedWaterMarkIndex_ = index;
    for (int i = 0; i < items_.size(); ++i) items_[i]->setItem(waterMarkList_[i]);
    refreshPlayerWaterMark(true);
    refreshWaterTime();
    enableWaterChildView(true);
}

void WatermarkPanel::checkWaterMark(int index) {
    if (index < 0 || index >= waterMarkList_.size()) return;
    waterMarkList_[index].isCheck = !waterMarkList_[index].isCheck;
    items_[index]->setItem(waterMarkList_[index]);
    refreshWaterTime();
    refreshPlayerWaterMark(true);
}

void WatermarkPanel::changeWaterMarkText(int index, const QString& text) {
    if (index != selectedWaterMarkIndex_ || !hasSelection() || waterMarkList_[index].waterType != 4) return;
    kestrel::model::WaterParam& mark = waterMarkList_[index];
    mark.waterText = text;
    fitTextBox(mark);
    if (watermarkView_) watermarkView_->setWaterMarkString(text);
    items_[index]->setItem(mark);
}

void WatermarkPanel::selectWaterMarkCollectionViewItem(WaterMarkCollectionViewItem* item) { selectWaterMark(item->viewTag()); }

void WatermarkPanel::checkWaterMarkCollectionViewItem(WaterMarkCollectionViewItem* item) { checkWaterMark(item->viewTag()); }

void WatermarkPanel::changeWaterMarkTextCollectionViewItem(WaterMarkCollectionViewItem* item, const QString& text) {
    changeWaterMarkText(item->viewTag(), text);
}

// ---- fields and steppers --------------------------------------------------------------------

void WatermarkPanel::actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) {
    for (size_t g = 0; g < timeGroups_.size(); ++g) {
        const bool inGroup = timeGroups_[g].contains(field);
        if (inGroup) editedFields_[g] = field;
        for (auto* stepper : timeSteppers_[g]) stepper->setEnabled(inGroup && editingAllowed_);
    }
    const bool size = field == wmWidthField_ || field == wmHeightField_;
    for (size_t i = 0; i < 4; ++i) valueSteppers_[i]->setEnabled(size && editingAllowed_);
    for (size_t i = 4; i < 6; ++i) valueSteppers_[i]->setEnabled(field == wmAlphaField_ && editingAllowed_);
}

void WatermarkPanel::readTimeGroup(TimeGroupIndex group) {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark) return;
    const auto& f = timeGroups_[group].fields;
    const double t = secondsFromHundredthsTexts(f[0]->text(), f[1]->text(), f[2]->text(), f[3]->text());
    const double video = fileDurationSeconds();
    constexpr double kSlack = 0.005;  // the fields' hundredths
    // A time past the video's end, or past the watermark file's end, is refused with the alert and
    // the record keeps its time; a start moved later shortens the duration to the video's end.
    bool refused = false;
    switch (group) {
    case kStart:
        refused = video > 0 && t > video + kSlack;
        if (!refused) {
            mark->startTime = static_cast<float>(t);
            if (video > 0) mark->duration = static_cast<float>(std::min<double>(mark->duration, std::max(0.0, video - t)));
        }
        break;
    case kDuration:
        refused = video > 0 && mark->startTime + t > video + kSlack;
        if (!refused) mark->duration = static_cast<float>(t);
        break;
    case kFileStart:
        refused = mark->fileDuration > 0 && t > mark->fileDuration + kSlack;
        if (!refused) mark->fileStartTime = static_cast<float>(t);
        break;
    case kFileEnd:
        refused = mark->fileDuration > 0 && t > mark->fileDuration + kSlack;
        if (!refused) mark->fileEndTime = static_cast<float>(t);
        break;
    }
    if (refused) showAlert(localized("showmessageTime4"));
    else keepWatermarkTimes(*mark, video, group == kFileStart);
    // The fields show what the watermark holds now.
    const QList<double> kept{mark->startTime, mark->duration, mark->fileStartTime, mark->fileEndTime};
    for (size_t g = 0; g < timeGroups_.size(); ++g) timeGroups_[g].setTexts(hundredthsTexts(kept[int(g)]));
    refreshPlayerWaterMark(true);
}

void WatermarkPanel::showAlert(const QString& message) { panel::showAlert(this, alertPresenter_, message); }

void WatermarkPanel::stepTimeGroup(TimeGroupIndex group, int delta) {
    kestrel::model::WaterParam* mark = selectedMark();
    kestrel::widgets::RDTextField* field = editedFields_[group];
    if (!mark || !field) return;
    const QString before = field->text();
    field->setText(QString::asprintf("%02i", steppedFieldValue(before.toInt(), delta, timeGroups_[group].isFractionField(field))));
    const auto& f = timeGroups_[group].fields;
    const double t = secondsFromHundredthsTexts(f[0]->text(), f[1]->text(), f[2]->text(), f[3]->text());
    bool refused = false;
    switch (group) {
    case kStart:
    case kDuration: refused = (delta > 0 && t > fileDurationSeconds()) || t < 0; break;
    case kFileStart: refused = delta < 0 && t <= 0; break;
    case kFileEnd: break;
    }
    if (refused) {
        field->setText(before);
        return;
    }
    switch (group) {
    case kStart: mark->startTime = static_cast<float>(t); break;
    case kDuration: mark->duration = static_cast<float>(t); break;
    case kFileStart: mark->fileStartTime = static_cast<float>(t); break;
    case kFileEnd: mark->fileEndTime = static_cast<float>(t); break;
    }
    keepWatermarkTimes(*mark, fileDurationSeconds(), group == kFileStart);
    refreshWaterTime();
}

void WatermarkPanel::stepWidth(int delta) {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark || !watermarkView_ || mark->waterType == 4) return;
    const int limit = std::max(1, static_cast<int>(videoSize().width()));
    const int value = std::clamp(wmWidthField_->text().toInt() + delta, 1, limit);
    QRectF box = mark->waterRect;
    box.setWidth(value);
    watermarkView_->setClipRect(box);
    // The fields show the box as kept (its minimum and the picture's edges may have changed it).
    storeBox();
}

void WatermarkPanel::stepHeight(int delta) {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark || !watermarkView_ || mark->waterType == 4) return;
    const int limit = std::max(1, static_cast<int>(videoSize().height()));
    const int value = std::clamp(wmHeightField_->text().toInt() + delta, 1, limit);
    QRectF box = mark->waterRect;
    box.setHeight(value);
    watermarkView_->setClipRect(box);
    storeBox();
}

void WatermarkPanel::stepAlpha(int delta) {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark) return;
    const int value = std::clamp(wmAlphaField_->text().toInt() + delta, delta == 0 ? 0 : 1, 100);
    mark->waterAlph = value;
    refreshWaterTime();
}

void WatermarkPanel::actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    kestrel::model::WaterParam* mark = selectedMark();
    if (slider != wmAlphaProgressView_ || !mark) return;
    mark->waterAlph = progress * 100.0;
    wmAlphaField_->setText(QString::number(static_cast<int>(mark->waterAlph)));
    if (watermarkView_) watermarkView_->setWaterMarkAlph(static_cast<int>(mark->waterAlph));
}

void WatermarkPanel::setKeepAspectRatio(bool keep) {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark) return;
    mark->keepaspectRatio = keep;
    wmkeepaspectRatioBtn_->setSelected(keep);
    if (watermarkView_) {
        watermarkView_->setScale_Type(keep ? 3 : 1);
        storeBox();
    }
}

// ---- font and colour ------------------------------------------------------------------------

void WatermarkPanel::showFontPanel() {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark || mark->waterType != 4) return;
    QFont initial(mark->waterFontName);
    initial.setPointSizeF(mark->waterFontSize);
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, window(), localized("waterFontBtntitle"),
                                            QFontDialog::DontUseNativeDialog);
    if (ok) changeWaterFont(font);
}

void WatermarkPanel::showColourPanel() {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark || mark->waterType != 4) return;
    const QColor colour = QColorDialog::getColor(mark->waterFontColor, window(), localized("wmFontColorBtnTitle"),
                                                 QColorDialog::DontUseNativeDialog);
    if (colour.isValid()) changeColor(colour);
}

void WatermarkPanel::changeWaterFont(const QFont& font) {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark || mark->waterType != 4) return;
    mark->waterFontName = font.family();
    mark->waterFontSize = static_cast<float>(font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize());
    fitTextBox(*mark);
    if (watermarkView_) watermarkView_->setWaterMarkFont(waterMarkFontOf(*mark));
}

void WatermarkPanel::changeColor(const QColor& colour) {
    kestrel::model::WaterParam* mark = selectedMark();
    if (!mark || mark->waterType != 4) return;
    mark->waterFontColor = colour;
    if (watermarkView_) watermarkView_->setWaterMarkColor(colour);
}

// ---- refresh --------------------------------------------------------------------------------

void WatermarkPanel::setEditingAllowed(bool allowed) {
    editingAllowed_ = allowed;
    refreshPlayerWaterMark(allowed && isVisible());
    if (watermarkView_) watermarkView_->setVisible(allowed && isVisible() && hasSelection());
    enableWaterChildView(allowed && !waterMarkList_.isEmpty());
    for (auto* button : {textmarkBtn_, imagemarkBtn_, deletedmarkBtn_}) button->setEnabled(allowed && player_);
}

void WatermarkPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshPlayerWaterMark(editingAllowed_);
    placeOverlayForSelection();
}

void WatermarkPanel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (watermarkView_) watermarkView_->hide();
    refreshPlayerWaterMark(false);
}

void WatermarkPanel::refreshPlayerWaterMark(bool editing) {
    // Only a paused preview leaves the selected watermark to the overlay; a playing one draws all.
    const int skip = editing && editingAllowed_ && isVisible() ? selectedWaterMarkIndex_ : -1;
    if (!player_) return;
    if (previewApplier_) {
        previewApplier_(kestrel::session::kPreviewWatermarks, {skip});
        return;
    }
    kestrel::session::EditState state;
    state.watermarks = waterMarkList_;
    state.setUserAngleDegrees(userTurn_ ? userTurn_() : 0);
    kestrel::session::applyToPreview(player_, state, fileData_ ? *fileData_ : kestrel::model::SimpleData{},
                                     kestrel::session::kPreviewWatermarks, {skip});
}

void WatermarkPanel::refreshWaterTime() {
    const kestrel::model::WaterParam* mark = selectedMark();
    const QList<double> times = mark ? QList<double>{mark->startTime, mark->duration, mark->fileStartTime, mark->fileEndTime}
                                     : QList<double>{0, 0, 0, 0};
    for (size_t g = 0; g < timeGroups_.size(); ++g) timeGroups_[g].setTexts(hundredthsTexts(times[static_cast<int>(g)]));
    wmWidthField_->setText(mark ? QString::number(static_cast<int>(mark->waterRect.width())) : "0");
    wmHeightField_->setText(mark ? QString::number(static_cast<int>(mark->waterRect.height())) : "0");
    wmAlphaField_->setText(mark ? QString::number(static_cast<int>(mark->waterAlph)) : "0");
    wmAlphaProgressView_->setProgress(mark ? static_cast<float>(mark->waterAlph / 100.0) : 0.f);
    wmkeepaspectRatioBtn_->setSelected(mark && mark->keepaspectRatio);
    const bool isText = !mark || mark->waterType == 4;
    const bool isVideo = mark && mark->waterType == 2 && !mark->waterImagePath.isEmpty() && mark->fileDuration > 0;
    wmfontStyleBackView_->setVisible(isText);
    wmsizeBackgroundView_->setVisible(!isText);
    watermarkContent3View_->setVisible(isVideo);
    placeOverlayForSelection();
}

void WatermarkPanel::enableWaterChildView(bool flag) {
    // Watermarks are edited while the preview is paused, never while it plays.
    flag = flag && editingAllowed_;
    const bool hasPlayer = player_ != nullptr && editingAllowed_;
    textmarkBtn_->setEnabled(hasPlayer);
    imagemarkBtn_->setEnabled(hasPlayer);
    deletedmarkBtn_->setEnabled(hasPlayer);
    wmkeepaspectRatioBtn_->setEnabled(flag);
    for (auto& group : timeGroups_) group.setEnabled(flag);
    wmAlphaField_->setEnabled(flag);
    wmAlphaProgressView_->setDisable(!flag);
    const kestrel::model::WaterParam* mark = selectedMark();
    const bool text = mark && mark->waterType == 4;
    const bool picture = mark && mark->waterType == 2;
    waterFontBtn_->setEnabled(text && flag);
    waterColorBtn_->setEnabled(text && flag);
    wmWidthField_->setEnabled(picture && flag);
    wmHeightField_->setEnabled(picture && flag);
}

}  // namespace kestrel::editor
