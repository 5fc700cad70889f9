#pragma once
// The export dialog with output format and quality, used by the reverse tool (format and
// quality menus, output named after the input) and the GIF maker (date name, ".gif").
#include "export/ui/export_dialog_base.h"
#include "widgets/menu_item_view.h"

#include <QStringList>

class QMenu;

namespace exportkit {

class StartExportWindowController : public ExportDialogBase, public kestrel::widgets::MenuItemViewDelegate {
    Q_OBJECT
public:
    enum MenuType { kFormatMenu = 1, kQualityMenu = 2 };

    explicit StartExportWindowController(QWidget* parent = nullptr);

    bool isReverse() const { return isReverse_; }
    void setIsReverse(bool reverse) { isReverse_ = reverse; }
    bool isAudioInput() const { return isAudioInput_; }
    void setIsAudioInput(bool audio) { isAudioInput_ = audio; }
    bool isExportGif() const { return isExportGif_; }
    void setIsExportGif(bool gif) { isExportGif_ = gif; }
    // The GIF maker's picture export: the proposed name ends in ".jpg".
    bool isExportJpg() const { return isExportJpg_; }
    void setIsExportJpg(bool jpg) { isExportJpg_ = jpg; }
    // 0 high, 1 normal (the start value), 2 low.
    int qualityMenuIndex() const { return qualityMenuIndex_; }
    int mainMenuIndex() const { return mainMenuIndex_; }
    // The format list: the localised "Original", then the extensions offered.
    const QStringList& allowedOutputTypes() const { return allowedOutputTypes_; }

    void changeLanguage() override;
    void startExport() override;
    void openfileAction() override;
    void jobEnded() override;
    // A row of one of the menus was chosen.
    void menuClicked(int menuType, int index);
    void menuClicked(kestrel::widgets::MenuItemView* view, qint64 index) override;
    void mouseEntered(kestrel::widgets::MenuItemView* view, qint64 index) override;
    void mouseExited(kestrel::widgets::MenuItemView* view, qint64 index) override;
    QMenu* addOutputMenu();
    QMenu* addQualityMenu();

    kestrel::widgets::ZorButton* outputFormatBtn = nullptr;
    kestrel::widgets::ZorButton* qualityBtn = nullptr;
    QLabel* outputFormatLabel = nullptr;
    QLabel* qualityLabel = nullptr;
    QWidget* formatRow = nullptr;

protected:
    void buildOwnViews() override;
    void layoutCaptionColumn() override;

private:
    void setMenusEnabled(bool enabled);
    // "   <text>  ▾"; showMenuCaption cuts text to the button and puts it whole in the tooltip.
    static QString menuCaption(const QString& text);
    void showMenuCaption(kestrel::widgets::ZorButton* button, const QString& text);
    QStringList qualityTitles() const;
    QMenu* buildMenu(MenuType type, const QStringList& rows, int chosen);

    bool isReverse_ = false;
    bool isAudioInput_ = false;
    bool isExportGif_ = false;
    bool isExportJpg_ = false;
    int qualityMenuIndex_ = 1;
    int mainMenuIndex_ = 0;
    QStringList allowedOutputTypes_;
};

// The reverse tool's formats: audio inputs get the audio formats only.
QStringList reverseOutputFormats(bool audioInput);

}  // namespace exportkit
