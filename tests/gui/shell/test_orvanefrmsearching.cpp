#include "../support/guitestsupport.h"

#include "orvanefrmsearching.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FindBarFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view.setPlainText(QStringLiteral("to be or not to be\nthat is the question"));
        bar.plainTextEdit = &view;
        field = bar.findChild<QLineEdit*>(QStringLiteral("edtFind"));
        next = bar.findChild<QPushButton*>(QStringLiteral("btnNextWord"));
        previous = bar.findChild<QPushButton*>(QStringLiteral("btnPreviousWord"));
        matchCase = bar.findChild<QCheckBox*>(QStringLiteral("chkMatchCase"));
        ASSERT_TRUE(field && next && previous && matchCase);
        bar.show();
    }

    // Start of the selection, or -1 when nothing is selected.
    int selectionStart() const
    {
        const QTextCursor cursor = view.textCursor();
        return cursor.hasSelection() ? cursor.selectionStart() : -1;
    }
    QString selected() const { return view.textCursor().selectedText(); }
    bool fieldIsRed() const
    {
        return field->palette().color(QPalette::Active, QPalette::Base) == QColor(Qt::red);
    }

    QPlainTextEdit view;
    OrvaneFrmSearching bar;
    QLineEdit* field = nullptr;
    QPushButton* next = nullptr;
    QPushButton* previous = nullptr;
    QCheckBox* matchCase = nullptr;
};

} // namespace

TEST_F(FindBarFixture, GrowsInPlaceThenStepsAndWrapsBothWays)
{
    EXPECT_EQ(bar.maximumHeight(), 40);

    QTest::keyClick(field, Qt::Key_T);
    EXPECT_EQ(selectionStart(), 0);
    EXPECT_EQ(selected(), QStringLiteral("t"));

    QTest::keyClick(field, Qt::Key_O);
    EXPECT_EQ(selectionStart(), 0) << "typing grows the match in place";
    EXPECT_EQ(selected(), QStringLiteral("to"));

    // "to" occurs at 0 and 13.
    const struct
    {
        QPushButton* button;
        int expectedStart;
    } steps[] = {{next, 13}, {next, 0}, {previous, 13}, {previous, 0}, {previous, 13}};
    for (const auto& step : steps) {
        QTest::mouseClick(step.button, Qt::LeftButton);
        EXPECT_EQ(selectionStart(), step.expectedStart);
        EXPECT_EQ(selected(), QStringLiteral("to"));
        EXPECT_FALSE(fieldIsRed());
    }
    EXPECT_EQ(view.toPlainText(), QStringLiteral("to be or not to be\nthat is the question"))
        << "searching never changes the text";
}

TEST_F(FindBarFixture, AMissTurnsTheFieldRedAndKeepsTheCaret)
{
    QTextCursor caret = view.textCursor();
    caret.setPosition(7);
    view.setTextCursor(caret);

    QTest::keyClicks(field, QStringLiteral("xyz"));
    EXPECT_TRUE(fieldIsRed());
    EXPECT_EQ(selectionStart(), -1);
    EXPECT_EQ(view.textCursor().position(), 7);

    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_TRUE(fieldIsRed());
    EXPECT_EQ(view.textCursor().position(), 7);

    // Deleting the search text turns the field white and drops any selection.
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_FALSE(fieldIsRed());
    EXPECT_EQ(selectionStart(), -1);
}

TEST_F(FindBarFixture, EmptyWordClearsASelectionLeavingTheCaretAtItsStart)
{
    QTest::keyClicks(field, QStringLiteral("question"));
    ASSERT_EQ(selected(), QStringLiteral("question"));
    const int start = selectionStart();
    bar.findTextInFile(QString());
    EXPECT_EQ(selectionStart(), -1);
    EXPECT_EQ(view.textCursor().position(), start);
    EXPECT_FALSE(fieldIsRed());
}

TEST_F(FindBarFixture, MatchCaseDecidesWhetherCapitalsFindSmallLetters)
{
    for (const bool caseSensitive : {false, true}) {
        SCOPED_TRACE(caseSensitive ? "case sensitive" : "case blind");
        matchCase->setChecked(caseSensitive);
        view.moveCursor(QTextCursor::Start);
        field->clear();
        QTest::keyClicks(field, QStringLiteral("THAT"));
        EXPECT_EQ(fieldIsRed(), caseSensitive);
        EXPECT_EQ(selected(), caseSensitive ? QString() : QStringLiteral("that"));
    }
}

TEST_F(FindBarFixture, SearchesLiterallyNotAsAPattern)
{
    view.setPlainText(QStringLiteral("a.b axb (x) a.b"));
    QTest::keyClicks(field, QStringLiteral("a.b"));
    EXPECT_EQ(selectionStart(), 0);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(selectionStart(), 12);

    field->clear();
    QTest::keyClicks(field, QStringLiteral("(x)"));
    EXPECT_EQ(selectionStart(), 8);
}

TEST_F(FindBarFixture, FollowsTheViewItIsPointedAtAndHidesOnClose)
{
    QPlainTextEdit other;
    other.setPlainText(QStringLiteral("only here: needle"));
    bar.plainTextEdit = &other;
    QTest::keyClicks(field, QStringLiteral("needle"));
    EXPECT_EQ(other.textCursor().selectedText(), QStringLiteral("needle"));
    EXPECT_EQ(selectionStart(), -1) << "the previous view is left alone";

    QTest::mouseClick(bar.findChild<QPushButton*>(QStringLiteral("btnClose")), Qt::LeftButton);
    EXPECT_FALSE(bar.isVisible());
}

TEST(FindBarAlone, SearchesAnEmptyPlaceholderUntilGivenAView)
{
    OrvaneFrmSearching bar;
    ASSERT_NE(bar.plainTextEdit, nullptr);
    EXPECT_TRUE(bar.plainTextEdit->toPlainText().isEmpty());
    bar.findTextInFile(QStringLiteral("word"), true);
    QLineEdit* field = bar.findChild<QLineEdit*>(QStringLiteral("edtFind"));
    EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::red));
}
