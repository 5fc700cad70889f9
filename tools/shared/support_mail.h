#pragma once
// The support address of the empty-list views: an envelope and the address, either of which
// starts a new mail to it in the user's mail program.
#include <QUrl>
#include <QWidget>

class QLabel;

namespace kestrel::tools::shared {

// "mailto:<address>?Subject=%20&body=%20": the build's support address, an empty subject and body.
QUrl supportMailUrl();
// Asks the desktop to start that mail.
void emailAction();

class SupportMailLink : public QWidget {
    Q_OBJECT
public:
    explicit SupportMailLink(QWidget* parent = nullptr);

    QLabel* iconView() const { return emailIconView_; }
    QLabel* addressLabel() const { return email_addressLabel_; }
    void retranslate();
    // Places the envelope and the address in the link's rectangle (also on every resize).
    void placeParts();
    QSize sizeHint() const override;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* emailIconView_ = nullptr;
    QLabel* email_addressLabel_ = nullptr;
};

}  // namespace kestrel::tools::shared
