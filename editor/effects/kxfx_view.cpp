#include "editor/effects/kxfx_view.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "editor/effects/effect_list.h"
#include "engine/player/DIVuverIzizud.h"
#include "platform/frame.h"
#include "services/language.h"
#include "session/edit/edit_bindings.h"
#include "session/edit/effect_catalogue.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/jj_scroller.h"
#include "widgets/zor_button.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kestrel::editor {
namespace {

const QColor kText(170, 177, 185);
const QColor kDimText(204, 204, 204, 153);  // alpha 0.6
const QColor kBoxBackground(32, 35, 43);
const QColor kBoxBorder(49, 60, 72);
const QColor kListBackground(26, 30, 37);
constexpr const char* kBaseProperty = "kxfxBaseGeometry";
constexpr const char* kAnchorProperty = "kxfxAnchor";

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void setSystemFont13(QWidget* widget) {
    QFont font = widget->font();
    font.setPointSize(13);
    widget->setFont(font);
}

QPixmap picture(const char* name) { return services::Language::pixmapWithfileName(QString::fromLatin1(name)); }

}  // namespace

float speedForProgress(float progress) { return progress * 3.9f + 0.1f; }
float progressForSpeed(double speed) { return static_cast<float>((speed - 0.1) / 3.9); }
int brightnessForProgress(float progress) {
    return static_cast<int>(static_cast<float>((static_cast<double>(progress) - 0.5) * 2 * 255));
}
int contrastForProgress(float progress) {
    return static_cast<int>(static_cast<float>((static_cast<double>(progress) - 0.5) * 2 * 100));
}
float progressForBrightness(int value) { return static_cast<float>(value / 255.0 * 0.5 + 0.5); }
float progressForContrast(int value) { return static_cast<float>(value / 100.0 * 0.5 + 0.5); }

KxfxView::KxfxView(QWidget* parent) : KxfxView(loadBundledEffectList(), parent) {}

KxfxView::KxfxView(const QList<EffectItem>& effectTypes, QWidget* parent) : QWidget(parent), effectTypes_(effectTypes) {
    session::registerEditorEffects();
    // The panel's frames are written from its top-left corner.
    platform::setFlipped(this, true);
    resize(kWidth, kHeight);
    initEffectView();
    changelanguage();
}

KxfxView::~KxfxView() {
    // A field that loses the focus while the panel goes hands nothing over to it.
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->disconnect(this);
    for (kestrel::widgets::VolumeProgressSlider* slider : {speedSlider, brightnessSlider, contrastSlider, saturationSlider})
        slider->setDelegate(nullptr);
}

void KxfxView::setPreviewControl(std::function<void()> pause, std::function<void()> play) {
    pausePreview_ = std::move(pause);
    playPreview_ = std::move(play);
}

QWidget* KxfxView::makeBox(const QRect& frame, bool framed) {
    auto* box = new QWidget(this);
    box->setGeometry(frame);
    box->setObjectName(QStringLiteral("kxfxBox"));
    box->setAttribute(Qt::WA_StyledBackground);
    box->setStyleSheet(framed ? QStringLiteral("#kxfxBox { border: 1px solid rgb(49, 60, 72); border-radius: 2px; }")
                              : QStringLiteral("#kxfxBox { background: rgb(32, 35, 43); border-radius: 2px; }"));
    box->lower();
    return box;
}

kestrel::widgets::VolumeProgressSlider* KxfxView::makeSlider(const QRect& frame, float progress) {
    auto* slider = new kestrel::widgets::VolumeProgressSlider(QRectF(frame), this);
    const qreal trackY = (frame.height() - 4) / 2.0;
    slider->progressBackView()->setGeometry(0, static_cast<int>(trackY), frame.width(), 4);
    slider->setProgress(progress);
    slider->setDelegate(this);
    slider->setDisable(true);  // until a file is loaded
    anchor(slider, Anchor::Widen);
    return slider;
}

