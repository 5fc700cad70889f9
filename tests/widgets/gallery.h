#pragma once
// Registry of the look-review program: each registry file adds named shots, each a function
// that builds one control in one state on a host of the window colour.
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace gallery {

struct Shot {
    QString name;                     // file name without ".png"
    std::function<QWidget*()> make;   // a parentless widget; the gallery deletes it
};

std::vector<Shot>& registry();

// Adds shots from a registry file at start-up: static gallery::Registrar r({...});
struct Registrar {
    explicit Registrar(std::vector<Shot> shots);
};

// A parentless panel of the window colour (RGB 23, 26, 32) holding the control at (10, 10).
QWidget* host(QWidget* control, QSize panelSize);

// A picture from the resource bundle, or a plain placeholder square of the hover colour.
QPixmap picture(const QString& name, QSize fallbackSize = QSize(24, 24));

}  // namespace gallery
