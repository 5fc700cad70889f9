#pragma once
// The easy cutter's clip list: one row per clip with its picture, range and length; the
// selected row carries move up, move down, delete and paste (duplicate) buttons. The list shows
// the window's clips and reports what the user asks; the window changes the clips and reloads.
#include <QList>
#include <QWidget>
#include <functional>

#include "model/cutter_time_item.h"

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::cutter {

class EasyClipRow : public QWidget {
    Q_OBJECT
public:
    EasyClipRow(const kestrel::model::CutterTimeItem& clip, int index, int count, QWidget* parent = nullptr);

    int index() const { return index_; }
    QLabel* rangeLabel() const { return rangeLabel_; }
    QLabel* lengthLabel() const { return lengthLabel_; }
    kestrel::widgets::ZorButton* moveUpButton() const { return moveUpBtn_; }
    kestrel::widgets::ZorButton* moveDownButton() const { return moveDownBtn_; }
    kestrel::widgets::ZorButton* deleteButton() const { return deleteBtn_; }
    kestrel::widgets::ZorButton* pasteButton() const { return pastBtn_; }

Q_SIGNALS:
    void pressed(int index);
    void moveUp(int index);
    void moveDown(int index);
    void remove(int index);
    void paste(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int index_;
    bool selected_;
    QLabel* rangeLabel_ = nullptr;
    QLabel* lengthLabel_ = nullptr;
    kestrel::widgets::ZorButton *moveUpBtn_ = nullptr, *moveDownBtn_ = nullptr, *deleteBtn_ = nullptr, *pastBtn_ = nullptr;
};

class EasyClipList : public QWidget {
    Q_OBJECT
public:
    explicit EasyClipList(QWidget* parent = nullptr);

    // Rebuilds the rows from the clips (a clip's `selected` marks the selected row).
    void reload(const QList<kestrel::model::CutterTimeItem>& clips);
    int rowCount() const { return int(rows_.size()); }
    EasyClipRow* row(int index) const { return index >= 0 && index < rows_.size() ? rows_.at(index) : nullptr; }

    void setRowsEnabled(bool enabled);

Q_SIGNALS:
    void rowPressed(int index);
    void moveUp(int index);
    void moveDown(int index);
    void remove(int index);
    void paste(int index);
    // A press in the list beside every row.
    void pressedBeside();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    QVBoxLayout* column_ = nullptr;
    QList<EasyClipRow*> rows_;
};

}  // namespace kestrel::tools::cutter
