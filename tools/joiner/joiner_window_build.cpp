// Building the joiner window: title, clip list with its buttons and the empty-list view on the
// left, the preview with its cut range and volume on the right, the format bar and the bottom
// bar with the output folder, progress and the Start button.
#include "tools/joiner/joinner_window_controller.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include "engine/player/DIVuverIzizud.h"
#include "export/ui/reveal_in_file_manager.h"
#include "services/language.h"
#include "services/support_address.h"
#include "tools/joiner/joiner_text_fit.h"
#include "tools/shared/clip_list_view.h"
#include "tools/shared/output_folder_popup.h"
#include "tools/shared/support_mail.h"
#include "widgets/dialogs/app_icon.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::joiner {
namespace {

const QColor kWindowBackground(23, 26, 32);
const QColor kPanelBackground(34, 39, 48);
const QColor kSecondaryText(204, 204, 204, 153);
const QColor kControlText(205, 214, 221);
const QColor kTitleText(170, 177, 185);
const QColor kOutline(49, 60, 72);

// Layout of the 1200 x 836 window, top-left origin.
constexpr int kWindowWidth = 1200, kWindowHeight = 836;
const QRect kListFrame(20, 84, 560, 462);
constexpr int kRightX = 600, kRightWidth = 580;
constexpr int kFormatBarY = 600;
constexpr int kBottomY = 792;

QPixmap picture(const QString& name) { return services::Language::pixmapWithfileName(name); }

QString localized(const char* key) { return services::Language::localizedStringForKey(QString::fromLatin1(key)); }

QLabel* makeLabel(QWidget* parent, const QRect& frame, const QColor& colour, int pt = 13) {
    auto* label = new QLabel(parent);
    label->setGeometry(frame);
    QFont font = label->font();
    font.setPointSize(pt);
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

kestrel::widgets::RDTextField* makeTimeField(QWidget* parent, const QRect& frame, JoinnerWindowController* owner) {
    auto* f = new kestrel::widgets::RDTextField(parent);
    f->setGeometry(frame);
    QFont font = f->font();
    font.setPointSize(11);
    f->setFont(font);
    f->setAlignment(Qt::AlignCenter);
    f->setFrame(false);
    f->setMaxLength(3);
    QPalette p = f->palette();
    p.setColor(QPalette::Text, QColor(204, 204, 204));
    p.setColor(QPalette::Base, kPanelBackground);
    f->setPalette(p);
    f->setPointColor(QColor(204, 204, 204));
    f->setStyleSheet(QStringLiteral("QLineEdit { background: rgb(34, 39, 48); color: rgb(204, 204, 204); border: none; }"
                                    "QLineEdit:disabled { color: rgb(120, 126, 133); }"));
    f->setMouseDelegate(owner);
    f->setText(QStringLiteral("00"));
    f->setEnabled(false);
    QObject::connect(f, &QLineEdit::textEdited, owner, [owner, f] { owner->controlTextDidChange(f); });
    QObject::connect(f, &QLineEdit::editingFinished, owner, [owner, f] { owner->commitTimeField(f); });
    return f;
}

}  // namespace

void JoinnerWindowController::setButtonPictures(kestrel::widgets::ZorButton* button, const QString& stem) {
    button->setNormalImage(picture(stem + QStringLiteral("_Normal@2x.png")));
    button->setOnImage(picture(stem + QStringLiteral("_On@2x.png")));
    button->setDownImage(picture(stem + QStringLiteral("_Down@2x.png")));
    button->setDisAbleImage(picture(stem + QStringLiteral("_Disable@2x.png")));
    button->update();
}

kestrel::widgets::ZorButton* JoinnerWindowController::makeTextButton(QWidget* parent, const QRect& frame) {
    auto* b = new kestrel::widgets::ZorButton(parent);
    b->setGeometry(frame);
    b->setBackGroundColor(kPanelBackground);
    b->setDisAblebackGroundColor(QColor(28, 32, 39));
    b->setBordColor(QColor(58, 65, 77));
    b->setBorderWidth(1);
    b->setCornerRadius(6);
    b->setContentColor(kControlText);
    b->setOnColor(QColor(96, 222, 208));
    b->setDisableColor(QColor(120, 126, 133));
    b->setBordered(false);
    return b;
}

kestrel::widgets::ZorButton* JoinnerWindowController::makeIconButton(QWidget* parent, const QRect& frame, const QString& stem) {
    auto* b = new kestrel::widgets::ZorButton(parent);
    b->setGeometry(frame);
    setButtonPictures(b, stem);
    b->setImagePosition(kestrel::widgets::ImagePosition::ImageOnly);
    b->setBordered(false);
    return b;
}

void JoinnerWindowController::buildWindow() {
    resize(kWindowWidth, kWindowHeight);
    setMinimumSize(kWindowWidth, kWindowHeight);
    windowTitlelabel_ = makeLabel(this, QRect(0, 10, kWindowWidth, 20), kTitleText, 16);
    windowTitlelabel_->setAlignment(Qt::AlignCenter);

    addfileBtn_ = makeTextButton(this, QRect(kListFrame.x(), 44, 150, 30));
    addfileBtn_->setBackGroundColor(QColor(33, 176, 235));
    addfileBtn_->setContentColor(Qt::white);
    addfileBtn_->setOnColor(Qt::white);
    addfileBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { addFileAction(); });

