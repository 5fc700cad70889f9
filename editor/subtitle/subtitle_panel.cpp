#include "editor/subtitle/subtitle_panel.h"

#include <QColorDialog>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "editor/subtitle/subtitle_fonts.h"
#include "editor/subtitle/subtitle_position.h"
#include "engine/player/DIVuverIzizud.h"
#include "services/help_class.h"
#include "services/language.h"
#include "session/edit/subtitle_record.h"

namespace kestrel::editor {

using kestrel::session::makeSubtitleRecord;

using services::localized;

SubtitlePanel::SubtitlePanel(QWidget* parent) : QWidget(parent), fontFolder_(subtitleFontFolder()) {
    buildUi();
    rebuildSubtitleMenu();
    changelanguage();
}

SubtitlePanel::~SubtitlePanel() {
    // A field that loses the focus while the panel goes hands nothing over to it.
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->disconnect(this);
}

void SubtitlePanel::buildUi() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    int row = 0;
    auto titled = [&](const QString& key) {
        QLabel* label = panel::makeLabel(this);
        // Long translations ("Subtitle Color:") take a second line rather than run under the
        // button beside them.
        label->setWordWrap(true);
        label->setProperty("key", key);
        titledLabels_.append(label);
        return label;
    };
    subtitleMenu_ = new QMenu(this);
    fontMenu_ = new QMenu(this);
    subtitleTypeBtn_ = panel::makeTextButton(this, "ZantImage/Cut/btnCommonBlack", [this](kestrel::widgets::ZorButton* b) {
        subtitleMenu_->popup(b->mapToGlobal(QPoint(0, b->height())));
    });
    subtitleFontStyleBtn_ = panel::makeTextButton(this, "ZantImage/Cut/btnCommonBlack", [this](kestrel::widgets::ZorButton* b) {
        fontMenu_->popup(b->mapToGlobal(QPoint(0, b->height())));
    });
    colorWellBtn_ = panel::makeTextButton(this, "ZantImage/Cut/btnCommonBlack", [this](auto*) {
        const QColor colour = QColorDialog::getColor(captionColor_.isValid() ? captionColor_ : subtitleParam_.fontColor,
                                                     window(), localized("Subtitle Line Color:"),
                                                     QColorDialog::DontUseNativeDialog);
        if (colour.isValid()) changeSubtitleColor(colour);
    });
    grid->addWidget(titled("subtitleTypelabelStringValue"), row, 0);
    grid->addWidget(subtitleTypeBtn_, row++, 1, 1, 3);
    grid->addWidget(titled("subtitleFontStylelabelStringValue"), row, 0);
    grid->addWidget(subtitleFontStyleBtn_, row++, 1, 1, 3);
    grid->addWidget(titled("Subtitle Line Color:"), row, 0);
    grid->addWidget(colorWellBtn_, row++, 1, 1, 3);
    grid->addWidget(titled("Vertical position:"), row++, 0, 1, 4);
    for (int i = 0; i < 3; ++i) {
        placeButtons_[static_cast<size_t>(i)] =
            panel::makeTextButton(this, "ZantImage/Cut/btnCommonBlack", [this, i](auto*) { placeSubtitle(i); });
        grid->addWidget(placeButtons_[static_cast<size_t>(i)], row, i + 1);
    }
    ++row;
    positionSlider_ = new kestrel::widgets::VolumeProgressSlider(QRectF(0, 0, 140, 20), this);
    // The slider takes the room the title column leaves; the value keeps its own beside it.
    positionSlider_->setFixedHeight(20);
    positionSlider_->setMinimumWidth(60);
    positionSlider_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    positionSlider_->setDelegate(this);
    positionSlider_->setProgress(1.0f);
    positionSlider_->setDisable(true);
    positionField_ = panel::makeValueField(this, this);
    positionField_->setFixedWidth(48);
    positionField_->setEnabled(false);
    positionSteppers_[0] = panel::makeStepperButton(this, true, [this](auto*) { stepPosition(+1); });
    positionSteppers_[1] = panel::makeStepperButton(this, false, [this](auto*) { stepPosition(-1); });
    grid->addWidget(titled("Position:"), row, 0);
    auto* positionRow = new QHBoxLayout;
    positionRow->addWidget(positionSlider_, 1);
    positionRow->addSpacing(6);
    positionRow->addWidget(positionField_);
    auto* steppers = new QVBoxLayout;
    steppers->addWidget(positionSteppers_[0]);
    steppers->addWidget(positionSteppers_[1]);
    positionRow->addLayout(steppers);
    grid->addLayout(positionRow, row++, 1, 1, 3);
    grid->setRowStretch(row, 1);
    // A typed position is taken when the field is left or Return is pressed: one beyond the
    // picture is ignored (the field shows the position in force again).
    QObject::connect(positionField_, &QLineEdit::editingFinished, this, [this] { positionFieldCommitted(); });
    enableFileControls();
}

