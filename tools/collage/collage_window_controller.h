#pragma once
// The split-screen collage maker: a layout of cells over a live engine preview, each cell taking
// a video or a picture by drop or open panel, with pan, turn, mirror, trim, crop and volume per
// cell, an aspect ratio, a border of chosen width and colour, a colour filter, background music,
// two play orders, and the export to one MP4 file as a job.
#include "export/ui/export_window_controller.h"
#include "session/edit/collage_composition.h"
#include "tools/collage/split_type_reader.h"
#include "widgets/tool_window.h"
#include "widgets/volume_progress_slider.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;

namespace exportkit {
class ExportSession;
}  // namespace exportkit

namespace kestrel::session {
class CollagePreview;
class CollageExportJob;
struct JobResult;
}  // namespace kestrel::session

namespace kestrel::tools::collage {

class CollageCellView;

class CollageWindowController : public widgets::ToolWindow, public widgets::VolumeProgressSliderDelegate {
    Q_OBJECT
public:
    explicit CollageWindowController(QWidget* parent = nullptr);
    ~CollageWindowController() override;

    // Asks for the border colour; tests replace it. The default is the colour dialog.
    using ColorChooser = std::function<QColor(const QColor& current)>;
    void setColorChooser(ColorChooser chooser) { colorChooser_ = std::move(chooser); }
    // Alerts about files a cell cannot take; tests replace it.
    using Alert = std::function<void(QWidget* parent, const QString& text)>;
    void setAlert(Alert alert) { alert_ = std::move(alert); }

    // State.
    const QList<CollageCellView*>& cellViews() const { return cells_; }
    int layoutIndex() const { return layoutIndex_; }
    int aspectIndex() const { return aspectIndex_; }
    int selectedCell() const { return selected_; }
    float borderWidth() const { return borderWidth_; }
    QColor borderColor() const { return borderColor_; }
    const QString& borderPath() const { return borderPath_; }
    session::CollageSpec spec() const;
    session::CollagePreview* preview() const { return preview_.get(); }
    exportkit::ExportWindowController* exportDialog() const { return dialog_; }
    bool exporting() const;
    const QString& lastWrittenPath() const { return lastWritten_; }
    QWidget* playerFrame() const { return playerFrame_; }

    // Puts a file into a cell (a drop, the open panel or the replace tool); false with an alert
    // when the file holds no picture.
    bool loadFile(int cell, const QString& path);
    // The filter chosen in the filter window: a table path and its name; empty path: none.
    void applyFilter(const QString& lookupPath, const QString& name);
    // The music and the used part of it (microseconds; duration 0: to its end).
    void setMusic(const QString& path, int64_t start_us, int64_t duration_us);
    // The trim window's result for one cell.
    void applyCellTrim(int cell, int64_t start_us, int64_t duration_us, const session::CellEdges& crop, float volume);

    // Controls, for the window's tests.
    QListWidget* layoutList = nullptr;
    QComboBox* aspectBox = nullptr;
    QSlider* borderWidthSlider = nullptr;
    QLabel* borderWidthText = nullptr;
    QPushButton* resetBorderWidthBtn = nullptr;
    QPushButton* borderColorBtn = nullptr;
    QPushButton* resetBorderColorBtn = nullptr;
    QRadioButton* simultaneousBtn = nullptr;
    QRadioButton* sequentialBtn = nullptr;
    QComboBox* filterBox = nullptr;
    QComboBox* musicBox = nullptr;
    QPushButton* cutMusicBtn = nullptr;
    QPushButton* rotateBtn = nullptr;
    QPushButton* mirrorHorizontalBtn = nullptr;
    QPushButton* mirrorVerticalBtn = nullptr;
    QPushButton* trimBtn = nullptr;
    QPushButton* replaceBtn = nullptr;
    QPushButton* deleteBtn = nullptr;
    QPushButton* previousCellBtn = nullptr;
    QPushButton* playBtn = nullptr;
    QPushButton* stopBtn = nullptr;
    QPushButton* nextCellBtn = nullptr;
    widgets::VolumeProgressSlider* positionSlider = nullptr;
    QLabel* timeLabel = nullptr;
    QPushButton* volumeBtn = nullptr;
    QSlider* volumeSlider = nullptr;
    QPushButton* zoomBtn = nullptr;
    QPushButton* exportBtn = nullptr;