    buildEmptyListView();
    fileListTableView_ = new kestrel::tools::shared::ClipListView(this);
    fileListTableView_->setGeometry(kListFrame);
    fileListTableView_->setRowHeight(100);
    fileListTableView_->setSelectItemCallback([this](const kestrel::model::SimpleDataPtr&) {
        QTimer::singleShot(0, this, [this] { initPlayer(); });
    });
    fileListTableView_->setReferenceChangedCallback([this](const kestrel::model::SimpleDataPtr& record) {
        QTimer::singleShot(0, this, [this, record] { setdefaultFormat(record); });
    });
    // The row writes the transition into its record (the same record the window holds).
    fileListTableView_->setTransitionChangedCallback([](int, int) {});
    buildListButtons();
    buildPreview();

    formatBar_ = new exportkit::OutputFormatBar(exportkit::FormatBarConfig::joiner(), this);
    formatBar_->setGeometry(0, kFormatBarY, kWindowWidth, exportkit::OutputFormatBar::kHeight);
    formatBar_->setDelegate(this);
    // Built before the window first shows, so every part of the bar shows with it.
    formatBar_->load();
    buildBottomBar();
}

void JoinnerWindowController::buildEmptyListView() {
    noFileView_ = new QWidget(this);
    noFileView_->setGeometry(kListFrame);
    QPalette p = noFileView_->palette();
    p.setColor(QPalette::Window, kPanelBackground);
    noFileView_->setPalette(p);
    noFileView_->setAutoFillBackground(true);
    noFileIcon_ = new QLabel(noFileView_);
    noFileIcon_->setGeometry(30, 40, 72, 72);
    noFileIcon_->setPixmap(kestrel::widgets::applicationIcon().scaled(72, 72, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    noFileTitle_ = makeLabel(noFileView_, QRect(118, 50, 420, 50), Qt::white, 24);
    gettingstatedlabel_ = makeLabel(noFileView_, QRect(30, 150, 500, 28), kSecondaryText, 16);
    for (int i = 0; i < 4; ++i) {
        descLabels_[size_t(i)] = makeLabel(noFileView_, QRect(30, 190 + i * 36, 500, 28), kSecondaryText, 14);
    }
    emailLink_ = new kestrel::tools::shared::SupportMailLink(noFileView_);
    emailLink_->setGeometry(30, 380, 500, 24);
    emailLink_->placeParts();
    QFont mailFont = emailLink_->addressLabel()->font();
    mailFont.setPointSize(13);
    emailLink_->addressLabel()->setFont(mailFont);
}

void JoinnerWindowController::buildListButtons() {
    const int y = kListFrame.bottom() + 10;
    const int w = 132, gap = 10;
    removeBtn_ = makeTextButton(this, QRect(kListFrame.x(), y, w, 28));
    clearBtn_ = makeTextButton(this, QRect(kListFrame.x() + (w + gap), y, w, 28));
    upBtn_ = makeTextButton(this, QRect(kListFrame.x() + 2 * (w + gap), y, w, 28));
    downBtn_ = makeTextButton(this, QRect(kListFrame.x() + 3 * (w + gap), y, w, 28));
    removeBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { removeAction(); });
    clearBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { clearAction(); });
    upBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { upAction(); });
    downBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { downAction(); });
}

