#include "widgets/material_collection_item.h"

#include <QMouseEvent>

#include "platform/notification_center.h"
#include "services/language.h"
#include "widgets/image_view.h"
#include "widgets/zor_button.h"

namespace kestrel::widgets {

MaterialCollectionItem::MaterialCollectionItem(QWidget* parent) : QWidget(parent) {
    platform::NotificationCenter::defaultCenter().addObserver(
        platform::kChangeLanguageNotification, [this](const platform::Notification&) { changeLoanguage(); }, this);
    coverView_ = new ImageView(this);
    coverView_->setImageScaling(ImageScaling::ProportionallyDown);
    deleteBtn_ = new ZorButton(this);
    using services::Language;
    deleteBtn_->setNormalBackgroundImage(Language::pixmapWithfileName("ZantImage/SubFun/btnDeleteWaterMark_Normal.png"));
    deleteBtn_->setOnBackgroundImage(Language::pixmapWithfileName("ZantImage/SubFun/btnDeleteWaterMark_On.png"));
    deleteBtn_->setDownBackgroundImage(Language::pixmapWithfileName("ZantImage/SubFun/btnDeleteWaterMark_Down.png"));
    deleteBtn_->setMouseDownAction([this](ZorButton* sender) { deleteAction(sender); });
    deleteBtn_->setHidden(!isShowDeleted_);
    placeSubviews();
}

void MaterialCollectionItem::placeSubviews() {
    coverView_->setGeometry(rect());
    deleteBtn_->setGeometry(width() - kDeleteButtonSize, 0, kDeleteButtonSize, kDeleteButtonSize);
}

void MaterialCollectionItem::resizeEvent(QResizeEvent*) { placeSubviews(); }

void MaterialCollectionItem::changeLoanguage() {
    placeSubviews();
    update();
}

void MaterialCollectionItem::setIsShowDeleted(bool v) {
    isShowDeleted_ = v;
    deleteBtn_->setHidden(!v);
}

void MaterialCollectionItem::deleteAction(QObject*) {
    if (mDelegate_) mDelegate_->DeleteMaterialCellectionItem(this);
}

void MaterialCollectionItem::selectButtonAction(QObject* sender) {
    if (mDelegate_) mDelegate_->MaterialCollectionItemSelectedEvent(this, sender);
}

void MaterialCollectionItem::mousePressEvent(QMouseEvent* event) {
    if (!mDelegate_) return;
    if (event->button() == Qt::RightButton) mDelegate_->MaterialCollectionItemRightClicked(this, event);
    else if (event->button() == Qt::LeftButton) mDelegate_->MaterialCollectionItemDownCilcked(this, event);
}

void MaterialCollectionItem::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    unsetCursor();
    if (mDelegate_) mDelegate_->MaterialCollectionItemUpCilcked(this, event);
}

void MaterialCollectionItem::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    setCursor(Qt::ClosedHandCursor);
    if (mDelegate_) mDelegate_->DragMaterialCellectionItem(this, event);
}

}  // namespace kestrel::widgets
