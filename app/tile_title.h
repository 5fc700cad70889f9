#pragma once
// The title under a home-screen tile's symbol: one line when it fits, else two lines, smaller
// down to a floor size, and only then cut with the whole title in the tool tip.
#include <QColor>
#include <QLabel>

namespace app {

class TileTitle : public QLabel {
    Q_OBJECT
public:
    static constexpr int kPointSize = 13;
    static constexpr int kFloorPointSize = 10;

    explicit TileTitle(QWidget* tile);

    // Shows title, placed and sized to fit the tile.
    void showTitle(const QString& title);
    QString title() const { return title_; }

    void setTextColor(const QColor& color);
    QColor textColor() const { return palette().color(QPalette::WindowText); }

private:
    QString title_;
};

}  // namespace app
