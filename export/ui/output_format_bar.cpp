#include "export/ui/output_format_bar.h"

#include "export/ui/output_format_bar_texts.h"
#include "export/ui/setting_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "widgets/zor_button.h"
#include "widgets/zor_image_view.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace exportkit {
namespace {

constexpr int kTabRowWidth = 700, kTabRowHeight = 28, kTabWidth = 120;
constexpr int kRowWidth = 790, kRowHeight = 110, kButtonWidth = 90, kButtonPitch = 100;
constexpr int kSmallScreen = 780;
constexpr int kSettingsButtonSize = 28;
constexpr int kHeaderWidth = 280, kHeaderArrowX = 240, kHeaderPadding = 8;
constexpr int kProfileNamePoints = 10, kHeaderPoints = 14;

QPixmap picture(const QString& name) { return services::Language::pixmapWithfileName(name); }

platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }

// The chosen category's name, beside its position: a category added before it (Custom comes
// first) moves the position, never the name.
QString categoryNameKey(const ChoiceKeys& keys) { return keys.selectFunListItemIndex + QStringLiteral("Name"); }

void rememberCategory(const ChoiceKeys& keys, const QStringList& categories, const QString& category) {
    const qsizetype at = categories.indexOf(category);
    if (at < 0) return;
    defaults().setInteger(keys.selectFunListItemIndex, at + 1);
    defaults().setString(categoryNameKey(keys), category);
}

}  // namespace

FormatBarConfig FormatBarConfig::editor() {
    return {ProfileTree::editorTree(services::Language::resourceBundlePath()), &ChoiceKeys::editor(), 1, 16};
}

FormatBarConfig FormatBarConfig::joiner() {
    return {ProfileTree::joinerTree(services::Language::resourceBundlePath()), &ChoiceKeys::joiner(), 6, 36};
}

OutputFormatBar::OutputFormatBar(FormatBarConfig config, QWidget* parent) : QWidget(parent), config_(std::move(config)) {
    resize(parent ? parent->width() : 1000, kHeight);
    // The bar is never mirrored: its paging arithmetic counts from the left, and its texts are
    // profile-tree names and a fixed title, written left to right.
    setLayoutDirection(Qt::LeftToRight);
    settingsRunner_ = [](SettingWindowController* dialog) { dialog->exec(); };
    addProfileObserver_ = platform::NotificationCenter::defaultCenter().addObserver(
        platform::kAddPfFileNotification, [this](const platform::Notification&) { reloadProfiles(); }, this);
}

OutputFormatBar::~OutputFormatBar() { platform::NotificationCenter::defaultCenter().removeObserversOf(this); }

int OutputFormatBar::screenHeight() const {
    if (screenHeight_) return *screenHeight_;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 1080;
}

bool OutputFormatBar::collapsible() const { return screenHeight() < kSmallScreen; }

void OutputFormatBar::load() {
    functionList_ = config_.tree.categoriesWithCustom();
    initTabbarView();
    initfunctionView();
    actionFunctionItem(nullptr);
}

void OutputFormatBar::initTabbarView() {
    tabbarbackView_ = new kestrel::widgets::ZorImageView(this);
    tabbarbackView_->setImage(picture(QStringLiteral("Resources/WSCategoryBack.png")));
    tabbarbackView_->setImageScaling(kestrel::widgets::ImageScaling::AxesIndependently);
    tabbarbackView_->setBackGroundColor(QColor(33, 37, 45));
    const auto makePageButton = [this](const QString& pictureName, void (OutputFormatBar::*action)()) {
        auto* button = new kestrel::widgets::MouseMoveButton(this);
        button->setFlat(true);
        button->setIcon(picture(pictureName));
        button->setIconSize(QSize(28, 28));
        button->setMouseDelegate(this);
        connect(button, &QPushButton::clicked, this, [this, action] { (this->*action)(); });
        return button;
    };
    left_move_item_Btn_ = makePageButton(QStringLiteral("Resources/left_nor.png"), &OutputFormatBar::action_left_move_item_Btn);
    right_move_item_Btn_ = makePageButton(QStringLiteral("Resources/right_nor.png"), &OutputFormatBar::action_right_move_item_Btn);
    layoutTabs();
}