void JoinnerWindowController::buildPreview() {
    playerView_ = new QWidget(this);
    playerView_->setGeometry(kRightX, 44, kRightWidth, 326);
    QPalette p = playerView_->palette();
    p.setColor(QPalette::Window, QColor(23, 23, 23));
    playerView_->setPalette(p);
    playerView_->setAutoFillBackground(true);

    leftTimeLabel_ = makeLabel(this, QRect(kRightX, 374, 120, 18), kSecondaryText, 12);
    rightTimeLabel_ = makeLabel(this, QRect(kRightX + kRightWidth - 120, 374, 120, 18), kSecondaryText, 12);
    rightTimeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The kit's frames count from the bottom left; these are placed with Qt's geometry instead.
    cutProgressView_ = new kestrel::widgets::RDCutProgressView(QRectF(0, 0, kRightWidth, 44), this);
    cutProgressView_->setGeometry(kRightX, 392, kRightWidth, 44);
    cutProgressView_->setIsNew(true);
    cutProgressView_->setIsFanxuan(false);
    cutProgressView_->setDelegate(this);

    const int ty = 436;
    playBtn_ = makeIconButton(this, QRect(kRightX, ty, 32, 32), QStringLiteral("ZantImage/GifMaker/btnPlay"));
    playSelectBtn_ = makeIconButton(this, QRect(kRightX + 40, ty, 32, 32), QStringLiteral("ZantImage/Join/btnPlayRange"));
    stopBtn_ = makeIconButton(this, QRect(kRightX + 80, ty, 32, 32), QStringLiteral("ZantImage/GifMaker/btnStop"));
    startCutTimeBtn_ = makeIconButton(this, QRect(kRightX + 132, ty, 32, 32), QStringLiteral("ZantImage/Join/btnSetStart"));
    stopCutTimeBtn_ = makeIconButton(this, QRect(kRightX + 172, ty, 32, 32), QStringLiteral("ZantImage/Join/btnSetEnd"));
    playBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { playToggle(); });
    playSelectBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { rangePlayToggle(); });
    stopBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { stopAction(); });
    startCutTimeBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { setStartTrimBtnTouchUp(); });
    stopCutTimeBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { setStopTrimBtnTouchUp(); });

    cutCoverBtn_ = makeIconButton(this, QRect(kRightX + 224, ty, 32, 32), QStringLiteral("ZantImage/Join/btnCapture"));
    cutCoverBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { actionCarameraBtn(); });
    cutcoverStyleBtn_ = makeIconButton(this, QRect(kRightX + 258, ty + 4, 24, 24), QStringLiteral("ZantImage/Join/btnCaptureSet"));
    cutcoverStyleBtn_->setNormalImage(picture(QStringLiteral("ZantImage/Join/btnCaptureSet_Normal.png")));
    cutcoverStyleBtn_->setOnImage(picture(QStringLiteral("ZantImage/Join/btnCaptureSet_On.png")));
    cutcoverStyleBtn_->setDownImage(picture(QStringLiteral("ZantImage/Join/btnCaptureSet_Down.png")));
    cutcoverStyleBtn_->setDisAbleImage(picture(QStringLiteral("ZantImage/Join/btnCaptureSet_Disable.png")));
    cutcoverStyleBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton* button) {
        if (!rdPlayer_) return;
        QMenu menu(this);
        menu.setStyleSheet(QStringLiteral("QMenu{background:rgb(34,39,48);color:rgb(205,214,221)}"
                                          "QMenu::item:selected{background:rgb(44,50,61)}"));
        for (const char* format : {"png", "jpg", "bmp"}) {
            QAction* action = menu.addAction(localized(format));
            action->setCheckable(true);
            action->setChecked(coverStyle_ == QLatin1String(format));
            connect(action, &QAction::triggered, this, [this, format] { picstyleAction(QString::fromLatin1(format)); });
        }
        menu.exec(button->mapToGlobal(QPoint(0, button->height())));
    });
    volumeBtn_ = makeIconButton(this, QRect(kRightX + 360, ty, 32, 32), QStringLiteral("ZantImage/Reverse/btnOpenVolume"));
    volumeBtn_->setSelectedImage(picture(QStringLiteral("ZantImage/Reverse/btnOpenVolume_Disable@2x.png")));
    volumeBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) {
        // Mutes the preview only; the clips keep their volumes.
        muted_ = !muted_;
        volumeBtn_->setSelected(muted_);
        const kestrel::model::SimpleDataPtr clip = selectedClip();
        if (rdPlayer_) rdPlayer_->SetVolume(muted_ ? 0.0 : (clip ? clip->volume : 1.0));
    });
    volumeSlider_ = new kestrel::widgets::VolumeProgressSlider(QRectF(0, 0, 120, 20), this);
    volumeSlider_->setGeometry(kRightX + 398, ty + 6, 120, 20);
    volumeSlider_->setProgress(0.5f);
    volumeSlider_->setTickrefresh(true);
    volumeSlider_->setDelegate(this);
    volumeValueLabel_ = makeLabel(this, QRect(kRightX + 524, ty + 6, 56, 20), kSecondaryText, 12);
    volumeValueLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    buildTimeBoxes();

    const int ry = 520;
    selectTimeBtn_ = makeTextButton(this, QRect(kRightX, ry, 287, 28));
    unSelectTimeBtn_ = makeTextButton(this, QRect(kRightX + 293, ry, 287, 28));
    for (kestrel::widgets::ZorButton* b : {selectTimeBtn_, unSelectTimeBtn_}) {
        b->setSelectColor(QColor(96, 222, 208));
        b->setSelectedBackgroundImage(QPixmap());
        b->setEnabled(false);
    }
    selectTimeBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { selectCurrentTimeRadioAction(); });
    unSelectTimeBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { unSelectCurrentTimeRadioAction(); });
    resetCutterBtn_ = makeTextButton(this, QRect(kRightX + 330, ry + 36, 122, 28));
    applytoallBtn_ = makeTextButton(this, QRect(kRightX + 458, ry + 36, 122, 28));
    resetCutterBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { resetCutterAction(); });
    applytoallBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { applytoallAction(); });

    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] { changePlayerSlider(); });
}

