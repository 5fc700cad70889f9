#pragma once
// The About box: the application's name and version, a line of text, a link to the user guide,
// a link that writes a mail to the support address (when the build has one), and OK.
#include <QDialog>

class QLabel;

namespace kestrel::widgets {
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
    kestrel::widgets::ZorButton* middleLeftContentLabel() const { return middleLeftContentLabel_; }
    kestrel::widgets::ZorButton* middleRightContentLabel() const { return middleRightContentLabel_; }
    kestrel::widgets::ZorButton* okBtn() const { return okBtn_; }

    int runModal();

private:
    kestrel::widgets::ZorView* contentBackView_ = nullptr;
    kestrel::widgets::ZorView* topLine_ = nullptr;
    kestrel::widgets::ZorView* bottomLine_ = nullptr;
    QLabel* aboutTitleLabel_ = nullptr;
    QLabel* aboutVersionLabel_ = nullptr;
    QLabel* bottomContentLabel_ = nullptr;
    kestrel::widgets::ZorButton* middleLeftContentLabel_ = nullptr;
    kestrel::widgets::ZorButton* middleRightContentLabel_ = nullptr;
    kestrel::widgets::ZorButton* okBtn_ = nullptr;
};

}  // namespace app
