#pragma once
// A small dark dialog asking for one whole number (a piece length in seconds or megabytes);
// while the user types, a value above the maximum becomes the maximum's whole part.
#include <QDialog>

class QLabel;

namespace kestrel::widgets {
class ImageView;
class RDTextField;
class ZorButton;
}  // namespace kestrel::widgets

namespace kestrel::tools::splitter {

class AlertInputWindowController : public QDialog {
    Q_OBJECT
public:
    explicit AlertInputWindowController(QWidget* parent = nullptr);

    void setTexts(const QString& title, const QString& information, const QString& customTitle, const QString& unit);
    void setMaxNumber(double maxNumber) { maxNumber_ = maxNumber; }
    double maxNumber() const { return maxNumber_; }
    void setValueText(const QString& text);
    QString valueText() const;
    // The typed text when OK was pressed and it reads as a number above 0; empty otherwise.
    QString answer() const;

    kestrel::widgets::RDTextField* customValueTextField = nullptr;
    kestrel::widgets::ZorButton* okBtn = nullptr;
    kestrel::widgets::ZorButton* cancelBtn = nullptr;
    kestrel::widgets::ImageView* logoView = nullptr;

private:
    void capValue();

    QLabel* titleLabel_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QLabel* customLabel_ = nullptr;
    QLabel* exLabel_ = nullptr;
    double maxNumber_ = 0;
};

// The leading whole number of a text (after blanks and an optional sign); 0 when there is none.
long leadingInteger(const QString& text);

}  // namespace kestrel::tools::splitter
