#pragma once
// Console lines of the widget kit. Debug lines (positions, values) are off unless enabled with
// QT_LOGGING_RULES="kestrel.widgets.debug=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcWidgets)
