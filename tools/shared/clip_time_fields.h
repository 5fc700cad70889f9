#pragma once
// One time as four fields (hours, minutes, seconds, milliseconds) with up and down steppers for
// the field last pressed. A change the user typed is reported once, when Return is pressed or
// the focus leaves the four fields (moving between them with Tab edits one time); leaving them
// unchanged reports nothing, so a field that loses the focus to a button never undoes what the
// button is about to do.
#include "widgets/rd_text_field.h"

#include <QWidget>
#include <array>
#include <cstdint>

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::shared {

class ClipTimeFields : public QWidget, public widgets::RDTextFieldDelegate {
    Q_OBJECT
public:
    explicit ClipTimeFields(QWidget* parent = nullptr);
    ~ClipTimeFields() override;

    // Shows a time; it is the group's value until the user changes a field.
    void setTimeUs(int64_t us);
    int64_t timeUs() const { return time_us_; }
    // What the four fields hold now (minutes and seconds above 59 count as they read).
    int64_t shownUs() const;
    // The steppers work only after one of the group's fields was pressed.
    void setSteppersEnabled(bool enabled);

    // hours, minutes, seconds, milliseconds
    std::array<widgets::RDTextField*, 4> fields{};
    widgets::ZorButton* upBtn = nullptr;
    widgets::ZorButton* downBtn = nullptr;

Q_SIGNALS:
    // A typed time that differs from the group's value, when it is committed: by Return
    // (byReturn) or by the focus leaving the fields.
    void edited(qint64 us, bool byReturn);
    // A stepper moved the pressed field by one; the owner takes the time or sets it back.
    void stepped(qint64 us);
    // One of the fields was pressed.
    void fieldPressed();

private:
    void actionMouseDownForTextFieldBlock(widgets::RDTextField* field) override;
    void step(int delta);
    void commit(bool byReturn);

    widgets::RDTextField* editing_ = nullptr;
    int64_t time_us_ = 0;
};

// "%02i" of hours, minutes and seconds and "%03i" of milliseconds of a time.
std::array<QString, 4> timeFieldTexts(int64_t us);
// hours x 3600 + minutes x 60 + seconds + milliseconds / 1000 of four field texts, in µs.
int64_t timeOfFieldTexts(const std::array<QString, 4>& texts);

}  // namespace kestrel::tools::shared
