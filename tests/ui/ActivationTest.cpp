#include "ui/Activation.h"
#include "ui/Messages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

bool activate(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Answers the next modal box as soon as it is up, recording whether it became active.
void answerNextBox(bool* wasActive) {
    QTimer::singleShot(0, [wasActive] {
        QWidget* box = QApplication::activeModalWidget();
        *wasActive = box && QTest::qWaitForWindowActive(box);
        if (auto* dialog = qobject_cast<QDialog*>(box))
            dialog->accept();
    });
}

TEST(Activation, TheHandlerRunsEachTimeTheWindowBecomesActive) {
    QWidget window;
    QWidget other;
    int runs = 0;
    ui::onActivation(&window, [&] { ++runs; });

    ASSERT_TRUE(activate(&window));
    EXPECT_EQ(runs, 1);
    ASSERT_TRUE(activate(&other));
    EXPECT_EQ(runs, 1);
    ASSERT_TRUE(activate(&window));
    EXPECT_EQ(runs, 2);
}

TEST(Activation, TheHandlerRunsAgainAfterAMessageBoxOverTheWindowCloses) {
    QWidget window;
    QWidget elsewhere;  // where the activation could go instead
    elsewhere.show();
    int runs = 0;
    ui::onActivation(&window, [&] { ++runs; });
    ASSERT_TRUE(activate(&window));
    ASSERT_EQ(runs, 1);

    bool boxWasActive = false;
    answerNextBox(&boxWasActive);
    ui::DialogMessages(&window).notice(QStringLiteral("PRODUCTO GRABADO"));
    EXPECT_TRUE(boxWasActive);
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }));
    QTest::qWait(200);
    EXPECT_EQ(runs, 2);

    answerNextBox(&boxWasActive);
    QMessageBox preview(QMessageBox::Question, QString(), QStringLiteral("?"), QMessageBox::Ok,
                        &window);
    ui::execModal(preview);
    EXPECT_EQ(runs, 3);
    QTest::qWait(200);
    EXPECT_EQ(runs, 3);
}

TEST(Activation, AScreenOpenedBeforeTheMainWindowShowsRunsOnce) {
    QMainWindow main;
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    auto* screen = new QWidget;
    int runs = 0;
    ui::onActivation(screen, [&] { ++runs; });
    area->addSubWindow(screen)->show();

    ASSERT_TRUE(activate(&main));
    QTest::qWait(0);
    EXPECT_EQ(runs, 1);
}

// A main window with two screens inside its MDI area, the second one current.
class MdiActivation : public ::testing::Test {
protected:
    void SetUp() override {
        main_.setCentralWidget(area_ = new QMdiArea);
        auto* first = new QWidget;
        auto* second = new QWidget;
        ui::onActivation(first, [this] { ++firstRuns_; });
        ui::onActivation(second, [this] { ++secondRuns_; });
        firstSub_ = area_->addSubWindow(first);
        secondSub_ = area_->addSubWindow(second);
        ASSERT_TRUE(activate(&main_));
        firstSub_->show();
        secondSub_->show();
        area_->setActiveSubWindow(secondSub_);
        firstRuns_ = secondRuns_ = 0;
    }

    QMainWindow main_;
    QMdiArea* area_ = nullptr;
    QMdiSubWindow* firstSub_ = nullptr;
    QMdiSubWindow* secondSub_ = nullptr;
    int firstRuns_ = 0;
    int secondRuns_ = 0;
};

TEST_F(MdiActivation, SwitchingScreensActivatesTheOneSwitchedTo) {
    area_->setActiveSubWindow(firstSub_);
    EXPECT_EQ(firstRuns_, 1);
    EXPECT_EQ(secondRuns_, 0);
    area_->setActiveSubWindow(secondSub_);
    EXPECT_EQ(firstRuns_, 1);
    EXPECT_EQ(secondRuns_, 1);
}

TEST_F(MdiActivation, OnlyTheCurrentScreenRunsWhenTheMainWindowComesBack) {
    QWidget other;
    ASSERT_TRUE(activate(&other));
    ASSERT_TRUE(activate(&main_));
    EXPECT_TRUE(QTest::qWaitFor([&] { return secondRuns_ == 1; }));
    QTest::qWait(0);
    EXPECT_EQ(secondRuns_, 1) << "once for one activation";
    EXPECT_EQ(firstRuns_, 0);
}

TEST_F(MdiActivation, AMessageBoxOverAScreenRunsItsHandlerWhenItCloses) {
    bool boxWasActive = false;
    answerNextBox(&boxWasActive);
    ui::DialogMessages(secondSub_->widget()).notice(QStringLiteral("VENTA DESCARGADA"));
    EXPECT_TRUE(boxWasActive);
    EXPECT_TRUE(QTest::qWaitFor([&] { return secondRuns_ == 1; }));
    EXPECT_EQ(firstRuns_, 0);
}

}  // namespace
