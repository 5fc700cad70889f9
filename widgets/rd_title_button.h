#pragma once
// A push button that draws its own centred title (a styled one, or a plain one in its title
// font and colour) and hands its presses to a delegate instead of a click signal.
#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <optional>

#include "services/help_class.h"

namespace kestrel::widgets {

class RDTitleButton;

class RDTitleButtonDelegate {
public:
    virtual ~RDTitleButtonDelegate() = default;
    virtual void actionMouseUpForTitleButtonBlock(RDTitleButton* button) {}
    virtual void actionMouseDownForTitleButtonBlock(RDTitleButton* button) {}
};

class RDTitleButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit RDTitleButton(QWidget* parent = nullptr);

    const QColor& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& c) { backgroundColor_ = c; }
    // Font of the plain title; unset means Verdana 12.
    const std::optional<QFont>& titleFont() const { return titleFont_; }
    void setTitleFont(const std::optional<QFont>& font);
    // Colour of the plain title; unset (invalid) means black.
    const QColor& titleColor() const { return titleColor_; }
    void setTitleColor(const QColor& c) { titleColor_ = c; }
    // A ready-made title drawn centred with its own font and colour.
    const std::optional<services::ButtonTitle>& attributedStringTitle() const { return attributedStringTitle_; }
    void setAttributedStringTitle(const std::optional<services::ButtonTitle>& title);

    void setTitle(const QString& title) { setText(title); }
    QString title() const { return text(); }
    bool isBordered() const { return bordered_; }
    void setBordered(bool v) { bordered_ = v; }

    RDTitleButtonDelegate* delegate() const { return delegate_; }
    void setDelegate(RDTitleButtonDelegate* d) { delegate_ = d; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor backgroundColor_;
    std::optional<QFont> titleFont_;
    QColor titleColor_;
    std::optional<services::ButtonTitle> attributedStringTitle_;
    bool bordered_ = false;
    RDTitleButtonDelegate* delegate_ = nullptr;
};

}  // namespace kestrel::widgets