void OutputFormatBar::initfunctionView() {
    // Replaced views go later: a notification may arrive from inside one of their clicks.
    if (functionView_) {
        functionView_->hide();
        functionView_->deleteLater();
    }
    function_Items_.clear();
    functionView_ = new QWidget(this);
    const int n = static_cast<int>(functionList_.size());
    // Tabs share the row: the first at the left edge, the last at the right; one tab sits left.
    const float pitch = n > 1 ? static_cast<float>(kTabRowWidth - kTabWidth * n) / (n - 1) + kTabWidth : 0.0f;
    for (int i = 0; i < n; ++i) {
        auto* tab = new kestrel::widgets::RDCustomButton(QRectF(0, 0, kTabWidth, 24), functionView_);
        tab->setGeometry(static_cast<int>(i * pitch), 3, kTabWidth, 24);
        tab->setSelectedBackImage(picture(QStringLiteral("Resources/selImageView.png")));
        tab->setHightideBackImage(picture(QStringLiteral("Resources/selImageView.png")));
        tab->setNormalTitleColor(QColor(207, 207, 207, 204));
        tab->setSelectedTitleColor(QColor(255, 255, 255, 204));
        tab->setCellTextPosition(4);
        tab->setFontsize(13);
        tab->setTitle(functionList_[i]);
        tab->setIndex(i + 1);
        tab->setSelected(false);
        tab->setEnabled(choicesEnabled_);
        tab->setDelegate(this);
        function_Items_.push_back(tab);
    }
    if (!showFunctionBtn_) {
        showFunctionBtn_ = new kestrel::widgets::ZorButton(this);
        QFont headerFont = showFunctionBtn_->font();
        headerFont.setPointSize(kHeaderPoints);
        showFunctionBtn_->setFont(headerFont);
        showFunctionBtn_->setContentColor(Qt::black);
        showFunctionBtn_->setBordered(false);
        const QPixmap head = picture(QStringLiteral("Resources/CategoryHead.png"));
        showFunctionBtn_->setNormalBackgroundImage(head);
        showFunctionBtn_->setOnBackgroundImage(head);
        showFunctionBtn_->setSelectedBackgroundImage(head);
        showFunctionBtn_->setDownBackgroundImage(head);
        if (head.isNull()) showFunctionBtn_->setBackGroundColor(QColor(33, 176, 235));
        showFunctionBtn_->setMouseDownAction([this](kestrel::widgets::ZorButton*) { toggleCollapsed(); });
        if (collapsible()) {
            showFunctionIconView_ = new kestrel::widgets::ZorImageView(showFunctionBtn_);
            showFunctionIconView_->setGeometry(kHeaderArrowX, (30 - 10) / 2 - 3, 8, 10);
            showFunctionIconView_->setImageScaling(kestrel::widgets::ImageScaling::AxesIndependently);
            showFunctionIconView_->setImage(picture(QStringLiteral("Resources/shrink.png")));
        }
    }
    functionView_->show();
    layoutTabs();
}

void OutputFormatBar::layoutTabs() {
    const int w = width();
    if (tabbarbackView_) tabbarbackView_->setGeometry(0, kTabRowHeight, w, kHeight - kTabRowHeight);
    const int pageY = kHeight - (kHeight - kTabRowHeight) / 2 - 28;
    if (left_move_item_Btn_) left_move_item_Btn_->setGeometry(config_.pageButtonInset, pageY, 28, 28);
    if (right_move_item_Btn_) right_move_item_Btn_->setGeometry(w - 28 - config_.pageButtonInset, pageY, 28, 28);
    if (functionView_) functionView_->setGeometry((w - kTabRowWidth) / 2, kHeight - kTabRowHeight, kTabRowWidth, kTabRowHeight);
    if (showFunctionBtn_) showFunctionBtn_->setGeometry(w / 2 - 145, 0, kHeaderWidth, 30);
    if (functionItemScrollview_) {
        const int bottom = kTabRowHeight + (kHeight - kTabRowHeight - kTabRowHeight - 100) / 2 - 5;
        functionItemScrollview_->setGeometry((w - kRowWidth) / 2, kHeight - bottom - kRowHeight, kRowWidth, kRowHeight);
    }
}

void OutputFormatBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutTabs();
}

int OutputFormatBar::pageCount() const {
    return static_cast<int>(std::ceil(functionItemChilds_.size() / static_cast<double>(kPageSize)));
}

QString OutputFormatBar::categoryPath(const QString& category, const QString& name) const {
    return config_.tree.profilePath(category, name);
}

QString OutputFormatBar::chosenProfilePath() const {
    if (chosenCategory_.isEmpty() || selectItemIndex_ < 1) return QString();
    const QStringList names = config_.tree.getFunctionItemChildList(chosenCategory_);
    if (selectItemIndex_ > names.size()) return QString();
    return categoryPath(chosenCategory_, names[selectItemIndex_ - 1]);
}

void OutputFormatBar::actionMouseUpForCustomButtonBlock(kestrel::widgets::RDCustomButton* tab) { actionFunctionItem(tab); }

void OutputFormatBar::actionFunctionItem(kestrel::widgets::RDCustomButton* tab) {
    if (function_Items_.empty()) return;
    const bool loading = tab == nullptr;
    if (loading) {
        // The remembered category, found by its name where one was stored, when it still exists.
        const QString name = defaults().stringForKey(categoryNameKey(*config_.keys));
        if (!name.isEmpty()) rememberCategory(*config_.keys, functionList_, name);
        const qint64 stored = defaults().integerForKey(config_.keys->selectFunListItemIndex);
        const size_t k = stored >= 1 && stored <= static_cast<qint64>(function_Items_.size()) ? size_t(stored) : 1;
        tab = function_Items_[k - 1];
    }
    for (kestrel::widgets::RDCustomButton* each : function_Items_) each->setSelected(each->index() == tab->index());
    initFunctionItemView(tab->index());
    checkLeft_fight_btn_isDisable(pageCount());

    const auto& keys = *config_.keys;
    const bool remembered = defaults().hasKey(keys.selectItemIndex) && selectItemIndex_ >= 1;
    const bool holdsChoice = selectFunListItemIndex_ == tab->index() && selectItemIndex_ <= functionItemChilds_.size();
    if (!loading) return;
    if (remembered && holdsChoice) {
        // Restore without applying: the stored values (with the user's settings) stay in force.
        chosenCategory_ = functionItemTitle_;
        choice_.loadStored(keys);
        if (delegate_) delegate_->outputChoiceChanged(this);
    } else if (!functionItemChilds_.isEmpty()) {
        // First run (or a remembered profile that is gone): apply the default profile.
        const int tag = config_.defaultTag <= functionItemChilds_.size() ? config_.defaultTag : 1;
        actionFunctionItemScrollChild(functionItemBtn_Childs_[tag - 1]);
    }
}

