#pragma once
// The task-finished alert: application icon, title, message, Open and Close. The caller's block
// gets 1 for Open and 0 for Close; closing the window from its title bar counts as Close. The
// block is called once, then the alert closes and its modal run ends.
#include <QDialog>
#include <QString>
#include <functional>

class QLabel;

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::widgets {

class ZorOpenAlert : public QDialog {
    Q_OBJECT
public:
    using SelectedOkBlock = std::function<void(qint64)>;

    explicit ZorOpenAlert(QWidget* parent = nullptr);

    // Key (or text) of the title line; empty shows "Title".
    const QString& windowTitleText() const { return windowTitle_; }
    void setWindowTitleText(const QString& key) { windowTitle_ = key; }
    // Key of the message; empty shows "InformationLabelTitle".
    const QString& infomation() const { return infomation_; }
    void setInfomation(const QString& key) { infomation_ = key; }
    void setSelectedOkBlock(SelectedOkBlock block) { selectedOkBlock_ = std::move(block); }

    QLabel* windowTitleLabel() const { return windowTitleLabel_; }
    QLabel* titleLabel() const { return titleLabel_; }
    kestrel::widgets::ZorButton* openBtn() const { return openBtn_; }
    kestrel::widgets::ZorButton* okBtn() const { return okBtn_; }

    // Runs the alert modally; answers 1 for Open, 0 for Close.
    int runModal();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Takes the texts of the moment the alert first shows.
    void windowDidLoad();
    void answer(qint64 choice);

    QString windowTitle_, infomation_;
    SelectedOkBlock selectedOkBlock_;
    QLabel* appIconView_ = nullptr;
    QLabel* windowTitleLabel_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    kestrel::widgets::ZorButton* openBtn_ = nullptr;
    kestrel::widgets::ZorButton* okBtn_ = nullptr;
    bool loaded_ = false;
    bool answered_ = false;
};

}  // namespace kestrel::widgets
