#pragma once
// The application's style: Fusion, with the check box and radio button indicators drawn in the
// look guide's colours. Fusion outlines them in a shade of the window colour, which on the dark
// window leaves an empty circle nearly invisible and a chosen one hard to tell apart. The
// message boxes' question and information symbols are drawn in the guide's colours too: the
// stock ones are white glyphs on a light blue disc.
#include <QProxyStyle>

namespace kestrel::widgets {

class DarkIndicatorStyle : public QProxyStyle {
public:
    // Takes ownership of base (Fusion).
    explicit DarkIndicatorStyle(QStyle* base);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace kestrel::widgets
