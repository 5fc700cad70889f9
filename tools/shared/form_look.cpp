#include "tools/shared/form_look.h"

#include "widgets/tool_window.h"

#include <QFrame>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace kestrel::tools::shared {

void applyFormLook(QWidget* window, const QString& accentButton) {
    kestrel::widgets::applyToolWindowLook(window);
    const QString accent = QStringLiteral("QPushButton#") + accentButton;
    window->setStyleSheet(
        QStringLiteral(
            "QWidget { color: rgb(170,177,185); font-size: 13px; }"
            "QLabel#titleLine { font-size: 16px; }"
            "QFrame#panel { background: rgb(32,35,43); border-radius: 5px; }"
            "QPushButton { background: rgb(49,60,72); border: none; border-radius: 5px; padding: 5px 10px; color: rgb(220,226,232); }"
            "QPushButton:hover { background: rgb(60,74,88); }"
            "QPushButton:disabled { color: rgb(95,100,108); background: rgb(36,42,50); }"
            "QComboBox, QLineEdit { background: rgb(21,27,33); border: 1px solid rgb(49,60,72); border-radius: 3px; padding: 2px 4px; }"
            "QComboBox:disabled, QLineEdit:disabled { color: rgba(170,177,185,0.5); }"
            "QComboBox QAbstractItemView { background: rgb(32,35,43); color: rgb(170,177,185); selection-background-color: rgb(33,176,235); }"
            "QRadioButton:disabled, QLabel:disabled { color: rgba(170,177,185,0.5); }"
            "QSlider::groove:horizontal { height: 4px; background: rgb(49,60,72); }"
            "QSlider::sub-page:horizontal { background: rgb(33,176,235); }"
            "QSlider::handle:horizontal { background: white; width: 12px; margin: -4px 0; border-radius: 6px; }") +
        accent + QStringLiteral(" { background: rgb(33,176,235); color: white; }") + accent +
        QStringLiteral(":disabled { background: rgb(36,42,50); color: rgb(95,100,108); }"));
}

QPushButton* makeFormButton(QWidget* parent, const QString& name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QFrame* makeFormPanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("panel"));
    return panel;
}

}  // namespace kestrel::tools::shared
