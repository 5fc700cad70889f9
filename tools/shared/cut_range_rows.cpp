#include "tools/shared/cut_range_rows.h"

#include <QGridLayout>
#include <QLabel>

#include "tools/shared/kit_controls.h"
#include "tools/shared/time_field_group.h"
#include "widgets/xj_graphic_button.h"

namespace kestrel::tools::shared {

CutRangeRows cutRangeRows(QWidget* panel, QGridLayout* grid, const CutRangeRowNames& names) {
    CutRangeRows rows;
    rows.startCaption = toolLabel(panel, 13, kToolText, names.startCaption);
    rows.endCaption = toolLabel(panel, 13, kToolText, names.endCaption);
    rows.start = new TimeFieldGroup(panel);
    rows.end = new TimeFieldGroup(panel);
    rows.start->setObjectName(names.startFields);
    rows.end->setObjectName(names.endFields);
    const QString folder = QStringLiteral("ZantImage/Reverse/");
    const QString suffix = QStringLiteral("@2x.png");
    rows.setStart = graphicButton(panel, folder + QStringLiteral("btnSetStart"), suffix, QStringLiteral("leftCutBtn"));
    rows.setEnd = graphicButton(panel, folder + QStringLiteral("btnSetEnd"), suffix, QStringLiteral("rightCutBtn"));
    rows.resetStart = graphicButton(panel, folder + QStringLiteral("btnClockwise"), suffix, QStringLiteral("leftResetBtn"));
    rows.resetEnd = graphicButton(panel, folder + QStringLiteral("btnClockwise"), suffix, QStringLiteral("rightResetBtn"));
    for (widgets::XJGraphicButton* button : {rows.setStart, rows.setEnd, rows.resetStart, rows.resetEnd}) button->setFixedSize(25, 25);
    grid->addWidget(rows.startCaption, 0, 0);
    grid->addWidget(rows.start, 0, 1);
    grid->addWidget(rows.setStart, 0, 2);
    grid->addWidget(rows.resetStart, 0, 3);
    grid->addWidget(rows.endCaption, 1, 0);
    grid->addWidget(rows.end, 1, 1);
    grid->addWidget(rows.setEnd, 1, 2);
    grid->addWidget(rows.resetEnd, 1, 3);
    grid->setColumnStretch(1, 1);
    return rows;
}

}  // namespace kestrel::tools::shared
