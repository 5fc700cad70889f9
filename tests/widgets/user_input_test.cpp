// The test support's user input on plain Qt controls: a click reaches only an enabled, visible,
// uncovered control; typing commits once by Tab, Return or a click elsewhere; Escape and the
// close button reach the window; a slider's handle is found where its style draws it; waiting
// runs the event loop.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "tests/support/user_input.h"

using namespace kestrel::test;

namespace {

struct Form : QDialog {
    QLineEdit* field = new QLineEdit(this);
    QPushButton* button = new QPushButton(QStringLiteral("OK"), this);
    QSlider* slider = new QSlider(Qt::Horizontal, this);
    bool refuseClose = false;

    Form() {
        auto* column = new QVBoxLayout(this);
        column->addWidget(field);
        column->addWidget(button);
        column->addWidget(slider);
        slider->setRange(0, 100);
        resize(300, 150);
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    }
    void closeEvent(QCloseEvent* event) override {
        if (refuseClose) event->ignore();
        else QDialog::closeEvent(event);
    }
};

TEST(UserInput, AClickReachesOnlyAnEnabledUncoveredControl) {
    Form form;
    QSignalSpy clicked(form.button, &QPushButton::clicked);
    click(form.button);
    EXPECT_EQ(clicked.size(), 1);
    form.button->setEnabled(false);
    click(form.button);
    EXPECT_EQ(clicked.size(), 1) << "a disabled button is not pressed";
    form.button->setEnabled(true);
    // Another widget lying over the button takes the press, and the test hears of it.
    QWidget cover(&form);
    cover.setGeometry(form.button->geometry());
    cover.show();
    EXPECT_NONFATAL_FAILURE(click(form.button), "lands on");
    EXPECT_EQ(clicked.size(), 1);
    form.button->hide();
    EXPECT_NONFATAL_FAILURE(click(form.button), "not on screen");
}

TEST(UserInput, TypingCommitsOnceByTabReturnOrAClickElsewhere) {
    const struct {
        Commit how;
        const char* text;
    } cases[] = {{Commit::Tab, "12"}, {Commit::Return, "345"}, {Commit::ClickElsewhere, "6"}};
    for (const auto& c : cases) {
        Form form;
        form.field->setText(QStringLiteral("old"));
        QSignalSpy finished(form.field, &QLineEdit::editingFinished);
        typeInto(form.field, QString::fromLatin1(c.text), c.how, form.button);
        EXPECT_EQ(form.field->text().toStdString(), c.text) << "what was there is replaced";
        EXPECT_EQ(finished.size(), 1) << int(c.how);
        if (c.how != Commit::Return) EXPECT_FALSE(form.field->hasFocus()) << int(c.how);
    }
}

TEST(UserInput, EscapeAndTheCloseButtonReachTheWindow) {
    Form form;
    QSignalSpy rejected(&form, &QDialog::rejected);
    pressEscape(&form);
    EXPECT_EQ(rejected.size(), 1);
    EXPECT_FALSE(form.isVisible());

    Form stubborn;
    stubborn.refuseClose = true;
    EXPECT_FALSE(closeWindow(&stubborn));
    EXPECT_TRUE(stubborn.isVisible());
    stubborn.refuseClose = false;
    EXPECT_TRUE(closeWindow(&stubborn));
}

TEST(UserInput, ASliderHandleIsDraggedFromWhereItIsDrawn) {
    Form form;
    form.slider->setValue(20);
    QSignalSpy moved(form.slider, &QSlider::sliderMoved);
    const QPoint grip = sliderGrip(form.slider);
    drag(form.slider, grip, grip + QPoint(60, 0), 6);
    EXPECT_EQ(moved.size(), 6) << "one report per move";
    EXPECT_GT(form.slider->value(), 20);
    EXPECT_FALSE(form.slider->isSliderDown()) << "released";
}

TEST(UserInput, WaitingRunsTheEventLoopUntilTheConditionHolds) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    EXPECT_TRUE(waitUntil([&] { return ran; }));
    EXPECT_FALSE(waitUntil([] { return false; }, 10));
}

}  // namespace
