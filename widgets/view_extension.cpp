#include "widgets/view_extension.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace kestrel::widgets {
namespace {

constexpr const char* kBackgroundColorProperty = "kestrelBackgroundColor";

// The platform's ultra-dark material: a near-black veil that lets a little of what lies
// behind show through.
class VibrancyBackdrop : public QWidget {
public:
    explicit VibrancyBackdrop(QWidget* host) : QWidget(host) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(host->rect());
        host->installEventFilter(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(18, 18, 20, 217));
    }
    // Follows the host's size in width and height.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
        return false;
    }
};

}  // namespace

void setBackgroundColor(QWidget* view, const QColor& color) {
    if (!view) return;
    view->setProperty(kBackgroundColorProperty, color);
    QPalette palette = view->palette();
    if (color.isValid()) palette.setColor(QPalette::Window, color);
    view->setPalette(palette);
    view->setAutoFillBackground(color.isValid());
    view->update();
}

QColor backgroundColor(const QWidget* view) {
    if (!view) return QColor();
    return view->property(kBackgroundColorProperty).value<QColor>();
}

QWidget* insertVibrancyViewBlendingMode(QWidget* view, int blendingMode) {
    if (!view) return nullptr;
    auto* backdrop = new VibrancyBackdrop(view);
    backdrop->setProperty("blendingMode", blendingMode);
    backdrop->lower();
    backdrop->show();
    return backdrop;
}

}  // namespace kestrel::widgets
