// Every export and settings dialog in every interface language: no label, check box, button or
// pop-up has text wider than the part of it that shows, no text runs into another control, and
// Arabic reads right to left inside its controls (the shared check in tests/support/text_fit.h).
// The output-format bar likewise: its tab titles,
// profile names and header title show whole, or cut with the whole text in a tool tip.
#include "export/profiles/profile_choice.h"
#include "export/profiles/profile_tree.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "export/ui/input_file_name_window_controller.h"
#include "export/ui/output_format_bar.h"
#include "export/ui/setting_window_controller.h"
#include "export/ui/start_export_window_controller.h"
#include "platform/user_defaults.h"
#include "services/language.h"
#include "widgets/ns_progress_view.h"
#include "widgets/rd_custom_button.h"
#include "widgets/rd_title_button.h"
#include "widgets/zor_button.h"
#include "widgets/zor_button_layout.h"
#include "widgets/zor_image_view.h"

#include "tests/export/qt_print.h"
#include "tests/support/text_fit.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

using namespace exportkit;

namespace {

std::string describe(const QRect& r) {
    return "(" + std::to_string(r.x()) + ", " + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height()) + ")";
}

int advance(const QWidget* widget, const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(widget->font()).horizontalAdvance(text)));
}

using kestrel::test::expectTextsFit;

class DialogTextFit : public kestrel::test::AllLanguagesTest {
protected:
    using AllLanguagesTest::clearDefaults;
};

}  // namespace

TEST_P(DialogTextFit, ExportDialogWithOptionBoxes) {
    for (bool mergeHidden : {false, true}) {
        ExportWindowController dialog;
        dialog.setHiddenMergeAllIntoOne(mergeHidden);
        dialog.setInputFileName("clip.mp4");
        dialog.show();
        const std::string name = mergeHidden ? "merge box hidden" : "merge box shown";
        ExportSession session(&dialog);
        session.begin();
        session.setProgress(0.5);
        EXPECT_GE(expectTextsFit(&dialog, name + ", running", arabic(), {dialog.outputPathTextFiled}), 6);
        session.finishSucceeded("/somewhere/20240102030405.mp4", services::localized("Cutterfinishedstring"));
        EXPECT_GE(expectTextsFit(&dialog, name + ", finished", arabic(), {dialog.outputPathTextFiled}), 7);
        // The whole result line stays reachable when it had to be cut.
        if (dialog.succeededLabel->text().contains(QChar(0x2026))) {
            EXPECT_TRUE(dialog.succeededLabel->toolTip().contains("20240102030405.mp4"));
        }
    }
}

TEST_P(DialogTextFit, ExportDialogWithFormatAndQuality) {
    StartExportWindowController reverse;
    reverse.setIsReverse(true);
    reverse.setInputFileName("a.mkv");
    reverse.show();
    for (int quality = 0; quality < 3; ++quality) {
        reverse.menuClicked(StartExportWindowController::kQualityMenu, quality);
        EXPECT_GE(expectTextsFit(&reverse, "reverse, quality " + std::to_string(quality), arabic(), {reverse.outputPathTextFiled}), 7);
    }
    reverse.menuClicked(StartExportWindowController::kFormatMenu, 1);
    expectTextsFit(&reverse, "reverse, mp4", arabic(), {reverse.outputPathTextFiled});

    StartExportWindowController gif;
    gif.setIsExportGif(true);
    gif.show();
    ExportSession session(&gif);
    session.begin();
    EXPECT_GE(expectTextsFit(&gif, "gif, running", arabic(), {gif.outputPathTextFiled}), 4);
}

