#pragma once
// A plain view whose children are placed from the top-left corner (y grows downwards).
#include <QWidget>

#include "platform/frame.h"

namespace kestrel::widgets {

class PlayerView : public QWidget {
    Q_OBJECT
public:
    explicit PlayerView(QWidget* parent = nullptr) : QWidget(parent) { platform::setFlipped(this, true); }
    bool isFlipped() const { return true; }
};

}  // namespace kestrel::widgets
