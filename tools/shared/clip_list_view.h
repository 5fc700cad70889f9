#pragma once
// The clip list two tool windows share (the joiner and the batch cutter): a scrolling column of
// ClipListCell rows, one per job record, with one selected row.
//
// The window owns the records; the list keeps a copy of the window's list of shared records,
// so a row's edits (transition, reference flag) land in the window's records. After every change
// of its list the window calls setItems() (the selection goes back to the first row), optionally
// setSelectedRow() and setSelectionReportSuppressed(true), then reloadData().
//
// Selection: reloadData() selects row selectedRow() and reports it through the select callback
// unless reports are suppressed; a press on a row lifts the suppression and reports the row.
// Optional parts: rows get a reference-format check box only when a reference callback is set
// (at most one record has defaultFormat), and a transition button (not on the last row) only
// when a transition callback is set. Progress: showProgress()/hiddenProgress() work on a row,
// setExportProgress() on the selected row.
#include <QList>
#include <QWidget>
#include <functional>

#include "model/simple_data.h"

class QScrollArea;

namespace kestrel::tools::shared {

class ClipListCell;

class ClipListView : public QWidget {
    Q_OBJECT
public:
    using RecordCallback = std::function<void(const kestrel::model::SimpleDataPtr&)>;
    using TransitionCallback = std::function<void(int row, int transition)>;

    explicit ClipListView(QWidget* parent = nullptr);

    // The records shown, in row order. Puts the selection on the first row; rows are rebuilt by
    // reloadData().
    void setItems(const QList<kestrel::model::SimpleDataPtr>& items);
    const QList<kestrel::model::SimpleDataPtr>& items() const { return items_; }

    // Stores the index; the highlight follows at the next reloadData().
    void setSelectedRow(qint64 row) { selectedRow_ = row; }
    qint64 selectedRow() const { return selectedRow_; }
    // The record of the selected row; null for an empty list.
    kestrel::model::SimpleDataPtr selectedItem() const { return selectedItem_; }

    void setRowHeight(int height) { rowHeight_ = height; }
    int rowHeight() const { return rowHeight_; }

    // Whether rows take presses (off while a batch runs); rebuilt rows keep the setting.
    void setRowsEnabled(bool enabled);
    bool rowsEnabled() const { return rowsEnabled_; }

    // While set, a row becoming selected is not reported; a press on a row clears it.
    void setSelectionReportSuppressed(bool suppressed) { suppressReport_ = suppressed; }
    bool selectionReportSuppressed() const { return suppressReport_; }

    // Rebuilds every row from the records.
    void reloadData();
    // Shows the records after rows were added at the end: added to an empty list, the first row
    // is selected and reported; added to a list with rows, the selected row stays and is not
    // reported again.
    void showAddedRows(const QList<kestrel::model::SimpleDataPtr>& items, bool wasEmpty);

    // On the selected row: 0 <= p < 1 shows its bar at p; any other value hides it.
    void setExportProgress(float fraction);
    // Selects the row (keeping earlier highlights until the next reload) and shows its bar;
    // ignored for a row that does not exist.
    void showProgress(qint64 row);
    void hiddenProgress(qint64 row);

    void setSelectItemCallback(RecordCallback cb) { selectItem_ = std::move(cb); }
    void setReferenceChangedCallback(RecordCallback cb) { referenceChanged_ = std::move(cb); }
    void setTransitionChangedCallback(TransitionCallback cb) { transitionChanged_ = std::move(cb); }

    int rowCount() const { return static_cast<int>(cells_.size()); }
    // Scrolls the list so that the row shows.
    void scrollToRow(int row);
    ClipListCell* cell(int row) const;
    // Re-reads the rows' localised captions.
    void retranslate();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void rowPressed(ClipListCell* cell);
    void rowSelected(ClipListCell* cell, bool selected);
    void referenceClicked(ClipListCell* cell);
    void layoutRows();

    QList<kestrel::model::SimpleDataPtr> items_;
    QList<ClipListCell*> cells_;
    qint64 selectedRow_ = 0;
    qint64 oldSelectedRow_ = -1;
    kestrel::model::SimpleDataPtr selectedItem_;
    int rowHeight_ = 100;
    bool rowsEnabled_ = true;
    bool suppressReport_ = false;
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    RecordCallback selectItem_, referenceChanged_;
    TransitionCallback transitionChanged_;
};

}  // namespace kestrel::tools::shared
