#pragma once
// A time in four fields (hours, minutes, seconds and hundredths or milliseconds) with up and
// down steppers that step the field last clicked. Reports each step and each typed value.
#include <QWidget>
#include <cstdint>

#include "tools/cutter/cut_time.h"

class QLineEdit;

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::cutter {

class TimeBox : public QWidget {
    Q_OBJECT
public:
    TimeBox(int fractionDigits, QWidget* parent = nullptr);

    void setTimeUs(int64_t us);
    int64_t timeUs() const;
    TimeFields fields() const;

    // Steps the field last clicked (the seconds field before any click) by +1 or -1.
    void step(int delta);
    QLineEdit* field(int index) const { return fields_[index]; }
    kestrel::widgets::ZorButton* upButton() const { return up_; }
    kestrel::widgets::ZorButton* downButton() const { return down_; }

Q_SIGNALS:
    // The user stepped or typed a value.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int fractionDigits_;
    QLineEdit* fields_[4] = {};
    int editing_ = 2;
    kestrel::widgets::ZorButton* up_ = nullptr;
    kestrel::widgets::ZorButton* down_ = nullptr;
};

}  // namespace kestrel::tools::cutter
