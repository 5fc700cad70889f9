#pragma once
// The window both single-clip tools (3D converter, face beauty) are built on: one file in an
// engine preview, play, pause, stop and volume, a cut range set at the play head, the tool's
// own panel, and the export to one file through the export dialog as one session job.
#include "export/ui/export_window_controller.h"
#include "session/export/single_clip/single_clip_export.h"
#include "session/preview/single_clip_preview.h"
#include "tools/shared/clip_range.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/tool_window.h"

#include <QPointer>
#include <memory>

class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class QVBoxLayout;

namespace exportkit {
class ExportSession;
}  // namespace exportkit

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::shared {

class ClipTimeFields;

class SingleClipFrame : public widgets::ToolWindow, public widgets::RDCutProgressViewDelegate {
    Q_OBJECT
public:
    // titleKey names the tool in the window title, panelKey captions its own panel.
    SingleClipFrame(QString titleKey, QString panelKey, QWidget* parent = nullptr);
    ~SingleClipFrame() override;

    const QString& videoPath() const { return videoPath_; }
    void setVideoPath(const QString& value) { videoPath_ = value; }
    // Loads another file into the preview; false (with the note shown) when it cannot be read.
    bool openFile(const QString& path);

    int64_t startUs() const { return range_.start_us; }
    int64_t endUs() const { return range_.end_us; }
    // Takes the range as given when it is one (inside the clip, never empty), else the nearest.
    void setRange(int64_t start_us, int64_t end_us);
    bool muted() const { return muted_; }
    session::SingleClipPreview& preview() { return *preview_; }

    // Outlets the tests drive.
    QPushButton* exportBtn = nullptr;
    QPushButton* playBtn = nullptr;
    QPushButton* stopBtn = nullptr;
    QPushButton* setStartBtn = nullptr;
    QPushButton* setEndBtn = nullptr;
    widgets::ZorButton* resetStartBtn = nullptr;
    widgets::ZorButton* resetEndBtn = nullptr;
    QPushButton* replaceFileBtn = nullptr;
    widgets::RDCutProgressView* cutBar = nullptr;
    ClipTimeFields* startTime = nullptr;
    ClipTimeFields* endTime = nullptr;
    widgets::ZorButton* volumeBtn = nullptr;
    QSlider* volumeSlider = nullptr;
    QLabel* startLabel = nullptr;
    QLabel* endLabel = nullptr;
    QLabel* rangeLabel = nullptr;
    QLabel* timeLabel = nullptr;
    QLabel* noteLabel = nullptr;
    // The export dialog while it is open (the test replaces its folder chooser).
    exportkit::ExportWindowController* exportDialog() const { return dialog_; }
    // The export job of the last press (null before the first).
    session::SingleClipExportJob* exportJob() const { return job_; }
    // Builds and starts the export to path, as the dialog's Start does.
    void startExport(const QString& path);

Q_SIGNALS:
    void exportEnded(const kestrel::session::JobResult& result);

protected:
    void windowDidLoad() override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

    // The tool's own panel, under its caption.
    QVBoxLayout* toolPanel() const { return toolPanel_; }
    // The file kinds the open panel offers; pictures only for the beauty tool.
    virtual bool acceptsPictures() const { return false; }
    // A file was loaded: the tool applies its effect to the new preview.
    virtual void mediaOpened() {}
    // The tool's part of the export settings; false (with a note) refuses the export.
    virtual bool fillExport(session::SingleClipExport& settings) { return true; }
    virtual void changeLanguage();
    // Shows a line under the preview (empty hides it).
    void showNote(const QString& text);

    // The cut bar's reports.
    void actionMouseDownForCutProgressViewBlock(widgets::RDCutProgressView* view, float progress) override;
    void actionSeekToTimeForCutProgressViewBlock(widgets::RDCutProgressView* view, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(widgets::RDCutProgressView* view, float startvalue, float stopvalue,
                                                 int64_t handleType) override;
    void actionMouseUpForCutProgressViewBlock(widgets::RDCutProgressView* view, float progress) override;

private:
    void buildViews();
    void playAction();
    void stopAction();
    void tick();
    void openExportDialog();
    void showRange();
    void applyRange(ClipRange range);
    // A time typed or stepped into the start or end fields: taken when the range stays one
    // (inside the clip, in order, not empty), else the fields show the range again. show moves
    // the play head there; a time committed because the focus went to another control leaves
    // the play head to that control (Set start and Set end read it).
    void timeChanged(bool start, int64_t time_us, bool show);
    void setStartAtPlayHead();
    void setEndAtPlayHead();
    void toggleMute();
    void showVolume();
    int64_t totalUs() const;
    bool isPicture(const QString& path) const;

    QString titleKey_, panelKey_;
    QString videoPath_;
    std::unique_ptr<session::SingleClipPreview> preview_;
    QWidget* playerArea_ = nullptr;
    QWidget* bottomBar_ = nullptr;
    QWidget* rangePanel_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* rangeCaption_ = nullptr;
    QLabel* panelCaption_ = nullptr;
    QVBoxLayout* toolPanel_ = nullptr;
    QTimer* timer_ = nullptr;
    bool playing_ = false;
    bool dragging_ = false;
    bool muted_ = false;
    double volume_ = 1.0;
    ClipRange range_;
    QPointer<exportkit::ExportWindowController> dialog_;
    std::unique_ptr<exportkit::ExportSession> session_;
    QPointer<session::SingleClipExportJob> job_;
};

// "hh:mm:ss.mmm" of a time in microseconds.
QString formatTime(int64_t us);
// The time of "hh:mm:ss.mmm" (also "mm:ss.mmm" or seconds) in microseconds; -1 when it is none.
int64_t parseTime(const QString& text);

}  // namespace kestrel::tools::shared
