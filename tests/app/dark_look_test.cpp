// The application-wide dark look, as the started application has it: Qt's own file dialog (the
// desktop's cannot be styled), menus, message boxes, the shell's alert, push buttons and progress
// bars all draw dark, with no light stock piece. Each is grabbed as drawn and its pixels sampled.
#include "tests/app/app_test_helpers.h"

#include "app/home_window_controller.h"
#include "export/ui/export_session.h"
#include "export/ui/export_window_controller.h"
#include "widgets/dialogs/alert_window_controller.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/dialogs/dialog_buttons.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"
#include "widgets/ns_progress_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace kestrel::test {
namespace {

using kestrel::widgets::kDarkWindowColor;

// How much of a picture is light: stock light pieces are near white, the dark look's faces are
// all below 70 and only its text and accents are brighter.
double lightShare(const QImage& image) {
    qint64 light = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) light += qGray(image.pixel(x, y)) > 150;
    return double(light) / double(std::max<qint64>(1, qint64(image.width()) * image.height()));
}

bool near(const QColor& a, const QColor& b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

struct Seen {
    QString kind;
    QImage picture;
    QColor window;
};

void expectDark(const Seen& seen) {
    ASSERT_FALSE(seen.picture.isNull()) << seen.kind.toStdString() << " was never shown";
    EXPECT_TRUE(near(seen.window, kDarkWindowColor)) << seen.kind.toStdString() << " window colour " << seen.window.name().toStdString();
    EXPECT_LT(lightShare(seen.picture), 0.12) << seen.kind.toStdString() << " shows light pieces";
    // A corner shows the face, not a light frame.
    const QColor corner = seen.picture.pixelColor(seen.picture.width() / 2, seen.picture.height() - 3);
    EXPECT_LT(qGray(corner.rgb()), 70) << seen.kind.toStdString() << " bottom edge " << corner.name().toStdString();
}

// Runs show() (which blocks in a modal loop) and keeps what the modal window drew.
Seen seeModal(const QString& kind, const std::function<void()>& show, const std::function<void(QWidget*)>& check = {}) {
    Seen seen{kind, {}, {}};
    closeNextModal([&](QWidget* modal) {
        modal->resize(modal->sizeHint().expandedTo(modal->size()));
        seen.picture = modal->grab().toImage();
        seen.window = modal->palette().color(QPalette::Window);
        if (check) check(modal);
    });
    show();
    return seen;
}

class DarkLook : public ShellTest {};

TEST_F(DarkLook, FileDialogIsQtsOwnAndDark) {
    EXPECT_TRUE(QApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
    kestrel::widgets::setOpenPanelRunner({});  // the real panel, not the test's answer
    bool ownDialog = false;
    expectDark(seeModal("open panel", [] { kestrel::widgets::runOpenPanel(kestrel::widgets::standardOpenPanelRequest()); },
                        [&](QWidget* modal) { ownDialog = qobject_cast<QFileDialog*>(modal) && !modal->findChildren<QWidget*>().isEmpty(); }));
    EXPECT_TRUE(ownDialog) << "the panel must be Qt's own widget dialog, which takes the look";
    // A folder chooser made without asking for the non-native dialog gets it too.
    expectDark(seeModal("folder chooser", [] {
        QFileDialog panel(nullptr, "Choose", QDir::homePath());
        panel.setFileMode(QFileDialog::Directory);
        panel.exec();
    }));
}

TEST_F(DarkLook, MessageBoxesAndAlertsAreDark) {
    expectDark(seeModal("message box", [] { QMessageBox::warning(nullptr, "Export", "The folder cannot be written."); }));
    expectDark(seeModal("question", [] {
        QMessageBox box(QMessageBox::Question, "Stop", "Stop the export?", QMessageBox::Ok | QMessageBox::Cancel);
        box.exec();
    }));
    kestrel::widgets::AlertWindowController alert;
    alert.setMessage(QStringLiteral("importFileFailed"));
    expectDark(seeModal("alert", [&] { alert.runModal(); }));
}

// The symbol a question or information box shows is drawn in the dark look's colours: no white
// glyph on a light disc.
TEST_F(DarkLook, MessageBoxSymbolsAreDark) {
    for (QMessageBox::Icon kind : {QMessageBox::Question, QMessageBox::Information}) {
        SCOPED_TRACE(int(kind));
        QImage symbol;
        closeNextModal([&](QWidget* modal) {
            auto* label = modal->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
            if (label) symbol = label->pixmap().toImage();
        });
        QMessageBox box(kind, "Stop", "Stop the export?", QMessageBox::Ok | QMessageBox::Cancel);
        box.exec();
        ASSERT_FALSE(symbol.isNull());
        int white = 0, shown = 0;
        for (int y = 0; y < symbol.height(); ++y)
            for (int x = 0; x < symbol.width(); ++x) {
                const QColor c = symbol.pixelColor(x, y);
                if (c.alpha() < 128) continue;
                ++shown;
                white += c.red() > 225 && c.green() > 225 && c.blue() > 225;
            }
        EXPECT_GT(shown, 0);
        EXPECT_EQ(white, 0) << "white pixels in the symbol";
        EXPECT_LT(lightShare(symbol), 0.5);
    }
}

// The export dialogs' progress bar while an export runs: its groove right of the fill is dark,
// and the percent text on it light.
TEST_F(DarkLook, TheExportProgressGrooveIsDark) {
    exportkit::ExportWindowController dialog;
    dialog.setHiddenMergeAllIntoOne(true);
    exportkit::ExportSession session(&dialog);
    dialog.show();
    pumpEvents();
    session.begin();
    session.setProgress(0.25);
    pumpEvents();
    const QImage bar = dialog.progressView->grab().toImage();
    const QColor groove = bar.pixelColor(bar.width() * 7 / 8, bar.height() / 2);
    EXPECT_LT(qGray(groove.rgb()), 70) << "progress groove " << groove.name().toStdString();
    const QColor text = dialog.progressView->progressLabel()->palette().color(QPalette::WindowText);
    EXPECT_GT(qGray(text.rgb()) - qGray(groove.rgb()), 100) << "the percent text reads on the groove";
    session.finishStopped();
}

TEST_F(DarkLook, MenusAreDark) {
    const QList<QAction*> menus = ui.homeWindow->menuBar()->actions();
    ASSERT_FALSE(menus.isEmpty());
    int seen = 0;
    for (QAction* action : menus) {
        QMenu* menu = action->menu();
        if (!menu || menu->actions().isEmpty()) continue;
        menu->popup(ui.homeWindow->mapToGlobal(QPoint(20, 20)));
        pumpUntil([menu] { return menu->isVisible(); });
        expectDark({action->text(), menu->grab().toImage(), menu->palette().color(QPalette::Window)});
        EXPECT_TRUE(near(menu->palette().color(QPalette::Window), kDarkWindowColor)) << action->text().toStdString();
        menu->hide();
        ++seen;
    }
    EXPECT_GE(seen, 1);
    QMenu popUp;
    popUp.addAction("Open");
    popUp.addAction("Reveal")->setEnabled(false);
    popUp.popup(QPoint(100, 100));
    pumpUntil([&] { return popUp.isVisible(); });
    expectDark({"context menu", popUp.grab().toImage(), popUp.palette().color(QPalette::Window)});
}

TEST_F(DarkLook, RightToLeftPopUpsOpenInsideTheirWindow) {
    // Arabic menus read right to left and so open leftwards of their point; the window is not
    // mirrored, so a pop-up from a control at its left edge would hang outside it.
    QWidget window;
    window.setGeometry(300, 200, 420, 320);
    auto* button = new QPushButton("Format", &window);
    button->setGeometry(4, 280, 90, 26);
    window.show();
    pumpEvents();
    QMenu menu(button);
    menu.setLayoutDirection(Qt::RightToLeft);
    for (const char* item : {"MP4", "MOV", "MKV", "WebM", "GIF"}) menu.addAction(QString::fromLatin1(item));
    menu.popup(button->mapToGlobal(QPoint(0, button->height())));
    pumpUntil([&] { return menu.isVisible(); });
    const QRect area(window.mapToGlobal(QPoint(0, 0)), window.size());
    EXPECT_TRUE(area.contains(menu.geometry())) << "menu at " << menu.x() << "," << menu.y() << " " << menu.width() << "x"
                                                << menu.height();
    menu.hide();
}

TEST_F(DarkLook, PushButtonsAndProgressTracksAreDark) {
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new QPushButton("Browse", &window);
    auto* progress = new QProgressBar(&window);
    progress->setValue(0);
    progress->setTextVisible(false);
    layout->addWidget(button);
    layout->addWidget(progress);
    window.resize(300, 120);
    window.show();
    pumpEvents();
    const QImage face = button->grab().toImage();
    const QColor middle = face.pixelColor(face.width() / 4, face.height() / 2);
    EXPECT_LT(qGray(middle.rgb()), 70) << "button face " << middle.name().toStdString();
    EXPECT_LT(lightShare(face), 0.2);
    const QImage track = progress->grab().toImage();
    const QColor groove = track.pixelColor(track.width() / 2, track.height() / 2);
    EXPECT_LT(qGray(groove.rgb()), 70) << "progress track " << groove.name().toStdString();
    // The shell's own progress view: a dark groove right of the fill, light percent text.
    kestrel::widgets::NSProgressView shellProgress(QRectF(0, 0, 200, 16));
    shellProgress.setProgress(0.25f);
    shellProgress.show();
    pumpEvents();
    const QImage shellTrack = shellProgress.grab().toImage();
    const QColor shellGroove = shellTrack.pixelColor(shellTrack.width() * 7 / 8, shellTrack.height() / 2);
    EXPECT_LT(qGray(shellGroove.rgb()), 90) << "progress view track " << shellGroove.name().toStdString();
    // The shell's dialog buttons (alerts, export dialogs): a dark face under light text.
    kestrel::widgets::ZorButton* dialogButton = kestrel::widgets::makeDialogButton(&window, 13);
    dialogButton->setContentTitle("OK");
    dialogButton->resize(86, 26);
    const QImage dialogFace = dialogButton->grab().toImage();
    const QColor dialogMiddle = dialogFace.pixelColor(8, 13);
    EXPECT_LT(qGray(dialogMiddle.rgb()), 70) << "dialog button face " << dialogMiddle.name().toStdString();
    expectDark({"plain dialog", window.grab().toImage(), window.palette().color(QPalette::Window)});
}

TEST_F(DarkLook, CheckBoxesAndRadioButtonsShowTheirStateOnTheDarkWindow) {
    // An empty indicator stands out from the window; a chosen one shows the accent; a disabled
    // one is fainter than an enabled one.
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    auto* emptyRadio = new QRadioButton("By time", &window);
    auto* chosenRadio = new QRadioButton("By size", &window);
    auto* emptyBox = new QCheckBox("Keep ratio", &window);
    auto* tickedBox = new QCheckBox("Loop", &window);
    auto* disabledBox = new QCheckBox("Hardware", &window);
    chosenRadio->setChecked(true);
    tickedBox->setChecked(true);
    disabledBox->setEnabled(false);
    for (QWidget* choice : std::initializer_list<QWidget*>{emptyRadio, chosenRadio, emptyBox, tickedBox, disabledBox})
        layout->addWidget(choice);
    window.show();
    pumpEvents();
    struct Indicator {
        int brightest = 0;
        bool accent = false;
    };
    auto indicatorOf = [](QAbstractButton* choice) {
        QStyleOptionButton option;
        option.initFrom(choice);
        const bool radio = qobject_cast<QRadioButton*>(choice);
        const QRect box = choice->style()->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator,
                                                          &option, choice);
        const QImage picture = choice->grab().toImage();
        Indicator seen;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                seen.brightest = std::max(seen.brightest, qGray(c.rgb()));
                seen.accent = seen.accent || near(c, kestrel::widgets::kHoverTextColor, 24);
            }
        return seen;
    };
    const int windowGray = qGray(kDarkWindowColor.rgb());
    for (QAbstractButton* empty : {static_cast<QAbstractButton*>(emptyRadio), static_cast<QAbstractButton*>(emptyBox)}) {
        const Indicator seen = indicatorOf(empty);
        EXPECT_GE(seen.brightest - windowGray, 90) << empty->text().toStdString() << ": the empty indicator hides in the window";
        EXPECT_FALSE(seen.accent) << empty->text().toStdString() << ": an empty indicator looks chosen";
    }
    for (QAbstractButton* chosen : {static_cast<QAbstractButton*>(chosenRadio), static_cast<QAbstractButton*>(tickedBox)})
        EXPECT_TRUE(indicatorOf(chosen).accent) << chosen->text().toStdString() << ": the chosen state shows no accent";
    EXPECT_LT(indicatorOf(disabledBox).brightest, indicatorOf(emptyBox).brightest) << "a disabled box looks enabled";
}

}  // namespace
}  // namespace kestrel::test
