// Every text of the collage window and its trim window fits its control in all nine languages.
#include "platform/notification_center.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/tools_collage/collage_test_helpers.h"
#include "tools/collage/collage_cell_view.h"
#include "tools/collage/collage_music_window.h"
#include "tools/collage/collage_trim_window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrel::test;

namespace {

// What does not fit in root, as "language: text" lines.
QStringList clippedTexts(QWidget* root, const QString& language) {
    QStringList clipped;
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>()) {
        if (!b->isVisible() || b->text().isEmpty()) continue;
        if (b->sizeHint().width() > b->width() + 1) clipped << language + ": button \"" + b->text() + "\"";
    }
    for (QLabel* l : root->findChildren<QLabel*>()) {
        if (!l->isVisible() || l->text().isEmpty()) continue;
        const bool fits = l->wordWrap() ? l->heightForWidth(l->width()) <= l->height() + 1
                                        : l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width() + 1;
        if (!fits) clipped << language + ": label \"" + l->text() + "\"";
    }
    for (QComboBox* c : root->findChildren<QComboBox*>()) {
        if (!c->isVisible()) continue;
        for (int i = 0; i < c->count(); ++i)
            if (c->fontMetrics().horizontalAdvance(c->itemText(i)) > c->width() - 30)
                clipped << language + ": menu entry \"" + c->itemText(i) + "\"";
    }
    return clipped;
}

}  // namespace

TEST(CollageTexts, FitInEveryLanguage) {
    TempDir media;
    CollageHarness h;
    h.fillCell(0, colourClip(media, "red", "red", 1.0));
    h.panelAnswers << QString::fromStdString(toneFile(media, "tone", 1.0));
    Q_EMIT h.w().musicBox->activated(h.w().musicBox->count() - 1);
    QStringList clipped;
    for (int language = 0; language < services::Language::kLanguageCount; ++language) {
        ::platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), language);
        services::Language::setLanguage();
        ::platform::NotificationCenter::defaultCenter().post(::platform::kChangeLanguageNotification);
        QTest::qWait(50);
        const QString name = services::Language::languageFolder(language);
        clipped += clippedTexts(h.window, name);
        kestrel::tools::collage::CollageMusicWindow music(QStringLiteral("/x/tone.m4a"), 1'000'000, 0, 0, nullptr);
        music.show();
        QTest::qWaitForWindowExposed(&music);
        clipped += clippedTexts(&music, name);
        kestrel::tools::collage::CollageTrimWindow trim(h.w().cellViews()[0]->cell, h.w().cellViews()[0]->crop, nullptr);
        trim.show();
        QTest::qWaitForWindowExposed(&trim);
        clipped += clippedTexts(&trim, name);
    }
    ::platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), 0);
    services::Language::setLanguage();
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join("\n").toStdString();
}
