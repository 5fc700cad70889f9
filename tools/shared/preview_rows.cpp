#include "tools/shared/preview_rows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <initializer_list>

#include "tools/shared/kit_controls.h"
#include "widgets/zor_button.h"

namespace kestrel::tools::shared {

PreviewArea previewArea(QWidget* parent, QVBoxLayout* column, QSize minimumSize, widgets::RDCutProgressViewDelegate* cutDelegate) {
    PreviewArea area;
    area.panel = toolPanel(parent, kToolPanel, 0, QStringLiteral("playBgView"));
    area.panel->setMinimumSize(minimumSize);
    auto* panelLayout = new QVBoxLayout(area.panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    column->addWidget(area.panel, 1);
    area.cutBar = new widgets::RDCutProgressView(QRectF(0, 0, 600, 44), parent);
    area.cutBar->setObjectName(QStringLiteral("cutTimeSlider"));
    area.cutBar->setMinimumHeight(44);
    area.cutBar->setDelegate(cutDelegate);
    area.cutBar->setLowerValue(0, 1);
    column->addWidget(area.cutBar);
    return area;
}

TimeLabelRow timeLabelRow(QWidget* parent) {
    TimeLabelRow row;
    row.layout = new QHBoxLayout;
    row.left = toolLabel(parent, 13, kToolText, QStringLiteral("leftTimeTextField"));
    row.middle = toolLabel(parent, 13, kToolText, QStringLiteral("middleTimeTextField"));
    row.right = toolLabel(parent, 13, kToolText, QStringLiteral("rightTimeTextField"));
    row.middle->setAlignment(Qt::AlignCenter);
    row.right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* time : {row.left, row.right}) keepLeftToRight(time);
    row.layout->addWidget(row.left);
    row.layout->addWidget(row.middle, 1);
    row.layout->addWidget(row.right);
    return row;
}

PlaybackRow playbackRow(QWidget* parent, const PlaybackRowLook& look, const std::function<QWidget*(QWidget*)>& makeStop,
                        widgets::VolumeProgressSliderDelegate* volumeDelegate) {
    PlaybackRow row;
    row.layout = new QHBoxLayout;
    row.layout->setSpacing(0);
    row.play = pictureButton(parent, look.playStem, QStringLiteral("@2x.png"), QStringLiteral("playBtn"));
    row.playRange = pictureButton(parent, QStringLiteral("ZantImage/GifMaker/btnPreview"), QStringLiteral("@2x.png"), look.playRangeName);
    QWidget* stop = makeStop(parent);
    row.mute = pictureButton(parent, QStringLiteral("ZantImage/Reverse/btnOpenVolume"), QStringLiteral("@2x.png"), QStringLiteral("volumeBtn"));
    for (QWidget* button : std::initializer_list<QWidget*>{row.play, row.playRange, stop, row.mute}) button->setFixedSize(30, 30);
    row.volume = new widgets::VolumeProgressSlider(QRectF(0, 0, 110, 20), parent);
    row.volume->setObjectName(QStringLiteral("volumeSlider"));
    row.volume->setFixedSize(110, 20);
    row.volume->setProgress(look.volume);
    row.volume->setTickrefresh(true);
    row.volume->setDelegate(volumeDelegate);
    row.layout->addStretch(1);
    for (QWidget* control : std::initializer_list<QWidget*>{row.play, row.playRange, stop, row.mute}) row.layout->addWidget(control);
    row.layout->addSpacing(4);
    row.layout->addWidget(row.volume);
    row.layout->addStretch(1);
    return row;
}

}  // namespace kestrel::tools::shared
