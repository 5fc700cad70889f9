// Both cutter windows, with files loaded, in every interface language: every label and button
// shows its whole text (a file name may be cut only with the whole name in its tool tip).
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <cmath>

#include "platform/user_defaults.h"
#include "services/language.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tools/cutter/batch_cutter_window_controller.h"
#include "tools/cutter/easy_cutter_windowcontroller.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

namespace {

int advance(const QWidget* widget, const QString& text) {
    return int(std::ceil(QFontMetricsF(widget->font()).horizontalAdvance(text)));
}

// Every text of the window that does not fit, described.
QStringList textsCutIn(QWidget* window) {
    QStringList cut;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->text().isEmpty() || !label->pixmap().isNull()) continue;
        if (label->toolTip() == label->text()) continue;  // cut on purpose, whole in the tool tip
        const int needed = advance(label, label->text());
        if (needed > label->contentsRect().width())
            cut << QStringLiteral("label \"%1\" needs %2 has %3").arg(label->text()).arg(needed).arg(label->contentsRect().width());
    }
    for (auto* button : window->findChildren<kestrel::widgets::ZorButton*>()) {
        if (!button->isVisible() || button->contentTitle().isEmpty()) continue;
        const bool leading = button->imagePosition() == kestrel::widgets::ImagePosition::ImageLeading;
        const int picture = leading ? int(std::ceil(button->layoutInput().picture.width())) : 0;
        const int needed = picture + advance(button, button->contentTitle());
        if (needed > button->width())
            cut << QStringLiteral("button \"%1\" needs %2 has %3").arg(button->contentTitle()).arg(needed).arg(button->width());
    }
    return cut;
}

TEST(CutterTextFit, BothWindowsInEveryLanguage) {
    kestrel::test::TempDir dir;
    const std::string video = dir.file("a_rather_long_holiday_video_name.mp4");
    kestrel::test::makeMedia(video, {});
    kestrel::widgets::setOpenPanelRunner([&](const auto&) { return QStringList{QString::fromStdString(video)}; });
    for (int language = 0; language < services::Language::kLanguageCount; ++language) {
        platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), language);
        services::Language::setLanguage();
        const std::string where = services::Language::languageFolder(language).toStdString();
        {
            kestrel::tools::cutter::BatchCutterWindowController batch;
            batch.show();
            QTest::qWait(50);
            EXPECT_EQ(textsCutIn(&batch), QStringList()) << where << " (empty batch cutter)";
            batch.addFileAction();
            QTest::qWait(100);
            EXPECT_EQ(textsCutIn(&batch), QStringList()) << where << " (batch cutter)";
        }
        {
            kestrel::tools::cutter::EasyCutterWindowcontroller easy;
            easy.setFilePath(QString::fromStdString(video));
            easy.show();
            QTest::qWait(50);
            easy.addClipAction();
            QTest::qWait(100);
            EXPECT_EQ(textsCutIn(&easy), QStringList()) << where << " (easy cutter)";
        }
    }
    kestrel::widgets::setOpenPanelRunner({});
    platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), 0);
    services::Language::setLanguage();
}

}  // namespace
