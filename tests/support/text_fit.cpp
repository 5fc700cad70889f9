#include "tests/support/text_fit.h"

#include "platform/user_defaults.h"
#include "services/language.h"
#include "widgets/ns_progress_view.h"
#include "widgets/zor_button.h"
#include "widgets/zor_button_layout.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include "widgets/eliding_combo_box.h"
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

namespace kestrel::test {
namespace {

const QChar kEllipsis(0x2026);

QRect windowRect(const QWidget* widget, const QWidget* window) { return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()); }

// What of widget shows: its frame clipped by every parent and the window.
QRect visibleRect(const QWidget* widget, const QWidget* window) {
    QRect shown = windowRect(widget, window);
    for (const QWidget* parent = widget->parentWidget(); parent && parent != window; parent = parent->parentWidget())
        shown &= windowRect(parent, window);
    return shown & window->rect();
}

std::string describe(const QRect& r) {
    return "(" + std::to_string(r.x()) + ", " + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height()) + ")";
}

int advance(const QFont& font, const QString& text) { return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text))); }

bool inside(const QWidget* widget, const QList<QWidget*>& roots) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (roots.contains(const_cast<QWidget*>(w))) return true;
    return false;
}

// Part of the control lies outside the scroll view it is listed in.
bool scrolledOut(const QWidget* control, const QWidget* window) {
    for (const QWidget* w = control->parentWidget(); w && w != window; w = w->parentWidget()) {
        const auto* area = qobject_cast<const QAbstractScrollArea*>(w->parentWidget());
        if (area && area->viewport() == w) return !visibleRect(w, window).contains(windowRect(control, window));
    }
    return visibleRect(control, window).isEmpty();
}

bool insideProgressView(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (dynamic_cast<const kestrel::widgets::NSProgressView*>(w)) return true;
    return false;
}

// A control's text: the room it has, the width (or height, wrapped) it needs and where it is
// drawn (window coordinates).
struct ShownText {
    QString text;
    int needed = 0;
    int room = 0;
    QRect drawn;
    QFont font;
    bool markBeforeText = true;  // a check box's mark on the side its text starts from
    bool directed = true;        // reads in the language's direction (a field holds the user's
                                 // own text, paths and numbers, in theirs)
};

int alignedX(Qt::Alignment alignment, const QRect& box, int width) {
    if (alignment & Qt::AlignRight) return box.right() + 1 - width;
    if (alignment & Qt::AlignHCenter) return box.left() + (box.width() - width) / 2;
    return box.left();
}

// The rows a one-line text's glyphs cover when drawn in box with the alignment given: from the
// top of its tallest glyph (marks above Arabic letters, accents on capitals) down to its deepest
// one, within the label. A text whose glyphs rise above its label is cut at the top.
std::pair<int, int> inkRows(const QFont& font, const QString& text, const QRect& box, Qt::Alignment alignment) {
    const QFontMetricsF metrics(font);
    double lineTop = box.top();
    if (alignment & Qt::AlignBottom)
        lineTop = box.top() + box.height() - metrics.height();
    else if (!(alignment & Qt::AlignTop))
        lineTop = box.top() + (box.height() - metrics.height()) / 2;
    const double baseline = lineTop + metrics.ascent();
    const QRectF ink = metrics.tightBoundingRect(text);
    // A pixel of anti-aliasing either side is no clipping.
    const int top = int(std::floor(baseline + ink.top())) + 1;
    // Only the top is judged: descenders may touch the label's lower edge.
    const int bottom = std::min(int(std::ceil(baseline + ink.bottom())) - 1, box.bottom() + 1);
    return {top, std::max(top + 1, bottom)};
}

// A label with a buddy draws "&N" as an underlined N and "&&" as "&".
QString withoutMnemonics(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

QString plain(const QLabel* label) {
    if (label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text()))
        return label->buddy() ? withoutMnemonics(label->text()) : label->text();
    QTextDocument document;
    document.setHtml(label->text());
    return document.toPlainText();
}