void SubtitlePanel::positionFieldCommitted() {
    bool ok = false;
    const int value = positionField_->text().trimmed().toInt(&ok);
    const int height = videoHeight();
    if (!ok || value < 0 || (height > 0 && value > height) || !positionField_->isEnabled()) {
        positionField_->setText(subtitleParam_.positon >= 0 ? QString::number(subtitleParam_.positon) : QString());
        return;
    }
    applyPosition(clampedSubtitlePosition(value, height, subtitleParam_.fontSize));
}

void SubtitlePanel::enableFileControls() {
    const QString& path = subtitleParam_.subtitlePath;
    const bool loaded = !path.isEmpty();
    const bool styled = loaded && isStyledSubtitleFile(path);
    // An ass or ssa file keeps its own fonts, colours and placement: these controls would not
    // change it, and say so.
    const QString why = styled ? localized("SubtitleStyledFileTip") : QString();
    colorWellBtn_->setEnabled(loaded && !styled);
    subtitleFontStyleBtn_->setEnabled(loaded && !styled && !subtitleParam_.fontPathList.isEmpty());
    positionField_->setEnabled(loaded && !styled);
    positionSlider_->setDisable(!(loaded && !styled));
    QList<QWidget*> placing{colorWellBtn_, subtitleFontStyleBtn_, positionField_, positionSlider_};
    for (kestrel::widgets::ZorButton* button : placeButtons_) {
        button->setEnabled(loaded && !styled);
        placing << button;
    }
    for (kestrel::widgets::ZorButton* stepper : positionSteppers_) {
        if (!loaded || styled) stepper->setEnabled(false);
        placing << stepper;
    }
    for (QWidget* control : placing) control->setToolTip(why);
    if (!loaded || styled) positionField_->clear();
}