void OutputFormatBar::initFunctionItemView(int category) {
    const auto& keys = *config_.keys;
    functionItemTitle_ = functionList_.value(std::max(category - 1, 0));
    selectFunctionOfsetIndex_ = defaults().integerForKey(pageKeyForCategory(functionItemTitle_));
    selectItemIndex_ = defaults().integerForKey(keys.selectItemIndex);
    selectFunListItemIndex_ = defaults().integerForKey(keys.selectFunListItemIndex);
    functionItemChilds_ = config_.tree.getFunctionItemChildList(functionItemTitle_);

    if (functionItemScrollview_) {
        functionItemScrollview_->hide();
        functionItemScrollview_->deleteLater();
    }
    functionItemBtn_Childs_.clear();
    functionItemScrollview_ = new QScrollArea(this);
    functionItemScrollview_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    functionItemScrollview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    functionItemScrollview_->setFrameShape(QFrame::NoFrame);
    functionItemScrollview_->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: rgb(34, 39, 48); }"));
    auto* content = new QWidget;
    const int contentHeight = kRowHeight - 15;
    content->resize(std::max(1, pageCount()) * kPageSize * kButtonPitch, contentHeight);
    itemSelectView_ = new kestrel::widgets::ZorImageView(content);
    itemSelectView_->setTag(kSelectViewTag);
    itemSelectView_->setImageScaling(kestrel::widgets::ImageScaling::AxesIndependently);
    itemSelectView_->setImage(picture(QStringLiteral("Resources/selDVDItemBack.png")));
    itemSelectView_->hide();
    for (int i = 0; i < functionItemChilds_.size(); ++i) {
        const QString& name = functionItemChilds_[i];
        auto* button = new kestrel::widgets::ZorButton(content);
        button->setGeometry(i * kButtonPitch, 0, kButtonWidth, contentHeight);
        button->setTag(i + 1);
        // The picture shows the profile's kind; its name goes in a line of its own below it,
        // clear of the settings button's row.
        auto* nameLabel = new QLabel(button);
        nameLabel->setObjectName(QStringLiteral("profileNameLabel"));
        nameLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
        QFont nameFont = nameLabel->font();
        nameFont.setPointSize(kProfileNamePoints);
        nameLabel->setFont(nameFont);
        nameLabel->setAlignment(Qt::AlignCenter);
        nameLabel->setStyleSheet(QStringLiteral("QLabel { color: rgb(205, 214, 221); background: transparent; }"
                                                "QLabel:disabled { color: rgb(120, 126, 133); }"));
        const ProfileFaceLayout face = profileFaceLayout(nameFont, contentHeight, kSettingsButtonSize);
        nameLabel->setGeometry(0, face.nameTop, kButtonWidth, face.nameHeight);
        setFittedText(nameLabel, name, button);
        const QPixmap image = fitPictureHeight(QPixmap(config_.tree.picturePath(functionItemTitle_, name)), face.pictureMaxHeight);
        button->setNormalImage(image);
        button->setDownImage(image);
        button->setOnImage(image);
        button->setSelectedImage(image);
        button->setDisAbleImage(image);
        button->setImagePosition(image.isNull() ? kestrel::widgets::ImagePosition::NoImage : kestrel::widgets::ImagePosition::ImageAbove);
        button->setMouseDownAction([this](kestrel::widgets::ZorButton* clicked) { actionFunctionItemScrollChild(clicked); });
        button->setEnabled(choicesEnabled_);
        auto* settingsButton = new QPushButton(button);
        settingsButton->setGeometry(kButtonWidth - kSettingsButtonSize, contentHeight - kSettingsButtonSize, kSettingsButtonSize,
                                    kSettingsButtonSize);
        settingsButton->setProperty("tag", kSettingsButtonTag);
        settingsButton->setObjectName(QStringLiteral("settingsButton"));
        settingsButton->setFlat(true);
        settingsButton->setIcon(picture(QStringLiteral("Resources/setingParam.png")));
        settingsButton->setIconSize(QSize(22, 22));
        settingsButton->setEnabled(choicesEnabled_);
        settingsButton->hide();
        connect(settingsButton, &QPushButton::clicked, this, [this, settingsButton] { actionEditsetting(settingsButton); });
        functionItemBtn_Childs_.push_back(button);
    }
    functionItemScrollview_->setWidget(content);
    functionItemScrollview_->show();
    layoutTabs();

    const int tag = static_cast<int>(selectItemIndex_);
    if (tag >= 1 && tag <= functionItemChilds_.size() && selectFunListItemIndex_ == category) placeSelection(tag);
}

void OutputFormatBar::placeSelection(int tag) {
    for (kestrel::widgets::ZorButton* button : functionItemBtn_Childs_) {
        const bool chosen = button->tag() == tag;
        if (auto* settingsButton = button->findChild<QPushButton*>(QStringLiteral("settingsButton")))
            settingsButton->setVisible(chosen);
        if (!chosen) continue;
        itemSelectView_->setGeometry(button->geometry());
        itemSelectView_->show();
        itemSelectView_->lower();
        showHeaderTitle(functionItemChilds_.value(tag - 1));
    }
}

