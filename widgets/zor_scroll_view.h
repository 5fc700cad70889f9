#pragma once
// A scroll view with an enable flag its owners keep.
#include <QScrollArea>

namespace kestrel::widgets {

class ZorScrollView : public QScrollArea {
    Q_OBJECT
public:
    explicit ZorScrollView(QWidget* parent = nullptr) : QScrollArea(parent) {}

    bool enable() const { return enable_; }
    void setEnable(bool v) { enable_ = v; }

private:
    bool enable_ = false;
};

}  // namespace kestrel::widgets
