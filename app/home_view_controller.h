#pragma once
// The home screen: a header (application icon, title with version, home-page and About buttons,
// a description line) and twenty tool tiles. A tile opens its tool: it creates the tool's window,
// sets its options, asks for the input file where the tool needs one, and replaces the home
// window by the tool window. When a tool window closes, the home window comes back.
#include "app/tile_title.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

class QLabel;

namespace kestrel::widgets {
class ZorButton;
}  // namespace kestrel::widgets

namespace app {



class HomeViewController : public QWidget {
    Q_OBJECT
public:
    explicit HomeViewController(QWidget* parent = nullptr);

    // Re-titles and re-lays the header and re-titles every tile in the current language.
    void changeLanguage();
    // Sends the tile's action; a tag outside 1..20 does nothing.
    void subFunAction(const kestrel::widgets::ZorButton* tile);
    // The open panel: videos, plus audio and pictures when allowed (several files only with
    // pictures). The chosen files of an allowed kind; an empty list when cancelled.
    QStringList openFile(bool allowPictures, bool allowAudio);
    // Shows the home window again (a tool window is closing).
    void childEnable();
    // Opens the user guide installed with the program.
    void homepageAction();
    // Opens the About box over the home window; nothing without a sender.
    void aboutAction(const QObject* sender);
    // A one-button message over the home window.
    void showAlert();
    void showMessage(const QString& messageKey);

    // The twenty tool actions.
    void easy_cutterAction();
    void batch_cutterAction();
    void advanced_cutterAction();
    void joinnerAction();
    void cropAction();
    void watermarkAction();
    void subtitleAction();
    void addOrremovemusicAction();
    void effectAction();
    void speedAction();
    void rotateAction();
    void splitAction();
    void reverseAction();
    void HDAction();
    void collageAction();
    void gifAction();
    void snapshotAction();
    void converter3DAction();
    void beautyAction();

    QLabel* windowTitleLabel() const { return windowTitleLabel_; }
    QLabel* descLabel() const { return descLabel_; }
    QLabel* appIconView() const { return appIconView_; }
    kestrel::widgets::ZorButton* homepageBtn() const { return homepageBtn_; }
    kestrel::widgets::ZorButton* aboutBtn() const { return aboutBtn_; }
    QWidget* subFunView() const { return subFunView_; }
    // The tile with tag 1..20, and the label it carries.
    kestrel::widgets::ZorButton* tileWithTag(int tag) const;
    static TileTitle* tileLabel(const kestrel::widgets::ZorButton* tile);

Q_SIGNALS:
    // A tool was opened: its controller (the window itself for most tools) and its window.
    // The home screen keeps no reference to either.
    void toolOpened(QObject* controller, QWidget* toolWindow);

private:
    void buildHeader();
    void buildTiles();
    void styleTile(kestrel::widgets::ZorButton* tile, const QString& name);
    void layoutHeaderButtons();
    void showTagline();
    void openEditor(qint64 toolItemType, bool allowAudio, const QString& titleKey, bool magicEnhance = false);
    void openGif(qint64 tabState, const QString& titleKey);
    // Shows the tool window (fixed to size when given) and closes the home window.
    void showTool(QWidget* toolWindow, const QString& titleKey, std::optional<QSizeF> fixedSize);

    QLabel* windowTitleLabel_ = nullptr;
    QLabel* appIconView_ = nullptr;
    QLabel* descLabel_ = nullptr;
    kestrel::widgets::ZorButton* homepageBtn_ = nullptr;
    kestrel::widgets::ZorButton* aboutBtn_ = nullptr;
    QWidget* subFunView_ = nullptr;
};

}  // namespace app