void OutputFormatBar::showHeaderTitle(const QString& profileName) {
    // With the arrow shown (small screens) the title centres in the part left of it.
    const int room = (showFunctionIconView_ ? kHeaderArrowX : kHeaderWidth) - 2 * kHeaderPadding;
    const QFont& font = showFunctionBtn_->font();
    const FittedText title = fitHeaderTitle(font, profileName, room);
    showFunctionBtn_->setContentTitle(title.shown);
    showFunctionBtn_->setToolTip(title.cut ? headerTitle(profileName) : QString());
    if (!showFunctionIconView_) return;
    const int width = static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(title.shown)));
    showFunctionBtn_->setTitlePosition(kestrel::widgets::ZorPosition(0, static_cast<float>(kHeaderPadding + (room - width) / 2), 0, 0));
}

void OutputFormatBar::checkLeft_fight_btn_isDisable(int pageCount) {
    // A stored page beyond the list (profiles removed) shows the last page.
    selectFunctionOfsetIndex_ = std::clamp<qint64>(selectFunctionOfsetIndex_, 0, std::max(pageCount - 1, 0));
    const bool leftOn = selectFunctionOfsetIndex_ >= 1;
    const bool rightOn = selectFunctionOfsetIndex_ + 1 < pageCount;
    left_move_item_Btn_->setIcon(picture(leftOn ? QStringLiteral("Resources/left_nor.png") : QStringLiteral("Resources/left_dis.png")));
    left_move_item_Btn_->setEnabled(leftOn);
    right_move_item_Btn_->setIcon(picture(rightOn ? QStringLiteral("Resources/right_nor.png") : QStringLiteral("Resources/right_dis.png")));
    right_move_item_Btn_->setEnabled(rightOn);
    defaults().setInteger(pageKeyForCategory(functionItemTitle_), selectFunctionOfsetIndex_);
    const float gap = (kRowWidth - 720) / 7.0f;
    const int x = static_cast<int>((gap + kButtonWidth) * kPageSize * selectFunctionOfsetIndex_);
    functionItemScrollview_->horizontalScrollBar()->setRange(0, std::max(0, functionItemScrollview_->widget()->width() - kRowWidth));
    functionItemScrollview_->horizontalScrollBar()->setValue(x);
}

void OutputFormatBar::action_left_move_item_Btn() {
    selectFunctionOfsetIndex_ = defaults().integerForKey(pageKeyForCategory(functionItemTitle_));
    if (selectFunctionOfsetIndex_ > 0) --selectFunctionOfsetIndex_;
    checkLeft_fight_btn_isDisable(pageCount());
}

void OutputFormatBar::action_right_move_item_Btn() {
    selectFunctionOfsetIndex_ = defaults().integerForKey(pageKeyForCategory(functionItemTitle_));
    if (selectFunctionOfsetIndex_ + 1 < pageCount()) ++selectFunctionOfsetIndex_;
    checkLeft_fight_btn_isDisable(pageCount());
}

void OutputFormatBar::mouseupEntered(kestrel::widgets::MouseMoveButton* button) {
    if (button == left_move_item_Btn_) action_left_move_item_Btn();
    if (button == right_move_item_Btn_) action_right_move_item_Btn();
}

void OutputFormatBar::actionFunctionItemScrollChild(kestrel::widgets::ZorButton* profileButton) {
    const auto& keys = *config_.keys;
    const int tag = static_cast<int>(profileButton->tag());
    selectItemIndex_ = tag;
    defaults().setInteger(keys.selectItemIndex, tag);
    selectFunListItemIndex_ = functionList_.indexOf(functionItemTitle_) + 1;
    rememberCategory(keys, functionList_, functionItemTitle_);
    chosenCategory_ = functionItemTitle_;
    placeSelection(tag);
    // A new profile starts from its own values only.
    choice_.clear();
    removeStoredChoice(keys);
    setViewChildesPf(categoryPath(functionItemTitle_, functionItemChilds_.value(tag - 1)));
}