TEST_P(DialogTextFit, SettingsDialog) {
    struct Layout {
        const char* name;
        qint64 fileType;
        bool advanced;
        bool joiner;
        bool customValues;
    };
    for (const Layout& layout : {Layout{"video", 1, false, false, false}, Layout{"audio", 2, false, false, false},
                                 Layout{"advanced, custom size", 1, true, false, true},
                                 Layout{"joiner, custom size and bit rate", 1, false, true, true}}) {
        const ChoiceKeys& keys = layout.joiner ? ChoiceKeys::joiner() : ChoiceKeys::editor();
        if (layout.customValues) {
            platform::UserDefaults::standard().setString(keys.resolution, kCustomValue);
            platform::UserDefaults::standard().setString(keys.bitrate, kCustomValue);
        }
        SettingWindowController dialog;
        dialog.setFileType(layout.fileType);
        dialog.setAdvanced(layout.advanced);
        dialog.setJoinner(layout.joiner);
        dialog.displayViewChildes();
        dialog.show();
        EXPECT_GE(dialog.width(), layout.customValues ? 480 : 360);
        EXPECT_GE(expectTextsFit(&dialog, layout.name, arabic()), layout.fileType == 2 ? 12 : 20);
        clearDefaults();
        platform::UserDefaults::standard().setInteger("AppLanguage", GetParam());
    }
}

TEST_P(DialogTextFit, CustomProfileNamePrompt) {
    InputFileNameWindowController prompt;
    prompt.show();
    EXPECT_EQ(prompt.size(), QSize(380, 141));
    expectTextsFit(&prompt, "no message", arabic());
    for (const char* key : {"CustomProfileNameEmptyMessage", "CustomProfileNameSlashMessage", "CustomProfileNameExistsMessage"}) {
        prompt.showMessage(services::localized(key));
        expectTextsFit(&prompt, key, arabic());
    }
    prompt.showMessage(services::localized("CustomProfileSaveFailedMessage") +
                       " /home/someone/.local/share/Kestrel/Custom/My profile.pf: Permission denied");
    EXPECT_GT(prompt.height(), 141);
    expectTextsFit(&prompt, "save failed", arabic());
}

namespace {

const QString kEllipsis(QChar(0x2026));

// A profile name under its picture: whole, or cut with the whole name in the button's tool tip;
// never under the settings button (bottom right) nor over the picture.
void expectProfileNamesFit(const OutputFormatBar& bar, const std::string& state) {
    for (kestrel::widgets::ZorButton* button : bar.functionItemButtons()) {
        const QString name = bar.functionItemChilds().value(static_cast<int>(button->tag()) - 1);
        const std::string where = state + ", profile \"" + name.toStdString() + "\"";
        const auto* label = button->findChild<QLabel*>("profileNameLabel");
        const auto* settings = button->findChild<QPushButton*>("settingsButton");
        ASSERT_NE(label, nullptr) << where;
        ASSERT_NE(settings, nullptr) << where;
        EXPECT_LE(advance(label, label->text()), label->contentsRect().width()) << where;
        EXPECT_TRUE(button->rect().contains(label->geometry())) << where << " at " << describe(label->geometry());
        EXPECT_FALSE(label->geometry().intersects(settings->geometry()))
            << where << " at " << describe(label->geometry()) << " runs under the settings button at " << describe(settings->geometry());
        const kestrel::widgets::ZorLayoutInput face = button->layoutInput();
        if (!face.picture.isEmpty()) {
            const QRectF picture(kestrel::widgets::zorPictureOrigin(face), face.picture);
            EXPECT_LE(picture.bottom(), label->geometry().top()) << where << " runs into its picture";
        }
        if (label->text() == name) {
            EXPECT_TRUE(button->toolTip().isEmpty()) << where;
        } else {
            EXPECT_TRUE(label->text().contains(kEllipsis)) << where << " shows \"" << label->text().toStdString() << "\"";
            EXPECT_EQ(button->toolTip(), name) << where;
        }
    }
}

// The header names the chosen profile: whole, or cut at its end with the whole title in the tool
// tip; it stays inside the header and clear of the arrow shown on small screens.
void expectHeaderFits(const OutputFormatBar& bar, const std::string& state) {
    const kestrel::widgets::ZorButton* header = bar.showFunctionBtn();
    const QString whole = "Target Format: " + bar.functionItemChilds().value(static_cast<int>(bar.selectItemIndex()) - 1);
    const QString shown = header->contentTitle();
    const std::string where = state + ", header \"" + shown.toStdString() + "\"";
    kestrel::widgets::ZorLayoutInput layout = header->layoutInput();
    layout.text.setWidth(advance(header, shown));
    const QRectF drawn = kestrel::widgets::zorTitleRect(layout);
    EXPECT_TRUE(QRectF(header->rect()).contains(drawn)) << where;
    for (const kestrel::widgets::ZorImageView* arrow : header->findChildren<kestrel::widgets::ZorImageView*>())
        EXPECT_FALSE(drawn.intersects(QRectF(arrow->geometry()))) << where << " runs into the arrow";
    if (shown == whole) {
        EXPECT_TRUE(header->toolTip().isEmpty()) << where;
    } else {
        EXPECT_TRUE(shown.startsWith("Target Format: ") && shown.endsWith(kEllipsis)) << where;
        EXPECT_EQ(header->toolTip(), whole) << where;
    }
}

void expectTabTitlesFit(const OutputFormatBar& bar, const std::string& state) {
    for (const kestrel::widgets::RDCustomButton* tab : bar.functionItems()) {
        const kestrel::widgets::RDTitleButton* title = tab->titleBtn();
        ASSERT_TRUE(title->attributedStringTitle().has_value()) << state;
        const services::ButtonTitle& text = *title->attributedStringTitle();
        const QFont font = text.hasFont ? text.font : title->font();
        // The title button reaches past the tab's sides; the tab shows only its own width.
        const int room = (title->geometry() & tab->rect()).width();
        EXPECT_LE(static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text.text))), room)
            << state << ", tab \"" << text.text.toStdString() << "\"";
    }
}

}  // namespace

