#include "export/ui/setting_window_controller.h"

#include "export/profiles/profile_tree.h"
#include "export/settings/setting_values.h"
#include "export/ui/dialog_style.h"
#include "export/ui/input_file_name_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "widgets/zor_button.h"

#include <QComboBox>
#include <algorithm>
#include <QIntValidator>
#include <QLabel>
#include <QPushButton>
#include <memory>

namespace exportkit {

using settings::Setting;

namespace {

constexpr int kRowPitch = 36;
// A section row: caption at 14, pop-up 6 points after the caption column (at least 100 wide),
// custom fields 6 points after the pop-up.
constexpr int kCaptionX = 14, kCaptionMinWidth = 100, kPopUpGap = 6, kPopUpWidth = 170, kFieldGap = 6;
constexpr int kSectionX = 22;
constexpr int kSectionHeight = 4 * kRowPitch + 12;
const std::array<const char*, 8> kLabelKeys = {"CodecLabelTitle",        "ResolutionLabel",
                                               "Frame_RateLabelTitle",   "Bit_RateLabelTitle",
                                               "CodecLabelTitle",        "audio_ChannelLabelTitle",
                                               "audio_Sample_RateLabelTitle", "audio_Bit_RateLabelTitle"};

size_t slot(Setting setting) { return static_cast<size_t>(setting); }

QString keepOriginalTitle() { return services::localized(QStringLiteral("Keep_OriginalStringValue")); }

QString defaultProfilePath() {
    return ProfileTree::editorTree(services::Language::resourceBundlePath()).defaultProfilePath();
}

bool isBlank(const std::optional<QString>& text) { return !text || text->isEmpty() || *text == QLatin1String(" "); }

// The whole part of the number a custom field holds.
int fieldNumber(const QLineEdit* field) { return static_cast<int>(settings::numForStringValue(field->text()).toDouble()); }

}  // namespace

SettingWindowController::SettingWindowController(QWidget* parent) : QDialog(parent) {
    setModal(true);
    promptRunner_ = [](InputFileNameWindowController* prompt) { prompt->exec(); };
}

SettingWindowController::~SettingWindowController() {
    // A field losing its focus while the dialog goes away ends its edit: nothing may answer then.
    for (QWidget* field : {static_cast<QWidget*>(customWidth), static_cast<QWidget*>(customHeight),
                           static_cast<QWidget*>(customVideoBit)})
        if (field) disconnect(field, nullptr, this, nullptr);
}

const ChoiceKeys& SettingWindowController::keys() const { return joinner_ ? ChoiceKeys::joiner() : ChoiceKeys::editor(); }

void SettingWindowController::loadWindow() {
    if (loaded_) return;
    loaded_ = true;
    style::styleWindow(this);
    const int width = (sizeIsCustom() || bitrateIsCustom()) ? 480 : 360;
    resize(width, fileType_ == 2 ? 292 : 480);
    baseWidth_ = width;

    windowTitleLabel = new QLabel(this);
    windowTitleLabel->setAlignment(Qt::AlignCenter);
    style::styleCaption(windowTitleLabel, style::kSettingsTextColor, 16);
    videoTitleLabel = new QLabel(this);
    style::styleCaption(videoTitleLabel, style::kSettingsTextColor);
    audioTitleLabel = new QLabel(this);
    style::styleCaption(audioTitleLabel, style::kSettingsTextColor);
    videoBackView = new QWidget(this);
    style::styleBorderedBox(videoBackView);
    audioBackView = new QWidget(this);
    style::styleBorderedBox(audioBackView);
    if (fileType_ != 2) {
        buildSection(videoBackView, Setting::VideoCodec, 4);
        buildCustomFields();
    } else {
        videoBackView->hide();
        videoTitleLabel->hide();
    }
    buildSection(audioBackView, Setting::AudioCodec, 4);

    defaultBtn = new kestrel::widgets::ZorButton(this);
    defaultBtn->setNormalBackgroundImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Cut/btnCommonBlack_Normal@2x.png")));
    defaultBtn->setOnBackgroundImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Cut/btnCommonBlack_On@2x.png")));
    defaultBtn->setDownBackgroundImage(services::Language::pixmapWithfileName(QStringLiteral("ZantImage/Cut/btnCommonBlack_Down@2x.png")));
    if (defaultBtn->normalBackgroundImage().isNull()) defaultBtn->setBackGroundColor(QColor(44, 48, 56));
    defaultBtn->setCornerRadius(3);
    defaultBtn->setContentColor(style::kSettingsTextColor);
    defaultBtn->setMouseDownAction([this](kestrel::widgets::ZorButton*) { actiondefaultBtn(); });
    createCustomBtn = new QPushButton(this);
    // Return in a custom field ends that edit; it must not open the name prompt.
    createCustomBtn->setAutoDefault(false);
    connect(createCustomBtn, &QPushButton::clicked, this, [this] { actionCreateCustomBtn(); });
    changeLanguage();
}

void SettingWindowController::setVisible(bool visible) {
    if (visible) loadWindow();
    QDialog::setVisible(visible);
}

void SettingWindowController::buildSection(QWidget* box, Setting first, int count) {
    for (int row = 0; row < count; ++row) {
        const Setting setting = settings::kAllSettings[slot(first) + row];
        auto* label = new QLabel(box);
        label->setGeometry(kCaptionX, 12 + row * kRowPitch, kCaptionMinWidth, 25);
        style::styleCaption(label, style::kSettingsTextColor);
        auto* popUp = new QComboBox(box);
        popUp->setGeometry(kCaptionX + kCaptionMinWidth + kPopUpGap, 12 + row * kRowPitch, kPopUpWidth, 25);
        popUp->setStyleSheet(QStringLiteral("QComboBox { color: rgb(170, 177, 185); background: transparent; "
                                            "border: 1px solid rgb(49, 60, 72); border-radius: 3px; padding-left: 6px; }"));
        // Only the user's choices are stored and reported; filling the menu in code is not.
        connect(popUp, &QComboBox::activated, this, [this, setting](int index) { chooseItem(setting, index); });
        labels_[slot(setting)] = label;
        popUps_[slot(setting)] = popUp;
    }
}

void SettingWindowController::buildCustomFields() {
    const auto makeField = [this](int x, int y, int width, int height, int tag, int maxDigits) {
        auto* field = new kestrel::widgets::RDTextField(videoBackView);
        field->setGeometry(x, y, width, height);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(new QIntValidator(0, maxDigits == 5 ? 99999 : 999999, field));
        field->setMaxLength(maxDigits);
        field->setProperty("tag", tag);
        field->setPointColor(style::kSettingsTextColor);
        field->setMouseDelegate(this);
        field->setEnabled(true);  // the kit's fields start disabled; these are typed in whenever shown
        field->setStyleSheet(QStringLiteral("color: rgb(170, 177, 185); background: transparent; "
                                            "border: 1px solid rgb(49, 60, 72);"));
        connect(field, &QLineEdit::textEdited, this, [this, field] { customValueChange(field); });
        connect(field, &QLineEdit::editingFinished, this, [this, field] { customValueFinished(field); });
        return field;
    };
    // Placed beside their pop-ups by layoutForWidth.
    customWidth = makeField(0, 0, 56, 21, 2000, 5);
    sp = new QLabel(QStringLiteral("*"), videoBackView);
    sp->resize(15, 21);
    sp->setAlignment(Qt::AlignCenter);
    style::styleCaption(sp, style::kSettingsTextColor, 16);
    customHeight = makeField(0, 0, 56, 21, 3000, 5);
    customVideoBit = makeField(0, 0, 70, 21, 4000, 6);

    auto& defaults = platform::UserDefaults::standard();
    const bool sizeCustom = defaults.stringForKey(keys().resolution) == kCustomValue;
    if (sizeCustom) {
        if (defaults.hasKey(kCustomWidthKey)) customWidth->setText(QString::number(defaults.integerForKey(kCustomWidthKey)));
        if (defaults.hasKey(kCustomHeightKey)) customHeight->setText(QString::number(defaults.integerForKey(kCustomHeightKey)));
    }
    for (QWidget* view : {static_cast<QWidget*>(customWidth), static_cast<QWidget*>(sp), static_cast<QWidget*>(customHeight)})
        view->setVisible(sizeCustom);
    const bool bitrateCustom = defaults.stringForKey(keys().bitrate) == kCustomValue;
    if (bitrateCustom && defaults.hasKey(kCustomBitrateKey))
        customVideoBit->setText(QString::number(defaults.integerForKey(kCustomBitrateKey)));
    customVideoBit->setVisible(bitrateCustom);
}

void SettingWindowController::changeLanguage() {
    windowTitleLabel->setText(services::localized(advanced_ ? QStringLiteral("Advanced_settingsTitle")
                                                            : QStringLiteral("Edit_settingsTitle")));
    setWindowTitle(windowTitleLabel->text());
    videoTitleLabel->setText(services::localized(QStringLiteral("VideoLabelTitle")));
    audioTitleLabel->setText(services::localized(QStringLiteral("AudioLabelTitle")));
    for (Setting setting : settings::kAllSettings)
        if (labels_[slot(setting)]) labels_[slot(setting)]->setText(services::localized(QLatin1String(kLabelKeys[slot(setting)])));
    defaultBtn->setContentTitle(services::localized(QStringLiteral("DefaultBtnTitle")));
    createCustomBtn->setText(services::localized(QStringLiteral("CreateCustomBtnTitle")));
    style::applyTextDirection(this);
    layoutForWidth(baseWidth_);
}

int SettingWindowController::widestCaption() const {
    int widest = 0;
    for (const QLabel* label : labels_)
        if (label) widest = std::max(widest, style::textWidth(label, label->text()));
    return widest;
}

void SettingWindowController::layoutForWidth(int baseWidth) {
    baseWidth_ = baseWidth;
    const int height = fileType_ == 2 ? 292 : 480;
    // The rows keep their places unless a language's captions need a wider column; then the
    // pop-ups move right and the window grows by as much (it never gets narrower than asked).
    // A caption keeps at least 4 points to its pop-up; its frame reaches to 2 points before it.
    const int popUpX = std::max(kCaptionX + kCaptionMinWidth + kPopUpGap, kCaptionX + widestCaption() + 4);
    for (Setting setting : settings::kAllSettings) {
        QLabel* label = labels_[slot(setting)];
        QComboBox* popUp = popUps_[slot(setting)];
        if (!label) continue;
        label->resize(popUpX - kCaptionX - 2, label->height());
        popUp->move(popUpX, popUp->y());
    }
    int contentRight = popUpX + kPopUpWidth + 26;  // 360 wide with the narrowest column
    if (customWidth) {
        const QRect size = popUps_[slot(Setting::FrameSize)]->geometry();
        customWidth->move(size.right() + 1 + kFieldGap, size.y() + 2);
        sp->move(customWidth->geometry().right() + 1, size.y() + 2);
        customHeight->move(sp->geometry().right() + 1, size.y() + 2);
        const QRect bitrate = popUps_[slot(Setting::VideoBitrate)]->geometry();
        customVideoBit->move(bitrate.right() + 1 + kFieldGap, bitrate.y() + 2);
        // Shown custom fields keep an 11-point margin to the section's border.
        if (!customWidth->isHidden()) contentRight = std::max(contentRight, customHeight->geometry().right() + 1 + 11);
        if (!customVideoBit->isHidden()) contentRight = std::max(contentRight, customVideoBit->geometry().right() + 1 + 11);
    }
    const int defaultWidth = std::max(110, style::textWidth(defaultBtn, defaultBtn->contentTitle()) + 20);
    const int createWidth = std::max(120, createCustomBtn->sizeHint().width());
    const int width = std::max({baseWidth, contentRight + 2 * kSectionX, kSectionX + defaultWidth + 20 + createWidth + 20,
                                style::textWidth(windowTitleLabel, windowTitleLabel->text()) + 40});
    if (isVisible()) {
        // Keep the window's centre where it was.
        const QPoint centre = geometry().center();
        setGeometry(centre.x() - width / 2, centre.y() - height / 2, width, height);
    } else {
        resize(width, height);
    }
    windowTitleLabel->setGeometry(0, 10, width, 24);
    int y = 44;
    if (fileType_ != 2) {
        videoTitleLabel->setGeometry(kSectionX, y, width - 2 * kSectionX, 20);
        videoBackView->setGeometry(kSectionX, y + 22, width - 2 * kSectionX, kSectionHeight);
        y += 22 + kSectionHeight + 10;
    }
    audioTitleLabel->setGeometry(kSectionX, y, width - 2 * kSectionX, 20);
    audioBackView->setGeometry(kSectionX, y + 22, width - 2 * kSectionX, kSectionHeight);
    defaultBtn->setGeometry(kSectionX, height - 43, defaultWidth, 23);
    createCustomBtn->setGeometry(width - 20 - createWidth, height - 43, createWidth, 23);
}

void SettingWindowController::displayViewChildes() {
    loadWindow();
    setViewChildes();
}

std::optional<QString> SettingWindowController::sourceTitle(Setting setting) const {
    if (!simpdata_) return std::nullopt;
    const MediaProperties& s = *simpdata_;
    const auto number = [](double value) { return value != 0 ? std::optional<QString>(QString::number(value)) : std::nullopt; };
    switch (setting) {
    case Setting::VideoCodec: return s.metadata_vcodec;
    case Setting::FrameSize:
        return s.width && s.height ? std::optional<QString>(QStringLiteral("%1x%2").arg(s.width).arg(s.height)) : std::nullopt;
    case Setting::FrameRate: return s.fps != 0 ? std::optional<QString>(QString::number(s.fps, 'f', 0)) : std::nullopt;
    case Setting::VideoBitrate: return number(s.bitrate);
    case Setting::AudioCodec: return s.a_codec;
    case Setting::Channels: return number(s.a_channel);
    case Setting::SampleRate: return number(s.a_samplerate);
    case Setting::AudioBitrate: return number(s.a_bitrate);
    }
    return std::nullopt;
}

void SettingWindowController::setViewChildes() {
    const settings::ProfileOptions options = settings::readProfileOptions(pfPath_.isEmpty() ? defaultProfilePath() : pfPath_);
    auto& defaults = platform::UserDefaults::standard();
    for (Setting setting : settings::kAllSettings) {
        std::optional<QString>& title = selectTitles_[slot(setting)];
        const QString key = settings::keyOf(setting, keys());
        title = options.keepOriginal || !defaults.hasKey(key) ? std::nullopt : std::optional<QString>(defaults.stringForKey(key));
        if (title && !settings::isVideoSetting(setting))
            title = exportkit::new_startAndendnospaceString(*title);
    }
    fillMenus(options, true);
    if (customVideoBit && bitrateIsCustom() && defaults.hasKey(kCustomBitrateKey))
        customVideoBit->setText(QString::number(defaults.integerForKey(kCustomBitrateKey)));
}

void SettingWindowController::defaultSettings() {
    const settings::ProfileOptions options = settings::readProfileOptions(pfPath_.isEmpty() ? defaultProfilePath() : pfPath_);
    auto& defaults = platform::UserDefaults::standard();
    for (Setting setting : settings::kAllSettings) {
        std::optional<QString>& title = selectTitles_[slot(setting)];
        if (options.keepOriginal) {
            title = QString();
        } else {
            title = options.selected[slot(setting)];
            if (isBlank(title)) title = sourceTitle(setting);
        }
    }
    fillMenus(options, false);
    for (Setting setting : settings::kAllSettings) {
        if (fileType_ == 2 && settings::isVideoSetting(setting)) continue;
        const std::optional<QString>& title = selectTitles_[slot(setting)];
        const QString key = settings::keyOf(setting, keys());
        if (title && !title->isEmpty())
            defaults.setString(key, *title);
        else
            defaults.removeObjectForKey(key);
    }
}

void SettingWindowController::actiondefaultBtn() {
    defaultSettings();
    if (customVideoBit) {
        for (QWidget* view : {static_cast<QWidget*>(customWidth), static_cast<QWidget*>(sp), static_cast<QWidget*>(customHeight),
                              static_cast<QWidget*>(customVideoBit)})
            view->hide();
        if (fileType_ == 1) layoutForWidth(360);
    }
    if (settingCallbackBlock_) settingCallbackBlock_();
}

void SettingWindowController::fillMenus(const settings::ProfileOptions& options, bool onOpening) {
    for (Setting setting : settings::kAllSettings) {
        if (!popUps_[slot(setting)]) continue;
        setMenu(setting, settings::buildMenu(setting, options.items[slot(setting)], selectTitles_[slot(setting)], joinner_,
                                             options.keepOriginal, onOpening, keepOriginalTitle()));
    }
}

void SettingWindowController::setMenu(Setting setting, const settings::SettingMenu& menu) {
    QComboBox* popUp = popUps_[slot(setting)];
    popUp->clear();
    popUp->addItems(menu.titles);
    popUp->setCurrentIndex(menu.titles.isEmpty() ? -1 : menu.selected);
}

bool SettingWindowController::sizeIsCustom() const {
    if (QComboBox* popUp = popUps_[slot(Setting::FrameSize)]) return popUp->currentText() == kCustomValue;
    return platform::UserDefaults::standard().stringForKey(keys().resolution) == kCustomValue;
}

bool SettingWindowController::bitrateIsCustom() const {
    if (QComboBox* popUp = popUps_[slot(Setting::VideoBitrate)]) return popUp->currentText() == kCustomValue;
    return platform::UserDefaults::standard().stringForKey(keys().bitrate) == kCustomValue;
}

void SettingWindowController::chooseItem(Setting setting, int index) {
    QComboBox* popUp = popUps_[slot(setting)];
    if (!popUp || index < 0 || index >= popUp->count()) return;
    popUp->setCurrentIndex(index);
    const QString title = popUp->itemText(index);
    const std::optional<QString> value = settings::storedValueForTitle(setting, title, keepOriginalTitle());
    auto& defaults = platform::UserDefaults::standard();
    const QString key = settings::keyOf(setting, keys());
    if (value)
        defaults.setString(key, *value);
    else
        defaults.removeObjectForKey(key);

    if (setting == Setting::FrameSize) {
        const bool custom = title == kCustomValue;
        for (QWidget* view : {static_cast<QWidget*>(customWidth), static_cast<QWidget*>(sp), static_cast<QWidget*>(customHeight)})
            view->setVisible(custom);
        if (fileType_ == 1) layoutForWidth(custom || bitrateIsCustom() ? 480 : 360);
    } else if (setting == Setting::VideoBitrate) {
        const bool custom = title == kCustomValue;
        customVideoBit->setVisible(custom);
        if (fileType_ == 1) layoutForWidth(custom || sizeIsCustom() ? 480 : 360);
    }
    if (selectSettingCallbackBlock_) selectSettingCallbackBlock_(settings::flagOf(setting));
}

void SettingWindowController::customValueChange(QWidget* field) {
    auto& defaults = platform::UserDefaults::standard();
    if (field && !valueBeforeEdit_.contains(field)) {
        const QString key = customKeyOf(field);
        valueBeforeEdit_.insert(field, defaults.hasKey(key) ? QVariant(defaults.integerForKey(key)) : QVariant());
    }
    // A value is stored only inside sane bounds; an empty field forgets it. A value outside them
    // is refused where the user sees it.
    const auto store = [&](kestrel::widgets::RDTextField* edit, const QString& key, int low, int high) {
        if (edit->text().isEmpty()) {
            defaults.removeObjectForKey(key);
            markCustomValue(edit, false, low, high);
            return;
        }
        const int value = fieldNumber(edit);
        const bool accepted = value >= low && value <= high;
        if (accepted) defaults.setInteger(key, value);
        markCustomValue(edit, !accepted, low, high);
    };
    if (field == customVideoBit) {
        store(customVideoBit, kCustomBitrateKey, settings::kMinCustomBitrate, settings::kMaxCustomBitrate);
        if (selectSettingCallbackBlock_) selectSettingCallbackBlock_(kSettingVideoBitrate);
    } else if (field == customWidth || field == customHeight) {
        store(customWidth, kCustomWidthKey, settings::kMinCustomSide, settings::kMaxCustomSide);
        store(customHeight, kCustomHeightKey, settings::kMinCustomSide, settings::kMaxCustomSide);
        if (selectSettingCallbackBlock_) selectSettingCallbackBlock_(kSettingFrameSize);
    }
}

bool SettingWindowController::customValueRefused(const QWidget* field) const {
    return field && field->property("refused").toBool();
}

void SettingWindowController::markCustomValue(kestrel::widgets::RDTextField* field, bool refused, int low, int high) {
    if (customValueRefused(field) == refused && !refused) return;
    field->setProperty("refused", refused);
    const QString border = refused ? QStringLiteral("2px solid rgb(235, 87, 87)") : QStringLiteral("1px solid rgb(49, 60, 72)");
    field->setStyleSheet(QStringLiteral("color: rgb(170, 177, 185); background: transparent; border: %1;").arg(border));
    field->setToolTip(refused ? services::localized(QStringLiteral("CustomValueOutOfRangeTip"))
                                    .arg(QString::number(low), QString::number(high))
                              : QString());
}

void SettingWindowController::customValueFinished(kestrel::widgets::RDTextField* field) {
    // Return and the focus leaving both end an edit; only the first finds one to end.
    if (!valueBeforeEdit_.contains(field)) return;
    const QVariant before = valueBeforeEdit_.take(field);
    if (!customValueRefused(field)) return;
    // Keystrokes on the way to the refused value may have stored a part of it ("999" of
    // "99999"): the value in force before the edit comes back, and the field shows it. The mark
    // stays to say the typed value was not taken.
    const QString key = customKeyOf(field);
    auto& defaults = platform::UserDefaults::standard();
    if (before.isValid())
        defaults.setInteger(key, before.toInt());
    else
        defaults.removeObjectForKey(key);
    field->setText(before.isValid() ? QString::number(before.toInt()) : QString());
    if (selectSettingCallbackBlock_) selectSettingCallbackBlock_(field == customVideoBit ? kSettingVideoBitrate : kSettingFrameSize);
}

QString SettingWindowController::customKeyOf(const QWidget* field) const {
    return field == customVideoBit ? kCustomBitrateKey : field == customWidth ? kCustomWidthKey : kCustomHeightKey;
}

void SettingWindowController::actionCreateCustomBtn() {
    auto prompt = std::make_unique<InputFileNameWindowController>(parentWidget());
    prompt->setCustomValue(QStringLiteral("custom={%1x%2}")
                               .arg(customWidth ? customWidth->text() : QString(), customHeight ? customHeight->text() : QString()));
    prompt->setBaseProfile(pfPath_.isEmpty() ? defaultProfilePath() : pfPath_, keys());
    const QRect area = geometry();
    prompt->move(area.x() + (area.width() - prompt->width()) / 2, area.y() + (area.height() - prompt->height()) / 2);
    hide();
    done(QDialog::Accepted);
    if (promptRunner_) promptRunner_(prompt.get());
}

}  // namespace exportkit
