#pragma once
// One time edited in four fields (hours, minutes, seconds, milliseconds; tags 1 to 4) with an up
// (tag 10) and a down spin button. The spin buttons step the field last pressed in this group,
// within 0..59 (milliseconds 0..999); a field emptied and left gets back the text it had when it
// was pressed. The owner applies the time when a field is committed or stepped (edited) and
// writes its own value back.
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

#include "widgets/rd_text_field.h"

namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::shared {

class TimeFieldGroup : public QWidget, private widgets::RDTextFieldDelegate {
    Q_OBJECT
public:
    explicit TimeFieldGroup(QWidget* parent = nullptr);
    ~TimeFieldGroup() override;

    // Writes a time (microseconds) into the four fields.
    void setTimeUs(int64_t time_us);
    // The time the four fields hold now (each field read as a whole number).
    int64_t timeUs() const;

    // The fields take presses and typing only while editable.
    void setEditable(bool editable);
    bool editable() const { return editable_; }
    void setSteppersEnabled(bool enabled);
    // The field the spin buttons step (the seconds until another one is pressed).
    widgets::RDTextField* editedField() const { return fields[size_t(edited_)]; }
    // Makes the field at index (0..3) the stepped one, as a press on it does.
    void pressField(int index);
    // Ends typing in this group (the focused field is committed).
    void endEditing();

    std::array<widgets::RDTextField*, 4> fields{};
    widgets::ZorButton* upBtn = nullptr;
    widgets::ZorButton* downBtn = nullptr;

Q_SIGNALS:
    // A field of the group was pressed: its spin buttons now step it.
    void pressed();
    // A field was committed or stepped: the owner reads timeUs() and writes its value back.
    void edited();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void actionMouseDownForTextFieldBlock(widgets::RDTextField* field) override;
    void committed(int index);
    void step(int delta);

    int edited_ = 2;
    // What each field showed before the user edited it.
    std::array<QString, 4> shownText_;
    bool editable_ = false;
};

// "%02d" for hours, minutes and seconds, "%03d" for milliseconds.
QString timeFieldText(int index, int value);

}  // namespace kestrel::tools::shared
