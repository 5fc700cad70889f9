#include "editor/watermark/water_mark_collection_view_item.h"

#include <QHBoxLayout>
#include <QMouseEvent>

#include "editor/watermark/panel_controls.h"
#include "services/language.h"

namespace kestrel::editor {

WaterMarkCollectionViewItem::WaterMarkCollectionViewItem(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_StyledBackground);
    setFixedHeight(30);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 6, 0);
    selectedView_ = new QLabel(this);
    selectedView_->setFixedSize(18, 18);
    selectedView_->setScaledContents(true);
    nameLabel_ = new QLineEdit(this);
    nameLabel_->setFrame(false);
    nameLabel_->setStyleSheet(QStringLiteral("color: rgb(170,177,185); background: transparent; font-size: 13px;"));
    row->addWidget(selectedView_);
    row->addWidget(nameLabel_, 1);
    QObject::connect(nameLabel_, &QLineEdit::textEdited, this, [this](const QString& t) { controlTextDidChange(t); });
}

void WaterMarkCollectionViewItem::setItem(const kestrel::model::WaterParam& item) {
    item_ = item;
    const bool isText = item.waterType == 4;
    {
        const QSignalBlocker block(nameLabel_);
        const QString name = isText ? item.waterText : item.waterImagePath;
        if (nameLabel_->text() != name) nameLabel_->setText(name);
    }
    if (item.selected) {
        nameLabel_->setEnabled(isText);
        nameLabel_->setReadOnly(!isText);
        nameLabel_->setAttribute(Qt::WA_TransparentForMouseEvents, !isText);
        if (isText && !isEditFileding_) nameLabel_->setFocus();
        setStyleSheet(QStringLiteral("WaterMarkCollectionViewItem { background: rgb(68,67,68); }"));
    } else {
        nameLabel_->setEnabled(false);
        nameLabel_->setReadOnly(true);
        nameLabel_->setAttribute(Qt::WA_TransparentForMouseEvents, true);
        isEditFileding_ = false;
        setStyleSheet(QStringLiteral("WaterMarkCollectionViewItem { background: rgb(26,30,37); }"));
    }
    setObjectName("WaterMarkCollectionViewItem");
    selectedView_->setPixmap(services::Language::pixmapWithfileName(
        item.isCheck ? "ZantImage/SubFun/chk_Checked_Normal@2x.png" : "ZantImage/SubFun/chk_NoChecked_Normal@2x.png"));
}

void WaterMarkCollectionViewItem::controlTextDidChange(const QString& text) {
    if (!item_.selected || item_.waterType != 4) return;
    isEditFileding_ = true;
    if (mDelegate_) mDelegate_->changeWaterMarkTextCollectionViewItem(this, text);
}

void WaterMarkCollectionViewItem::mouseReleaseEvent(QMouseEvent* event) {
    // A press dragged off the row and let go elsewhere is no click.
    if (!mDelegate_ || !rect().contains(event->position().toPoint())) return;
    if (selectedView_->geometry().contains(event->position().toPoint())) mDelegate_->checkWaterMarkCollectionViewItem(this);
    else mDelegate_->selectWaterMarkCollectionViewItem(this);
}

}  // namespace kestrel::editor
