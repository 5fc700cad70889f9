#pragma once
// The reverse tool's content view. Until the tool itself lands it shows the file it was opened with;
// when its window is about to close it tells the home screen to come back.
#include <QString>
#include <QWidget>

class QLabel;

namespace reverse {

class ReverseViewController : public QWidget {
    Q_OBJECT
public:
    explicit ReverseViewController(QWidget* parent = nullptr);

    // The input path (empty when the opener's panel was cancelled).
    const QString& filePath() const { return filePath_; }
    void setFilePath(const QString& value) { filePath_ = value; }

    // Called by the hosting window while it is still on screen.
    void windowWillClose();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Reads what the opener handed over; runs at the first show.
    void viewDidLoad();

    QString filePath_;
    QLabel* infoLabel_ = nullptr;
    bool loaded_ = false;
};

}  // namespace reverse
