#include "session/edit/subtitle_file_check.h"

#include "engine/core/subtitle_check.h"

#include <QFile>

namespace kestrel::session {

QString subtitleRefusalKey(const QString& path) {
    using kestrel::engine::SubtitleProblem;
    switch (kestrel::engine::checkSubtitleFile(QFile::encodeName(path).toStdString()).problem) {
    case SubtitleProblem::None: return {};
    case SubtitleProblem::WrongType: return QStringLiteral("subtitleWrongTypeMessage");
    case SubtitleProblem::Unreadable: return QStringLiteral("subtitleUnreadableMessage");
    case SubtitleProblem::TooLarge: return QStringLiteral("subtitleTooLargeMessage");
    case SubtitleProblem::LineTooLong: return QStringLiteral("subtitleLineTooLongMessage");
    case SubtitleProblem::TooManyCues: return QStringLiteral("subtitleTooManyCuesMessage");
    case SubtitleProblem::TagsTooDeep: return QStringLiteral("subtitleTagsTooDeepMessage");
    case SubtitleProblem::NoCue: return QStringLiteral("subtitleMalformedMessage");
    }
    return QStringLiteral("subtitleMalformedMessage");
}

}  // namespace kestrel::session
