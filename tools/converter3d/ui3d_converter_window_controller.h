#pragma once
// The 3D converter's window, sized by the opener. Until the converter itself lands it shows the
// file it was opened with; closing it brings the home screen back.
#include <QString>
#include <QWidget>

class QLabel;

namespace converter3d {

class UI3DConverterWindowController : public QWidget {
    Q_OBJECT
public:
    explicit UI3DConverterWindowController(QWidget* parent = nullptr);

    // The input path, handed over by the opener before the window is first shown.
    const QString& videoPath() const { return videoPath_; }
    void setVideoPath(const QString& value) { videoPath_ = value; }

protected:
    void showEvent(QShowEvent* event) override;
    // Tells the home screen to come back while this window is still on screen.
    void closeEvent(QCloseEvent* event) override;

private:
    // Reads what the opener handed over; runs at the first show.
    void windowDidLoad();

    QString videoPath_;
    QLabel* infoLabel_ = nullptr;
    bool loaded_ = false;
};

}  // namespace converter3d
