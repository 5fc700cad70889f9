// The output-folder pop-up: the program's folder by default (made when missing), a chosen
// folder as a sixth item, a cancelled choice changing nothing.
#include "tools/shared/output_folder_popup.h"

#include <QDir>
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

using kestrel::tools::shared::OutputFolderPopup;

TEST(OutputFolderPopup, DefaultsChosenFolderAndCancel) {
    kestrel::test::TempDir dir;
    QString answer = QString::fromStdString(dir.file("mine"));
    QDir().mkpath(answer);
    OutputFolderPopup::setFolderChooser([&](const QString&) { return answer; });
    {
        OutputFolderPopup popup;
        EXPECT_EQ(popup.currentIndex(), OutputFolderPopup::ProgramFolder);
        EXPECT_EQ(popup.outputPath(), OutputFolderPopup::programFolder());
        EXPECT_TRUE(QDir(popup.outputPath()).exists());
        EXPECT_EQ(popup.count(), 5);

        popup.choose(OutputFolderPopup::Other);
        EXPECT_EQ(popup.outputPath(), answer);
        ASSERT_EQ(popup.count(), 6);
        EXPECT_EQ(popup.itemText(OutputFolderPopup::Chosen), "mine");
        EXPECT_EQ(popup.currentIndex(), OutputFolderPopup::Chosen);

        answer.clear();  // the folder dialog cancelled
        popup.choose(OutputFolderPopup::Other);
        EXPECT_EQ(popup.outputPath(), QString::fromStdString(dir.file("mine")));
        EXPECT_EQ(popup.currentIndex(), OutputFolderPopup::Chosen);

        popup.choose(OutputFolderPopup::Movies);
        EXPECT_EQ(popup.count(), 5);
        EXPECT_EQ(popup.currentIndex(), OutputFolderPopup::Movies);
    }
    OutputFolderPopup::setFolderChooser({});
}
