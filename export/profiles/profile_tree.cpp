#include "export/profiles/profile_tree.h"

#include "export/profiles/ini_document.h"
#include "export/profiles/option_value.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace exportkit {
namespace {

void moveTo(QStringList& list, const QString& name, int index) {
    const qsizetype at = list.indexOf(name);
    if (at < 0) return;
    list.removeAt(at);
    // A list too short for the pinned place keeps the profile last.
    list.insert(std::min<qsizetype>(index, list.size()), name);
}

}  // namespace

int numericCompare(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype endA = i, endB = j;
            while (endA < a.size() && a[endA].isDigit()) ++endA;
            while (endB < b.size() && b[endB].isDigit()) ++endB;
            // Compare digit runs by value: drop leading zeros, then the longer run is larger.
            QStringView runA = QStringView(a).mid(i, endA - i), runB = QStringView(b).mid(j, endB - j);
            while (runA.size() > 1 && runA.front() == QLatin1Char('0')) runA = runA.mid(1);
            while (runB.size() > 1 && runB.front() == QLatin1Char('0')) runB = runB.mid(1);
            if (runA.size() != runB.size()) return runA.size() < runB.size() ? -1 : 1;
            if (const int c = runA.compare(runB); c != 0) return c < 0 ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

ProfileTree::ProfileTree(QString root, QString customFolder, int pinnedIndex)
    : root_(std::move(root)), customFolder_(std::move(customFolder)), pinnedIndex_(pinnedIndex) {}

ProfileTree ProfileTree::editorTree(const QString& bundlePath) {
    return ProfileTree(bundlePath + QStringLiteral("/functionFolder"), customProfileFolder(), 6);
}

ProfileTree ProfileTree::joinerTree(const QString& bundlePath) {
    return ProfileTree(bundlePath + QStringLiteral("/pf_join"), customProfileFolder(), 5);
}

QStringList ProfileTree::getFunctionList() const {
    IniDocument index;
    QStringList list;
    if (!index.load(root_ + QStringLiteral("/pf.dat"))) return list;
    bool ok = false;
    const int count = index.value(QStringLiteral("frmFormat"), QStringLiteral("Count")).value_or(QString()).trimmed().toInt(&ok);
    for (int i = 1; ok && i <= count; ++i) {
        const QString name = index.value(QStringLiteral("frmFormat"), QStringLiteral("Type%1").arg(i)).value_or(QString());
        list.append(new_startAndendnospaceString(name).value_or(QString()));
    }
    return list;
}

QStringList ProfileTree::categoriesWithCustom() const {
    QStringList list = getFunctionList();
    if (!getFunctionItemChildList(kCustomCategory).isEmpty()) list.prepend(kCustomCategory);
    return list;
}

QString ProfileTree::categoryFolder(const QString& category) const {
    if (category == kCustomCategory) return customFolder_;
    return root_ + QLatin1Char('/') + category;
}

QStringList ProfileTree::getFunctionItemChildList(const QString& category) const {
    QStringList names;
    const QFileInfoList entries = QDir(categoryFolder(category)).entryInfoList(QDir::Files, QDir::NoSort);
    for (const QFileInfo& entry : entries)
        if (entry.suffix() == QLatin1String("pf")) names.append(entry.completeBaseName());
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return numericCompare(a, b) < 0; });
    moveTo(names, kKeepOriginalProfile, 0);
    moveTo(names, QStringLiteral("4K"), pinnedIndex_);
    moveTo(names, QStringLiteral("MP4"), pinnedIndex_);
    return names;
}

QString ProfileTree::profilePath(const QString& category, const QString& name) const {
    const QString path = categoryFolder(category) + QLatin1Char('/') + name + QStringLiteral(".pf");
    return QFileInfo::exists(path) ? path : QString();
}

QString ProfileTree::picturePath(const QString& category, const QString& name) const {
    const QString path = categoryFolder(category) + QLatin1Char('/') + name + QStringLiteral(".png");
    return QFileInfo::exists(path) ? path : QString();
}

QString customProfileFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Custom");
}

}  // namespace exportkit
