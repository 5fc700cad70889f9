#pragma once
// The self-drawing button nearly every window is built from: a background picture or colour,
// its own title (contentTitle) and a content picture, each following the state (normal, hover,
// pressed, selected, disabled). A click runs mouseDownAction on release over the button.
#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <functional>
#include <optional>

#include "widgets/zor_position.h"
#include "widgets/zor_button_layout.h"

namespace kestrel::widgets {

class ZorButton : public QAbstractButton {
    Q_OBJECT
public:
    using Block = std::function<void(ZorButton*)>;

    explicit ZorButton(QWidget* parent = nullptr);

    // State flags.
    bool isCanMouseUp() const { return isCanMouseUp_; }
    void setIsCanMouseUp(bool v) { isCanMouseUp_ = v; }
    bool isUp() const { return isUp_; }
    void setIsUp(bool v) { isUp_ = v; }
    bool isOn() const { return isOn_; }
    void setIsOn(bool v) { isOn_ = v; }
    bool isDown() const { return isDown_; }  // the pressed look (hides the platform's own flag)
    void setIsDown(bool v) { isDown_ = v; }
    bool selected() const { return selected_; }
    void setSelected(bool selected);
    bool isCheckType() const { return isCheckType_; }
    void setIsCheckType(bool v) { isCheckType_ = v; }
    // 0 normal, 1 normal with isOn, 2 pressed, 3 selected, 4 normal; enables the button.
    // Values above 4 only redraw.
    void setButtonState(unsigned state);

    // Colours (invalid = unset).
    const QColor& backGroundColor() const { return backGroundColor_; }
    void setBackGroundColor(const QColor& c) { backGroundColor_ = c; }
    const QColor& disAblebackGroundColor() const { return disAblebackGroundColor_; }
    void setDisAblebackGroundColor(const QColor& c) { disAblebackGroundColor_ = c; }
    const QColor& bordColor() const { return bordColor_; }
    void setBordColor(const QColor& c) { bordColor_ = c; }
    const QColor& contentColor() const { return colors_.content; }
    void setContentColor(const QColor& c) { colors_.content = c; }
    const QColor& onColor() const { return colors_.on; }
    void setOnColor(const QColor& c) { colors_.on = c; }
    const QColor& downColor() const { return colors_.down; }
    void setDownColor(const QColor& c) { colors_.down = c; }
    const QColor& selectColor() const { return colors_.select; }
    void setSelectColor(const QColor& c) { colors_.select = c; }
    const QColor& disableColor() const { return colors_.disable; }
    void setDisableColor(const QColor& c) { colors_.disable = c; }

    qint64 index() const { return index_; }
    void setIndex(qint64 v) { index_ = v; }
    float cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(float v) { cornerRadius_ = v; }
    float borderWidth() const { return borderWidth_; }
    void setBorderWidth(float v) { borderWidth_ = v; }
    float leftIconWidth() const { return leftIconWidth_; }
    void setLeftIconWidth(float v) { leftIconWidth_ = v; }
    bool underLine() const { return underLine_; }
    void setUnderLine(bool v) { underLine_ = v; }

    const QString& contentTitle() const { return contentTitle_; }
    void setContentTitle(const QString& title);
    qint64 contentImagePosition() const { return contentImagePosition_; }
    void setContentImagePosition(qint64 v) { contentImagePosition_ = v; }
    const std::optional<kestrel::widgets::ZorPosition>& titlePosition() const { return titlePosition_; }
    void setTitlePosition(std::optional<kestrel::widgets::ZorPosition> p) { titlePosition_ = p; }

    // Content pictures per look.
    const QPixmap& normalImage() const { return images_.normal; }
    void setNormalImage(const QPixmap& p) { images_.normal = p; }
    const QPixmap& onImage() const { return images_.on; }
    void setOnImage(const QPixmap& p) { images_.on = p; }
    const QPixmap& downImage() const { return images_.down; }
    void setDownImage(const QPixmap& p) { images_.down = p; }
    const QPixmap& selectedImage() const { return images_.selected; }
    void setSelectedImage(const QPixmap& p) { images_.selected = p; }
    const QPixmap& disAbleImage() const { return images_.disable; }
    void setDisAbleImage(const QPixmap& p) { images_.disable = p; }
    // Background pictures per look.
    const QPixmap& normalBackgroundImage() const { return backgrounds_.normal; }
    void setNormalBackgroundImage(const QPixmap& p) { backgrounds_.normal = p; }
    const QPixmap& onBackgroundImage() const { return backgrounds_.on; }
    void setOnBackgroundImage(const QPixmap& p) { backgrounds_.on = p; }
    const QPixmap& downBackgroundImage() const { return backgrounds_.down; }
    void setDownBackgroundImage(const QPixmap& p) { backgrounds_.down = p; }
    const QPixmap& selectedBackgroundImage() const { return backgrounds_.selected; }
    void setSelectedBackgroundImage(const QPixmap& p) { backgrounds_.selected = p; }
    const QPixmap& disAbleBackgroundImage() const { return backgrounds_.disable; }
    void setDisAbleBackgroundImage(const QPixmap& p) { backgrounds_.disable = p; }

    // Blocks, each taking the button.
    const Block& mouseDownAction() const { return mouseDownAction_; }
    void setMouseDownAction(Block b) { mouseDownAction_ = std::move(b); }
    const Block& mouseExited() const { return mouseExited_; }
    void setMouseExited(Block b) { mouseExited_ = std::move(b); }
    const Block& mouseEntered() const { return mouseEntered_; }
    void setMouseEntered(Block b) { mouseEntered_ = std::move(b); }

    // What the platform button offers that owners use: its own title (drawn plainly, normally
    // empty), picture position, border flag, state number and tag.
    void setTitle(const QString& title) { setText(title); }
    QString title() const { return text(); }
    ImagePosition imagePosition() const { return imagePosition_; }
    void setImagePosition(ImagePosition p) { imagePosition_ = p; update(); }
    bool isBordered() const { return bordered_; }
    void setBordered(bool v) { bordered_ = v; update(); }
    int state() const { return state_; }
    void setState(int v) { state_ = v; }
    qint64 tag() const { return tag_; }
    void setTag(qint64 v) { tag_ = v; }

    // The look inputs at this moment.
    ZorStateInput lookState() const;
    // Where the title and picture go for the current look (for owners that align other views).
    ZorLayoutInput layoutInput() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void pointerEntered();
    void pointerLeft();

    bool isCanMouseUp_ = false;
    bool isUp_ = false;
    bool isOn_ = false;
    bool isDown_ = false;
    bool selected_ = false;
    bool isCheckType_ = false;
    bool underLine_ = false;
    bool bordered_ = false;
    QColor backGroundColor_, disAblebackGroundColor_, bordColor_;
    ZorTextColors colors_;
    qint64 index_ = 0;
    qint64 tag_ = 0;
    int state_ = 0;
    float cornerRadius_ = 0;
    float borderWidth_ = 0;
    float leftIconWidth_ = 0;
    QString contentTitle_;
    qint64 contentImagePosition_ = 0;
    std::optional<kestrel::widgets::ZorPosition> titlePosition_;
    ZorPictures images_;
    ZorPictures backgrounds_;
    ImagePosition imagePosition_ = ImagePosition::NoImage;
    Block mouseDownAction_, mouseExited_, mouseEntered_;
};

}  // namespace kestrel::widgets
