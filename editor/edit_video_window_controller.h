#pragma once
// The advanced editor: one window on one input file, opened by the home tiles with a tool
// type that picks the panel shown first. The opener keeps no reference: the controller lives
// while its window is open and deletes itself once the window has closed.
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>

class QWidget;

class EditVideoWindowController : public QObject {
    Q_OBJECT
public:
    // Tool types; the window holds exactly one of them at a time.
    enum ToolItemType : int64_t {
        kToolTrim = 1,
        kToolRotate = 2,
        kToolCrop = 4,
        kToolEffect = 8,
        kToolWatermark = 16,
        kToolSubtitle = 32,
        kToolMusic = 64,
    };

    explicit EditVideoWindowController(int64_t toolItemType = 0, QObject* parent = nullptr);
    ~EditVideoWindowController() override;

    // Set by the opener before the window is first asked for.
    void setToolItemType(int64_t type);
    int64_t toolItemType() const;
    int64_t oldToolItemType() const;
    void setIsMagicEnhance(bool on);
    bool isMagicEnhance() const;
    void setFilePath(const QString& path);
    QString filePath() const;

    // The window; the first call builds it and runs the set-up (which loads filePath()).
    QWidget* window();
    // Centres the window, gives it the title and brings it to the front.
    void showWindow(const QString& title = QString());
    // Closes the window; its close stops the preview and posts "WillCloseNotification".
    void closeAction();

private:
    struct State;
    State* d_;
};
