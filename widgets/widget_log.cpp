#include "widgets/widget_log.h"

Q_LOGGING_CATEGORY(lcWidgets, "kestrel.widgets", QtInfoMsg)
