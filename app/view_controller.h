#pragma once
// The earlier form of the home screen: eleven tool buttons, a description line, About and
// home-page buttons and a language pop-up. A tool button opens its tool window and disables the
// buttons until a tool window closes. The split button asks for a file and opens the splitter.
#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;

namespace kestrel::widgets {
class ZorButton;
class ZorImageView;
}  // namespace kestrel::widgets

namespace app {

class ViewController : public QWidget {
    Q_OBJECT
public:
    explicit ViewController(QWidget* parent = nullptr);

    // Re-titles the window, the header buttons and every tool button's label.
    void viewDidLayout();
    void langeuageAction();
    void enable(bool enabled);
    void childEnable();
    void aboutAction(const QObject* sender);

    void cropAction();
    void effectAction();
    void subtitleAction();
    void watermarkAction();
    void joinnerAction();
    void easy_cutterAction();
    void batch_cutterAction();
    void advanced_cutterAction();
    void rotateAction();
    void addOrremovemusicAction();
    void splitAction();

    // The chosen file's path (videos and audio), or an empty string when cancelled.
    QString openFile();

    QLabel* descLabel1() const { return descLabel1_; }
    QComboBox* langeuagePopBtn() const { return langeuagePopBtn_; }
    kestrel::widgets::ZorButton* aboutButton() const { return aboutButton_; }
    kestrel::widgets::ZorButton* homepageButton() const { return homepageButton_; }
    // The eleven tool buttons, in the order of enable: (crop first, music last).
    const std::vector<kestrel::widgets::ZorButton*>& toolButtons() const { return toolButtons_; }
    kestrel::widgets::ZorButton* splitButton() const { return toolButtons_.at(6); }
    static QLabel* buttonLabel(const kestrel::widgets::ZorButton* button);

private:
    void buildToolButtons();
    void initButtonTitle();
    void openEditor(qint64 toolItemType, const QString& titleKey);
    // Centres, titles and shows the tool window; the buttons wait until it closes.
    void showTool(QWidget* toolWindow, const QString& titleKey);

    kestrel::widgets::ZorImageView* backImageView_ = nullptr;
    QLabel* descLabel1_ = nullptr;
    kestrel::widgets::ZorButton* aboutButton_ = nullptr;
    kestrel::widgets::ZorButton* homepageButton_ = nullptr;
    QComboBox* langeuagePopBtn_ = nullptr;
    std::vector<kestrel::widgets::ZorButton*> toolButtons_;
};

}  // namespace app