TEST_P(DialogTextFit, OutputFormatBar) {
    // The shipped trees, and a custom profile whose name cannot fit.
    const QString customFolder = customProfileFolder();
    ASSERT_TRUE(QDir().mkpath(customFolder));
    const QString longName = "Family holiday clips for the big screen";
    QFile custom(customFolder + "/" + longName + ".pf");
    ASSERT_TRUE(custom.open(QIODevice::WriteOnly));
    custom.write("[Main]\nExtName=mp4\n[Parameter]\nvcodec=h264,{h264}\nacodec=aac,{aac}\n");
    custom.close();

    for (const bool joiner : {false, true}) {
        for (const int screenHeight : {1080, 700}) {
            QWidget host;
            host.resize(1000, OutputFormatBar::kHeight);
            OutputFormatBar bar(joiner ? FormatBarConfig::joiner() : FormatBarConfig::editor(), &host);
            bar.setSettingsRunner([](SettingWindowController*) {});
            bar.setScreenHeight(screenHeight);
            bar.resize(host.size());
            bar.load();
            host.show();
            const std::string state = std::string(joiner ? "joiner" : "editor") + ", screen " + std::to_string(screenHeight);
            ASSERT_EQ(bar.functionList(), QStringList({"Custom", "Video", "Audio"})) << state;
            expectTabTitlesFit(bar, state);
            int cut = 0;
            for (kestrel::widgets::RDCustomButton* tab : bar.functionItems()) {
                bar.actionFunctionItem(tab);
                for (kestrel::widgets::ZorButton* profile : bar.functionItemButtons()) {
                    bar.actionFunctionItemScrollChild(profile);
                    const std::string chosen = state + ", chosen " + bar.functionItemTitle().toStdString() + "/" +
                                               bar.functionItemChilds().value(static_cast<int>(profile->tag()) - 1).toStdString();
                    expectProfileNamesFit(bar, chosen);
                    expectHeaderFits(bar, chosen);
                    cut += !bar.showFunctionBtn()->toolTip().isEmpty();
                }
            }
            // The long custom name is the one that must be cut; the shipped names fit under their
            // pictures.
            EXPECT_GE(cut, 1) << state;
            bar.actionFunctionItem(bar.functionItems()[0]);
            EXPECT_EQ(bar.functionItemButtons()[0]->toolTip(), longName) << state;
            bar.actionFunctionItem(bar.functionItems()[1]);
            for (const kestrel::widgets::ZorButton* profile : bar.functionItemButtons())
                EXPECT_TRUE(profile->toolTip().isEmpty()) << state << ", " << profile->tag();
        }
    }
    QDir(customFolder).removeRecursively();
}

KESTREL_ALL_LANGUAGES(DialogTextFit);
