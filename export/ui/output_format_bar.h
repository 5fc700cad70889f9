#pragma once
// The output-format bar of the editor and the joiner: one tab per profile category, a paged row
// of profile buttons (eight to a page) with left and right page buttons, a settings button on
// the chosen profile and a header button naming it. Choosing a profile applies it: its values
// go into the bar's choice and the opener's user-default keys, and the owner is told so it can
// write its clips' targets. The chosen profile, its category and each category's page survive
// restarts; at load the remembered choice is marked again without overwriting the stored
// values (a first run applies the default profile).
#include "export/profiles/profile_choice.h"
#include "export/profiles/profile_tree.h"
#include "export/profiles/target_properties.h"
#include "platform/notification_center.h"
#include "widgets/mouse_move_button.h"
#include "widgets/rd_custom_button.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QScrollArea;

namespace kestrel::widgets {
class ZorButton;
class ZorImageView;
}  // namespace kestrel::widgets

namespace exportkit {

class OutputFormatBar;
class SettingWindowController;

class OutputFormatBarDelegate {
public:
    virtual ~OutputFormatBarDelegate() = default;
    // The chosen values changed (a profile chosen, or the remembered one restored at load).
    virtual void outputChoiceChanged(OutputFormatBar* bar) {}
    // One setting changed in the settings dialog (flags 1..128); the bar's choice holds it.
    virtual void outputSettingChanged(OutputFormatBar* bar, int flag) {}
    // The settings dialog's Default button restored the profile's values.
    virtual void outputSettingsRestored(OutputFormatBar* bar) {}
    // The header button collapsed or expanded the bar (screens under 780 points high); the owner
    // changes its window height by -140 or +140 and lays itself out again.
    virtual void outputBarCollapseToggled(OutputFormatBar* bar, bool collapsed) {}
};

struct FormatBarConfig {
    ProfileTree tree;
    const ChoiceKeys* keys;
    int defaultTag;         // profile chosen on a first run (editor 1, joiner 6)
    int pageButtonInset;    // page buttons' distance from the sides (editor 16, joiner 36)

    static FormatBarConfig editor();
    static FormatBarConfig joiner();
};

class OutputFormatBar : public QWidget, public kestrel::widgets::RDCustomButtonDelegate, public kestrel::widgets::ButtonMouseDelegate {
    Q_OBJECT
public:
    static constexpr int kHeight = 180;
    static constexpr int kPageSize = 8;
    static constexpr int kSettingsButtonTag = 5000000;
    static constexpr int kSelectViewTag = 20;

    using SettingsRunner = std::function<void(SettingWindowController* dialog)>;

    OutputFormatBar(FormatBarConfig config, QWidget* parent = nullptr);
    ~OutputFormatBar() override;

    void setDelegate(OutputFormatBarDelegate* delegate) { delegate_ = delegate; }
    // Runs the settings dialog (modal by default; tests replace it).
    void setSettingsRunner(SettingsRunner runner) { settingsRunner_ = std::move(runner); }
    // The screen height the show/hide rule uses (the primary screen's unless set).
    void setScreenHeight(std::optional<int> height) { screenHeight_ = height; }

    // Builds the tabs and opens the remembered category.
    void load();
    // Category list again (a custom profile was saved), keeping the open category.
    void reloadProfiles();

    void initTabbarView();
    void initfunctionView();
    void initFunctionItemView(int category);
    void checkLeft_fight_btn_isDisable(int pageCount);
    void actionFunctionItem(kestrel::widgets::RDCustomButton* tab);
    void actionMouseUpForCustomButtonBlock(kestrel::widgets::RDCustomButton* tab) override;
    void actionFunctionItemScrollChild(kestrel::widgets::ZorButton* profileButton);
    void action_left_move_item_Btn();
    void action_right_move_item_Btn();
    void mouseupEntered(kestrel::widgets::MouseMoveButton* button) override;
    void actionEditsetting(QPushButton* settingsButton);
    // Applies the profile file (the tree's default profile when empty).
    void setViewChildesPf(const QString& path);

    // What the owner reads.
    const ProfileChoice& choice() const { return choice_; }
    ProfileChoice& choice() { return choice_; }
    const ChoiceKeys& keys() const { return *config_.keys; }
    const ProfileTree& tree() const { return config_.tree; }
    // Whether the chosen profile belongs to the "Audio" category (no video values).
    bool chosenIsAudio() const { return chosenCategory_ == kAudioCategory; }
    QString chosenProfilePath() const;
    // Writes a clip's target from the current choice.
    void writeTarget(const MediaProperties& source, MediaProperties& target) const;
    // Page count of the open category.
    int pageCount() const;

    const QStringList& functionList() const { return functionList_; }
    const QString& functionItemTitle() const { return functionItemTitle_; }
    const QStringList& functionItemChilds() const { return functionItemChilds_; }
    qint64 selectFunctionOfsetIndex() const { return selectFunctionOfsetIndex_; }
    qint64 selectItemIndex() const { return selectItemIndex_; }
    qint64 selectFunListItemIndex() const { return selectFunListItemIndex_; }
    const std::vector<kestrel::widgets::RDCustomButton*>& functionItems() const { return function_Items_; }
    const std::vector<kestrel::widgets::ZorButton*>& functionItemButtons() const { return functionItemBtn_Childs_; }
    kestrel::widgets::ZorButton* showFunctionBtn() const { return showFunctionBtn_; }
    kestrel::widgets::MouseMoveButton* leftMoveButton() const { return left_move_item_Btn_; }
    kestrel::widgets::MouseMoveButton* rightMoveButton() const { return right_move_item_Btn_; }
    kestrel::widgets::ZorImageView* itemSelectView() const { return itemSelectView_; }
    QScrollArea* functionItemScrollview() const { return functionItemScrollview_; }
    // Enables or disables every tab, profile button and settings button (a reference clip).
    void setChoicesEnabled(bool enabled);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void toggleCollapsed();
    void placeSelection(int tag);
    void showHeaderTitle(const QString& profileName);
    void layoutTabs();
    int screenHeight() const;
    // Only on screens under 780 points the header shows its arrow and folds the bar away.
    bool collapsible() const;
    QString categoryPath(const QString& category, const QString& name) const;

    FormatBarConfig config_;
    OutputFormatBarDelegate* delegate_ = nullptr;
    SettingsRunner settingsRunner_;
    std::optional<int> screenHeight_;
    platform::ObserverToken addProfileObserver_ = 0;

    ProfileChoice choice_;
    QString chosenCategory_;
    QStringList functionList_;
    QString functionItemTitle_;
    QStringList functionItemChilds_;
    qint64 selectFunctionOfsetIndex_ = 0;
    qint64 selectItemIndex_ = 0;
    qint64 selectFunListItemIndex_ = 0;
    bool choicesEnabled_ = true;

    kestrel::widgets::ZorImageView* tabbarbackView_ = nullptr;
    QWidget* functionView_ = nullptr;
    std::vector<kestrel::widgets::RDCustomButton*> function_Items_;
    kestrel::widgets::ZorButton* showFunctionBtn_ = nullptr;
    kestrel::widgets::ZorImageView* showFunctionIconView_ = nullptr;
    kestrel::widgets::MouseMoveButton* left_move_item_Btn_ = nullptr;
    kestrel::widgets::MouseMoveButton* right_move_item_Btn_ = nullptr;
    QScrollArea* functionItemScrollview_ = nullptr;
    kestrel::widgets::ZorImageView* itemSelectView_ = nullptr;
    std::vector<kestrel::widgets::ZorButton*> functionItemBtn_Childs_;
};

}  // namespace exportkit
