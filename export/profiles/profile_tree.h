#pragma once
// One tree of output profiles: an index "pf.dat" listing the categories in display order, a
// folder per category holding "<name>.pf" and its picture "<name>.png", and the per-user
// "Custom" category. The editor and the joiner each have their own tree.
#include <QString>
#include <QStringList>

namespace exportkit {

inline const QString kKeepOriginalProfile = QStringLiteral("Keep Original");
inline const QString kCustomCategory = QStringLiteral("Custom");
inline const QString kAudioCategory = QStringLiteral("Audio");
// Every tree holds this profile; consumers fall back to it when handed no profile.
inline const QString kDefaultProfileRelativePath = QStringLiteral("Video/mkv(HEVC).pf");

class ProfileTree {
public:
    // root: the tree's folder ("<bundle>/functionFolder"); pinnedIndex: where "4K" and "MP4"
    // are moved in a category's list (6 for the editor, 5 for the joiner).
    ProfileTree(QString root, QString customFolder, int pinnedIndex);

    static ProfileTree editorTree(const QString& bundlePath);
    static ProfileTree joinerTree(const QString& bundlePath);

    const QString& root() const { return root_; }
    const QString& customFolder() const { return customFolder_; }

    // Category names from the index, in order, trimmed of spaces at both ends.
    QStringList getFunctionList() const;
    // The index list with "Custom" in front when the custom folder holds a profile.
    QStringList categoriesWithCustom() const;

    // Profile names of one category: "Keep Original" first, the rest in natural order
    // (case-sensitive, digit runs by value), then "4K" and "MP4" moved to the pinned place.
    QStringList getFunctionItemChildList(const QString& category) const;

    QString categoryFolder(const QString& category) const;
    // Path of the profile file; empty when it does not exist.
    QString profilePath(const QString& category, const QString& name) const;
    // Path of the profile's picture; empty when it does not exist.
    QString picturePath(const QString& category, const QString& name) const;
    QString defaultProfilePath() const { return root_ + QLatin1Char('/') + kDefaultProfileRelativePath; }

private:
    QString root_;
    QString customFolder_;
    int pinnedIndex_;
};

// Case-sensitive comparison with runs of digits compared by value ("a2" before "a10").
int numericCompare(const QString& a, const QString& b);

// "<per-user data folder>/Custom": the only place the program writes profiles.
QString customProfileFolder();

}  // namespace exportkit
