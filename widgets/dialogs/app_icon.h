#pragma once
// The application icon, drawn from the resource bundle's "AppIcon" picture.
#include <QIcon>
#include <QPixmap>

namespace kestrel::widgets {

QPixmap applicationIcon();
QIcon applicationWindowIcon();

}  // namespace kestrel::widgets
