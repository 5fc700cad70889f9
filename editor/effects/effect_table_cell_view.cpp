#include "editor/effects/effect_table_cell_view.h"

#include "services/language.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace kestrel::editor {
namespace {

constexpr int kCheckSize = 15;
const QColor kAccent(33, 176, 235);
const QColor kDisabledTitle(173, 173, 173);

}  // namespace

EffectTableCellView::EffectTableCellView(const QRect& frame, QWidget* parent)
    : QWidget(parent), titleLabel_(new QLabel(this)), checkView_(new QLabel(this)) {
    setGeometry(frame);
    checkView_->setScaledContents(true);
    checkView_->setAttribute(Qt::WA_TransparentForMouseEvents);
    titleLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont title = titleLabel_->font();
    title.setPointSize(13);
    titleLabel_->setFont(title);
    selectedImage_ = services::Language::pixmapWithfileName(QStringLiteral("Cut/btnStop_Normal.png"));
    selected(false);
}

void EffectTableCellView::layoutCell() {
    const int checkY = (height() - kCheckSize) / 2;
    if (font_) {
        const int lineHeight = font_->pointSize() + 1;
        checkView_->setGeometry(0, checkY, kCheckSize, kCheckSize);
        titleLabel_->setGeometry(kCheckSize, (height() - lineHeight) / 2, width() - kCheckSize, lineHeight);
        titleLabel_->setFont(*font_);
    } else {
        checkView_->setGeometry(10, checkY, kCheckSize, kCheckSize);
        titleLabel_->setGeometry(kCheckSize + 20, (height() - 16) / 2, width() - (kCheckSize + 20), 16);
    }
}

void EffectTableCellView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutCell();
}

void EffectTableCellView::selected(bool on) {
    selected_ = on;
    if (font_) selectedColor_ = normalColor_;
    layoutCell();
    if (delegate_ && !delegate_->answersSelectedForCell() && delegate_->answersSelectedBlock())
        delegate_->actionSelectedBlock(this, selected_, row_);
    update();
}

void EffectTableCellView::setSelectedRow(bool on) {
    selectedRow_ = on;
    if (delegate_ && delegate_->answersSelectedForCell() && delegate_->answersSelectedBlock())
        delegate_->actionSelectedBlock(this, selectedRow_, row_);
    update();
}

void EffectTableCellView::setEnable(bool on) {
    enable_ = on;
    update();
}

void EffectTableCellView::setSelectedColor(const QColor& colour) {
    selectedColor_ = colour;
    update();
}

void EffectTableCellView::checkAction() {
    if (enable_ && delegate_) delegate_->actionSelectedForEffectTableCellViewBlock(this, row_);
}

void EffectTableCellView::mousePressEvent(QMouseEvent* event) {
    if (checkView_->geometry().contains(event->position().toPoint())) {
        checkAction();
        return;
    }
    if (enable_ && delegate_) delegate_->actionMouseDownForEffectTableCellViewBlock(this, row_);
}

QColor EffectTableCellView::titleColour() const {
    if (!enable_) return kDisabledTitle;
    return selectedRow_ ? selectedColor_ : normalColor_;
}

std::optional<QColor> EffectTableCellView::rowFill() const {
    if (row_ == kNoBackgroundRow) return std::nullopt;
    return selectedRow_ ? kAccent : QColor(Qt::white);
}

void EffectTableCellView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (const std::optional<QColor> fill = rowFill()) painter.fillRect(event->rect(), *fill);
    QPalette palette = titleLabel_->palette();
    palette.setColor(QPalette::WindowText, titleColour());
    titleLabel_->setPalette(palette);
    if (selected_) {
        checkView_->setPixmap(selectedImage_);
        checkView_->setStyleSheet(QString());
    } else {
        // No picture: an accent ring.
        checkView_->setPixmap(QPixmap());
        checkView_->setStyleSheet(QStringLiteral("border: 1px solid rgb(33, 176, 235); border-radius: 7px;"));
    }
}

}  // namespace kestrel::editor
