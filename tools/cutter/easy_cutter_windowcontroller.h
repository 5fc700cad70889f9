#pragma once
// The easy cutter's window. Until the cutter itself lands it shows the file it was opened
// with; closing it brings the home screen back.
#include <QString>
#include <QWidget>

class QLabel;

namespace cutter {

class EasyCutterWindowcontroller : public QWidget {
    Q_OBJECT
public:
    explicit EasyCutterWindowcontroller(QWidget* parent = nullptr);

    // The input path, handed over by the opener before the window is first shown.
    const QString& filePath() const { return filePath_; }
    void setFilePath(const QString& value) { filePath_ = value; }

protected:
    void showEvent(QShowEvent* event) override;
    // Tells the home screen to come back while this window is still on screen.
    void closeEvent(QCloseEvent* event) override;

private:
    // Reads what the opener handed over; runs at the first show.
    void windowDidLoad();

    QString filePath_;
    QLabel* infoLabel_ = nullptr;
    bool loaded_ = false;
};

}  // namespace cutter