void KxfxView::anchor(QWidget* widget, Anchor how) {
    widget->setProperty(kBaseProperty, widget->geometry());
    widget->setProperty(kAnchorProperty, static_cast<int>(how));
}

void KxfxView::fitResetAndToggle() {
    // The toggle keeps to the right edge and the reset button to its title, as long as they are.
    const int toggleWidth = std::min(magicEnhance->sizeHint().width() + 4, width() - 110);
    magicEnhance->setGeometry(width() - 10 - toggleWidth, 206, toggleWidth, 24);
    effectLabel->setGeometry(12, 206, std::max(0, magicEnhance->x() - 18), 23);  // room for the marks over Arabic letters
    const QRect reset = effectReset->geometry();
    effectReset->setGeometry(reset.x(), reset.y(), std::max(86, effectReset->sizeHint().width() + 8), reset.height());
}

void KxfxView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Laid out for kWidth x kHeight; wider, the rows stretch and the values keep to the right
    // edge; the effect list takes the height there is, with the reset button under it.
    const int dx = std::max(0, width() - kWidth);
    const QRect list = filterScrollView->property(kBaseProperty).toRect();
    const int listHeight = std::max(80, height() - list.y() - 46);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant base = child->property(kBaseProperty);
        if (!base.isValid()) continue;
        QRect r = base.toRect();
        switch (static_cast<Anchor>(child->property(kAnchorProperty).toInt())) {
        case Anchor::Widen: r.setWidth(r.width() + dx); break;
        case Anchor::PinRight: r.translate(dx, 0); break;
        case Anchor::FillDown: r.setWidth(r.width() + dx); r.setHeight(listHeight); break;
        case Anchor::BelowList: r.moveTop(list.y() + listHeight + 10); break;
        }
        child->setGeometry(r);
        if (child == effectReset) fitResetAndToggle();
        if (auto* slider = dynamic_cast<kestrel::widgets::VolumeProgressSlider*>(child)) {
            // The slider keeps its track as it is: the track follows here, the knob with it.
            QWidget* track = slider->progressBackView();
            track->setGeometry(track->x(), track->y(), r.width(), track->height());
            slider->setProgress(slider->progress());
        }
    }
}

kestrel::widgets::RDTextField* KxfxView::makeValueField(const QRect& frame, const QString& text) {
    anchor(makeBox(frame.adjusted(-2, -2, 2, 2), true), Anchor::PinRight);
    auto* field = new kestrel::widgets::RDTextField(QRectF(frame), this);
    setTextColour(field, kText);
    setSystemFont13(field);
    field->setEnabled(true);
    field->setFrame(false);
    field->setPointColor(kText);
    field->setAttribute(Qt::WA_MacShowFocusRect, false);
    field->setText(text);
    anchor(field, Anchor::PinRight);
    return field;
}

QLabel* KxfxView::makeLabel(const QRect& frame, bool dimmed) {
    auto* label = new QLabel(this);
    label->setGeometry(frame);
    setTextColour(label, dimmed ? kDimText : kText);
    setSystemFont13(label);
    return label;
}