void JoinnerWindowController::buildTimeBoxes() {
    const int y = 478;
    startFieldLabel_ = makeLabel(this, QRect(kRightX, y + 4, 62, 20), kSecondaryText, 12);
    stopFieldLabel_ = makeLabel(this, QRect(kRightX + 226, y + 4, 58, 20), kSecondaryText, 12);
    stopFieldLabel_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    // The range's length sits between the elapsed and total times under the preview.
    cutDurationLabel_ = makeLabel(this, QRect(kRightX + 196, 374, 90, 18), kSecondaryText, 12);
    cutDurationLabel_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    cutDurationValueLabel_ = makeLabel(this, QRect(kRightX + 290, 374, 96, 18), kControlText, 12);
    cutDurationValueLabel_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    const auto makeBox = [this](int x, std::array<kestrel::widgets::RDTextField*, 4>& fields) {
        auto* box = new QWidget(this);
        box->setGeometry(x, y, 140, 28);
        box->setObjectName(QStringLiteral("timeBox"));
        box->setStyleSheet(QStringLiteral("#timeBox { border: 1px solid rgb(49, 60, 72); border-radius: 3px; background: rgb(34, 39, 48); }"));
        const int widths[] = {26, 26, 26, 30};
        const char* separators[] = {":", ":", ".", ""};
        int fx = 6;
        for (int i = 0; i < 4; ++i) {
            fields[size_t(i)] = makeTimeField(box, QRect(fx, 5, widths[i], 18), this);
            fx += widths[i];
            if (*separators[i]) {
                QLabel* sep = makeLabel(box, QRect(fx, 5, 6, 18), QColor(204, 204, 204), 11);
                sep->setText(QString::fromLatin1(separators[i]));
                fx += 6;
            }
        }
    };
    makeBox(kRightX + 64, startFields_);
    makeBox(kRightX + 286, stopFields_);
    // Up and down steppers beside each box step the field last clicked in it.
    const auto makeStepper = [this](int x, int dy, bool up, bool startBox) {
        auto* b = new kestrel::widgets::ZorButton(this);
        b->setGeometry(x, y + dy, 18, 14);
        const QString stem = up ? QStringLiteral("ZantImage/Reverse/btnSpinUp_") : QStringLiteral("ZantImage/Reverse/btnSpinDown_");
        b->setNormalBackgroundImage(picture(stem + QStringLiteral("Normal@2x.png")));
        b->setOnBackgroundImage(picture(stem + QStringLiteral("On@2x.png")));
        b->setDownBackgroundImage(picture(stem + QStringLiteral("Down@2x.png")));
        b->setDisAbleBackgroundImage(picture(stem + QStringLiteral("Disable@2x.png")));
        b->setBordered(false);
        b->setEnabled(false);
        b->setMouseDownAction([this, up, startBox](kestrel::widgets::ZorButton*) { stepTimeField(startBox, up ? 1 : -1); });
        return b;
    };
    steppers_ = {makeStepper(kRightX + 205, 0, true, true), makeStepper(kRightX + 205, 14, false, true),
                 makeStepper(kRightX + 427, 0, true, false), makeStepper(kRightX + 427, 14, false, false)};
}

