#include "editor/effects/effect_collection_view_item.h"

#include "services/language.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace kestrel::editor {
namespace {

const QColor kSelectedRow(68, 67, 68);
const QColor kPlainRow(26, 30, 37);
const QColor kNameColour(170, 177, 185);
constexpr int kCheckSize = 15;

}  // namespace

EffectCollectionViewItem::EffectCollectionViewItem(QWidget* parent)
    : QWidget(parent), selectedView_(new QLabel(this)), nameLabel_(new QLabel(this)), latchTimer_(new QTimer(this)) {
    setAutoFillBackground(true);
    resize(200, kRowHeight);
    selectedView_->setScaledContents(true);
    // The row decides what a click means; its children only show.
    selectedView_->setAttribute(Qt::WA_TransparentForMouseEvents);
    nameLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    latchTimer_->setSingleShot(true);
    latchTimer_->setInterval(kLatchMs);
    connect(latchTimer_, &QTimer::timeout, this, &EffectCollectionViewItem::mouseUpAfter);
    layoutRow();
}

void EffectCollectionViewItem::setItem(const EffectItem& item) {
    item_ = item;
    nameLabel_->setText(services::localized(item.name));
    QFont font = nameLabel_->font();
    font.setPointSize(13);
    nameLabel_->setFont(font);
    QPalette text = nameLabel_->palette();
    text.setColor(QPalette::WindowText, kNameColour);
    nameLabel_->setPalette(text);
    QPalette row = palette();
    row.setColor(QPalette::Window, item.selected ? kSelectedRow : kPlainRow);
    setPalette(row);
    selectedView_->setPixmap(services::Language::pixmapWithfileName(
        item.isCheck ? QStringLiteral("ZantImage/SubFun/chk_Checked_Normal@2x.png")
                     : QStringLiteral("ZantImage/SubFun/chk_NoChecked_Normal@2x.png")));
    update();
}

void EffectCollectionViewItem::mouseUpAfter() { isCheck_ = false; }

void EffectCollectionViewItem::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    // A press dragged off the row and let go elsewhere is no click.
    if (!rect().contains(at)) return;
    if (mDelegate_) {
        if (selectedView_->geometry().contains(at))
            mDelegate_->checkEffectCollectionViewItem(this, event);
        else
            mDelegate_->selectEffectCollectionViewItem(this, event);
    }
    // The delegate may have cleared the latch for a double click; this mouse-up sets it again.
    isCheck_ = true;
    latchTimer_->start();
}

void EffectCollectionViewItem::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutRow();
}

void EffectCollectionViewItem::layoutRow() {
    selectedView_->setGeometry(10, (height() - kCheckSize) / 2, kCheckSize, kCheckSize);
    const int nameX = 10 + kCheckSize + 10;
    nameLabel_->setGeometry(nameX, 0, std::max(0, width() - nameX - 4), height());
}

}  // namespace kestrel::editor
