#pragma once
// One cell of the collage laid over the preview: it shows the selection frame and, while empty,
// an add sign; it turns clicks, drags and file drops into signals. It carries the cell's record
// (what the composition is built from) and the crop the user chose; it never calls the engine.
#include "session/edit/collage_composition.h"

#include <QPoint>
#include <QWidget>

namespace kestrel::tools::collage {

class CollageCellView : public QWidget {
    Q_OBJECT
public:
    CollageCellView(int index, QWidget* parent = nullptr);

    int index() const { return index_; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    void setPlaying(bool playing);

    session::CollageCell cell;
    session::CellEdges crop;   // the user's crop of the turned, mirrored picture

    bool holdsFile() const { return !cell.path.isEmpty(); }
    // Empties the cell, keeping its place in the layout.
    void clearFile();

Q_SIGNALS:
    void clicked(int index);
    void fileDropped(int index, const QString& path);
    void panStarted(int index);
    void panned(int index, QPoint offset);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void repaintWithGround();

    int index_;
    bool selected_ = false;
    bool playing_ = false;
    static constexpr int kPanThreshold = 5;
    QPoint pressAt_;
    bool pressed_ = false;
    bool panning_ = false;
};

}  // namespace kestrel::tools::collage