void KxfxView::initEffectView() {
    QPalette panel = palette();
    panel.setColor(QPalette::Window, QColor(23, 26, 32));
    setPalette(panel);
    setAutoFillBackground(true);

    // Speed.
    anchor(makeBox(QRect(6, 6, kWidth - 12, 76), false), Anchor::Widen);
    speedLabel = makeLabel(QRect(12, 10, kWidth - 24, 20), true);
    anchor(speedLabel, Anchor::Widen);
    speedSlider = makeSlider(QRect(12, 38, 200, 16), progressForSpeed(1.0));
    speedValueLabel = makeValueField(QRect(224, 35, 56, 22), QString::asprintf("%.2f", 1.0));
    speedValueLabel->setReadOnly(true);  // editable once the window has settled (magicEnhanceAction)
    connect(speedValueLabel, &QLineEdit::editingFinished, this, [this] { speedFieldCommitted(); });
    speedCustomLabel = makeLabel(QRect(12, 60, kWidth - 24, 18), false);  // clear of the value field above
    anchor(speedCustomLabel, Anchor::Widen);

    // Colour.
    anchor(makeBox(QRect(6, 88, kWidth - 12, 112), false), Anchor::Widen);
    hueLabel = makeLabel(QRect(12, 92, kWidth - 24, 20), true);
    anchor(hueLabel, Anchor::Widen);
    const int rowY[3] = {118, 146, 174};
    brightnessLabel = makeLabel(QRect(12, rowY[0], 90, 20), false);
    contrastLabel = makeLabel(QRect(12, rowY[1], 90, 20), false);
    saturationLabel = makeLabel(QRect(12, rowY[2], 90, 20), false);
    brightnessSlider = makeSlider(QRect(104, rowY[0] + 2, 110, 16), 0.5f);
    contrastSlider = makeSlider(QRect(104, rowY[1] + 2, 110, 16), 0.5f);
    saturationSlider = makeSlider(QRect(104, rowY[2] + 2, 110, 16), 0.5f);
    brightnessValueLabel = makeValueField(QRect(224, rowY[0], 56, 22), QString::number(brightness_));
    contrastValueLabel = makeValueField(QRect(224, rowY[1], 56, 22), QString::number(contrast_));
    saturationValueLabel = makeValueField(QRect(224, rowY[2], 56, 22), QString::number(saturation_));
    // A typed value is taken when the field is left or Return is pressed, once.
    for (kestrel::widgets::RDTextField* field : {brightnessValueLabel, contrastValueLabel, saturationValueLabel})
        connect(field, &QLineEdit::editingFinished, this, [this, field] { colourFieldEdited(field); });

    // Effects.
    effectLabel = makeLabel(QRect(12, 206, 120, 23), true);
    magicEnhance = new kestrel::widgets::ZorButton(this);
    magicEnhance->setGeometry(150, 206, 140, 24);
    magicEnhance->setNormalImage(picture("ZantImage/Join/chk_NoChecked_Normal@2x.png"));
    magicEnhance->setOnImage(picture("ZantImage/Join/chk_NoChecked_On@2x.png"));
    magicEnhance->setDownImage(picture("ZantImage/Join/chk_NoChecked_Down@2x.png"));
    magicEnhance->setSelectedImage(picture("ZantImage/Join/chk_Checked_Normal@2x.png"));
    magicEnhance->setContentColor(kText);
    magicEnhance->setImagePosition(kestrel::widgets::ImagePosition::ImageLeading);
    setSystemFont13(magicEnhance);
    magicEnhance->setSelected(isMagicEnhance_);
    magicEnhance->setMouseDownAction([this](kestrel::widgets::ZorButton*) { toggleMagicEnhance(); });

    filterScrollView = new QScrollArea(this);
    filterScrollView->setGeometry(6, 234, kWidth - 12, 186);
    filterScrollView->setFrameShape(QFrame::NoFrame);
    filterScrollView->setWidgetResizable(true);
    filterScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    filterScrollView->setVerticalScrollBar(new kestrel::widgets::JJScroller(Qt::Vertical));
    filterDocumentView = new QWidget;
    QPalette list = filterDocumentView->palette();
    list.setColor(QPalette::Window, kListBackground);
    filterDocumentView->setPalette(list);
    filterDocumentView->setAutoFillBackground(true);
    listLayout_ = new QVBoxLayout(filterDocumentView);
    listLayout_->setContentsMargins(0, 0, 0, 0);
    listLayout_->setSpacing(2);
    filterScrollView->setWidget(filterDocumentView);
    anchor(filterScrollView, Anchor::FillDown);
    reloadEffectList();

    effectReset = new kestrel::widgets::ZorButton(this);
    effectReset->setGeometry(12, 430, 86, 26);
    effectReset->setNormalBackgroundImage(picture("ZantImage/Cut/btnCommonBlack_Normal@2x.png"));
    effectReset->setOnBackgroundImage(picture("ZantImage/Cut/btnCommonBlack_On@2x.png"));
    effectReset->setDownBackgroundImage(picture("ZantImage/Cut/btnCommonBlack_Down@2x.png"));
    effectReset->setDisAbleBackgroundImage(picture("ZantImage/Cut/btnCommonBlack_Disable@2x.png"));
    setSystemFont13(effectReset);
    effectReset->setContentColor(kText);
    effectReset->setBordered(false);
    effectReset->setMouseDownAction([this](kestrel::widgets::ZorButton*) { actionEffectReset(); });
    anchor(effectReset, Anchor::BelowList);
}

