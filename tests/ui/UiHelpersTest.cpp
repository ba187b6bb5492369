#include "core/InputRules.h"
#include "db/Error.h"
#include "support/Keys.h"
#include "support/ScriptedMessages.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace {

using testsupport::pressKey;
using testsupport::ScriptedMessages;
using testsupport::typeText;

TEST(Guard, AnErrorEndsTheActionSilentlyUnlessAMessageIsNamed) {
    ScriptedMessages messages;
    int steps = 0;
    const auto failing = [&] {
        ++steps;
        throw db::Error(QStringLiteral("KZ_NumeroVenta"), QStringLiteral("deadlock"));
        ++steps;
    };

    EXPECT_FALSE(ui::guard(messages, failing));
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(messages.shown.isEmpty());

    EXPECT_FALSE(ui::guard(messages, failing, QStringLiteral("ERROR EN EL REGISTRO...")));
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("ERROR EN EL REGISTRO...")});
    EXPECT_EQ(messages.kinds.value(0), ui::Messages::Kind::Error);
}

TEST(Guard, RunTimeErrorsAreCaughtAndCompletedActionsReportSo) {
    ScriptedMessages messages;
    EXPECT_FALSE(ui::guard(
        messages, [] { throw std::out_of_range("row"); }, QStringLiteral("ERROR"),
        ui::Messages::Kind::Warning));
    EXPECT_EQ(messages.kinds.value(0), ui::Messages::Kind::Warning);

    bool ran = false;
    EXPECT_TRUE(ui::guard(
        messages, [&] { ran = true; }, QStringLiteral("NO")));
    EXPECT_TRUE(ran);
    EXPECT_EQ(messages.shown.size(), 1) << "no message after an action that completed";

    QWidget parent;
    EXPECT_FALSE(ui::guard(&parent, [] { throw std::runtime_error("x"); }));
}

// A window with two boxes, shown and active, so focus moves can be seen.
class FilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(box_ = new QLineEdit);
        layout->addWidget(other_ = new QLineEdit);
        window_.show();
        QApplication::setActiveWindow(&window_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    QWidget window_;
    QLineEdit* box_ = nullptr;
    QLineEdit* other_ = nullptr;
};

TEST_F(FilterTest, ATextFailingTheRuleEmptiesTheBoxWhichKeepsTheFocus) {
    ui::filter(box_, core::endsWithDigit);
    box_->setFocus();
    typeText(box_, QStringLiteral("12"));
    EXPECT_EQ(box_->text(), QStringLiteral("12"));

    typeText(box_, QStringLiteral("A"));
    EXPECT_EQ(box_->text(), QString());
    EXPECT_TRUE(box_->hasFocus());

    other_->setFocus();
    box_->setText(QStringLiteral("7X"));  // a change by the program is filtered too
    EXPECT_EQ(box_->text(), QString());
    EXPECT_TRUE(box_->hasFocus());
}

TEST_F(FilterTest, EmptyingTheBoxIsNoFault) {
    ui::filter(box_, core::endsWithDigit);
    box_->setText(QStringLiteral("5"));
    other_->setFocus();
    box_->clear();
    EXPECT_TRUE(other_->hasFocus()) << "an empty box does not take the focus";
}

TEST_F(FilterTest, TypedAndPastedTextIsUpperCaseBeforeTheRuleSeesIt) {
    QStringList seen;
    ui::forceUpperCase(box_);
    ui::filter(box_, [&](const QString& text) {
        seen << text;
        return true;
    });
    box_->setFocus();
    typeText(box_, QStringLiteral("peña"));
    EXPECT_EQ(box_->text(), QStringLiteral("PEÑA"));

    pressKey(box_, Qt::Key_Home);
    typeText(box_, QStringLiteral("la "));
    EXPECT_EQ(box_->text(), QStringLiteral("LA PEÑA"));
    EXPECT_EQ(box_->cursorPosition(), 3) << "the cursor stays where the typing was";

    QApplication::clipboard()->setText(QStringLiteral(" josé"));
    box_->end(false);
    box_->paste();
    EXPECT_EQ(box_->text(), QStringLiteral("LA PEÑA JOSÉ"));
    for (const QString& text : seen)
        EXPECT_EQ(text, text.toUpper());
}

TEST_F(FilterTest, ALetterThatGrowsInUpperCaseKeepsTheCursorAfterIt) {
    ui::forceUpperCase(box_);
    box_->setFocus();
    typeText(box_, QStringLiteral("straße"));
    EXPECT_EQ(box_->text(), QStringLiteral("STRASSE"));
    typeText(box_, QStringLiteral("n"));
    EXPECT_EQ(box_->text(), QStringLiteral("STRASSEN"));
}

TEST_F(FilterTest, UpperCaseTextMeetsALetterRule) {
    ui::forceUpperCase(box_);
    ui::filter(box_, core::endsWithNameChar);
    box_->setFocus();
    typeText(box_, QStringLiteral("garcia"));
    EXPECT_EQ(box_->text(), QStringLiteral("GARCIA"));
    typeText(box_, QStringLiteral("1"));
    EXPECT_EQ(box_->text(), QString());
}

TEST_F(FilterTest, TheLengthIsCappedToTheColumn) {
    ui::capLength(box_, 5);
    box_->setFocus();
    typeText(box_, QStringLiteral("1234567"));
    EXPECT_EQ(box_->text(), QStringLiteral("12345"));

    QApplication::clipboard()->setText(QStringLiteral("ABCDEFGH"));
    box_->clear();
    box_->paste();
    EXPECT_EQ(box_->text(), QStringLiteral("ABCDE"));
}

TEST_F(FilterTest, KeysTypeAnyCharacter) {
    box_->setFocus();
    typeText(box_, QStringLiteral("ÑANDÚ É 1.5"));
    EXPECT_EQ(box_->text(), QStringLiteral("ÑANDÚ É 1.5"));
    pressKey(box_, Qt::Key_Backspace);
    EXPECT_EQ(box_->text(), QStringLiteral("ÑANDÚ É 1."));
}

}  // namespace
