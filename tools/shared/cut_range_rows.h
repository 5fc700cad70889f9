#pragma once
// The two rows of a cut range, laid in a grid the tool has set up: a caption, the time in its
// fields, a button that sets the time to the preview's position and one that resets it; the
// start's row first, then the end's. The reverse tool and the GIF maker show them alike.
#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

namespace kestrel::widgets {
class XJGraphicButton;
}  // namespace kestrel::widgets

namespace kestrel::tools::shared {

class TimeFieldGroup;

struct CutRangeRowNames {
    QString startCaption;  // the captions' object names (may be empty)
    QString endCaption;
    QString startFields;  // the time field groups' object names
    QString endFields;
};

struct CutRangeRows {
    QLabel* startCaption = nullptr;
    QLabel* endCaption = nullptr;
    TimeFieldGroup* start = nullptr;
    TimeFieldGroup* end = nullptr;
    widgets::XJGraphicButton* setStart = nullptr;
    widgets::XJGraphicButton* setEnd = nullptr;
    widgets::XJGraphicButton* resetStart = nullptr;
    widgets::XJGraphicButton* resetEnd = nullptr;
};

// The controls are children of panel, which grid lays out.
CutRangeRows cutRangeRows(QWidget* panel, QGridLayout* grid, const CutRangeRowNames& names);

}  // namespace kestrel::tools::shared
