#include "tools/collage/collage_cell_view.h"

#include "widgets/dialogs/dark_look.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace kestrel::tools::collage {

namespace {
const QColor kSelection(96, 222, 208);
const QColor kEmptyFace(34, 39, 48);
const QColor kOutline(58, 65, 77);
}  // namespace

CollageCellView::CollageCellView(int index, QWidget* parent) : QWidget(parent), index_(index) {
    setAcceptDrops(true);
    setAttribute(Qt::WA_TranslucentBackground);
    setObjectName(QStringLiteral("collageCell%1").arg(index));
}

void CollageCellView::setSelected(bool selected) {
    selected_ = selected;
    repaintWithGround();
}

void CollageCellView::setPlaying(bool playing) {
    playing_ = playing;
    repaintWithGround();
}

void CollageCellView::repaintWithGround() {
    // A see-through cell: the preview under it must be drawn again, or the old frame stays.
    if (parentWidget()) parentWidget()->update(geometry());
    update();
}

void CollageCellView::clearFile() {
    const session::CellEdges show = cell.show;
    cell = session::CollageCell{};
    cell.show = show;
    crop = session::CellEdges{};
    update();
}

void CollageCellView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!holdsFile()) {
        // The preview shows nothing here: an add sign on a plain face.
        painter.fillRect(rect().adjusted(1, 1, -1, -1), kEmptyFace);
        const int arm = std::max(6, std::min(width(), height()) / 8);
        QPen pen(widgets::kTextColor, 2, Qt::SolidLine, Qt::RoundCap);
        painter.setPen(pen);
        const QPoint c = rect().center();
        painter.drawLine(c.x() - arm, c.y(), c.x() + arm, c.y());
        painter.drawLine(c.x(), c.y() - arm, c.x(), c.y() + arm);
        painter.setPen(QPen(kOutline, 1));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (selected_ && !playing_) {
        painter.setPen(QPen(kSelection, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void CollageCellView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressAt_ = event->position().toPoint();
    pressed_ = true;
    panning_ = false;
    Q_EMIT clicked(index_);
    if (holdsFile()) Q_EMIT panStarted(index_);
}

void CollageCellView::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ || !(event->buttons() & Qt::LeftButton) || !holdsFile()) return;
    const QPoint offset = event->position().toPoint() - pressAt_;
    // A click with a little jitter is a click: the picture moves once the pointer went 5 pixels.
    if (!panning_ && offset.manhattanLength() < kPanThreshold) return;
    panning_ = true;
    Q_EMIT panned(index_, offset);
}

void CollageCellView::mouseReleaseEvent(QMouseEvent*) {
    pressed_ = false;
    panning_ = false;
}

void CollageCellView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().first().isLocalFile()) event->acceptProposedAction();
}

void CollageCellView::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    Q_EMIT fileDropped(index_, urls.first().toLocalFile());
}

}  // namespace kestrel::tools::collage