std::optional<ShownText> shownText(QWidget* control, const QWidget* window) {
    const QRect frame = windowRect(control, window);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text().isEmpty()) return std::nullopt;
        if (label->wordWrap()) {
            // Wrapped: every line within the width, all lines within the height.
            const QRect box = label->contentsRect();
            const QRect need = QFontMetrics(label->font()).boundingRect(box, Qt::TextWordWrap | label->alignment(), plain(label));
            // The lines' glyphs: from the tallest one of the first line to the deepest of the last.
            const QRect lines = need.translated(frame.topLeft());
            const QFontMetricsF metrics(label->font());
            const QRectF ink = metrics.tightBoundingRect(plain(label));
            const int inkTop = int(std::floor(lines.top() + metrics.ascent() + ink.top())) + 1;
            const int inkBottom = std::max(inkTop + 1, std::min(int(std::ceil(lines.bottom() + 1 - metrics.descent() + ink.bottom())) - 1,
                                                                frame.bottom() + 1));
            return ShownText{plain(label), std::max(need.height(), need.width() > box.width() ? box.height() + 1 : 0),
                             box.height(), QRect(frame.x(), inkTop, frame.width(), inkBottom - inkTop), label->font()};
        }
        const QString text = plain(label);
        const int needed = advance(label->font(), text);
        const QRect box = label->contentsRect().translated(frame.topLeft());
        const Qt::Alignment alignment = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        const auto [inkTop, inkBottom] = inkRows(label->font(), text, box, label->alignment());
        return ShownText{text, needed, box.width(), QRect(alignedX(alignment, box, needed), inkTop, needed, inkBottom - inkTop),
                         label->font()};
    }
    if (auto* button = qobject_cast<kestrel::widgets::ZorButton*>(control)) {
        if (button->contentTitle().isEmpty()) return std::nullopt;
        kestrel::widgets::ZorLayoutInput layout = button->layoutInput();
        const bool leading = button->imagePosition() == kestrel::widgets::ImagePosition::ImageLeading;
        const int picture = leading ? static_cast<int>(std::ceil(layout.picture.width())) : 0;
        const int text = advance(button->font(), button->contentTitle());
        if (layout.leftIconWidth > 0 && !leading) {
            // The glyph at the left belongs to the face: the title starts after it.
            layout.text.setWidth(text);
            const QRect drawn = kestrel::widgets::zorTitleRect(layout).toAlignedRect().translated(frame.topLeft());
            const int room = button->width() - static_cast<int>(std::ceil(layout.leftIconWidth));
            return ShownText{button->contentTitle(), drawn.left() - frame.left() < layout.leftIconWidth ? room + 1 : text, room,
                             QRect(drawn.x(), frame.y(), text, frame.height()), button->font()};
        }
        const int needed = picture + text;
        if (leading && picture > 0) {
            // Picture and title where the button draws them: the picture on the side the text
            // starts from (the left, or the right in a right-to-left language).
            const QRectF title = kestrel::widgets::zorTitleRect(layout);
            const QRectF mark(kestrel::widgets::zorPictureOrigin(layout), layout.picture);
            const QRect drawn = title.united(mark).toAlignedRect().translated(frame.topLeft());
            ShownText shown{button->contentTitle(), needed, button->width(), QRect(drawn.x(), frame.y(), drawn.width(), frame.height()),
                            button->font()};
            const bool rightToLeft = button->layoutDirection() == Qt::RightToLeft;
            shown.markBeforeText = rightToLeft ? mark.left() >= title.right() - 1 : mark.right() <= title.left() + 1;
            return shown;
        }
        const int x = leading ? frame.left() : alignedX(Qt::AlignHCenter, frame, needed);
        return ShownText{button->contentTitle(), needed, button->width(), QRect(x, frame.y(), needed, frame.height()), button->font()};
    }
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        // A field scrolls a text longer than itself (a path): what it shows must be in view and
        // clear of other controls.
        if (field->text().isEmpty()) return std::nullopt;
        QStyleOptionFrame option;
        option.initFrom(field);
        option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
        const QMargins margins = field->textMargins();
        const QRect box = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field)
                              .marginsRemoved(margins)
                              .adjusted(2, 0, -2, 0)  // the field's own inner margin
                              .translated(frame.topLeft());
        const QString shown = field->echoMode() == QLineEdit::Normal ? field->text() : field->displayText();
        const int width = std::min(advance(field->font(), shown), box.width());
        const Qt::Alignment alignment = QStyle::visualAlignment(field->layoutDirection(), field->alignment());
        ShownText text{shown, width, box.width(), QRect(alignedX(alignment, box, width), box.y(), width, box.height()), field->font()};
        text.directed = false;
        return text;
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        if (button->text().isEmpty()) return std::nullopt;
        return ShownText{button->text(), button->sizeHint().width(), button->width(), frame, button->font()};
    }
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control)) {
        // Indicator and text: the style's own measure of both against the box they have.
        const auto* choice = static_cast<QAbstractButton*>(control);
        if (choice->text().isEmpty()) return std::nullopt;
        const int needed = choice->sizeHint().width();
        const bool fromRight = choice->layoutDirection() == Qt::RightToLeft;
        const int x = fromRight ? frame.right() + 1 - needed : frame.left();
        return ShownText{choice->text(), needed, choice->width(), QRect(x, frame.y(), needed, frame.height()), choice->font()};
    }
    if (auto* eliding = dynamic_cast<kestrel::widgets::ElidingComboBox*>(control)) {
        // It draws its text cut to the box, with the whole text as its tool tip.
        if (eliding->currentText().isEmpty()) return std::nullopt;
        const QString shown = eliding->shownText();
        return ShownText{shown, advance(eliding->font(), shown), 1 << 20, frame, eliding->font()};
    }
    if (auto* popUp = qobject_cast<QComboBox*>(control)) {
        if (popUp->currentText().isEmpty()) return std::nullopt;
        QStyleOptionComboBox option;
        option.initFrom(popUp);
        option.currentText = popUp->currentText();
        const QRect field = popUp->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, popUp);
        return ShownText{popUp->currentText(), advance(popUp->font(), popUp->currentText()), field.width(), frame, popUp->font()};
    }
    return std::nullopt;
}

