#pragma once
// The effect list resource "Settings.bundle/EffectList.plist": an XML property list holding an
// array of dictionaries with "EffectName" (string) and "EffectId" (integer, or a string holding
// one), in display order.
#include <QList>
#include <QString>

#include "editor/effects/effect_item.h"

namespace kestrel::editor {

// The entries of a property-list file, every flag off. A missing or unreadable file, or one
// that is not an array of dictionaries, gives an empty list.
QList<EffectItem> loadEffectList(const QString& path);

// The list shipped in the resource bundle.
QList<EffectItem> loadBundledEffectList();

}  // namespace kestrel::editor