void SubtitlePanel::changelanguage() {
    for (QLabel* label : titledLabels_) {
        label->setText(localized(label->property("key").toString()));
        // The title column holds the longest word ("Untertitelfarbe:"), which cannot wrap: the
        // font shrinks to a floor size until it does.
        constexpr int kTitleColumnWidth = 108;
        int widestWord = 0;
        for (int points = 13; points >= 10; --points) {
            QFont font = label->font();
            font.setPointSize(points);
            label->setFont(font);
            widestWord = 0;
            const QFontMetricsF metrics(font);
            for (const QString& word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
                widestWord = std::max(widestWord, static_cast<int>(std::ceil(metrics.horizontalAdvance(word))));
            if (widestWord + 2 <= kTitleColumnWidth) break;
        }
        label->setMinimumWidth(std::min(widestWord + 2, kTitleColumnWidth));
    }
    subtitleFontStyleBtn_->setContentTitle(localized("Font"));
    colorWellBtn_->setContentTitle(localized("subtitleColorBtnTitle"));
    placeButtons_[0]->setContentTitle(localized("Top"));
    placeButtons_[1]->setContentTitle(localized("Center"));
    placeButtons_[2]->setContentTitle(localized("Bottom"));
    if (captionPath_.isEmpty() || selectSubtitleMenuItemIndex_ == 0) subtitleTypeBtn_->setContentTitle(localized("No Subtitle"));
    rebuildSubtitleMenu();
}

void SubtitlePanel::setPlayer(kestrel::player::DIVuverIzizud* player, kestrel::model::SimpleDataPtr fileData) {
    player_ = player;
    // Another file starts without a subtitle, and the panel names none; a preview made again for
    // the same file keeps it.
    if (!fileData || fileData != fileData_) {
        subtitleParam_ = kestrel::model::SubtitleParam();
        captionPath_.clear();
        captionColor_ = QColor();
        loadedFiles_.clear();
        selectSubtitleMenuItemIndex_ = 0;
        subtitleTypeBtn_->setContentTitle(localized("No Subtitle"));
        rebuildSubtitleMenu();
    }
    fileData_ = std::move(fileData);
    enableFileControls();
    if (player_ && !subtitleParam_.subtitlePath.isEmpty()) sendRecord();
}

int SubtitlePanel::videoHeight() const {
    if (fileData_ && fileData_->sourceData.height > 0) {
        const int angle = std::abs(userTurn_ ? userTurn_() : 0) % 360;
        return (angle == 90 || angle == 270) ? fileData_->sourceData.width : fileData_->sourceData.height;
    }
    return player_ ? player_->frameHeight() : 0;
}

void SubtitlePanel::rebuildSubtitleMenu() {
    subtitleMenu_->clear();
    QStringList titles = subtitleMenuTitles();
    for (int i = 0; i < titles.size(); ++i)
        subtitleMenu_->addAction(titles[i], this, [this, i] { chooseSubtitleMenuItem(i); });
}

QStringList SubtitlePanel::subtitleMenuTitles() const {
    QStringList titles{localized("No_subtitleItemTitle")};
    for (const QString& path : loadedFiles_) titles.append(QFileInfo(path).fileName());
    titles.append(localized("Load_otherItemTitle"));
    return titles;
}

void SubtitlePanel::chooseSubtitleMenuItem(int index) {
    if (!player_) return;
    const int last = static_cast<int>(loadedFiles_.size()) + 1;
    selectSubtitleMenuItemIndex_ = index;
    if (index == last) return openLoadPanel();
    if (index == 0) {
        subtitleParam_.subtitlePath.clear();
        subtitleTypeBtn_->setContentTitle(localized("No Subtitle"));
        enableFileControls();
        sendRecord();
    } else if (index >= 1 && index < last) {
        // Any file loaded before can be shown again.
        captionPath_ = loadedFiles_[index - 1];
        subtitleParam_.subtitlePath = captionPath_;
        subtitleTypeBtn_->setContentTitle(QFileInfo(captionPath_).fileName());
        enableFileControls();
        sendRecord();
    }
}

void SubtitlePanel::openLoadPanel() {
    const QStringList chosen = panel::runOpenPanel(window(), localized("Pleaseselectthesubtitlefilestring"),
                                                   {"ass", "ssa", "srt", "ASS", "SSA", "SRT"});
    if (chosen.isEmpty()) return;
    const QString path = chosen.last();
    const SubtitleCheck check = loadSubtitleFile(path);
    if (!check.ok) panel::showAlert(this, alertPresenter_, localized(check.messageKey).arg(QFileInfo(path).fileName()));
}

void SubtitlePanel::ensureFontList() {
    if (!subtitleParam_.fontPathList.isEmpty()) return;
    subtitleParam_.fontPathList = listSubtitleFontFiles(fontFolder_);
    const int index = defaultSubtitleFontIndex(subtitleParam_.fontPathList);
    if (subtitleParam_.fontPath.isEmpty() && index >= 0) {
        subtitleParam_.fontSelectIndex = index;
        subtitleParam_.fontPath = fontFolder_ + "/" + subtitleParam_.fontPathList[index];
    }
    rebuildFontMenu();
}

void SubtitlePanel::rebuildFontMenu() {
    fontMenu_->clear();
    for (int i = 0; i < subtitleParam_.fontPathList.size(); ++i)
        fontMenu_->addAction(subtitleParam_.fontPathList[i], this, [this, i] { chooseFont(i); });
}

SubtitleCheck SubtitlePanel::loadSubtitleFile(const QString& path) {
    SubtitleCheck check = checkSubtitleFile(path);
    if (!check.ok) return check;
    if (!makeSubtitleRecord([&] {
            kestrel::model::SubtitleParam probe = subtitleParam_;
            probe.subtitlePath = path;
            return probe;
        }())) {
        return {false, "subtitlePathTooLongMessage"};
    }
    ensureFontList();
    captionPath_ = path;
    loadedFiles_.removeAll(path);
    loadedFiles_.prepend(path);
    rebuildSubtitleMenu();
    subtitleTypeBtn_->setContentTitle(QFileInfo(path).fileName());
    selectSubtitleMenuItemIndex_ = 1;
    if (!subtitleParam_.fontColor.isValid()) subtitleParam_.fontColor = Qt::white;
    subtitleParam_.positon = -1;
    subtitleParam_.subtitlePath = captionPath_;
    sendRecord();
    enableFileControls();
    return check;
}

bool SubtitlePanel::colourEnabled() const { return colorWellBtn_->isEnabled(); }

void SubtitlePanel::sendRecord() {
    if (!player_) return;
    if (previewApplier_) {
        previewApplier_(kestrel::session::kPreviewSubtitle, {});
        return;
    }
    kestrel::session::EditState state;
    state.subtitle = subtitleParamForExport();
    kestrel::session::applyToPreview(player_, state, fileData_ ? *fileData_ : kestrel::model::SimpleData{},
                                     kestrel::session::kPreviewSubtitle);
}

void SubtitlePanel::chooseFont(int index) {
    if (index < 0 || index >= subtitleParam_.fontPathList.size()) return;
    subtitleParam_.fontPath = fontFolder_ + "/" + subtitleParam_.fontPathList[index];
    subtitleParam_.fontSelectIndex = index;
    sendRecord();
}

void SubtitlePanel::changeSubtitleColor(const QColor& colour) {
    captionColor_ = colour;
    subtitleParam_.fontColor = colour;
    sendRecord();
}

void SubtitlePanel::applyPosition(int position) {
    subtitleParam_.positon = position;
    const int height = videoHeight();
    if (height > 0) positionSlider_->setProgress(static_cast<float>(double(position) / height));
    if (positionField_->text() != QString::number(position)) positionField_->setText(QString::number(position));
    sendRecord();
}

void SubtitlePanel::setPositionProgress(float progress) {
    applyPosition(subtitlePositionFromProgress(progress, videoHeight(), subtitleParam_.fontSize));
    positionSlider_->setProgress(progress);
}

void SubtitlePanel::placeSubtitle(int place) {
    static const float kProgress[] = {0.0f, 0.5f, 1.0f};
    if (place < 0 || place > 2) return;
    applyPosition(subtitlePositionForPlace(static_cast<SubtitlePlace>(place), videoHeight(), subtitleParam_.fontSize));
    positionSlider_->setProgress(kProgress[place]);
}

void SubtitlePanel::stepPosition(int delta) {
    applyPosition(clampedSubtitlePosition(positionField_->text().toInt() + delta, videoHeight(), subtitleParam_.fontSize));
}

void SubtitlePanel::actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    if (slider == positionSlider_) setPositionProgress(progress);
}

void SubtitlePanel::actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) {
    const bool placeable = !subtitleParam_.subtitlePath.isEmpty() && !isStyledSubtitleFile(subtitleParam_.subtitlePath);
    for (auto* stepper : positionSteppers_) stepper->setEnabled(field == positionField_ && placeable);
}

kestrel::model::SubtitleParam SubtitlePanel::subtitleParamForExport() const {
    kestrel::model::SubtitleParam param = subtitleParam_;
    if (captionColor_.isValid()) param.fontColor = captionColor_;
    if (isStyledSubtitleFile(param.subtitlePath)) {
        // The file's own styles decide: no font and no place of the panel's.
        param.fontPath.clear();
        param.positon = -1;
    }
    return param;
}

}  // namespace kestrel::editor