// Widgets that draw something of their own; plain containers only group others.
bool drawsItself(const QWidget* widget) {
    return std::strcmp(widget->metaObject()->className(), "QWidget") != 0 || widget->testAttribute(Qt::WA_StyledBackground) ||
           widget->autoFillBackground();
}

bool hasToolTip(const QWidget* control, const QWidget* window) {
    for (const QWidget* w = control; w; w = w->parentWidget()) {
        if (!w->toolTip().isEmpty()) return true;
        if (w == window) break;
    }
    return false;
}

}  // namespace

int expectTextsFit(QWidget* window, const std::string& state, bool rightToLeft, const QList<QWidget*>& leftToRight) {
    TextFitRules rules;
    rules.rightToLeft = rightToLeft;
    rules.leftToRight = leftToRight;
    return expectTextsFit(window, state, rules);
}

int expectTextsFit(QWidget* window, const std::string& state, const TextFitRules& rules) {
    QApplication::processEvents();
    const QList<QWidget*> all = window->findChildren<QWidget*>();
    int checked = 0;
    for (QWidget* control : all) {
        if (!control->isVisibleTo(window) || insideProgressView(control) || inside(control, rules.skipped)) continue;
        // Scrolled (wholly or partly) out of its list: it is checked where it shows whole.
        if (scrolledOut(control, window)) continue;
        const std::optional<ShownText> text = shownText(control, window);
        if (!text) continue;
        ++checked;
        const std::string where = state + ": \"" + text->text.toStdString() + "\" (" + control->metaObject()->className() + ")";
        EXPECT_LE(text->needed, text->room) << where << " does not fit its control";
        EXPECT_TRUE(text->markBeforeText) << where << " has its mark on the side its text ends";
        const QFontInfo font(text->font);
        // Glyphs drawn as characters (the steppers' arrows) are pictures, not text to read.
        const bool readable = std::any_of(text->text.begin(), text->text.end(), [](QChar c) { return c.isLetterOrNumber(); });
        if (readable) EXPECT_GE(font.pointSizeF(), rules.floorPointSize - 0.01) << where << " shrunk below the floor size";
        // A label cut to fit keeps the whole text reachable. (Buttons draw their whole title or
        // fail the width check above; their own titles may end in an ellipsis, "Color…".)
        if ((qobject_cast<QLabel*>(control) || dynamic_cast<kestrel::widgets::ElidingComboBox*>(control)) &&
            text->text.contains(kEllipsis))
            EXPECT_TRUE(hasToolTip(control, window)) << where << " is cut without a tool tip";
        const QRect visible = visibleRect(control, window);
        EXPECT_TRUE(visible.contains(text->drawn)) << where << " drawn at " << describe(text->drawn) << ", shown " << describe(visible);
        for (QWidget* other : all) {
            if (other == control || !other->isVisibleTo(window) || !drawsItself(other) || other->isAncestorOf(control) ||
                control->isAncestorOf(other))
                continue;
            const QRect obstacle = visibleRect(other, window);
            // A view that holds the whole control is its backdrop (a selection face, a panel
            // picture), not something the text runs into.
            if (obstacle.contains(visibleRect(control, window))) continue;
            EXPECT_FALSE(text->drawn.intersects(obstacle))
                << where << " at " << describe(text->drawn) << " runs into " << other->metaObject()->className() << " at "
                << describe(obstacle);
        }
        // Numbers and times carry no direction of their own: they may stay left to right.
        const bool lettered = std::any_of(text->text.begin(), text->text.end(), [](QChar c) { return c.isLetter(); });
        const Qt::LayoutDirection expected =
            rules.rightToLeft && !rules.leftToRight.contains(control) ? Qt::RightToLeft : Qt::LeftToRight;
        if (text->directed && (lettered || expected == Qt::LeftToRight))
            EXPECT_EQ(control->layoutDirection(), expected) << where << " reads the wrong way";
    }
    // The window itself is never mirrored.
    EXPECT_EQ(window->layoutDirection(), Qt::LeftToRight) << state << ": the window is mirrored";
    return checked;
}

void AllLanguagesTest::clearDefaults() {
    auto& defaults = platform::UserDefaults::standard();
    for (const QString& key : defaults.allKeys()) defaults.removeObjectForKey(key);
}

void AllLanguagesTest::SetUp() {
    clearDefaults();
    platform::UserDefaults::standard().setInteger("AppLanguage", GetParam());
    services::Language::setLanguage();
    // As the application does: Qt's own Arabic translation would mirror whole windows.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

void AllLanguagesTest::TearDown() {
    clearDefaults();
    services::Language::setLanguage();
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

bool AllLanguagesTest::arabic() const { return GetParam() == 8; }

QString AllLanguagesTest::languageFolder() const { return services::Language::languageFolder(GetParam()); }

std::string languageParamName(const ::testing::TestParamInfo<int>& info) {
    return services::Language::languageFolder(info.param).replace('-', '_').toStdString();
}

}  // namespace kestrel::test
