#pragma once
// The two-button modal alert. Every text it is given is a localisation key (a text that is no
// key shows unchanged), looked up again on each language change. The left button confirms and
// runs the caller's block; the right button and the close box only close.
#include <QDialog>
#include <QString>
#include <functional>

class QLabel;

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::widgets {

class AlertWindowController : public QDialog {
    Q_OBJECT
public:
    using LeftBtnClickCallbackBlock = std::function<void(bool)>;

    explicit AlertWindowController(QWidget* parent = nullptr);

    const QString& title() const { return title_; }
    void setTitle(const QString& key) { title_ = key; }
    const QString& message() const { return message_; }
    void setMessage(const QString& key) { message_ = key; }
    const QString& leftBtnTitle() const { return leftBtnTitle_; }
    void setLeftBtnTitle(const QString& key) { leftBtnTitle_ = key; }
    const QString& rightBtnTitle() const { return rightBtnTitle_; }
    void setRightBtnTitle(const QString& key) { rightBtnTitle_ = key; }
    void setLeftBtnClickCallbackBlock(LeftBtnClickCallbackBlock block) { leftBtnClickCallbackBlock_ = std::move(block); }

    QLabel* windowTitleLabel() const { return windowTitleLabel_; }
    QLabel* messageLabel() const { return messageLabel_; }
    kestrel::widgets::ZorButton* leftBtn() const { return leftBtn_; }
    kestrel::widgets::ZorButton* rightBtn() const { return rightBtn_; }

    // Shows the stored keys' texts in the current language.
    void changeLanguage();
    // Closes the alert and ends its modal run (a caller whose job ended meanwhile).
    void dissmiss();
    // Runs the alert modally; returns once a button or the close box ended it.
    int runModal();

private:
    // Widens a button whose title needs more than its 86 points.
    void fitButtons();
    QString title_, message_, leftBtnTitle_, rightBtnTitle_;
    LeftBtnClickCallbackBlock leftBtnClickCallbackBlock_;
    QLabel* bgImage_ = nullptr;
    QLabel* windowTitleLabel_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    kestrel::widgets::ZorButton* leftBtn_ = nullptr;
    kestrel::widgets::ZorButton* rightBtn_ = nullptr;
};

}  // namespace kestrel::widgets
