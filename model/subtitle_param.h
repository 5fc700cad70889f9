#pragma once
// The subtitle settings of a job. The editor's subtitle panel uses subtitlePath, fontPathList,
// fontSelectIndex and positon; the other fields are kept for the records that carry them.
// A copy carries every field.
#include <QColor>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kestrel::model {

struct SubtitleParam {
    QString textContent;
    double subtitleAlph = 1.0;  // opacity
    int32_t shadow = 1;         // 1 = on
    int32_t positon = -1;       // vertical caption position in pixels, -1 = not set
    QString subtitlePath;       // "ass", "ssa" or "srt" file
    QString fontPath;
    QColor fontColor = QColor::fromRgbF(1, 1, 1, 1);
    int32_t fontSize = 30;
    QString fontFile;
    QStringList fontPathList;   // font files offered in the editor's font pop-up
    int64_t fontSelectIndex = 0;
    int64_t underline = 0;
    int64_t maxNum = 0;
    int64_t italic = 0;
    int64_t multiLine = 0;
    QString fontName;
    int64_t motionTime = 0;
    int64_t alignmentType = 0;
    double centerX = 0;
    double top = 0;
    double centerY = 0;
    int32_t delay = 0;
    double nTimelineEnd = 0;
    double left = 0;
    int32_t type = 0;
    int32_t useBackClr = 0;
    double fadeInTime = 0;
    double fadeOutTime = 0;
    int32_t isBack = 0;
    int32_t bold = 0;
    double nTimelineStart = 0;
    double right = 0;
    int32_t selected = 0;
    double ver = 0;
    double height = 0;
    int32_t vertical = 0;
    QString alignment;
    int32_t level = 0;
    double alpha = 0;
    double strokeWidth = 0;
    int32_t motion = 0;
    QString resultaddress;
    int32_t editable = 0;
    double width = 0;
    double bottom = 0;
    double angle = 0;
    QString imageaddress;

    bool operator==(const SubtitleParam&) const = default;
};

}  // namespace kestrel::model
