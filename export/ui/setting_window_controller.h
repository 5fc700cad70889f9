#pragma once
// The output settings dialog: for one profile, the video codec, frame size, frame rate, video
// bit rate, audio codec, channels, sample rate and audio bit rate, plus a custom frame size and
// (joiner) a custom video bit rate. Every choice is stored at once under the opener's keys and
// reported with its flag; the Default button restores the profile's values; "Create custom"
// names the current values as a custom profile.
#include "export/profiles/profile_choice.h"
#include "export/profiles/target_properties.h"
#include "export/settings/setting_menus.h"
#include "widgets/rd_text_field.h"

#include <QDialog>
#include <QHash>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace kestrel::widgets {
class ZorButton;
}

namespace exportkit {

class InputFileNameWindowController;

class SettingWindowController : public QDialog, public kestrel::widgets::RDTextFieldDelegate {
    Q_OBJECT
public:
    using SelectBlock = std::function<void(int flag)>;
    using Block = std::function<void()>;
    // Runs the custom-name prompt (modal by default; tests replace it).
    using PromptRunner = std::function<void(InputFileNameWindowController* prompt)>;

    explicit SettingWindowController(QWidget* parent = nullptr);
    ~SettingWindowController() override;

    // Set by the opener before the window loads.
    bool joinner() const { return joinner_; }
    void setJoinner(bool joinner) { joinner_ = joinner; }
    bool advanced() const { return advanced_; }
    void setAdvanced(bool advanced) { advanced_ = advanced; }
    qint64 fileType() const { return fileType_; }
    void setFileType(qint64 type) { fileType_ = type; }  // 1 video profile, 2 audio profile
    const QString& pfPath() const { return pfPath_; }
    void setPfPath(const QString& path) { pfPath_ = path; }
    // Source properties that fill blank profile values on the Default button.
    void setSimpdata(const std::optional<MediaProperties>& source) { simpdata_ = source; }
    void setSelectSettingCallbackBlock(SelectBlock block) { selectSettingCallbackBlock_ = std::move(block); }
    void setSettingCallbackBlock(Block block) { settingCallbackBlock_ = std::move(block); }
    void setPromptRunner(PromptRunner runner) { promptRunner_ = std::move(runner); }

    void loadWindow();
    // Builds the views before the first show.
    void setVisible(bool visible) override;
    // Fills the pop-ups from the profile and the stored choices.
    void displayViewChildes();
    void setViewChildes();
    void defaultSettings();
    void actiondefaultBtn();
    // One choice made in a pop-up (index into its items).
    void chooseItem(settings::Setting setting, int index);
    void customValueChange(QWidget* field);
    // A custom field whose typed value was refused (outside its bounds) carries a red mark and a
    // tool tip with the bounds until its next accepted value.
    bool customValueRefused(const QWidget* field) const;
    void actionCreateCustomBtn();
    void changeLanguage();

    const ChoiceKeys& keys() const;
    QComboBox* popUp(settings::Setting setting) const { return popUps_[static_cast<size_t>(setting)]; }

    QLabel* windowTitleLabel = nullptr;
    QLabel* videoTitleLabel = nullptr;
    QLabel* audioTitleLabel = nullptr;
    QWidget* videoBackView = nullptr;
    QWidget* audioBackView = nullptr;
    kestrel::widgets::RDTextField* customWidth = nullptr;
    kestrel::widgets::RDTextField* customHeight = nullptr;
    kestrel::widgets::RDTextField* customVideoBit = nullptr;
    QLabel* sp = nullptr;
    kestrel::widgets::ZorButton* defaultBtn = nullptr;
    QPushButton* createCustomBtn = nullptr;

private:
    void buildSection(QWidget* box, settings::Setting first, int count);
    void buildCustomFields();
    // Marks or clears the refusal of a custom field's value.
    void markCustomValue(kestrel::widgets::RDTextField* field, bool refused, int low, int high);
    // Editing ended: a refused value gives way to the one in force before the edit began.
    void customValueFinished(kestrel::widgets::RDTextField* field);
    QString customKeyOf(const QWidget* field) const;
    void fillMenus(const settings::ProfileOptions& options, bool onOpening);
    void setMenu(settings::Setting setting, const settings::SettingMenu& menu);
    // Lays the window out at baseWidth (360, or 480 with a custom field), wider when a
    // language's texts need it.
    void layoutForWidth(int baseWidth);
    int widestCaption() const;
    bool sizeIsCustom() const;
    bool bitrateIsCustom() const;
    std::optional<QString> sourceTitle(settings::Setting setting) const;

    // Per custom field being edited: its stored value when the edit began (invalid: none).
    QHash<const QWidget*, QVariant> valueBeforeEdit_;
    bool loaded_ = false;
    int baseWidth_ = 360;
    bool filling_ = false;
    bool joinner_ = false;
    bool advanced_ = false;
    qint64 fileType_ = 1;
    QString pfPath_;
    std::optional<MediaProperties> simpdata_;
    SelectBlock selectSettingCallbackBlock_;
    Block settingCallbackBlock_;
    PromptRunner promptRunner_;
    std::array<QComboBox*, 8> popUps_{};
    std::array<QLabel*, 8> labels_{};
    std::array<std::optional<QString>, 8> selectTitles_;
};

}  // namespace exportkit
