#pragma once
// The About box: the application's name and version, a line of text, a link to the home page,
// a link that writes a mail to the support address, and OK.
#include <QDialog>

class QLabel;

namespace widgets {
class ZorButton;
class ZorView;
}

namespace app {

class AboutUsWindowController : public QDialog {
    Q_OBJECT
public:
    explicit AboutUsWindowController(QWidget* parent = nullptr);

    QLabel* aboutTitleLabel() const { return aboutTitleLabel_; }
    QLabel* aboutVersionLabel() const { return aboutVersionLabel_; }
    QLabel* bottomContentLabel() const { return bottomContentLabel_; }
    widgets::ZorButton* middleLeftContentLabel() const { return middleLeftContentLabel_; }
    widgets::ZorButton* middleRightContentLabel() const { return middleRightContentLabel_; }
    widgets::ZorButton* okBtn() const { return okBtn_; }

    int runModal();

private:
    widgets::ZorView* contentBackView_ = nullptr;
    widgets::ZorView* topLine_ = nullptr;
    widgets::ZorView* bottomLine_ = nullptr;
    QLabel* aboutTitleLabel_ = nullptr;
    QLabel* aboutVersionLabel_ = nullptr;
    QLabel* bottomContentLabel_ = nullptr;
    widgets::ZorButton* middleLeftContentLabel_ = nullptr;
    widgets::ZorButton* middleRightContentLabel_ = nullptr;
    widgets::ZorButton* okBtn_ = nullptr;
};

}  // namespace app
