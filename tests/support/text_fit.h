#pragma once
// The text-fit check every window test can run, in every interface language: each shown label,
// button, check box, radio button, pop-up and tile title has room for its whole text (a tile may
// take two lines, a label may shrink to a floor size), is drawn inside what shows of it and clear
// of other controls and of a button's own glyph; a text cut with an ellipsis has the whole text
// in a tool tip; and Arabic reads right to left inside its controls while the window keeps its
// layout.
//
// Use: link kestrel_text_fit, derive a fixture from AllLanguagesTest (it switches "AppLanguage"
// for each of the nine languages), build the window, show it and call expectTextsFit.
#include <QList>
#include <QString>
#include <string>
#include <gtest/gtest.h>

class QWidget;

namespace kestrel::test {

struct TextFitRules {
    bool rightToLeft = false;       // the language reads right to left (Arabic)
    QList<QWidget*> leftToRight;    // controls that stay left to right (paths, numbers)
    QList<QWidget*> skipped;        // controls checked elsewhere (and their children)
    int floorPointSize = 9;         // no text is shrunk below this
};

// Checks every shown text control under window; returns how many it checked.
int expectTextsFit(QWidget* window, const std::string& state, const TextFitRules& rules);
int expectTextsFit(QWidget* window, const std::string& state, bool rightToLeft, const QList<QWidget*>& leftToRight = {});

// A fixture run once per interface language: the language is stored and applied before the
// test, English restored after; windows stay unmirrored as in the application.
class AllLanguagesTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override;
    void TearDown() override;
    bool arabic() const;
    QString languageFolder() const;
    static void clearDefaults();
};

// Names the nine instances by their language folder ("en", "zh_Hans", … "ar").
std::string languageParamName(const ::testing::TestParamInfo<int>& info);

}  // namespace kestrel::test

// Instantiates a fixture derived from AllLanguagesTest for the nine languages.
#define KESTREL_ALL_LANGUAGES(Fixture)                                                                   \
    INSTANTIATE_TEST_SUITE_P(AllLanguages, Fixture, ::testing::Range(0, 9), ::kestrel::test::languageParamName)