void JoinnerWindowController::buildBottomBar() {
    outputLabel_ = makeLabel(this, QRect(), kSecondaryText, 13);
    outputLabel_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    outputFolderBtn_ = new kestrel::tools::shared::OutputFolderPopup(this);
    outputFolderBtn_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    outputFolderBtn_->setStyleSheet(
        QStringLiteral("QComboBox{background:rgb(34,39,48);color:rgb(205,214,221);border:1px solid rgb(58,65,77);"
                       "border-radius:6px;padding:0 8px}"
                       "QComboBox QAbstractItemView{background:rgb(34,39,48);color:rgb(205,214,221);"
                       "selection-background-color:rgb(44,50,61)}"));
    outputFolderBtn_->setAsksForAFolderWhenUnwritable(true);
    outputPath_ = outputFolderBtn_->outputPath();
    connect(outputFolderBtn_, &kestrel::tools::shared::OutputFolderPopup::outputPathChanged, this,
            [this](const QString& path) { outputPath_ = path; });
    openOutputFolderBtn_ = makeIconButton(this, QRect(), QStringLiteral("ZantImage/Reverse/btnBrowsePath"));
    openOutputFolderBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) {
        if (!outputPath_.isEmpty()) exportkit::revealInFileManager(outputPath_);
    });
    joinnerLabel_ = makeLabel(this, QRect(), kSecondaryText, 13);
    joinnerLabel_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    joinnerProgressView_ = new kestrel::widgets::NSProgressView(QRectF(0, 0, 360, 10), this);

    joinnerProgressView_->setProgress(0);
    progressPercentLabel_ = makeLabel(this, QRect(), kControlText, 12);
    startJoinnerBtn_ = makeTextButton(this, QRect(0, 0, 190, 40));
    startJoinnerBtn_->setBackGroundColor(QColor(33, 176, 235));
    startJoinnerBtn_->setContentColor(Qt::white);
    startJoinnerBtn_->setOnColor(Qt::white);
    startJoinnerBtn_->setCornerRadius(20);
    QPointer<JoinnerWindowController> self(this);
    startJoinnerBtn_->setMouseDownAction([self](kestrel::widgets::ZorButton*) {
        if (self) self->startJoinnerAction();
    });
    placeBottomBar(kBottomY);
}

void JoinnerWindowController::placeBottomBar(int y) {
    outputLabel_->setGeometry(20, y + 6, 120, 20);
    outputFolderBtn_->setGeometry(146, y, 223, 32);
    openOutputFolderBtn_->setGeometry(376, y, 32, 32);
    joinnerLabel_->setGeometry(420, y + 6, 110, 20);
    joinnerProgressView_->setGeometry(538, y + 11, 360, 10);
    progressPercentLabel_->setGeometry(904, y + 6, 56, 20);
    startJoinnerBtn_->setGeometry(kWindowWidth - 20 - 190, y - 4, 190, 40);
}

void JoinnerWindowController::outputBarCollapseToggled(exportkit::OutputFormatBar*, bool collapsed) {
    const int d = collapsed ? -140 : 0;
    setMinimumHeight(kWindowHeight + d);
    resize(width(), kWindowHeight + d);
    formatBar_->setGeometry(0, kFormatBarY, kWindowWidth, exportkit::OutputFormatBar::kHeight + d);
    placeBottomBar(kBottomY + d);
}

