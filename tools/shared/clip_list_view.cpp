#include "tools/shared/clip_list_view.h"

#include <QResizeEvent>
#include <QScrollArea>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include "tools/shared/clip_list_cell.h"

namespace kestrel::tools::shared {

namespace {
constexpr int kRowGap = 3;
}

ClipListView::ClipListView(QWidget* parent) : QWidget(parent) {
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setStyleSheet(QStringLiteral("QScrollArea { background: rgb(23,26,32); }"));
    content_ = new QWidget;
    content_->setAutoFillBackground(true);
    QPalette palette = content_->palette();
    palette.setColor(QPalette::Window, QColor(26, 30, 37));
    content_->setPalette(palette);
    scroll_->setWidget(content_);
    scroll_->setWidgetResizable(false);
}

void ClipListView::setItems(const QList<kestrel::model::SimpleDataPtr>& items) {
    items_ = items;
    selectedRow_ = 0;
    oldSelectedRow_ = -1;
    selectedItem_ = items_.isEmpty() ? nullptr : items_.first();
}

ClipListCell* ClipListView::cell(int row) const {
    return (row >= 0 && row < cells_.size()) ? cells_.at(row) : nullptr;
}

void ClipListView::setRowsEnabled(bool enabled) {
    rowsEnabled_ = enabled;
    for (ClipListCell* c : cells_) c->setRowEnabled(enabled);
}

void ClipListView::showAddedRows(const QList<kestrel::model::SimpleDataPtr>& items, bool wasEmpty) {
    const qint64 row = wasEmpty ? 0 : selectedRow();
    setItems(items);
    setSelectedRow(row);
    setSelectionReportSuppressed(!wasEmpty);
    reloadData();
}

void ClipListView::reloadData() {
    for (ClipListCell* c : cells_) c->deleteLater();
    cells_.clear();
    // A row kept from the last rebuild no longer exists.
    if (oldSelectedRow_ >= items_.size()) oldSelectedRow_ = -1;

    const int width = scroll_->viewport()->width();
    for (int i = 0; i < items_.size(); ++i) {
        auto* row = new ClipListCell(QRect(0, i * (rowHeight_ + kRowGap), width, rowHeight_), content_);
        row->setSelectedBackgroundColor(QColor(9, 10, 14));
        row->setNormalBackgroundColor(QColor(18, 20, 27));
        row->setIndex(i);
        row->setReferenceBoxAvailable(bool(referenceChanged_));
        row->setFileData(items_.at(i));
        // A lock the owner set (a run under way) holds across rebuilds until the owner lifts it.
        row->setRowEnabled(rowsEnabled_);
        row->show();
        cells_.append(row);
    }
    layoutRows();
    for (int i = 0; i < cells_.size(); ++i) {
        ClipListCell* row = cells_.at(i);
        row->setMouseDownBlock([this](ClipListCell* c) { rowPressed(c); });
        row->setSelectedBlock([this](ClipListCell* c, bool on) { rowSelected(c, on); });
        if (referenceChanged_) row->setReferenceClickedBlock([this](ClipListCell* c) { referenceClicked(c); });
        if (transitionChanged_) {
            row->setTransitionChosenBlock([this](ClipListCell* c) {
                const int index = int(c->index());
                if (index < items_.size() && c->fileData()) {
                    items_.at(index)->transitionEffect = c->fileData()->transitionEffect;
                    transitionChanged_(index, items_.at(index)->transitionEffect);
                }
            });
        }
        // The last clip has nothing to blend into.
        row->setTransitionButtonAvailable(bool(transitionChanged_) && i != cells_.size() - 1);
        if (i == selectedRow_) {
            row->setSelected(true);
        } else {
            row->setSelectedLook(false);
        }
    }
    update();
}

void ClipListView::layoutRows() {
    const int width = scroll_->viewport()->width();
    const int contentHeight = std::max(scroll_->viewport()->height(), int(items_.size()) * (rowHeight_ + kRowGap));
    content_->resize(width, contentHeight);
    for (int i = 0; i < cells_.size(); ++i) cells_.at(i)->setGeometry(0, i * (rowHeight_ + kRowGap), width, rowHeight_);
}

void ClipListView::resizeEvent(QResizeEvent* event) {
    scroll_->setGeometry(rect());
    layoutRows();
    QWidget::resizeEvent(event);
}

void ClipListView::rowPressed(ClipListCell* row) {
    suppressReport_ = false;
    if (row->index() == selectedRow_) return;  // already the selected row: nothing changes
    if (ClipListCell* old = cell(int(oldSelectedRow_))) old->setSelectedLook(false);
    row->setSelected(true);
}

void ClipListView::rowSelected(ClipListCell* row, bool selected) {
    if (!selected) return;
    if (ClipListCell* old = cell(int(oldSelectedRow_)); old && old != row) old->setSelectedLook(false);
    selectedRow_ = row->index();
    oldSelectedRow_ = row->index();
    selectedItem_ = row->fileData();
    if (!suppressReport_ && selectItem_) selectItem_(selectedItem_);
}

void ClipListView::referenceClicked(ClipListCell* clicked) {
    QTimer::singleShot(0, this, [this, clicked = QPointer<ClipListCell>(clicked)] {
        if (!clicked) return;
        for (ClipListCell* other : cells_) {
            if (other == clicked || !other->fileData()) continue;
            other->fileData()->defaultFormat = false;
            other->setReferenceChecked(false);
        }
        if (referenceChanged_) referenceChanged_(clicked->fileData());
    });
}

void ClipListView::setExportProgress(float fraction) {
    ClipListCell* row = cell(int(selectedRow_));
    if (!row) return;
    if (fraction >= 0 && fraction < 1) {
        row->setProgress(fraction);
        row->setProgressVisible(true);
    } else {
        row->setProgressVisible(false);
    }
}

void ClipListView::showProgress(qint64 rowIndex) {
    ClipListCell* row = cell(int(rowIndex));
    if (!row) return;
    oldSelectedRow_ = -1;
    selectedRow_ = rowIndex;
    row->setProgressVisible(true);
    row->setSelected(true);
}

void ClipListView::scrollToRow(int row) {
    if (ClipListCell* c = cell(row)) scroll_->ensureWidgetVisible(c, 0, 0);
}

void ClipListView::hiddenProgress(qint64 rowIndex) {
    if (ClipListCell* row = cell(int(rowIndex))) row->setProgressVisible(false);
}

void ClipListView::retranslate() {
    for (ClipListCell* c : cells_) c->retranslate();
}

}  // namespace kestrel::tools::shared
