#pragma once
// The one way an owning tool drives an export dialog through a job, so that every outcome
// (finished, failed with a code or a message, stopped) leaves the running state and offers
// the right buttons.
#include <QString>
#include <functional>

class QWidget;

namespace exportkit {

class ExportDialogBase;

class ExportSession {
public:
    // Shows a failure to the user (an alert by default; tests replace it).
    using FailureAlert = std::function<void(QWidget* parent, const QString& text)>;

    explicit ExportSession(ExportDialogBase* dialog);

    // The job starts: progress shown from 0, Start titled "Stop", exporting on.
    void begin();
    // Progress of the running job, 0 to 1 (values outside are clamped).
    void setProgress(double fraction);
    // The job wrote writtenPath: progress full, Open and Close offered, Start hidden, and the
    // written file's name shown (after successText when given).
    void finishSucceeded(const QString& writtenPath, const QString& successText = QString());
    // The job failed: back to Ready, with an alert "error:<code>".
    void finishFailed(int code);
    // The job failed: back to Ready, with an alert showing message.
    void finishFailed(const QString& message);
    // The owner stopped the job: back to Ready, no alert.
    void finishStopped();

    bool running() const;

    static void setFailureAlert(FailureAlert alert);

private:
    void leaveRunning();

    ExportDialogBase* dialog_;
};

}  // namespace exportkit
