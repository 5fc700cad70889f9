// The reverse tool's controls from the widget kit, their layout and their texts: the top band
// (logo, Export, Add File), the cut-range and sound sections on the left, the preview with its
// trim bar, times and playback row on the right.
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/notification_center.h"
#include "services/language.h"
#include "tools/reverse/reverse_view_controller.h"
#include "tools/shared/cut_range_rows.h"
#include "tools/shared/kit_controls.h"
#include "tools/shared/preview_rows.h"
#include "tools/shared/time_field_group.h"
#include "widgets/image_view.h"
#include "widgets/xj_graphic_button.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::reverse {

using services::localized;
using widgets::XJGraphicButton;
using widgets::ZorButton;
namespace kit = kestrel::tools::shared;

namespace {

constexpr int kLeftColumn = 460;

// A section caption with the opened-section arrow before it.
QWidget* sectionCaption(QWidget* parent, QLabel*& caption) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(20, 0, 0, 0);
    layout->setSpacing(6);
    auto* arrow = new widgets::ImageView(row);
    arrow->setFixedSize(10, 10);
    arrow->setImageScaling(widgets::ImageScaling::AxesIndependently);
    arrow->setImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnCombobox_Down.png")));
    caption = kit::toolLabel(row, 13, kit::kToolCaption);
    layout->addWidget(arrow);
    layout->addWidget(caption, 1);
    return row;
}

// A section: its caption over a rounded panel named name, which the caller fills.
QWidget* captionedSection(QWidget* parent, QLabel*& caption, QWidget*& content, const QString& name) {
    auto* section = new QWidget(parent);
    auto* column = new QVBoxLayout(section);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(sectionCaption(section, caption));
    content = kit::toolPanel(section, kit::kToolPanel, 5, name);
    column->addWidget(content);
    return section;
}

XJGraphicButton* soundRadio(QWidget* parent, const QString& name) {
    auto* radio = new XJGraphicButton(parent);
    radio->setObjectName(name);
    const QString folder = QStringLiteral("ZantImage/Reverse/");
    const auto picture = [&](const char* file) { return services::Language::pixmapWithfileName(folder + QLatin1String(file)); };
    radio->image[1] = picture("rb_NoChecked_On@2x.png");
    radio->image[2] = picture("rb_NoChecked_Down@2x.png");
    radio->image[3] = picture("rb_Checked_Normal@2x.png");
    radio->setNormalImage(picture("rb_NoChecked_Normal@2x.png"));
    radio->setGraphicAlignment(0);
    radio->setTitleFontSize(9.75);  // points: the 13-pixel text of the other controls
    for (QColor& colour : radio->titleColor) colour = kit::kToolText;
    radio->setNormalColor(kit::kToolText);
    radio->cornerRadius[0] = 5;
    radio->setCanTransmitEvents(true);
    radio->setCursor(Qt::PointingHandCursor);
    radio->setFixedHeight(22);
    radio->setMinimumWidth(200);
    return radio;
}

}  // namespace