void KxfxView::reloadEffectList() {
    while (QLayoutItem* old = listLayout_->takeAt(0)) {
        delete old->widget();
        delete old;
    }
    items_.clear();
    for (int i = 0; i < effectTypes_.size(); ++i) {
        auto* item = new EffectCollectionViewItem(filterDocumentView);
        item->setFixedHeight(EffectCollectionViewItem::kRowHeight);
        item->setViewTag(i);
        item->setMDelegate(this);
        item->setItem(effectTypes_.at(i));
        listLayout_->addWidget(item);
        items_.append(item);
    }
    listLayout_->addStretch(1);
}

void KxfxView::changelanguage() {
    using services::localized;
    hueLabel->setText(localized(QStringLiteral("Hue:")));
    speedLabel->setText(localized(QStringLiteral("Speed:")));
    effectLabel->setText(localized(QStringLiteral("EffectsLabelTitle")));
    // The colour rows' titles share a narrow column beside their sliders: smaller where needed.
    const std::pair<QLabel*, const char*> rows[] = {{brightnessLabel, "BrightnessLabelTitle"},
                                                    {contrastLabel, "ContrastLabelTitle"},
                                                    {saturationLabel, "SaturationLabelTitle"}};
    for (const auto& [label, key] : rows) kestrel::widgets::fitOneLine(label, localized(QString::fromLatin1(key)), 13, 9);
    speedCustomLabel->setText(localized(QStringLiteral("custom")));
    effectReset->setContentTitle(localized(QStringLiteral("ResetBtnTitle")));
    magicEnhance->setContentTitle(QStringLiteral("  %1").arg(localized(QStringLiteral("Magic Enhance"))));
    for (EffectCollectionViewItem* item : items_) item->setItem(item->item());
    fitResetAndToggle();
}

void KxfxView::enableEdit(bool enabled) {
    for (kestrel::widgets::VolumeProgressSlider* slider : {speedSlider, brightnessSlider, contrastSlider, saturationSlider})
        slider->setDisable(!enabled);
    effectReset->setEnabled(enabled);
}

void KxfxView::setIsMagicEnhance(bool on) {
    isMagicEnhance_ = on;
    magicEnhance->setSelected(on);
}

void KxfxView::magicEnhanceAction() {
    // The rebuild adds magic enhance while the toggle is on, never twice.
    if (isMagicEnhance_ && player_) rebuildEffects();
    speedValueLabel->setReadOnly(false);
}

// The values taken (slid, or typed and committed), not a field's text still being typed.
int KxfxView::brightness() const { return brightness_; }
int KxfxView::contrast() const { return contrast_; }
int KxfxView::saturation() const { return saturation_; }
double KxfxView::speed() const { return speed_; }
bool KxfxView::magicEnhanceOn() const { return magicEnhance->selected(); }

