#include "editor/effects/effect_list.h"

#include "services/language.h"

#include <QFile>
#include <QXmlStreamReader>

namespace kestrel::editor {
namespace {

// Reads one <dict> of the array; the reader stands on its start element.
EffectItem readEntry(QXmlStreamReader& xml) {
    EffectItem item;
    QString key;
    while (xml.readNextStartElement()) {
        const QStringView element = xml.name();
        if (element == QLatin1String("key")) {
            key = xml.readElementText();
            continue;
        }
        const QString value = xml.readElementText(QXmlStreamReader::SkipChildElements);
        if (key == QLatin1String("EffectName"))
            item.name = value;
        else if (key == QLatin1String("EffectId"))
            item.effectId = static_cast<int32_t>(value.trimmed().toDouble());  // "12", 12 and 12.0 alike
        key.clear();
    }
    return item;
}

}  // namespace

QList<EffectItem> loadEffectList(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    QList<EffectItem> items;
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("plist")) return {};
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("array")) return {};
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("dict")) return {};
        items.append(readEntry(xml));
    }
    if (xml.hasError()) return {};
    return items;
}

QList<EffectItem> loadBundledEffectList() {
    return loadEffectList(services::Language::pathWithfileName(QStringLiteral("EffectList.plist")));
}

}  // namespace kestrel::editor
