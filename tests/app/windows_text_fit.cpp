// Every window of the gallery (home, dialogs, the editor on each tile's tool, every tool window)
// in every interface language: each shown text has room for itself, stays clear of other
// controls, and reads right to left inside its control in Arabic while the window keeps its
// layout (the shared check of tests/support/text_fit.h). The screenshot program renders the
// same windows.
#include "tests/app/window_gallery.h"
#include "tests/support/text_fit.h"

#include "export/ui/output_format_bar.h"
#include "platform/user_defaults.h"
#include "services/language.h"

#include <QGuiApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <tuple>

namespace kestrel::test {
namespace {

using WindowInLanguage = std::tuple<int, std::string>;

class WindowsTextFit : public ::testing::TestWithParam<WindowInLanguage> {
protected:
    void SetUp() override {
        platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), language());
        services::Language::setLanguage();
        // As the application does: Qt's own Arabic translation would mirror whole windows.
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    }
    void TearDown() override {
        platform::UserDefaults::standard().setInteger(QStringLiteral("AppLanguage"), 0);
        services::Language::setLanguage();
    }
    int language() const { return std::get<0>(GetParam()); }
    const std::string& windowName() const { return std::get<1>(GetParam()); }
};

TEST_P(WindowsTextFit, EveryTextFits) {
    WindowGallery gallery;
    QWidget* window = gallery.open(windowName());
    ASSERT_NE(window, nullptr) << windowName() << " did not open";
    TextFitRules rules;
    // The output-format bar has its own check (it scrolls its profiles and cuts long names).
    for (auto* bar : window->findChildren<exportkit::OutputFormatBar*>()) rules.skipped << bar;
    rules.rightToLeft = services::Language::languageFolder(language()) == QStringLiteral("ar");
    const std::string state = services::Language::languageFolder(language()).toStdString() + ", " + windowName();
    EXPECT_GE(expectTextsFit(window, state, rules), 1) << state << " shows no text";
}

std::string caseName(const ::testing::TestParamInfo<WindowInLanguage>& info) {
    return services::Language::languageFolder(std::get<0>(info.param)).replace('-', '_').toStdString() + "_" +
           std::get<1>(info.param);
}

INSTANTIATE_TEST_SUITE_P(AllWindows, WindowsTextFit,
                         ::testing::Combine(::testing::Range(0, services::Language::kLanguageCount),
                                            ::testing::ValuesIn(galleryWindowNames())),
                         caseName);

}  // namespace
}  // namespace kestrel::test
