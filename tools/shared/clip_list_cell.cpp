#include "tools/shared/clip_list_cell.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWidgetAction>

#include "services/help_class.h"
#include "services/language.h"
#include "tools/shared/inset_button.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

namespace kestrel::tools::shared {

using services::localized;

namespace {

constexpr int kLabelHeight = 17;
constexpr int kThumbX = 20, kThumbW = 120, kThumbH = 68;
constexpr int kTextX = 150;
const QColor kDimText(255, 255, 255, 153);

QLabel* makeLabel(QWidget* parent, const QColor& color) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPixelSize(13);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

// Width a caption needs, never below the designed width.
int captionWidth(const QLabel* label, int designed) {
    return std::max(designed, QFontMetrics(label->font()).horizontalAdvance(label->text()) + 2);
}

// The record's picture at twice the thumbnail's size; one of another shape (the audio picture)
// is fitted whole in the middle rather than cut.
QPixmap thumbnailPicture(const QImage& image) {
    if (image.isNull()) return {};
    const QSize size(kThumbW * 2, kThumbH * 2);
    const double ratio = double(image.width()) / std::max(1, image.height());
    // Drawn at the view's size in points, sharp on screens of twice the density.
    const auto atViewSize = [](QPixmap pixmap) {
        pixmap.setDevicePixelRatio(2.0);
        return pixmap;
    };
    if (std::abs(ratio - double(kThumbW) / kThumbH) < 0.2)
        return atViewSize(QPixmap::fromImage(services::HelpClass::resizeImage(image, size)));
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(QColor(23, 26, 32));
    const QImage fitted = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawImage((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2, fitted);
    painter.end();
    return atViewSize(QPixmap::fromImage(canvas));
}

}  // namespace

QStringList transitionTitleKeys() {
    return {QStringLiteral("NORMALItemTitle"), QStringLiteral("LEFTItemTitle"), QStringLiteral("TOPItemTitle"),
            QStringLiteral("FADEOUTItemTitle")};
}

QString fileSizeText(double megabytes) {
    if (megabytes >= 1.0) return QString::asprintf("%.1lfMB", megabytes);
    if (megabytes * 1024 >= 1.0) return QString::asprintf("%.1lfKB", megabytes * 1024);
    return QString::asprintf("%.1lfB", megabytes * 1024 * 1024);
}

ClipListCell::ClipListCell(const QRect& frame, QWidget* parent) : QWidget(parent) {
    setGeometry(frame);
    thumbView_ = new kestrel::widgets::ZorImageView(this);
    // The picture is part of the row: a press on it selects the row like one beside it.
    thumbView_->setAttribute(Qt::WA_TransparentForMouseEvents);
    nameLabel_ = makeLabel(this, Qt::white);
    sourceCaption_ = makeLabel(this, kDimText);
    durationLabel_ = makeLabel(this, kDimText);
    durationLabel_->setText(QStringLiteral("00:00:00"));
    frameLabel_ = makeLabel(this, kDimText);
    frameLabel_->setText(QStringLiteral("0000x0000"));
    sizeLabel_ = makeLabel(this, kDimText);
    sizeLabel_->setText(QStringLiteral("0.00MB"));
    cutCaption_ = makeLabel(this, kDimText);
    cutLengthLabel_ = makeLabel(this, kDimText);
    cutLengthLabel_->setText(QStringLiteral("00:00:00"));

    referenceBox_ = new kestrel::widgets::ZorButton(this);
    referenceBox_->setNormalImage(services::Language::pixmapWithfileName("ZantImage/Join/chk_NoChecked_Normal@2x.png"));
    referenceBox_->setSelectedImage(services::Language::pixmapWithfileName("ZantImage/Join/chk_Checked_Normal@2x.png"));
    referenceBox_->setContentColor(QColor(170, 177, 185));
    referenceBox_->setMouseDownAction([this](kestrel::widgets::ZorButton*) {
        // Queued so the press finishes drawing before the other rows change.
        QTimer::singleShot(0, this, [this] {
            setReferenceChecked(!referenceChecked());
            if (fileData_) fileData_->defaultFormat = referenceChecked();
            if (referenceClickedBlock_) referenceClickedBlock_(this);
        });
    });

    transitionButton_ = new InsetButton(this);
    transitionButton_->setBorder(QColor(49, 60, 72), 1, 4);
    transitionButton_->setTextColor(kDimText);
    transitionButton_->setIcon(QIcon(services::Language::pixmapWithfileName("ZantImage/Join/btnShowPanel_Normal@2x.png")));
    transitionButton_->setIconSize(QSize(10, 10));
    QFont buttonFont = transitionButton_->font();
    buttonFont.setPixelSize(13);
    transitionButton_->setFont(buttonFont);
    transitionButton_->setMouseDownBlock([this](InsetButton*, QEvent*) { showTransitionMenu(); });

    progressBar_ = new kestrel::widgets::NSProgressView(QRectF(0, 0, 200, 10), this);
    progressBar_->setProgress(0);
    progressBar_->hide();

    retranslate();
}

QString ClipListCell::transitionTitle(int transition) const {
    return (transition >= 0 && transition < effectTitles_.size()) ? effectTitles_.at(transition) : QString();
}

void ClipListCell::retranslate() {
    sourceCaption_->setText(localized("SourceLabelTitle"));
    cutCaption_->setText(localized("CuttedLabelTitle"));
    referenceBox_->setContentTitle(QStringLiteral("  ") + localized("default_formatBtnTitle"));
    effectTitles_.clear();
    for (const QString& key : transitionTitleKeys()) effectTitles_.append(localized(key));
    transitionButton_->setText(transitionTitle(fileData_ ? fileData_->transitionEffect : menuIndex_));
    layoutParts();
}

void ClipListCell::setFileData(const kestrel::model::SimpleDataPtr& record) {
    fileData_ = record;
    if (!record) {
        nameLabel_->clear();
        thumbView_->setNormalImage({});
        layoutParts();
        return;
    }
    const QString name = record->path.section('/', -1);
    nameLabel_->setText(name);
    nameLabel_->setToolTip(name);
    thumbView_->setNormalImage(thumbnailPicture(record->thumbImage));
    durationLabel_->setText(services::HelpClass::returnTimeToStr(record->sourceData.duration));
    const bool hasPicture = record->sourceData.width != 0 || record->sourceData.height != 0;
    frameLabel_->setText(QString::asprintf("%dx%d", record->sourceData.width, record->sourceData.height));
    frameLabel_->setVisible(hasPicture);
    sizeLabel_->setText(fileSizeText(record->sourceData.fileSize));
    // The length of the marked range, whether the range is kept or removed.
    cutLengthLabel_->setText(services::HelpClass::returnTimeToStr(
        double(record->cutTimeRange_stop - record->cutTimeRange_start) / 1000000.0));
    setReferenceChecked(record->defaultFormat);
    selected_ = record->selected;
    transitionButton_->setText(transitionTitle(record->transitionEffect));
    // An audio file cannot be the reference for a picture format.
    referenceBox_->setVisible(referenceAvailable_ && hasPicture);
    layoutParts();
    update();
}

void ClipListCell::setSelected(bool selected) {
    selected_ = selected;
    if (selectedBlock_) selectedBlock_(this, selected);
    update();
}

void ClipListCell::setSelectedLook(bool selected) {
    selected_ = selected;
    update();
}

void ClipListCell::setRowEnabled(bool v) {
    rowEnabled_ = v;
    referenceBox_->setEnabled(v);
    transitionButton_->setEnabled(v);
}

void ClipListCell::setReferenceBoxAvailable(bool available) {
    referenceAvailable_ = available;
    const bool hasPicture = fileData_ && (fileData_->sourceData.width != 0 || fileData_->sourceData.height != 0);
    referenceBox_->setVisible(available && hasPicture);
}

void ClipListCell::setTransitionButtonAvailable(bool available) {
    transitionAvailable_ = available;
    transitionButton_->setVisible(available);
}

bool ClipListCell::referenceChecked() const { return referenceBox_->selected(); }

void ClipListCell::setReferenceChecked(bool checked) {
    referenceBox_->setSelected(checked);
    referenceBox_->update();
}

void ClipListCell::chooseTransition(int transition) {
    if (transition < 0 || transition >= kTransitionCount) return;
    menuIndex_ = transition;
    transitionButton_->setText(transitionTitle(transition));
    if (fileData_) fileData_->transitionEffect = transition;
    if (transitionChosenBlock_) transitionChosenBlock_(this);
}

// The transition menu: one of the kit's menu rows per transition, as wide as the button, the
// row of the last choice highlighted.
void ClipListCell::showTransitionMenu() {
    if (!rowEnabled_) return;
    QMenu menu(this);
    menu.setStyleSheet(QStringLiteral("QMenu { background: rgb(22,22,22); padding: 0px; border: none; }"));
    const int width = std::max(transitionButton_->width(), 80);
    for (int i = 0; i < effectTitles_.size(); ++i) {
        auto* row = new kestrel::widgets::MenuItemView(QRectF(0, 0, width, 30), &menu);
        row->setMdelegate(this);
        row->setType(2);
        row->setFixedSize(width, 30);
        row->titleLabel()->setText(QStringLiteral(" ") + effectTitles_.at(i));
        row->titleLabel()->setStyleSheet(QStringLiteral("QLabel { background-color: %1; border-radius: 5px; color: white; padding-left: 2px; }")
                                             .arg(i == menuIndex_ ? QStringLiteral("rgb(38,110,214)") : QStringLiteral("rgb(22,22,22)")));
        auto* item = new QWidgetAction(&menu);
        item->setDefaultWidget(row);
        item->setText(effectTitles_.at(i));  // the item's name, for assistive tools
        menu.addAction(item);
    }
    menu.exec(transitionButton_->mapToGlobal(QPoint(0, transitionButton_->height())));
}

void ClipListCell::menuClicked(kestrel::widgets::MenuItemView*, qint64 index) {
    if (index >= 0) chooseTransition(int(index));
}

void ClipListCell::setProgressVisible(bool visible) { progressBar_->setVisible(visible); }
bool ClipListCell::progressVisible() const { return !progressBar_->isHidden(); }
void ClipListCell::setProgress(float fraction) { progressBar_->setProgress(fraction); }
float ClipListCell::progress() const { return progressBar_->progress(); }

void ClipListCell::layoutParts() {
    const int w = width(), h = height();
    const int thumbY = (h - kThumbH) / 2;
    thumbView_->setGeometry(kThumbX, thumbY, kThumbW, kThumbH);
    const int topLine = thumbY;
    const int middleLine = h / 2 - kLabelHeight / 2;
    const int bottomLine = thumbY + kThumbH - kLabelHeight;

    // Right-hand controls first: the name and size labels stop short of them.
    int rightEdge = w - 10;
    const QFontMetrics boxMetrics(referenceBox_->font());
    const int boxWidth = boxMetrics.horizontalAdvance(referenceBox_->contentTitle()) + 26;
    referenceBox_->setGeometry(w - 10 - boxWidth, topLine, boxWidth, 20);
    if (referenceBox_->isVisibleTo(this)) rightEdge = w - 10 - boxWidth - 8;

    int widest = 0;
    const QFontMetrics titleMetrics(transitionButton_->font());
    for (const QString& title : effectTitles_) widest = std::max(widest, titleMetrics.horizontalAdvance(title + " "));
    const int buttonWidth = widest + 22 + 12;
    transitionButton_->setGeometry(w - 20 - buttonWidth, topLine + 33, buttonWidth, 22);

    progressBar_->setFrame(QRectF(w - 220, (h - 10) / 2.0, 200, 10));

    nameLabel_->setGeometry(kTextX, topLine, std::max(40, std::min(w / 2 - 85 + 140, rightEdge) - kTextX), kLabelHeight);
    const int captionW = std::max(captionWidth(sourceCaption_, 60), captionWidth(cutCaption_, 60));
    sourceCaption_->setGeometry(kTextX, middleLine, captionW, kLabelHeight);
    int x = kTextX + captionW + 5;
    durationLabel_->setGeometry(x, middleLine, 86, kLabelHeight);
    x += 86 + 5;
    frameLabel_->setGeometry(x, middleLine, 86, kLabelHeight);
    // An audio file has no frame size: the file size takes its place.
    if (!frameLabel_->isHidden()) x += 86 + 5;
    sizeLabel_->setGeometry(x, middleLine, 70, kLabelHeight);
    cutCaption_->setGeometry(kTextX, bottomLine, captionW, kLabelHeight);
    cutLengthLabel_->setGeometry(kTextX + captionW + 5, bottomLine, 86, kLabelHeight);
}

void ClipListCell::resizeEvent(QResizeEvent*) { layoutParts(); }

void ClipListCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = selected_ ? selectedColor_ : normalColor_;
    if (!fill.isValid()) return;
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.fillPath(path, fill);
    painter.setPen(QPen(fill, 1));
    painter.drawPath(path);
}

void ClipListCell::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rowEnabled_ && !selected_ && mouseDownBlock_) mouseDownBlock_(this);
    update();
}

}  // namespace kestrel::tools::shared
