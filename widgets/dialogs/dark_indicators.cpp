#include "widgets/dialogs/dark_indicators.h"

#include "widgets/dialogs/dark_look.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPainterPath>
#include <QStyleOption>
#include <algorithm>

namespace kestrel::widgets {
namespace {

constexpr qreal kStroke = 1.5;  // the look guide's stroke
constexpr int kRestingAlpha = 170;
constexpr qreal kDisabledOpacity = 0.4;

// The indicator's square, inset so the stroke stays inside it.
QRectF indicatorBox(const QRect& rect) {
    const qreal side = std::min(rect.width(), rect.height()) - 1.0;
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(rect).center());
    return box.adjusted(kStroke / 2, kStroke / 2, -kStroke / 2, -kStroke / 2);
}

QColor outlineColour(const QStyleOption* option) {
    if (option->state & QStyle::State_On) return kHoverTextColor;
    if ((option->state & QStyle::State_MouseOver) && (option->state & QStyle::State_Enabled)) return kHoverTextColor;
    QColor resting = kTextColor;
    resting.setAlpha(kRestingAlpha);
    return resting;
}

void drawRadio(const QStyleOption* option, QPainter* painter) {
    const QRectF box = indicatorBox(option->rect);
    painter->setPen(QPen(outlineColour(option), kStroke));
    painter->setBrush(option->state & QStyle::State_Sunken ? kRaisedColor : kSunkenColor);
    painter->drawEllipse(box);
    if (option->state & QStyle::State_On) {
        const qreal radius = box.width() * 0.27;
        painter->setPen(Qt::NoPen);
        painter->setBrush(kHoverTextColor);
        painter->drawEllipse(box.center(), radius, radius);
    }
}

void drawCheck(const QStyleOption* option, QPainter* painter) {
    const QRectF box = indicatorBox(option->rect);
    const bool on = option->state & QStyle::State_On;
    painter->setPen(QPen(outlineColour(option), kStroke));
    painter->setBrush(on ? kHoverTextColor : (option->state & QStyle::State_Sunken ? kRaisedColor : kSunkenColor));
    painter->drawRoundedRect(box, 3, 3);
    QPen mark(kDarkWindowColor, kStroke + 0.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (on) {
        QPainterPath tick;
        tick.moveTo(box.left() + box.width() * 0.24, box.top() + box.height() * 0.52);
        tick.lineTo(box.left() + box.width() * 0.43, box.top() + box.height() * 0.71);
        tick.lineTo(box.left() + box.width() * 0.77, box.top() + box.height() * 0.31);
        painter->setPen(mark);
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(tick);
    } else if (option->state & QStyle::State_NoChange) {
        mark.setColor(kHoverTextColor);
        painter->setPen(mark);
        const qreal y = box.center().y();
        painter->drawLine(QPointF(box.left() + box.width() * 0.25, y), QPointF(box.right() - box.width() * 0.25, y));
    }
}

// A message box symbol: the glyph in the accent colour inside a ring of it, on a raised disc.
QIcon messageSymbol(const QString& glyph) {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap picture(side, side);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        const qreal stroke = std::max<qreal>(1.5, side / 16.0);
        const QRectF disc = QRectF(0, 0, side, side).adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
        painter.setPen(QPen(kHoverTextColor, stroke));
        painter.setBrush(kRaisedColor);
        painter.drawEllipse(disc);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(std::max(8, int(side * 0.62)));
        painter.setFont(font);
        painter.setPen(kHoverTextColor);
        painter.drawText(disc, Qt::AlignCenter, glyph);
        icon.addPixmap(picture);
    }
    return icon;
}

}  // namespace

QIcon DarkIndicatorStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                       const QWidget* widget) const {
    switch (standardIcon) {
    case SP_MessageBoxQuestion: return messageSymbol(QStringLiteral("?"));
    case SP_MessageBoxInformation: return messageSymbol(QStringLiteral("i"));
    default: break;
    }
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

DarkIndicatorStyle::DarkIndicatorStyle(QStyle* base) : QProxyStyle(base) {}

void DarkIndicatorStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                       const QWidget* widget) const {
    if (element != PE_IndicatorRadioButton && element != PE_IndicatorCheckBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (!(option->state & State_Enabled)) painter->setOpacity(kDisabledOpacity);
    if (element == PE_IndicatorRadioButton) drawRadio(option, painter);
    else drawCheck(option, painter);
    painter->restore();
}

}  // namespace kestrel::widgets
