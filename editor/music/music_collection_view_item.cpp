#include "editor/music/music_collection_view_item.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QMouseEvent>

#include "services/language.h"

namespace kestrel::editor {

MusicCollectionViewItem::MusicCollectionViewItem(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_StyledBackground);
    setObjectName("MusicCollectionViewItem");
    setFixedHeight(30);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 6, 0);
    selectedView_ = new QLabel(this);
    selectedView_->setFixedSize(18, 18);
    selectedView_->setScaledContents(true);
    nameLabel_ = new QLabel(this);
    nameLabel_->setStyleSheet(QStringLiteral("color: rgb(170,177,185); font-size: 13px;"));
    nameLabel_->setMinimumWidth(10);
    nameLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->addWidget(selectedView_);
    row->addWidget(nameLabel_, 1);
}

void MusicCollectionViewItem::setItem(const kestrel::model::MusicInfo& item) {
    item_ = item;
    // The file's name is what tells the rows apart; a full path would show only its folders.
    nameLabel_->setText(nameLabel_->fontMetrics().elidedText(QFileInfo(item.path).fileName(), Qt::ElideMiddle,
                                                             std::max(40, width() - 40)));
    nameLabel_->setToolTip(item.path);
    setStyleSheet(item.selected ? QStringLiteral("#MusicCollectionViewItem { background: rgb(68,67,68); }")
                                : QStringLiteral("#MusicCollectionViewItem { background: rgb(26,30,37); }"));
    selectedView_->setPixmap(services::Language::pixmapWithfileName(
        item.isCheck ? "ZantImage/SubFun/chk_Checked_Normal@2x.png" : "ZantImage/SubFun/chk_NoChecked_Normal@2x.png"));
}

void MusicCollectionViewItem::mouseReleaseEvent(QMouseEvent* event) {
    // A press dragged off the row and let go elsewhere is no click.
    if (!rect().contains(event->position().toPoint())) return;
    isCheck_ = lastClick_.isValid() && lastClick_.elapsed() < 200;
    lastClick_.start();
    if (!mDelegate_) return;
    if (selectedView_->geometry().contains(event->position().toPoint())) mDelegate_->checkMusicCollectionViewItem(this);
    else mDelegate_->selectMusicCollectionViewItem(this);
}

}  // namespace kestrel::editor
