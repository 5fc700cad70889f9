#include "session/media/audio_track_names.h"

#include <QLocale>
#include <QStringList>

#include "services/language.h"

namespace kestrel::session {

namespace {

// A locale's name for its language without its territory: "español de España" is "español".
QString nameWithoutTerritory(const QLocale& locale) {
    QString name = locale.nativeLanguageName();
    const QString territory = locale.nativeTerritoryName();
    // Only a territory set apart by a space or brackets is a qualifier: in "日本語" the country's
    // name is part of the language's own.
    const bool qualified = name.contains(QLatin1Char(' ') + territory) || name.contains(territory + QLatin1Char(' ')) ||
                           name.contains(QLatin1Char('(') + territory);
    if (territory.isEmpty() || name == territory || !qualified) return name;
    name.remove(territory);
    name.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    name = name.trimmed();
    // The short word that joined the two ("de", "do") goes with the territory.
    const qsizetype space = name.lastIndexOf(QLatin1Char(' '));
    if (space > 0 && name.size() - space - 1 <= 3) name.truncate(space);
    return name.trimmed();
}

}  // namespace

QString languageNameOfCode(const QString& code) {
    const QString trimmed = code.trimmed().toLower();
    if (trimmed.isEmpty()) return {};
    const QLocale::Language language = QLocale::codeToLanguage(trimmed, QLocale::AnyLanguageCode);
    if (language == QLocale::AnyLanguage || language == QLocale::C) return {};
    // The plainest of the language's own names: the default locale's may name a region
    // ("American English"), the world-wide one may be a formal variant.
    QString name;
    for (const QLocale& locale : {QLocale(language), QLocale(language, QLocale::World)}) {
        if (locale.language() != language) continue;
        const QString candidate = nameWithoutTerritory(locale);
        if (!candidate.isEmpty() && (name.isEmpty() || candidate.size() < name.size())) name = candidate;
    }
    if (name.isEmpty()) name = QLocale::languageToString(language);
    // Names such as "français" start a list entry here.
    return name.left(1).toUpper() + name.mid(1);
}

QString audioTrackName(const kestrel::model::AudioStreamInfo& stream, int position) {
    QStringList parts;
    parts << services::localized(QStringLiteral("AudioTrackNumber")).arg(position + 1);
    const QString language = languageNameOfCode(stream.lang);
    if (!language.isEmpty()) parts << language;
    if (stream.channel == 1) parts << services::localized(QStringLiteral("AudioTrackMono"));
    else if (stream.channel == 2) parts << services::localized(QStringLiteral("AudioTrackStereo"));
    else if (stream.channel > 2) parts << services::localized(QStringLiteral("AudioTrackChannels")).arg(stream.channel);
    if (stream.sample > 0) parts << services::localized(QStringLiteral("AudioTrackSampleRate")).arg(stream.sample);
    return parts.join(QStringLiteral(" · "));
}

}  // namespace kestrel::session
