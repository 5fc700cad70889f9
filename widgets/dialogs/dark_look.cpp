#include "widgets/dialogs/dark_look.h"

#include "widgets/dialogs/dark_indicators.h"

#include "services/language.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <QEvent>
#include <QFontMetricsF>
#include <cmath>
#include <QWidget>

namespace kestrel::widgets {

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

void setPointSize(QWidget* widget, int points) {
    QFont font = widget->font();
    font.setPointSize(points);
    widget->setFont(font);
}

QPalette darkPalette() {
    // Fusion shades bevels and frames from Light, Midlight, Mid, Dark and Shadow: all dark here,
    // so no light edge shows.
    QPalette palette(kPanelColor, kDarkWindowColor);
    palette.setColor(QPalette::Window, kDarkWindowColor);
    palette.setColor(QPalette::WindowText, kTextColor);
    palette.setColor(QPalette::Base, kSunkenColor);
    palette.setColor(QPalette::AlternateBase, kPanelColor);
    palette.setColor(QPalette::Text, kTextColor);
    palette.setColor(QPalette::Button, kPanelColor);
    palette.setColor(QPalette::ButtonText, kTextColor);
    palette.setColor(QPalette::BrightText, kHoverTextColor);
    palette.setColor(QPalette::Light, kOutlineColor);
    palette.setColor(QPalette::Midlight, kRaisedColor);
    palette.setColor(QPalette::Mid, kOutlineColor);
    palette.setColor(QPalette::Dark, kSunkenColor);
    palette.setColor(QPalette::Shadow, QColor(10, 12, 15));
    palette.setColor(QPalette::Highlight, kPressedAccentColor);
    palette.setColor(QPalette::HighlightedText, kDarkWindowColor);
    palette.setColor(QPalette::Link, kHoverTextColor);
    palette.setColor(QPalette::LinkVisited, kPressedAccentColor);
    palette.setColor(QPalette::ToolTipBase, kPanelColor);
    palette.setColor(QPalette::ToolTipText, kTextColor);
    palette.setColor(QPalette::PlaceholderText, QColor(120, 128, 138));
    // Disabled pieces: the same faces, the text dimmed (the look guide's 0.4 opacity over the
    // window colour).
    const QColor dimmed(96, 102, 110);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, kOutlineColor);
    return palette;
}

namespace {
int advanceAt(const QLabel* label, int points, const QString& text) {
    QFont font = label->font();
    font.setPointSize(points);
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

void showCut(QLabel* label, const QString& text, int floorPoints) {
    setPointSize(label, floorPoints);
    label->setWordWrap(false);
    const int room = label->contentsRect().width();
    label->setText(QFontMetricsF(label->font()).elidedText(text, Qt::ElideRight, room));
    label->setToolTip(text);
}
}  // namespace

int fitOneLine(QLabel* label, const QString& text, int points, int floorPoints) {
    label->setWordWrap(false);
    label->setToolTip(QString());
    const int room = label->contentsRect().width();
    for (int size = points; size >= floorPoints; --size) {
        if (advanceAt(label, size, text) <= room) {
            setPointSize(label, size);
            label->setText(text);
            return size;
        }
    }
    showCut(label, text, floorPoints);
    return floorPoints;
}

int fitTwoLines(QLabel* label, const QString& text, int points, int floorPoints) {
    label->setToolTip(QString());
    const QRect box = label->contentsRect();
    // At each size from the largest: one line, else two; smaller only when neither fits.
    for (int size = points; size >= floorPoints; --size) {
        QFont font = label->font();
        font.setPointSize(size);
        const QFontMetrics metrics(font);
        const bool oneLine = advanceAt(label, size, text) <= box.width() && metrics.lineSpacing() <= box.height();
        const QRect need = metrics.boundingRect(QRect(0, 0, box.width(), 10000), Qt::TextWordWrap | Qt::AlignHCenter, text);
        const bool twoLines = need.width() <= box.width() && need.height() <= std::min(box.height(), 2 * metrics.lineSpacing() + 1);
        if (oneLine || twoLines) {
            setPointSize(label, size);
            label->setWordWrap(!oneLine);
            label->setText(text);
            return size;
        }
    }
    showCut(label, text, floorPoints);
    return floorPoints;
}

namespace {
// Moves every pop-up (menus, pop-up button lists) inside the window it opens from as it shows:
// a right-to-left menu opens leftwards of its point and would otherwise leave a window whose
// layout is not mirrored.
class PopUpPlacement : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* popUp = static_cast<QWidget*>(watched);
        if (!popUp->isWindow() || popUp->windowType() != Qt::Popup || !popUp->parentWidget()) return false;
        keepInside(popUp, popUp->parentWidget()->window());
        return false;
    }
};
}  // namespace

void keepInside(QWidget* popUp, const QWidget* window) {
    if (!popUp || !window || popUp == window) return;
    const QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
    QRect shown = popUp->geometry();
    if (shown.right() > area.right()) shown.moveRight(area.right());
    if (shown.left() < area.left()) shown.moveLeft(area.left());
    if (shown.bottom() > area.bottom() && shown.height() <= area.height()) shown.moveBottom(area.bottom());
    if (shown.top() < area.top()) shown.moveTop(area.top());
    if (shown.topLeft() != popUp->pos()) popUp->move(shown.topLeft());
}

void applyDarkLook() {
    static PopUpPlacement* placement = nullptr;
    if (!placement) {
        placement = new PopUpPlacement(qApp);
        qApp->installEventFilter(placement);
    }
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(new DarkIndicatorStyle(fusion));
    const QPalette palette = darkPalette();
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
}

namespace {
bool isTextControl(const QWidget* widget) {
    return qobject_cast<const QLabel*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QMenu*>(widget);
}
}  // namespace

void applyTextDirection(QWidget* root) {
    const Qt::LayoutDirection direction =
        services::Language::isalaboLanguage() ? Qt::RightToLeft : Qt::LeftToRight;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets)
        if (isTextControl(widget)) widget->setLayoutDirection(direction);
}

}  // namespace kestrel::widgets
