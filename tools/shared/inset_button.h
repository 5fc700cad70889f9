#pragma once
// A push button that draws its title and picture inside insets of their own, can paint a hover
// background (a single colour, or a two-colour gradient that wins over it) and reports its four
// mouse events to blocks. The clip list's transition button is one; with no insets and no hover
// flag it draws like a plain button.
#include <QColor>
#include <QMargins>
#include <QPushButton>
#include <functional>

namespace kestrel::tools::shared {

class InsetButton : public QPushButton {
    Q_OBJECT
public:
    using EventBlock = std::function<void(InsetButton*, QEvent*)>;

    explicit InsetButton(QWidget* parent = nullptr);

    // Title colour; an invalid colour draws RGB (136, 136, 136).
    const QColor& textColor() const { return textColor_; }
    void setTextColor(const QColor& c) { textColor_ = c; update(); }
    // Insets move the frame by left/top and shrink it by (right - left) / (bottom - top), as the
    // look the transition button was designed with expects.
    const QMargins& textEdgeInsets() const { return textInsets_; }
    void setTextEdgeInsets(const QMargins& m) { textInsets_ = m; update(); }
    const QMargins& imageEdgeInsets() const { return imageInsets_; }
    void setImageEdgeInsets(const QMargins& m) { imageInsets_ = m; update(); }
    // Border drawn around the button (width 0 = none) with a corner radius.
    void setBorder(const QColor& color, int width, int cornerRadius);

    bool isMouseColor() const { return isMouseColor_; }
    void setIsMouseColor(bool v) { isMouseColor_ = v; update(); }
    bool canMouseCustomColor() const { return canMouseCustomColor_; }
    void setCanMouseCustomColor(bool v) { canMouseCustomColor_ = v; update(); }
    bool isEntered() const { return isEntered_; }

    qint64 index() const { return index_; }
    void setIndex(qint64 v) { index_ = v; }

    void setMouseDownBlock(EventBlock b) { mouseDownBlock_ = std::move(b); }
    void setMouseUpBlock(EventBlock b) { mouseUpBlock_ = std::move(b); }
    void setMouseEnteredBlock(EventBlock b) { mouseEnteredBlock_ = std::move(b); }
    void setMouseExitedBlock(EventBlock b) { mouseExitedBlock_ = std::move(b); }

    // Where the title and the picture are drawn for the current size.
    QRect titleRect() const;
    QRect imageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor textColor_;
    QColor borderColor_;
    int borderWidth_ = 0;
    int cornerRadius_ = 0;
    QMargins textInsets_, imageInsets_;
    bool isMouseColor_ = false;
    bool canMouseCustomColor_ = false;
    bool isEntered_ = false;
    qint64 index_ = 0;
    EventBlock mouseDownBlock_, mouseUpBlock_, mouseEnteredBlock_, mouseExitedBlock_;
};

// A frame moved and resized by insets: x + left, y + top, width - (right - left),
// height - (bottom - top).
QRect insetFrame(const QRect& frame, const QMargins& insets);

}  // namespace kestrel::tools::shared
