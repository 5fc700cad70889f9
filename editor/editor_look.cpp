#include "editor/editor_look.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

#include "services/language.h"

namespace editor::look {

QFont systemFont(int pointSize) {
    QFont f;
    f.setPointSize(pointSize);
    return f;
}

QPixmap picture(const QString& name) { return services::Language::pixmapWithfileName(name); }

void setBackground(QWidget* view, const QColor& colour) {
    QPalette p = view->palette();
    p.setColor(QPalette::Window, colour);
    view->setPalette(p);
    view->setAutoFillBackground(true);
}

QLabel* makeLabel(QWidget* parent, int pointSize, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setFont(systemFont(pointSize));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

}  // namespace editor::look