void KxfxView::fillEditState(kestrel::session::EditState& state) const {
    state.effectIds.clear();
    for (const EffectItem& item : effectTypes_)
        if (item.isCheck) state.effectIds.append(item.effectId);
    state.magicEnhance = magicEnhanceOn();
    state.brightness = brightness();
    state.contrast = contrast();
    state.saturation = saturation();
    state.previewVolume = volume_;
    state.speed = speed_;
}

void KxfxView::applyPreview(unsigned parts) {
    if (previewApplier_) {
        previewApplier_(parts);
        return;
    }
    // On its own (no window around it) the panel's share is all there is.
    kestrel::session::EditState state;
    fillEditState(state);
    kestrel::session::applyToPreview(player_, state, fileData_ ? *fileData_ : kestrel::model::SimpleData{}, parts);
}

bool KxfxView::previewPlaying() const { return player_ && player_->playerStatus() == 1; }

void KxfxView::rebuildEffects() {
    if (player_) applyPreview(kestrel::session::kPreviewColour);
}

void KxfxView::toggleMagicEnhance() {
    magicEnhance->setSelected(!magicEnhance->selected());
    rebuildEffects();
}

void KxfxView::checkEffectCollectionViewItem(EffectCollectionViewItem* item, QMouseEvent*) {
    const int index = static_cast<int>(item->viewTag());
    if (index < 0 || index >= effectTypes_.size()) return;
    effectTypes_[index].isCheck = !effectTypes_[index].isCheck;
    item->setItem(effectTypes_[index]);
    rebuildEffects();
}

void KxfxView::selectEffectCollectionViewItem(EffectCollectionViewItem* item, QMouseEvent*) {
    const int index = static_cast<int>(item->viewTag());
    if (index < 0 || index >= effectTypes_.size()) return;
    if (item->isCheck()) {
        // The second click of a double click switches the effect.
        effectTypes_[index].isCheck = !effectTypes_[index].isCheck;
        item->setItem(effectTypes_[index]);
        item->mouseUpAfter();
        rebuildEffects();
        return;
    }
    for (int i = 0; i < effectTypes_.size(); ++i) {
        if (i == index) continue;
        effectTypes_[i].selected = false;
        if (i == selectedEffectIndex_ && i < items_.size()) items_[i]->setItem(effectTypes_[i]);
    }
    effectTypes_[index].selected = true;
    item->setItem(effectTypes_[index]);
    selectedEffectIndex_ = index;
}

void KxfxView::speedChanged(float progress) { setSpeed(speedForProgress(progress)); }

void KxfxView::setSpeed(double speed) {
    speed_ = speed;
    if (player_) applyPreview(kestrel::session::kPreviewSpeed);
    speedValueLabel->setText(QString::asprintf("%.2f", speed));
    if (speedChangedBlock_) speedChangedBlock_(speed);
}

void KxfxView::speedFieldCommitted() {
    if (speedValueLabel->isReadOnly()) return;
    bool ok = false;
    const double typed = speedValueLabel->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(typed)) {
        // Not a number: the field shows the speed in force again.
        speedValueLabel->setText(QString::asprintf("%.2f", speed_));
        return;
    }
    // The slider's range: 0.1 to 4 times.
    const double speed = std::clamp(typed, 0.1, 4.0);
    speedSlider->setProgress(progressForSpeed(speed));
    setSpeed(speed);
}

void KxfxView::colourSliderChanged(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    const int value = slider == brightnessSlider ? brightnessForProgress(progress) : contrastForProgress(progress);
    kestrel::widgets::RDTextField* field = slider == brightnessSlider ? brightnessValueLabel
                                  : slider == contrastSlider ? contrastValueLabel
                                                             : saturationValueLabel;
    field->setText(QString::number(value));
    (slider == brightnessSlider ? brightness_ : slider == contrastSlider ? contrast_ : saturation_) = value;
    rebuildEffects();
}

