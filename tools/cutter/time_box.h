#pragma once
// A time in four fields (hours, minutes, seconds and hundredths or milliseconds) with up and
// down steppers that step the field last clicked. Reports what the user types while typing,
// each committed value (Return, Tab or the focus leaving) and each step.
#include <QWidget>
#include <cstdint>

#include "tools/cutter/cut_time.h"
#include "widgets/rd_text_field.h"

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::cutter {

class TimeBox : public QWidget, public kestrel::widgets::RDTextFieldDelegate {
    Q_OBJECT
public:
    TimeBox(int fractionDigits, QWidget* parent = nullptr);
    ~TimeBox() override;

    void setTimeUs(int64_t us);
    int64_t timeUs() const;
    TimeFields fields() const;

    // Steps the field last clicked (the seconds field before any click) by +1 or -1.
    void step(int delta);
    // Takes a step back without a report (a step that left no valid range).
    void takeBackStep(int field, int delta);
    kestrel::widgets::RDTextField* field(int index) const { return fields_[index]; }
    // The field last clicked or focused, or null.
    kestrel::widgets::RDTextField* editingField() const;
    kestrel::widgets::ZorButton* upButton() const { return up_; }
    kestrel::widgets::ZorButton* downButton() const { return down_; }

    // RDTextFieldDelegate: a press chooses the field the steppers change.
    void actionMouseDownForTextFieldBlock(kestrel::widgets::RDTextField* field) override;

Q_SIGNALS:
    // The user typed into a field (before committing it).
    void typing();
    // The user committed a typed value.
    void edited();
    // The user stepped a field (its index) by delta.
    void stepped(int field, int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setField(int index, int value);

    int fractionDigits_;
    kestrel::widgets::RDTextField* fields_[4] = {};
    int editing_ = 2;
    bool clicked_ = false;
    kestrel::widgets::ZorButton* up_ = nullptr;
    kestrel::widgets::ZorButton* down_ = nullptr;
};

}  // namespace kestrel::tools::cutter
