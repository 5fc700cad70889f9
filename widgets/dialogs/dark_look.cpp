#include "widgets/dialogs/dark_look.h"

#include "services/language.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
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
