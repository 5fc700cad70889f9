#pragma once
// A small stand-alone panel showing a join's progress: a title, a bar, the percentage and a
// Cancel button. It runs no join: every 0.2 s it asks its delegate for the percentage, and
// passes Cancel on. The owner presents it and calls closeWindow() when the join ends.
#include <QPointer>
#include <QWidget>

#include "widgets/rd_button.h"

class QLabel;
class QTimer;

namespace kestrel::widgets {
class NSProgressView;
class RDButton;
}  // namespace kestrel::widgets

namespace kestrel::tools::joiner {

// Both operations are optional: a delegate answers the ones it implements.
class ConvertJoinProgressDelegate {
public:
    virtual ~ConvertJoinProgressDelegate() = default;
    virtual bool answersChangeProgress() const { return false; }
    // The join's progress in percent, 0 to 100.
    virtual float changeProgress() { return -1; }
    virtual bool answersCancelConvertJoin() const { return false; }
    virtual void cancelConvertJoin() {}
};

class ConvertJoinProgressVC : public QWidget, private kestrel::widgets::RDButtonDelegate {
    Q_OBJECT
public:
    explicit ConvertJoinProgressVC(QWidget* parent = nullptr);
    ~ConvertJoinProgressVC() override;

    // Not owned; the owner clears it before the delegate goes.
    void setJoinDelegate(ConvertJoinProgressDelegate* delegate) { joinDelegate_ = delegate; }
    ConvertJoinProgressDelegate* joinDelegate() const { return joinDelegate_; }

    // One poll (the timer's).
    void convertJoinGetProgress();
    void setProgress(float fraction);
    float progress() const { return progress_; }
    void setProgressStatues(const QString& text);
    const QString& progressStatues() const { return progressStatues_; }
    // Stops the poll and closes the panel.
    void closeWindow();
    bool polling() const;
    // Re-reads the localised title and button.
    void changeLanguage();

    kestrel::widgets::RDButton* cancelBtn() const { return cancelBtn_; }
    QLabel* statuesLabel() const { return statuesLabel_; }
    kestrel::widgets::NSProgressView* progressView() const { return progressView_; }

private:
    void actionMouseUpForRDButtonBlock(kestrel::widgets::RDButton* button) override;

    ConvertJoinProgressDelegate* joinDelegate_ = nullptr;
    float progress_ = 0;
    QString progressStatues_;
    QTimer* exportJoinTimer_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* statuesLabel_ = nullptr;
    kestrel::widgets::NSProgressView* progressView_ = nullptr;
    kestrel::widgets::RDButton* cancelBtn_ = nullptr;
};

}  // namespace kestrel::tools::joiner
