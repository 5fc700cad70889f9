#pragma once
// The GIF maker: one window with three modes (a video range to an animated GIF, a video range to
// a numbered picture sequence, a list of photos to an animated GIF), a live preview with its cut
// bar, volume and mute, the range in two groups of time fields with steppers, the output size in
// pixels or as a percentage with the sides linked or not, the frame rate with steppers, the
// photo list, and the export through the shared export dialog.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "tools/gif/gif_size_rules.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/rd_text_field.h"
#include "widgets/volume_progress_slider.h"

class QLabel;
class QTimer;

namespace exportkit {
class ExportSession;
class StartExportWindowController;
}  // namespace exportkit
namespace kestrel::session {
class GifPreview;
class Job;
struct JobResult;
}  // namespace kestrel::session
namespace kestrel::tools::gif {
class GifPhotoGrid;
}
namespace kestrel::tools::shared {
class TimeFieldGroup;
}
namespace kestrel::widgets {
class XJGraphicButton;
class ZorButton;
}  // namespace kestrel::widgets

namespace gif {

class GIFViewController : public QWidget,
                          private kestrel::widgets::RDCutProgressViewDelegate,
                          private kestrel::widgets::VolumeProgressSliderDelegate,
                          private kestrel::widgets::RDTextFieldDelegate {
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
    int64_t durationUs() const { return durationUs_; }
    double fps(Mode mode) const;
    const kestrel::tools::gif::OutputSize& gifSize() const { return gifSize_; }
    const kestrel::tools::gif::OutputSize& pictureSize() const { return pictureSize_; }
    int64_t photoWidth() const { return photoWidth_; }
    int64_t photoHeight() const { return photoHeight_; }
    const QStringList& photos() const { return files_; }
    // The export dialog of the running or last export.
    exportkit::StartExportWindowController* exportDialog() const;
    bool exporting() const;
    // Read from the preview.
    int64_t previewPositionUs() const;
    int64_t previewTotalUs() const;
    bool previewPlaying() const;
    double volume() const { return volume_; }
    bool muted() const { return muted_; }

    // Outlets (the tests drive the window through them).
    QLabel* titleLabel = nullptr;
    kestrel::widgets::ZorButton* videotoGifBtn = nullptr;
    kestrel::widgets::ZorButton* videotoJpgBtn = nullptr;
    kestrel::widgets::ZorButton* photostoGifBtn = nullptr;
    QWidget* selectTabView = nullptr;
    QWidget* videoSetsView = nullptr;
    QWidget* photosSetsView = nullptr;
    kestrel::widgets::ZorButton* addFileBtn = nullptr;
    QLabel* videoSizeLabel = nullptr;  // tag 100
    QLabel* videoFpsLabel = nullptr;   // tag 200
    kestrel::tools::shared::TimeFieldGroup* startTextBgView = nullptr;
    kestrel::tools::shared::TimeFieldGroup* endTextBgView = nullptr;
    kestrel::widgets::ZorButton* startTimeUpBtn = nullptr;
    kestrel::widgets::ZorButton* startTimeDownBtn = nullptr;
    kestrel::widgets::ZorButton* stopTimeUpBtn = nullptr;
    kestrel::widgets::ZorButton* stopTimeDownBtn = nullptr;
    kestrel::widgets::XJGraphicButton* leftCutBtn = nullptr;
    kestrel::widgets::XJGraphicButton* rightCutBtn = nullptr;
    kestrel::widgets::XJGraphicButton* leftResetBtn = nullptr;
    kestrel::widgets::XJGraphicButton* rightResetBtn = nullptr;
    kestrel::widgets::ZorButton* pixelBtn = nullptr;
    kestrel::widgets::ZorButton* proportionBtn = nullptr;
    kestrel::widgets::ZorButton* linkBtn = nullptr;
    kestrel::widgets::RDTextField* outputSizeWidthField = nullptr;
    kestrel::widgets::RDTextField* outputSizeHeightField = nullptr;
    kestrel::widgets::RDTextField* outputFrameRateField = nullptr;
    kestrel::widgets::ZorButton* frameRateUpBtn = nullptr;
    kestrel::widgets::ZorButton* frameRateDownBtn = nullptr;
    kestrel::tools::gif::GifPhotoGrid* photoListView = nullptr;
    QWidget* fileShowMessageView = nullptr;
    kestrel::widgets::ZorButton* addPhotosBtn = nullptr;
    kestrel::widgets::ZorButton* addFolderBtn = nullptr;
    kestrel::widgets::ZorButton* pastePhotosBtn = nullptr;
    kestrel::widgets::ZorButton* deletePhotosBtn = nullptr;
    kestrel::widgets::ZorButton* clearPhotosBtn = nullptr;
    kestrel::widgets::RDTextField* photostoGif_SizeWidthField = nullptr;
    kestrel::widgets::RDTextField* photostoGif_SizeHeightField = nullptr;
    kestrel::widgets::RDTextField* photostoGif_FrameRateField = nullptr;
    kestrel::widgets::ZorButton* photostoGif_frameRateUpBtn = nullptr;
    kestrel::widgets::ZorButton* photostoGif_frameRateDownBtn = nullptr;
    QWidget* playBgView = nullptr;
    kestrel::widgets::RDCutProgressView* cutTimeSlider = nullptr;
    kestrel::widgets::VolumeProgressSlider* gifPlayerSlider = nullptr;
    kestrel::widgets::VolumeProgressSlider* volumeSlider = nullptr;
    kestrel::widgets::ZorButton* playBtn = nullptr;
    kestrel::widgets::ZorButton* playSelectBtn = nullptr;
    kestrel::widgets::ZorButton* stopBtn = nullptr;
    kestrel::widgets::ZorButton* volumeBtn = nullptr;
    QLabel* leftTimeTextField = nullptr;
    QLabel* middleTimeTextField = nullptr;
    QLabel* rightTimeTextField = nullptr;
    kestrel::widgets::ZorButton* exportBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Controls, layout and texts (gif_view_build.cpp).
    void buildViews();
    QWidget* buildTabs();
    QWidget* buildVideoSettings();
    QWidget* buildPhotoSettings();
    QWidget* buildPreviewColumn();
    void changeLanguage();

    // Life and modes (gif_view_controller.cpp).
    void viewDidLoad();
    void selectMode(Mode mode);
    void loadVideo(const QString& path);
    void addFileBtnAction();
    void endEditing();
    // A click schedules its action after 0.2 s; a second click meanwhile runs it once.
    void debounce(QTimer*& timer, void (GIFViewController::*action)());

    // Settings (gif_view_settings.cpp).
    void refreshOutputFields();
    void sizeTyped(bool width);
    void commitSizeField(bool width);
    void commitPhotoSizeField(bool width);
    void commitFpsField(kestrel::widgets::RDTextField* field, Mode mode);
    void stepFps(bool photos, int delta);
    void chooseUnit(bool pixels);
    void linkAction();
    void changeTime(bool startGroup, bool seek);
    void resetTextFields();
    void fieldPressed(QWidget* field);
    kestrel::tools::gif::OutputSize& videoSize();

    // Preview (gif_view_preview.cpp).
    void initPlayer();
    void initGifPlayer();
    void placePreview(bool shown);
    void pollPreview();
    void playAction(bool selectionOnly);
    void stopAction();
    void playFinished();
    void refreshPlayButtons();
    void volumeAction();
    void leftCutAction();
    void rightCutAction();
    void resetRange(bool startEnd);
    void showPosition(int64_t position_us);

    // Photos (gif_view_photos.cpp).
    void addPhotosAction();
    void addFolderAction();
    void addChosenPhotos(const QStringList& chosen);
    void copyPhotosAction();
    void deletePhotosAction();
    void clearPhotosAction();
    void photoPressed(int index);
    void photoMoved(int from, int to);
    void photosChanged(int selected);
    void seekToSelectedPhoto();

    // Export (gif_view_export.cpp).
    void exportBtnAction();
    void exportAction(exportkit::StartExportWindowController* dialog, const QString& outputPath);
    void jobFinished(const kestrel::session::JobResult& result);

    void actionMouseDownForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float) override;
    void actionSeekToTimeForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float startvalue, float stopvalue,
                                                 int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(kestrel::widgets::RDCutProgressView*, float progress) override;
    void actionMouseDownForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionProgressForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionMouseUpForProgressSliderBlock(kestrel::widgets::VolumeProgressSlider* slider, float progress) override;
    void actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) override;

    QString videoPath_;
    qint64 tabState_ = 0;
    bool loaded_ = false;
    Mode mode_ = Mode::VideoToGif;
    int64_t durationUs_ = 0;
    int64_t startUs_ = 0, endUs_ = 0;
    double vtoGifFps_ = 10, vtoJpgFps_ = 10, ptoGifFps_ = 10;
    kestrel::tools::gif::OutputSize gifSize_, pictureSize_;
    int64_t photoWidth_ = 0, photoHeight_ = 0;
    QStringList files_;
    int selectedPhoto_ = -1;
    bool playingSelection_ = false;
    // A press on the cut bar pauses a playing preview until the release.
    bool resumeAfterSeek_ = false;
    double volume_ = 1.0;
    bool muted_ = false;

    QTimer* previewTimer_ = nullptr;
    QTimer* addFileTimer_ = nullptr;
    QTimer* addPhotosTimer_ = nullptr;
    QTimer* exportTimer_ = nullptr;
    QWidget* previewView_ = nullptr;
    // The info section's caption and its two row captions.
    QList<QLabel*> captions_;
    QLabel* cutTimeRangeLabel_ = nullptr;
    QLabel* startLabel_ = nullptr;
    QLabel* endLabel_ = nullptr;
    QLabel* outputsetsLabel_ = nullptr;
    QLabel* resetsizeLabel_ = nullptr;
    QLabel* horizontalLabel_ = nullptr;
    QLabel* verticalLabel_ = nullptr;
    QLabel* outputFrameRateLabel_ = nullptr;
    QLabel* photoSizeLabel_ = nullptr;
    QLabel* photoFrameRateLabel_ = nullptr;
    QLabel* photoHintLabel_ = nullptr;
    std::unique_ptr<kestrel::session::GifPreview> preview_;
    QPointer<exportkit::StartExportWindowController> exportDialog_;
    std::unique_ptr<exportkit::ExportSession> exportSession_;
    QPointer<kestrel::session::Job> job_;
    QString jobOutput_;
};

}  // namespace gif
