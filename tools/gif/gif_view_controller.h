#pragma once
// The GIF maker: one window with three modes (a video range to an animated GIF, a video range to
// a numbered picture sequence, a list of photos to an animated GIF), a live preview, the cut
// range, the output size in pixels or as a percentage with the sides linked or not, the frame
// rate, and the export through the shared export dialog.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "tools/gif/gif_size_rules.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;
class QTimeEdit;
class QTimer;
class QVBoxLayout;

namespace exportkit {
class ExportSession;
class StartExportWindowController;
}
namespace kestrel::session {
class GifPreview;
class Job;
struct JobResult;
}
namespace kestrel::tools::gif {
class GifPhotoList;
}

namespace gif {

class GIFViewController : public QWidget {
    Q_OBJECT
public:
    enum class Mode { VideoToGif, VideoToPictures, PhotosToGif };

    explicit GIFViewController(QWidget* parent = nullptr);
    ~GIFViewController() override;

    // The input video path, handed over before the view is first shown.
    const QString& videoPath() const { return videoPath_; }
    void setVideoPath(const QString& value) { videoPath_ = value; }
    // The opening tab: 0 video to GIF, 1 photos to GIF, -1 video to picture.
    qint64 tabState() const { return tabState_; }
    void setTabState(qint64 value) { tabState_ = value; }

    // Called by the hosting window while it is still on screen.
    void windowWillClose();

    Mode mode() const { return mode_; }
    // How an export dialog is run; by default modally over this view. Tests show it instead.
    using DialogRunner = std::function<void(exportkit::StartExportWindowController* dialog, QWidget* owner)>;
    static void setDialogRunner(DialogRunner runner);

    // The cut range of the video modes, in microseconds.
    int64_t startUs() const { return startUs_; }
    int64_t endUs() const { return endUs_; }
    double fps(Mode mode) const;
    const kestrel::tools::gif::OutputSize& gifSize() const { return gifSize_; }
    const kestrel::tools::gif::OutputSize& pictureSize() const { return pictureSize_; }
    int64_t photoWidth() const { return photoWidth_; }
    int64_t photoHeight() const { return photoHeight_; }
    // The export dialog of the running or last export.
    exportkit::StartExportWindowController* exportDialog() const;
    bool exporting() const;
    // The preview's playhead and whether it plays.
    int64_t previewPositionUs() const;
    bool previewPlaying() const { return playing_; }

    // Outlets (the tests drive the window through them).
    QPushButton* videotoGifBtn = nullptr;
    QPushButton* videotoJpgBtn = nullptr;
    QPushButton* photostoGifBtn = nullptr;
    QPushButton* addFileBtn = nullptr;
    QPushButton* addPhotosBtn = nullptr;
    QPushButton* deletePhotosBtn = nullptr;
    QPushButton* clearPhotosBtn = nullptr;
    QPushButton* exportBtn = nullptr;
    QPushButton* playBtn = nullptr;
    QPushButton* playSelectBtn = nullptr;
    QPushButton* stopBtn = nullptr;
    QPushButton* setStartBtn = nullptr;
    QPushButton* setEndBtn = nullptr;
    QPushButton* linkBtn = nullptr;
    QRadioButton* pixelBtn = nullptr;
    QRadioButton* proportionBtn = nullptr;
    QTimeEdit* startTimeEdit = nullptr;
    QTimeEdit* endTimeEdit = nullptr;
    QLineEdit* outputSizeWidthField = nullptr;
    QLineEdit* outputSizeHeightField = nullptr;
    QLineEdit* outputFrameRateField = nullptr;
    QLineEdit* photostoGif_SizeWidthField = nullptr;
    QLineEdit* photostoGif_SizeHeightField = nullptr;
    QLineEdit* photostoGif_FrameRateField = nullptr;
    kestrel::tools::gif::GifPhotoList* photoList = nullptr;
    QSlider* positionSlider = nullptr;
    QLabel* timeLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QLabel* photoHintLabel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Reads what the opener handed over; runs at the first show.
    void viewDidLoad();
    void buildViews();
    void changeLanguage();
    void selectMode(Mode mode);
    void loadVideo(const QString& path);
    void refreshOutputFields();
    void refreshResult();
    // The video's name, cut in the middle when it does not fit (whole in the tool tip).
    void showVideoName();
    void commitSizeField(bool width);
    void commitPhotoSizeField(bool width);
    void commitFpsField(QLineEdit* field, Mode mode);
    void commitTimes();
    void rebuildPreview();
    void pollPreview();
    void playAction(bool selectionOnly);
    void stopAction();
    void addFileBtnAction();
    void addPhotosAction();
    void photosChanged();
    void exportBtnAction();
    void exportAction(exportkit::StartExportWindowController* dialog, const QString& outputPath);
    void jobFinished(const kestrel::session::JobResult& result);
    kestrel::tools::gif::OutputSize& videoSize();
    // A click schedules its action after 0.2 s; a second click meanwhile runs it once.
    void debounce(QTimer*& timer, void (GIFViewController::*action)());

    QString videoPath_;
    qint64 tabState_ = 0;
    bool loaded_ = false;
    Mode mode_ = Mode::VideoToGif;
    int64_t durationUs_ = 0;
    int64_t startUs_ = 0, endUs_ = 0;
    double vtoGifFps_ = 10, vtoJpgFps_ = 10, ptoGifFps_ = 10;
    kestrel::tools::gif::OutputSize gifSize_, pictureSize_;
    int64_t photoWidth_ = 300, photoHeight_ = 300;
    bool playing_ = false, playingSelection_ = false;

    QButtonGroup* tabs_ = nullptr;
    QStackedWidget* settingsStack_ = nullptr;
    QWidget* previewHost_ = nullptr;
    QVBoxLayout* previewLayout_ = nullptr;
    QWidget* previewView_ = nullptr;
    QLabel* cutTimeRangeLabel_ = nullptr;
    QLabel* startLabel_ = nullptr;
    QLabel* endLabel_ = nullptr;
    QLabel* outputsetsLabel_ = nullptr;
    QLabel* horizontalLabel_ = nullptr;
    QLabel* verticalLabel_ = nullptr;
    QLabel* outputFrameRateLabel_ = nullptr;
    QLabel* photoSizeLabel_ = nullptr;
    QLabel* photoWidthLabel_ = nullptr;
    QLabel* photoHeightLabel_ = nullptr;
    QLabel* photoFrameRateLabel_ = nullptr;
    QLabel* videoNameLabel_ = nullptr;
    QLabel* resultTitleLabel_ = nullptr;
    QLabel* resultLabel_ = nullptr;
    QTimer* previewTimer_ = nullptr;
    QTimer* addFileTimer_ = nullptr;
    QTimer* addPhotosTimer_ = nullptr;
    QTimer* exportTimer_ = nullptr;
    std::unique_ptr<kestrel::session::GifPreview> preview_;
    QPointer<exportkit::StartExportWindowController> exportDialog_;
    std::unique_ptr<exportkit::ExportSession> exportSession_;
    QPointer<kestrel::session::Job> job_;
    QString jobOutput_;
};

}  // namespace gif