void OutputFormatBar::setViewChildesPf(const QString& path) {
    const OutputProfile profile = OutputProfile::read(path.isEmpty() ? config_.tree.defaultProfilePath() : path);
    choice_.applyProfile(profile, chosenIsAudio());
    choice_.removeSpaces();
    choice_.store(*config_.keys);
    if (delegate_) delegate_->outputChoiceChanged(this);
}

void OutputFormatBar::writeTarget(const MediaProperties& source, MediaProperties& target) const {
    writeTargetFromChoice(choice_, chosenIsAudio(), source, target);
}

void OutputFormatBar::actionEditsetting(QPushButton* settingsButton) {
    const auto* profileButton = qobject_cast<kestrel::widgets::ZorButton*>(settingsButton->parentWidget());
    if (!profileButton) return;
    const QString name = functionItemChilds_.value(static_cast<int>(profileButton->tag()) - 1);
    SettingWindowController dialog(window());
    dialog.setJoinner(config_.keys->joinner);
    dialog.setFileType(functionItemTitle_ == kAudioCategory ? 2 : 1);
    dialog.setPfPath(categoryPath(functionItemTitle_, name));
    // Each choice is stored by the dialog before it calls back: the bar's values follow it, so
    // the owner that writes its target from them now writes the new value.
    dialog.setSelectSettingCallbackBlock([this](int flag) {
        choice_.loadStored(*config_.keys);
        if (delegate_) delegate_->outputSettingChanged(this, flag);
    });
    dialog.setSettingCallbackBlock([this] {
        choice_.loadStored(*config_.keys);
        if (delegate_) delegate_->outputSettingsRestored(this);
    });
    dialog.displayViewChildes();
    const QRect area = window()->geometry();
    dialog.move(area.x() + (area.width() - dialog.width()) / 2, area.y() + (area.height() - dialog.height()) / 2);
    if (settingsRunner_) settingsRunner_(&dialog);
    // The dialog stored every choice; the bar's values follow them.
    choice_.loadStored(*config_.keys);
}

void OutputFormatBar::reloadProfiles() {
    if (!functionView_) return;
    const QString open = functionItemTitle_;
    functionList_ = config_.tree.categoriesWithCustom();
    // Keep pointing at the chosen category where the list moved it.
    rememberCategory(*config_.keys, functionList_, chosenCategory_);
    initfunctionView();
    if (function_Items_.empty()) return;
    const qsizetype at = std::max<qsizetype>(functionList_.indexOf(open), 0);
    actionFunctionItem(function_Items_[at]);
}

void OutputFormatBar::setChoicesEnabled(bool enabled) {
    choicesEnabled_ = enabled;
    for (kestrel::widgets::RDCustomButton* tab : function_Items_) tab->setEnabled(enabled);
    for (kestrel::widgets::ZorButton* button : functionItemBtn_Childs_) {
        button->setEnabled(enabled);
        if (auto* settingsButton = button->findChild<QPushButton*>(QStringLiteral("settingsButton"))) settingsButton->setEnabled(enabled);
    }
}

void OutputFormatBar::toggleCollapsed() {
    if (!collapsible()) return;
    const bool collapsed = !showFunctionBtn_->selected();
    showFunctionBtn_->setSelected(collapsed);
    if (showFunctionIconView_)
        showFunctionIconView_->setImage(picture(collapsed ? QStringLiteral("Resources/Extend.png") : QStringLiteral("Resources/shrink.png")));
    for (QWidget* view : {functionView_, static_cast<QWidget*>(functionItemScrollview_), static_cast<QWidget*>(left_move_item_Btn_),
                          static_cast<QWidget*>(right_move_item_Btn_)})
        if (view) view->setVisible(!collapsed);
    if (delegate_) delegate_->outputBarCollapseToggled(this, collapsed);
}

}  // namespace exportkit
