#pragma once
// A list cell with a round check mark and a title, for lists that want one: a click on the mark
// or on the cell is told to the delegate while the cell is enabled. The title takes the colour
// of the row's state (grey when disabled); the row is filled blue when highlighted, white
// otherwise, except for row 1000000, which draws no background.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QWidget>
#include <optional>

class QLabel;

namespace kestrel::editor {

class EffectTableCellView;

class EffectTableCellViewDelegate {
public:
    virtual ~EffectTableCellViewDelegate() = default;
    virtual void actionMouseDownForEffectTableCellViewBlock(EffectTableCellView* cell, int64_t row) {}
    virtual void actionSelectedForEffectTableCellViewBlock(EffectTableCellView* cell, int64_t row) {}
    // Reported when the delegate does not take the other two (see setSelectedRow and selected).
    virtual void actionSelectedBlock(EffectTableCellView* cell, bool selected, int64_t row) {}
    // Which of the operations above this delegate takes (an optional operation is sent only to
    // a delegate that takes it).
    virtual bool answersSelectedForCell() const { return false; }
    virtual bool answersSelectedBlock() const { return false; }
};

class EffectTableCellView : public QWidget {
public:
    static constexpr int64_t kNoBackgroundRow = 1000000;

    explicit EffectTableCellView(const QRect& frame, QWidget* parent = nullptr);

    void setDelegate(EffectTableCellViewDelegate* delegate) { delegate_ = delegate; }
    void setRow(int64_t row) { row_ = row; }
    int64_t row() const { return row_; }
    void setIsMusicCellType(bool music) { isMusicCellType_ = music; }
    bool isMusicCellType() const { return isMusicCellType_; }
    void setTitleFont(const QFont& font) { font_ = font; }

    bool isSelected() const { return selected_; }
    void selected(bool on);
    bool selectedRow() const { return selectedRow_; }
    void setSelectedRow(bool on);
    bool enable() const { return enable_; }
    void setEnable(bool on);
    void setSelectedColor(const QColor& colour);
    void setNormalColor(const QColor& colour) { normalColor_ = colour; update(); }
    void setSelectedImage(const QPixmap& picture) { selectedImage_ = picture; update(); }

    void checkAction();

    QLabel* titleLabel() const { return titleLabel_; }
    QLabel* checkView() const { return checkView_; }
    // The title colour of the current state.
    QColor titleColour() const;
    // The row fill, none for row 1000000.
    std::optional<QColor> rowFill() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutCell();

    bool isMusicCellType_ = false;
    bool selected_ = false;
    bool selectedRow_ = false;
    bool enable_ = true;
    int64_t row_ = 0;
    std::optional<QFont> font_;
    QColor selectedColor_{33, 176, 235};
    QColor normalColor_{Qt::black};
    QPixmap selectedImage_;
    QLabel* titleLabel_;
    QLabel* checkView_;
    EffectTableCellViewDelegate* delegate_ = nullptr;
};

}  // namespace kestrel::editor