void KxfxView::colourFieldEdited(kestrel::widgets::RDTextField* field) {
    // A typed value is held to its slider's range; the field shows the value kept.
    const int limit = field == brightnessValueLabel ? 255 : 100;
    int& kept = field == brightnessValueLabel ? brightness_ : field == contrastValueLabel ? contrast_ : saturation_;
    bool ok = false;
    const int typedValue = field->text().trimmed().toInt(&ok);
    if (!ok) {
        field->setText(QString::number(kept));  // not a number: the value in force stays
        return;
    }
    const QString typed = field->text().trimmed();
    const int value = std::clamp(typedValue, -limit, limit);
    if (QString::number(value) != typed) field->setText(QString::number(value));
    if (field == brightnessValueLabel) {
        brightness_ = value;
        brightnessSlider->setProgress(progressForBrightness(value));
    } else if (field == contrastValueLabel) {
        contrast_ = value;
        contrastSlider->setProgress(progressForContrast(value));
    } else {
        saturation_ = value;
        saturationSlider->setProgress(progressForContrast(value));
    }
    rebuildEffects();
}

void KxfxView::actionMouseDownForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider*, float) {
    resumeAfterDrag_ = previewPlaying();
    if (!resumeAfterDrag_) return;
    if (pausePreview_)
        pausePreview_();
    else
        player_->pause();
}

void KxfxView::actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) {
    if (slider == speedSlider)
        speedChanged(progress);
    else
        colourSliderChanged(slider, progress);
}

void KxfxView::actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider*, float) {
    if (!resumeAfterDrag_ || !player_) return;
    resumeAfterDrag_ = false;
    if (playPreview_)
        playPreview_();
    else
        player_->play();
}

void KxfxView::action_volueSlider(float progress) {
    volume_ = 2.0 * static_cast<double>(progress);
    if (player_) applyPreview(kestrel::session::kPreviewSound);
}

void KxfxView::refreshPlayerView() {
    // Another file starts with its colours as they are; speed and effects stay as chosen.
    brightness_ = contrast_ = saturation_ = 0;
    speedSlider->setProgress(progressForSpeed(speed()));
    speedValueLabel->setText(QString::asprintf("%.2f", speed()));
    brightnessSlider->setProgress(progressForBrightness(brightness_));
    contrastSlider->setProgress(progressForContrast(contrast_));
    saturationSlider->setProgress(progressForContrast(saturation_));
    brightnessValueLabel->setText(QString::number(brightness_));
    contrastValueLabel->setText(QString::number(contrast_));
    saturationValueLabel->setText(QString::number(saturation_));
    // A new preview starts without effects; it shows the checked ones, as the export will.
    if (player_) applyPreview(kestrel::session::kPreviewColour | kestrel::session::kPreviewSound | kestrel::session::kPreviewSpeed);
}

void KxfxView::actionEffectReset() {
    saturation_ = contrast_ = brightness_ = 0;
    volume_ = 1.0;
    magicEnhance->setSelected(false);
    speed_ = 1.0;
    speedSlider->setProgress(progressForSpeed(1.0));
    brightnessSlider->setProgress(progressForBrightness(brightness_));
    contrastSlider->setProgress(progressForContrast(contrast_));
    saturationSlider->setProgress(progressForContrast(saturation_));
    speedValueLabel->setText(QString::asprintf("%.2f", 1.0));
    brightnessValueLabel->setText(QString::number(brightness_));
    contrastValueLabel->setText(QString::number(contrast_));
    saturationValueLabel->setText(QString::number(saturation_));
    for (EffectItem& item : effectTypes_) item.isCheck = false;
    for (int i = 0; i < items_.size(); ++i) items_[i]->setItem(effectTypes_[i]);
    if (speedChangedBlock_) speedChangedBlock_(1.0);
    if (volumeResetBlock_) volumeResetBlock_(volume_);
    if (player_)
        applyPreview(kestrel::session::kPreviewSpeed | kestrel::session::kPreviewSound | kestrel::session::kPreviewColour);
}

}  // namespace kestrel::editor
