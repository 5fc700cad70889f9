#pragma once
// A control made of a picture and a one-line title laid out side by side within insets, with
// colours, pictures, background, corners and borders for four states (0 normal, 1 hover,
// 2 highlight, 3 selected). A release inside emits clicked(). Top-left coordinates.
#include <QColor>
#include <QMargins>
#include <QPixmap>
#include <QRectF>
#include <QWidget>

namespace kestrel::widgets {

class ImageView;
class XJLabel;

struct XJGraphicLayout {
    QRectF picture;
    QRectF title;
};

// Picture and title rectangles in a button of frame size; titleWidth is the measured text
// width (the +8 is added here). graphicAlignment 0 left, 1 right, 2 centre; imageAlignment 0
// picture left of the title, 1 right of it, others show neither when both are present.
XJGraphicLayout xjGraphicLayout(const QSizeF& frame, const QMarginsF& insets, bool hasTitle, qreal titleWidth,
                                const QSizeF& picture, qint64 graphicAlignment, quint64 imageAlignment,
                                qreal interval);

class XJGraphicButton : public QWidget {
    Q_OBJECT
public:
    explicit XJGraphicButton(QWidget* parent = nullptr);

    ImageView* imageView() const { return imageView_; }
    XJLabel* titleLabel() const { return titleLabel_; }
    qint64 viewTag() const { return viewTag_; }
    void setViewTag(qint64 v) { viewTag_ = v; }
    bool viewEnable() const { return viewEnable_; }
    void setViewEnable(bool v);
    bool canTransmitEvents() const { return canTransmitEvents_; }
    void setCanTransmitEvents(bool v) { canTransmitEvents_ = v; }
    bool mouseDown() const { return mouseDown_; }

    const QMarginsF& edgeInset() const { return edgeInset_; }
    void setEdgeInset(const QMarginsF& m) { edgeInset_ = m; relayout(); }
    qint64 graphicAlignment() const { return graphicAlignment_; }
    void setGraphicAlignment(qint64 v) { graphicAlignment_ = v; relayout(); }
    quint64 imageAlignment() const { return imageAlignment_; }
    void setImageAlignment(quint64 v) { imageAlignment_ = v; relayout(); }
    double graphicInterval() const { return graphicInterval_; }
    void setGraphicInterval(double v) { graphicInterval_ = v; relayout(); }
    const QString& titleString() const { return titleString_; }
    void setTitleString(const QString& t) { titleString_ = t; relayout(); }
    double titleFontSize() const { return titleFontSize_; }
    void setTitleFontSize(double v);
    void setTitleString(const QString& title, const QPixmap& image);

    quint64 buttonState() const { return buttonState_; }
    void setButtonState(quint64 state);

    // State values: index 0 normal, 1 hover, 2 highlight, 3 selected. For 1..3 an invalid
    // colour, a null picture or a negative radius or width falls back to the normal one.
    QColor titleColor[4] = {Qt::white, QColor(), QColor(), QColor()};
    QPixmap image[4];
    QColor backgroundColor[4];
    double cornerRadius[4] = {0, -1, -1, -1};
    double borderWidth[4] = {0, -1, -1, -1};
    QColor borderColor[4];
    void setNormalImage(const QPixmap& p) { image[0] = p; relayout(); }
    void setNormalColor(const QColor& c);
    void setSelectedColor(const QColor& c);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

Q_SIGNALS:
    void clicked();

private:
    void relayout();
    void changeLanguage();
    template <class T>
    T stateValue(const T* values, quint64 state) const;
    double stateNumber(const double* values, quint64 state) const;
    void forwardToParent(QMouseEvent* event);

    ImageView* imageView_;
    XJLabel* titleLabel_;
    qint64 viewTag_ = 0;
    bool viewEnable_ = true;
    bool canTransmitEvents_ = false;
    bool mouseDown_ = false;
    QMarginsF edgeInset_;
    qint64 graphicAlignment_ = 2;
    quint64 imageAlignment_ = 0;
    double graphicInterval_ = 4;
    QString titleString_;
    double titleFontSize_ = 14;
    quint64 buttonState_ = 0;
    // The look applied by the last state.
    QColor layerBackground_, layerBorder_;
    double layerRadius_ = 0, layerBorderWidth_ = 0;
};

}  // namespace kestrel::widgets