void ReverseViewController::buildViews() {
    setObjectName(QStringLiteral("reverseView"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#reverseView { background: rgb(23,26,32); }"));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 6, 0, 0);
    root->setSpacing(0);
    titleLabel = kit::toolLabel(this, 16, kit::kToolText, QStringLiteral("titleLabel"));
    titleLabel->setAlignment(Qt::AlignCenter);
    root->addWidget(titleLabel);

    // The top band: the logo and its caption, Export over the right column, Add File at the end.
    auto* band = new QWidget(this);
    band->setFixedHeight(50);
    auto* bandRow = new QHBoxLayout(band);
    bandRow->setContentsMargins(0, 0, 20, 0);
    bandRow->setSpacing(0);
    auto* logoBox = new QWidget(band);
    logoBox->setFixedWidth(kLeftColumn);
    auto* logoColumn = new QVBoxLayout(logoBox);
    logoColumn->setContentsMargins(20, 4, 0, 4);
    logoColumn->setSpacing(0);
    logoView = new widgets::ImageView(logoBox);
    logoView->setObjectName(QStringLiteral("logoView"));
    logoView->setFixedSize(23, 23);
    logoView->setImageScaling(widgets::ImageScaling::AxesIndependently);
    logoView->setImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Reverse/btnReverse_Down@2x.png")));
    logoTitleLabel = kit::toolLabel(logoBox, 13, kit::kToolAccent, QStringLiteral("logoTitleLabel"));
    logoColumn->addWidget(logoView, 0, Qt::AlignLeft);
    logoColumn->addWidget(logoTitleLabel, 0, Qt::AlignLeft);
    bandRow->addWidget(logoBox);
    exportBtn = kit::titledButton(band, QStringLiteral("ZantImage/Reverse/btnStart"), QStringLiteral("@2x.png"), Qt::white,
                                  QStringLiteral("exportBtn"));
    addFileBtn = kit::titledButton(band, QStringLiteral("ZantImage/Reverse/btnCommon"), QStringLiteral(".png"), kit::kToolText,
                                   QStringLiteral("addFileBtn"));
    bandRow->addWidget(exportBtn);
    bandRow->addStretch(1);
    bandRow->addWidget(addFileBtn);
    root->addWidget(band);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    auto* left = new QWidget(this);
    left->setFixedWidth(kLeftColumn);
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(20, 0, 20, 20);
    leftColumn->setSpacing(8);
    leftColumn->addWidget(buildRangeSection());
    leftColumn->addSpacing(8);
    leftColumn->addWidget(buildSoundSection());
    leftColumn->addStretch(1);
    body->addWidget(left);
    body->addWidget(buildPreviewColumn(), 1);
    root->addLayout(body, 1);

    addFileBtn->setMouseDownAction([this](ZorButton*) { addFileBtnAction(); });
    exportBtn->setMouseDownAction([this](ZorButton*) { exportBtnAction(); });
    positionTimer_ = new QTimer(this);
    positionTimer_->setInterval(250);
    connect(positionTimer_, &QTimer::timeout, this, [this] { pollPosition(); });
}

QWidget* ReverseViewController::buildRangeSection() {
    QWidget* content = nullptr;
    QWidget* section = captionedSection(this, cutTimeRangeLabel, content, QStringLiteral("leftTopContentView"));
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(16, 14, 16, 14);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(12);
    const kit::CutRangeRows rows =
        kit::cutRangeRows(content, grid, {QStringLiteral("startLabel"), QStringLiteral("endLabel"), QStringLiteral("startTimeTextFieldBgView"),
                                          QStringLiteral("endTimeTextFieldBgView")});
    startLabel = rows.startCaption;
    endLabel = rows.endCaption;
    startTimeTextFieldBgView = rows.start;
    endTimeTextFieldBgView = rows.end;
    startFields = startTimeTextFieldBgView->fields;
    endFields = endTimeTextFieldBgView->fields;
    startTimeUpBtn = startTimeTextFieldBgView->upBtn;
    startTimeDownBtn = startTimeTextFieldBgView->downBtn;
    stopTimeUpBtn = endTimeTextFieldBgView->upBtn;
    stopTimeDownBtn = endTimeTextFieldBgView->downBtn;
    leftCutBtn = rows.setStart;
    rightCutBtn = rows.setEnd;
    leftResetBtn = rows.resetStart;
    rightResetBtn = rows.resetEnd;

    connect(startTimeTextFieldBgView, &kit::TimeFieldGroup::pressed, this, [this] { groupPressed(true); });
    connect(endTimeTextFieldBgView, &kit::TimeFieldGroup::pressed, this, [this] { groupPressed(false); });
    connect(startTimeTextFieldBgView, &kit::TimeFieldGroup::edited, this, [this] { changeTime(true); });
    connect(endTimeTextFieldBgView, &kit::TimeFieldGroup::edited, this, [this] { changeTime(false); });
    connect(leftCutBtn, &XJGraphicButton::clicked, this, [this] { leftCutAction(); });
    connect(rightCutBtn, &XJGraphicButton::clicked, this, [this] { rightCutAction(); });
    connect(leftResetBtn, &XJGraphicButton::clicked, this, [this] { resetRange(true); });
    connect(rightResetBtn, &XJGraphicButton::clicked, this, [this] { resetRange(false); });
    return section;
}

QWidget* ReverseViewController::buildSoundSection() {
    QWidget* content = nullptr;
    QWidget* section = captionedSection(this, reverseModeLabel, content, QStringLiteral("leftBottomContentView"));
    auto* radios = new QVBoxLayout(content);
    radios->setContentsMargins(15, 8, 15, 10);
    radios->setSpacing(5);
    keepSoundBtn = soundRadio(content, QStringLiteral("keepSoundBtn"));
    removeSoundBtn = soundRadio(content, QStringLiteral("removeSoundBtn"));
    reverseSoundBtn = soundRadio(content, QStringLiteral("reverseSoundBtn"));
    for (XJGraphicButton* radio : {keepSoundBtn, removeSoundBtn, reverseSoundBtn}) {
        radios->addWidget(radio);
        connect(radio, &XJGraphicButton::clicked, this, [this, radio] { selectSound(radio); });
    }
    keepSoundBtn->setButtonState(3);
    return section;
}

QWidget* ReverseViewController::buildPreviewColumn() {
    auto* right = new QWidget(this);
    right->setObjectName(QStringLiteral("rightContentView"));
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 20, 14);
    column->setSpacing(6);
    const kit::PreviewArea preview = kit::previewArea(right, column, QSize(480, 270), this);
    playBgView = preview.panel;
    cutTimeSlider = preview.cutBar;
    const kit::TimeLabelRow times = kit::timeLabelRow(right);
    leftTimeTextField = times.left;
    middleTimeTextField = times.middle;
    rightTimeTextField = times.right;
    column->addLayout(times.layout);

    const kit::PlaybackRow playback = kit::playbackRow(
        right, {QStringLiteral("ZantImage/Reverse/btnPlay"), QStringLiteral("playSelectedBtn"), float(volume_)},
        [this](QWidget* parent) {
            return stopBtn = kit::graphicButton(parent, QStringLiteral("ZantImage/Reverse/btnStop"), QStringLiteral("@2x.png"),
                                                QStringLiteral("stopBtn"));
        },
        this);
    playBtn = playback.play;
    playSelectedBtn = playback.playRange;
    volumeBtn = playback.mute;
    volumeSlider = playback.volume;
    column->addLayout(playback.layout);

    playBtn->setMouseDownAction([this](ZorButton*) { playAction(false); });
    playSelectedBtn->setMouseDownAction([this](ZorButton*) { playAction(true); });
    connect(stopBtn, &XJGraphicButton::clicked, this, [this] { stopAction(); });
    volumeBtn->setMouseDownAction([this](ZorButton*) { volumeAction(); });
    return right;
}

void ReverseViewController::changeLanguage() {
    titleLabel->setText(localized(QStringLiteral("Reverse_Title")) + QLatin1Char(' ') + services::Language::getCurrentVersion());
    kit::setButtonTitle(addFileBtn, localized(QStringLiteral("AddFileBtnTitle")));
    kit::setButtonTitle(exportBtn, localized(QStringLiteral("Export")));
    keepSoundBtn->setTitleString(localized(QStringLiteral("Keep original sound")));
    removeSoundBtn->setTitleString(localized(QStringLiteral("Remove original sound")));
    reverseSoundBtn->setTitleString(localized(QStringLiteral("Reverse original sound")));
    logoTitleLabel->setText(localized(QStringLiteral("Reverse Title")));
    startLabel->setText(localized(QStringLiteral("CutStart:")));
    endLabel->setText(localized(QStringLiteral("CutEnd:")));
    cutTimeRangeLabel->setText(localized(QStringLiteral("TimeRange:")));
    reverseModeLabel->setText(localized(QStringLiteral("Reverse Mode:")));
    leftCutBtn->setToolTip(localized(QStringLiteral("ReverseSetStart")));
    rightCutBtn->setToolTip(localized(QStringLiteral("ReverseSetEnd")));
    leftResetBtn->setToolTip(localized(QStringLiteral("ReverseReset")));
    rightResetBtn->setToolTip(localized(QStringLiteral("ReverseReset")));
    playSelectedBtn->setToolTip(localized(QStringLiteral("ReversePlayRange")));
    stopBtn->setToolTip(localized(QStringLiteral("ReverseStop")));
    volumeBtn->setToolTip(localized(QStringLiteral("ReverseMute")));
    refreshPlayButtons();
    resetTextFields();
}

}  // namespace kestrel::tools::reverse
