#pragma once
// The application icon, drawn from the resource bundle's "AppIcon" picture.
#include <QIcon>
#include <QPixmap>

namespace app {

QPixmap applicationIcon();
QIcon applicationWindowIcon();

}  // namespace app
