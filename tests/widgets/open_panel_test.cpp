// The open panel as the user meets it: filters named by kind in the chosen language, each
// matching its extensions in any letter case; the title from the strings table even where the
// caller gave none; no file name filled in, even when the start folder does not exist yet.
#include "widgets/dialogs/file_kinds.h"
#include "widgets/dialogs/open_panel.h"

#include "platform/user_defaults.h"
#include "services/language.h"

#include "tests/support/temp_dir.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using services::localized;

void useLanguage(int language) {
    platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), language);
    services::Language::setLanguage();
}

// The name a filter shows (before its hidden patterns) and the patterns it matches with.
std::pair<QString, QStringList> splitFilter(const QString& filter) {
    const int hidden = filter.lastIndexOf(QStringLiteral(" ("));
    // The shown extensions are isolated left to right; the marks draw nothing.
    QString shown = filter.left(hidden);
    shown.remove(QChar(0x2066)).remove(QChar(0x2069));
    return {shown, filter.mid(hidden + 2).chopped(1).split(' ')};
}

bool matches(const QStringList& patterns, const QString& fileName) {
    for (const QString& pattern : patterns)
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(fileName).hasMatch()) return true;
    return false;
}

class OpenPanel : public ::testing::Test {
protected:
    void TearDown() override { useLanguage(0); }
};

TEST_F(OpenPanel, FiltersAreNamedByKindInTheChosenLanguage) {
    struct Case {
        const char* what;
        QStringList types;
        QStringList nameKeys;  // in order; the first names every kind together when there are several
    };
    const QStringList subtitles = {"ass", "ssa", "srt", "ASS", "SSA", "SRT"};
    const Case cases[] = {
        {"videos", kestrel::widgets::openPanelFileTypes(false, false), {"OpenPanelVideoFilesFilter"}},
        {"videos and audio",
         kestrel::widgets::openPanelFileTypes(false, true),
         {"OpenPanelAllFilesFilter", "OpenPanelVideoFilesFilter", "OpenPanelAudioFilesFilter"}},
        {"videos and pictures",
         kestrel::widgets::openPanelFileTypes(true, false),
         {"OpenPanelAllFilesFilter", "OpenPanelVideoFilesFilter", "OpenPanelPicturesFilter"}},
        {"pictures", kestrel::widgets::pictureFileTypes(), {"OpenPanelPicturesFilter"}},
        {"subtitles", subtitles, {"OpenPanelSubtitlesFilter"}},
    };
    for (int language = 0; language < services::Language::kLanguageCount; ++language) {
        useLanguage(language);
        for (const Case& c : cases) {
            const std::string where = services::Language::languageFolder(language).toStdString() + ", " + c.what;
            const QStringList filters = kestrel::widgets::openPanelNameFilters(c.types);
            ASSERT_EQ(filters.size(), c.nameKeys.size()) << where;
            for (int i = 0; i < filters.size(); ++i) {
                const auto [name, patterns] = splitFilter(filters[i]);
                const QString kindName = localized(c.nameKeys[i]);
                EXPECT_NE(kindName, c.nameKeys[i]) << where << ": no text for " << c.nameKeys[i].toStdString();
                EXPECT_TRUE(name.startsWith(kindName + " (*.")) << where << ": \"" << name.toStdString() << "\"";
            }
            // The first filter takes every allowed file, in any letter case, and nothing else.
            const QStringList patterns = splitFilter(filters.first()).second;
            for (const QString& type : c.types) {
                EXPECT_TRUE(matches(patterns, "clip." + type.toLower())) << where << ", " << type.toStdString();
                EXPECT_TRUE(matches(patterns, "CLIP." + type.toUpper())) << where << ", " << type.toStdString();
            }
            EXPECT_FALSE(matches(patterns, "notes.txt")) << where;
            EXPECT_FALSE(matches(patterns, "clip.mp4.part")) << where;
        }
    }
    // Each type is listed once, whatever its letter case in the request.
    EXPECT_EQ(splitFilter(kestrel::widgets::openPanelNameFilters(subtitles).first()).first.count("*."), 3);
}

TEST_F(OpenPanel, OpensTitledWithNoFileNameFilledIn) {
    kestrel::test::TempDir home;
    struct Case {
        const char* what;
        QString message;
        QString directory;
        QString expectedFolder;
    };
    const QString missing = QString::fromStdString(home.file("Movies/Kestrel"));
    const Case cases[] = {
        {"missing start folder, no title given", QString(), missing, QString::fromStdString(home.path())},
        {"existing start folder, own title", "Pick one", QString::fromStdString(home.path()), QString::fromStdString(home.path())},
    };
    for (int language : {0, 1, 8}) {
        useLanguage(language);
        for (const Case& c : cases) {
            const std::string where = services::Language::languageFolder(language).toStdString() + ", " + c.what;
            kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
            request.message = c.message;
            request.directory = c.directory;
            request.allowedFileTypes = kestrel::widgets::openPanelFileTypes(false, true);
            bool seen = false;
            QTimer::singleShot(0, [&] {
                auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (!panel) {
                    ADD_FAILURE() << where << ": no file dialog";
                    if (QWidget* other = QApplication::activeModalWidget()) other->close();
                    return;
                }
                seen = true;
                EXPECT_EQ(panel->windowTitle(), c.message.isEmpty() ? localized("Main_Sel_File_Hit") : c.message) << where;
                EXPECT_EQ(QDir(panel->directory()).absolutePath(), QDir(c.expectedFolder).absolutePath()) << where;
                for (const QLineEdit* field : panel->findChildren<QLineEdit*>())
                    if (field->isVisible()) EXPECT_TRUE(field->text().isEmpty()) << where << ": \"" << field->text().toStdString() << "\"";
                EXPECT_EQ(panel->nameFilters(), kestrel::widgets::openPanelNameFilters(request.allowedFileTypes)) << where;
                panel->reject();
            });
            EXPECT_TRUE(kestrel::widgets::runOpenPanel(request).isEmpty()) << where;
            EXPECT_TRUE(seen) << where;
        }
    }
}

}  // namespace