    // The sub-windows while open (tests drive them).
    QWidget* openSubWindow() const { return subWindow_; }

protected:
    void windowDidLoad() override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

    // The position slider: held, it pauses a playing preview; moved, the preview shows the whole
    // second under the knob; let go, a playing preview goes on from there.
    void actionMouseDownForProgressSliderBlock(widgets::VolumeProgressSlider* slider, float progress) override;
    void actionProgressForProgressSliderBlock(widgets::VolumeProgressSlider* slider, float progress) override;
    void actionMouseUpForProgressSliderBlock(widgets::VolumeProgressSlider* slider, float progress) override;

private:
    void buildViews();
    QWidget* buildLeftPanel();
    QWidget* buildCentre();
    void changeLanguage();
    void styleControls();

    // Layouts, aspect, border.
    void fillLayoutList();
    void chooseLayout(int index);
    void chooseAspect(int index);
    void redrawBorder();
    void setBorderWidth(float width);
    void setBorderColor(const QColor& color);

    // Cells.
    void makeCells();
    void placeCells();
    void selectCell(int index);
    void openPanelForCell(int index);
    void resetClip(CollageCellView* cell);
    void panCell(int index, QPoint offset);
    void rotateCell();
    void mirrorCell(bool horizontal);
    void deleteCell();
    void openTrimWindow();

    // Composition and transport.
    void rebuildPreview();
    void recreatePreview();
    void scheduleRebuild();
    void updateEnabling();
    void setPlaying(bool playing);
    void togglePlay();
    void stopPlay();
    void tick();
    void seekToWholeSecond(double fraction);
    void showPosition(int64_t position_us);
    void showTime(int64_t position_us);
    void toggleFullScreen();
    // A sub-window opened while the preview played: it plays on when the window goes.
    void pauseForSubWindow(QWidget* window);
    void stepCell(int step);
    void setVolume(float volume);

    // Filter and music menus.
    void fillFilterBox();
    void filterChosen(int index);
    void openFilterWindow();
    void fillMusicBox();
    void musicChosen(int index);
    void openMusicTrimWindow();

    // Export.
    void exportAction();
    void startExport(const QString& proposedPath);
    void exportFinished(const session::JobResult& result);

    QList<Layout> layouts_;
    QList<CollageCellView*> cells_;
    QList<CollageCellView*> setAside_;   // cells of the previous layout, reused by position
    int layoutIndex_ = 0;
    int aspectIndex_ = 0;
    int selected_ = 0;
    float borderWidth_ = 4.0f;
    QColor borderColor_ = QColor(195, 197, 201);
    QString borderPath_;
    bool sequential_ = false;
    QString lookupPath_, lookupName_;
    std::optional<session::CollageMusic> music_;
    bool musicOn_ = false;   // "none" switches the music off and keeps it in the menu
    float volume_ = 1.0f;
    bool muted_ = false;
    session::CellEdges panBase_;

    QWidget* playerArea_ = nullptr;
    QWidget* playerFrame_ = nullptr;
    QPointer<QWidget> engineView_;
    std::unique_ptr<session::CollagePreview> preview_;
    QTimer* playTimer_ = nullptr;
    QTimer* rebuildTimer_ = nullptr;
    bool draggingPosition_ = false;
    bool playAfterDrag_ = false;
    QSize normalMinimum_, normalMaximum_;   // the window's size limits outside full screen
    bool updatingControls_ = false;
    QList<QLabel*> captions_;

    QPointer<exportkit::ExportWindowController> dialog_;
    std::unique_ptr<exportkit::ExportSession> session_;
    QPointer<session::CollageExportJob> job_;
    QString lastWritten_;
    QPointer<QWidget> subWindow_;

    ColorChooser colorChooser_;
    Alert alert_;
};

}  // namespace kestrel::tools::collage

// The name the home screen opens.
namespace collage {
using CollageWindowController = kestrel::tools::collage::CollageWindowController;
}
