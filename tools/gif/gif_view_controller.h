#pragma once
// The GIF maker's content view. Until the tool itself lands it shows the file it was opened with;
// when its window is about to close it tells the home screen to come back.
#include <QString>
#include <QWidget>

class QLabel;

namespace gif {

class GIFViewController : public QWidget {
    Q_OBJECT
public:
    explicit GIFViewController(QWidget* parent = nullptr);

    // The input video path, handed over before the view is first shown.
    const QString& videoPath() const { return videoPath_; }
    void setVideoPath(const QString& value) { videoPath_ = value; }
    // The opening tab: 0 video to GIF, 1 photos to GIF, -1 video to picture.
    qint64 tabState() const { return tabState_; }
    void setTabState(qint64 value) { tabState_ = value; }

    // Called by the hosting window while it is still on screen.
    void windowWillClose();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Reads what the opener handed over; runs at the first show.
    void viewDidLoad();

    QString videoPath_;
    qint64 tabState_ = 0;
    QLabel* infoLabel_ = nullptr;
    bool loaded_ = false;
};

}  // namespace gif