void JoinnerWindowController::changeLanguage() {
    windowTitlelabel_->setText(QStringLiteral("%1 %2").arg(localized("Joiner_Title"), services::Language::getCurrentVersion()));
    fitButton(addfileBtn_, localized("AddFileBtnTitle"), 13, 16);
    fitLabel(noFileTitle_, localized("Joiner_Title"), 24, 14);
    fitLabel(gettingstatedlabel_, localized("joinner_desc"), 16, 10);
    const char* steps[] = {"joinner_desc1", "joinner_desc2", "joinner_desc3", "joinner_desc4"};
    for (int i = 0; i < 4; ++i) fitLabel(descLabels_[size_t(i)], QStringLiteral("%1. %2").arg(i + 1).arg(localized(steps[i])), 14, 9);
    emailLink_->retranslate();
    if (!emailLink_->isHidden()) fitLabel(emailLink_->addressLabel(), emailLink_->addressLabel()->text(), 13, 9);
    fitButton(removeBtn_, localized("RemoveBtnTitle"), 13, 12);
    fitButton(clearBtn_, localized("ClearBtnTitle"), 13, 12);
    fitButton(upBtn_, localized("UpBtnTitle"), 13, 12);
    fitButton(downBtn_, localized("DownBtnTitle"), 13, 12);
    fitLabel(startFieldLabel_, localized("StartFieldLabelstringValue"), 12, 8);
    fitLabel(stopFieldLabel_, localized("StopFieldLabelstringValue"), 12, 8);
    fitLabel(cutDurationLabel_, localized("cutDurationLabelstringValue"), 12, 8);
    fitButton(selectTimeBtn_, localized("SelectTimeBtnTitle"), 12, 10, 8);
    fitButton(unSelectTimeBtn_, localized("UnSelectTimeBtnTitle"), 12, 10, 8);
    fitButton(resetCutterBtn_, localized("ResetBtnTitle"), 12, 10, 8);
    fitButton(applytoallBtn_, localized("ApplytoallBtnTitle"), 12, 10, 8);
    fitLabel(outputLabel_, localized("outputFolderLabelstringValue"), 13, 9);
    fitLabel(joinnerLabel_, localized("progressLabelStringValue"), 13, 9);
    fitButton(startJoinnerBtn_, localized(job_ ? "CancelexportTitle" : "StartExportTitle"), 18, 24, 11);
    playBtn_->setToolTip(localized("PlayToolTip"));
    playSelectBtn_->setToolTip(localized("PlayRangeToolTip"));
    stopBtn_->setToolTip(localized("StopToolTip"));
    startCutTimeBtn_->setToolTip(localized("SetStartToolTip"));
    stopCutTimeBtn_->setToolTip(localized("SetEndToolTip"));
    volumeBtn_->setToolTip(localized("MuteToolTip"));
    cutCoverBtn_->setToolTip(localized("SnapshotTip"));
    cutcoverStyleBtn_->setToolTip(localized("SnapshotFormatToolTip"));
    openOutputFolderBtn_->setToolTip(localized("OpenOutputFolderToolTip"));
    fileListTableView_->retranslate();
    // Arabic reads right to left inside each control; the window's layout is not mirrored.
    const Qt::LayoutDirection direction = services::Language::isalaboLanguage() ? Qt::RightToLeft : Qt::LeftToRight;
    for (QWidget* control : textControls()) control->setLayoutDirection(direction);
    windowTitlelabel_->setLayoutDirection(direction);
    outputFolderBtn_->setLayoutDirection(direction);
    outputFolderBtn_->retranslate();
}

QList<QWidget*> JoinnerWindowController::textControls() const {
    QList<QWidget*> list{addfileBtn_, noFileTitle_, gettingstatedlabel_, removeBtn_, clearBtn_, upBtn_,
                         downBtn_, startFieldLabel_, stopFieldLabel_, cutDurationLabel_, selectTimeBtn_, unSelectTimeBtn_,
                         resetCutterBtn_, applytoallBtn_, outputLabel_, joinnerLabel_, startJoinnerBtn_};
    if (!emailLink_->isHidden()) list.append(emailLink_->addressLabel());
    for (QLabel* label : descLabels_) list.append(label);
    return list;
}

}  // namespace kestrel::tools::joiner
