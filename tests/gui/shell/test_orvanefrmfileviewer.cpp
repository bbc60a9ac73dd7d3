#include "../support/guitestsupport.h"

#include "orvanefrmfileviewer.h"
#include "orvanefrmsearching.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QUrl>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

class ViewerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nameField = viewer.findChild<QLineEdit*>(QStringLiteral("edtFileName"));
        text = viewer.findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"));
        saveButton = viewer.findChild<QPushButton*>(QStringLiteral("btnSaveFile"));
        findBar = viewer.findChild<OrvaneFrmSearching*>();
        ASSERT_TRUE(nameField && text && saveButton && findBar);
    }

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = temp.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    void click(const char* buttonName)
    {
        QPushButton* button = viewer.findChild<QPushButton*>(QString::fromLatin1(buttonName));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void expectEmptyState()
    {
        EXPECT_EQ(nameField->text(), OrvaneFrmFileViewer::hintText);
        EXPECT_EQ(nameField->styleSheet(), QStringLiteral("color: rgb(158, 158, 158);"));
        EXPECT_TRUE(text->toPlainText().isEmpty());
        EXPECT_FALSE(saveButton->isEnabled());
    }

    // Typed on a keyboard that has these characters (QTest::keyClicks takes
    // ASCII alone).
    void type(const QString& characters)
    {
        for (const QChar c : characters) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(text, &press);
        }
    }

    static QByteArray readBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    OrvaneFrmFileViewer viewer;
    QLineEdit* nameField = nullptr;
    QPlainTextEdit* text = nullptr;
    QPushButton* saveButton = nullptr;
    OrvaneFrmSearching* findBar = nullptr;
};

} // namespace

TEST_F(ViewerFixture, StartsEmptyWithTheHintAndTheFindBarOnItsText)
{
    EXPECT_EQ(OrvaneFrmFileViewer::hintText,
              QStringLiteral("Drag and drop a file here OR click on button Open to open it"));
    expectEmptyState();
    EXPECT_TRUE(nameField->isReadOnly());
    EXPECT_EQ(findBar->plainTextEdit, text);
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("ORVANE File Viewer"));
}

TEST_F(ViewerFixture, TheWholeHintIsVisibleAtTheViewersFirstSize)
{
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    // With the caret at the end of a clipped text the field scrolls, and its
    // left edge no longer shows the first character.
    nameField->end(false);
    const QPoint leftEdge(nameField->contentsRect().left() + 4, nameField->height() / 2);
    EXPECT_EQ(nameField->cursorPositionAt(leftEdge), 0)
        << "field " << nameField->width() << " px for a hint of "
        << nameField->fontMetrics().horizontalAdvance(OrvaneFrmFileViewer::hintText) << " px";
}

TEST_F(ViewerFixture, LoadFileShowsNameAndWholeContentThenClearRestoresTheHint)
{
    const QString path = writeFile(QStringLiteral("complex.out"), "line 1\n  \xce\xa9 2\r\n\nlast");
    viewer.loadFile(path);
    EXPECT_EQ(nameField->text(), path);
    EXPECT_TRUE(nameField->styleSheet().isEmpty());
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8("line 1\n  \xce\xa9 2\n\nlast"));
    EXPECT_TRUE(saveButton->isEnabled());
    EXPECT_TRUE(dialogs.requests().isEmpty());

    click("btnClearVisualization");
    expectEmptyState();
}

TEST_F(ViewerFixture, AFileThatCannotBeReadIsReportedOnceInTheSystemsWords)
{
    // As when the command line names a missing file: the name is shown, the
    // view stays empty, and the user is told why.
    const QString folder = temp.filePath(QStringLiteral("results.out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct
    {
        QString file;
        int error;
    } cases[] = {{temp.filePath(QStringLiteral("no such file.mop")), ENOENT}, {folder, EISDIR}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const int asked = dialogs.requests().size();
        dialogs.pressButton(QMessageBox::Ok);
        viewer.loadFile(c.file);
        ASSERT_EQ(dialogs.requests().size(), asked + 1);
        EXPECT_EQ(dialogs.requests().last().kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Error"));
        EXPECT_EQ(dialogs.requests().last().text, QStringLiteral("The file %1 cannot be read:\n%2")
                                                      .arg(c.file, QString::fromLocal8Bit(std::strerror(c.error))));
        EXPECT_EQ(nameField->text(), c.file);
        EXPECT_TRUE(text->toPlainText().isEmpty());
        EXPECT_TRUE(saveButton->isEnabled());
    }
}

TEST_F(ViewerFixture, OpenButtonAsksInTheHomeFolderAndLoadsTheChoice)
{
    const QString path = writeFile(QStringLiteral("report.omega"), "Omega 2\n");
    dialogs.chooseFile(path);
    click("btnOpenFile");
    ASSERT_EQ(dialogs.requests().size(), 1);
    const auto& request = dialogs.requests().at(0);
    EXPECT_EQ(request.kind, OrvaneDialogs::Kind::OpenFileName);
    EXPECT_EQ(request.title, QStringLiteral("ORVANE File Viewer"));
    EXPECT_EQ(request.directory, QDir::homePath());
    EXPECT_EQ(request.filter, QStringLiteral("Text File (*)"));
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Omega 2\n"));

    dialogs.cancel();
    click("btnOpenFile");
    EXPECT_EQ(nameField->text(), path) << "cancelling changes nothing";
}

TEST_F(ViewerFixture, DroppingAFileOnTheNameFieldLoadsItAndAFolderDoesNothing)
{
    const QString path = writeFile(QStringLiteral("dropped.orvane"), "dropped text");
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile(temp.path())});
    EXPECT_TRUE(dragAndDrop(nameField, folder).dropAccepted);
    EXPECT_EQ(nameField->text(), OrvaneFrmFileViewer::hintText);
    EXPECT_TRUE(nameField->styleSheet().isEmpty()) << "a drop removes the grey hint colour";
    EXPECT_TRUE(text->toPlainText().isEmpty());
    EXPECT_FALSE(saveButton->isEnabled());

    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(path)});
    EXPECT_TRUE(dragAndDrop(nameField, file).dropAccepted);
    EXPECT_EQ(nameField->text(), path);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("dropped text"));
    EXPECT_TRUE(saveButton->isEnabled());
}

TEST_F(ViewerFixture, SaveOffersTheLoadedSuffixAndWritesTheEditedText)
{
    const struct
    {
        const char* name;
        QString expectedFilter;
    } cases[] = {
        {"result.out", QStringLiteral(".out File (*.out)")},
        {"noSuffix", QStringLiteral(". File (*.)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(QString::fromLatin1(c.name), "original\n");
        viewer.loadFile(path);
        text->setPlainText(QStringLiteral("edited\nsecond line"));

        const QString target = temp.filePath(QStringLiteral("copy of ") + QString::fromLatin1(c.name));
        dialogs.chooseFile(target);
        dialogs.pressButton(QMessageBox::Ok);
        click("btnSaveFile");
        const auto& request = dialogs.requests().at(dialogs.requests().size() - 2);
        EXPECT_EQ(request.kind, OrvaneDialogs::Kind::SaveFileName);
        EXPECT_EQ(request.title, QStringLiteral("Save File"));
        EXPECT_EQ(request.directory, QDir::homePath());
        EXPECT_EQ(request.filter, c.expectedFilter);
        EXPECT_EQ(readBytes(target), QByteArray("edited\nsecond line"));
        EXPECT_EQ(dialogs.requests().last().text, QStringLiteral("The file was successfully created at: ") + target);
        EXPECT_EQ(readBytes(path), QByteArray("original\n"));
        EXPECT_EQ(nameField->text(), path) << "the field keeps the loaded file";
    }
}

TEST_F(ViewerFixture, ANameTypedWithoutSuffixIsSavedWithTheLoadedOne)
{
    viewer.loadFile(writeFile(QStringLiteral("result.out"), "original\n"));
    expectSavedWithFilterSuffix(dialogs, temp.path(), QStringLiteral("copy"), QStringLiteral("copy.out"),
                                QStringLiteral("The file was successfully created at: "), [&] { click("btnSaveFile"); });
    EXPECT_EQ(readBytes(temp.filePath(QStringLiteral("copy.out"))), QByteArray("original\n"));
    EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Information"));
}

TEST_F(ViewerFixture, SaveCancelledWritesNothingAndAFailureIsReported)
{
    viewer.loadFile(writeFile(QStringLiteral("a.mop"), "text"));
    dialogs.cancel();
    click("btnSaveFile");
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.mop")});

    const QString unwritable = temp.filePath(QStringLiteral("missing folder/a.mop"));
    dialogs.chooseFile(unwritable);
    dialogs.pressButton(QMessageBox::Ok);
    click("btnSaveFile");
    ASSERT_EQ(dialogs.requests().size(), 3);
    EXPECT_EQ(dialogs.requests().at(2).title, QStringLiteral("ORVANE Error"));
    EXPECT_TRUE(dialogs.requests().at(2).text.contains(unwritable));
}

TEST_F(ViewerFixture, FindButtonShowsTheBarAgainAndItSearchesTheLoadedText)
{
    QTest::mouseClick(findBar->findChild<QPushButton*>(QStringLiteral("btnClose")), Qt::LeftButton);
    EXPECT_TRUE(findBar->isHidden());
    click("btnFindText");
    EXPECT_FALSE(findBar->isHidden());

    viewer.loadFile(writeFile(QStringLiteral("a.out"), "alpha beta"));
    QLineEdit* field = findBar->findChild<QLineEdit*>(QStringLiteral("edtFind"));
    QTest::keyClicks(field, QStringLiteral("beta"));
    EXPECT_EQ(text->textCursor().selectedText(), QStringLiteral("beta"));

    // After clearing, every word is a miss.
    click("btnClearVisualization");
    field->clear();
    QTest::keyClicks(field, QStringLiteral("a"));
    EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::red));
}

// MOPAC and ORCA inputs written on Windows are often Latin-1, some editors
// write UTF-16 with its mark: the viewer shows the whole file and saves it as
// it read it, so that what the user did not touch keeps its bytes. Only the
// line ends become line feeds.
TEST_F(ViewerFixture, AnUnchangedFileIsSavedByteForByteWithLineFeeds)
{
    // 66 bytes of Latin-1 text, a NUL, and 83 bytes more.
    const QByteArray latin1Head = "* Eu(III) hydrat\xe9, 25\xb0" "C \xb5s; r\xe9sum\xe9 de la mol\xe9" "cule d'europium(III)\n";
    const QByteArray latin1WithNul = latin1Head + QByteArray(1, '\0') + QByteArray(83, '\xe9');
    const struct
    {
        const char* name;
        QByteArray bytes;
        QByteArray saved;
        QString shown; // when the test looks at it
    } cases[] = {
        {"latin1.mop", "* Eu(III) hydrat\xe9, r\xe9sum\xe9 \xe0 25\xb0" "C, \xb5s\nAM1 SPARKLE CHARGE=3\n",
         "* Eu(III) hydrat\xe9, r\xe9sum\xe9 \xe0 25\xb0" "C, \xb5s\nAM1 SPARKLE CHARGE=3\n", QString()},
        {"latin1crlf.mop", "* mol\xe9" "cule\xa0" "d'europium\r\nAM1 SPARKLE\r\n\r\nEu 0.0 1\r\n",
         "* mol\xe9" "cule\xa0" "d'europium\nAM1 SPARKLE\n\nEu 0.0 1\n", QString()},
        {"latin1nul.mop", latin1WithNul, latin1WithNul,
         QString::fromLatin1(latin1WithNul.constData(), latin1WithNul.size())},
        {"utf8nul.out", QByteArray("E\0u \xce\xa9\n", 7), QByteArray("E\0u \xce\xa9\n", 7),
         QString::fromUtf8("E\0u \xce\xa9\n", 7)},
        {"utf16le.orcinp", QByteArray("\xff\xfe" "E\0u\0\xa9\x03\r\0\n\0!\0\0\0", 16),
         QByteArray("\xff\xfe" "E\0u\0\xa9\x03\n\0!\0\0\0", 14), QString::fromUtf8("Eu\xce\xa9\n!\0", 7)},
        {"utf16be.orcinp", QByteArray("\xfe\xff\0E\0u\x03\xa9\0\r\0\n\0!\0\0", 16),
         QByteArray("\xfe\xff\0E\0u\x03\xa9\0\n\0!\0\0", 14), QString::fromUtf8("Eu\xce\xa9\n!\0", 7)},
        {"utf8.orcinp", "# mol\xc3\xa9" "cule \xce\xa9 25\xc2\xb0" "C\n! ZINDO/S\n",
         "# mol\xc3\xa9" "cule \xce\xa9 25\xc2\xb0" "C\n! ZINDO/S\n", QString()},
        {"utf8bom.orcinp", "\xef\xbb\xbf# ORCA \xc3\xa9t\xc3\xa9\r\n! ZINDO/S\r\n",
         "\xef\xbb\xbf# ORCA \xc3\xa9t\xc3\xa9\n! ZINDO/S\n", QString()},
        // Characters a text view turns into others when asked for its plain
        // text: a no-break space and a line separator.
        {"utf8spaces.out", "a\xc2\xa0" "b\xe2\x80\xa8" "c\n", "a\xc2\xa0" "b\xe2\x80\xa8" "c\n", QString()},
        {"classicmac.out", "line 1\rline 2\r", "line 1\nline 2\n", QString()},
        {"mixedends.out", "a\r\nb\rc\n", "a\nb\nc\n", QString()},
        {"nofinalend.out", "last line without its end", "last line without its end", QString()},
        {"blanklines.out", "\n\n  \n", "\n\n  \n", QString()},
        {"empty.out", "", "", QString()},
    };
    ASSERT_EQ(latin1Head.size(), 66);
    ASSERT_EQ(latin1WithNul.size(), 150);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        viewer.loadFile(writeFile(QString::fromLatin1(c.name), c.bytes));
        if (!c.shown.isNull())
            EXPECT_EQ(text->toPlainText(), c.shown);
        const QString target = temp.filePath(QStringLiteral("saved ") + QString::fromLatin1(c.name));
        dialogs.chooseFile(target);
        dialogs.pressButton(QMessageBox::Ok);
        click("btnSaveFile");
        EXPECT_EQ(dialogs.requests().last().title, QStringLiteral("ORVANE Information"));
        EXPECT_EQ(readBytes(target).toHex(' ').toStdString(), c.saved.toHex(' ').toStdString());
    }
}

TEST_F(ViewerFixture, AnEditedFileKeepsItsEncodingWithLineFeeds)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
        QByteArray saved; // after "é°" is typed at the end of line 1
    } cases[] = {
        {"latin1.mop", "* r\xe9sum\xe9\r\nAM1\r\n", "* r\xe9sum\xe9\xe9\xb0\nAM1\n"},
        {"utf8.mop", "* \xce\xa9\nAM1\n", "* \xce\xa9\xc3\xa9\xc2\xb0\nAM1\n"},
        {"utf8bom.mop", "\xef\xbb\xbf* \xc3\xa9\nAM1\n", "\xef\xbb\xbf* \xc3\xa9\xc3\xa9\xc2\xb0\nAM1\n"},
        {"utf16be.mop", QByteArray("\xfe\xff\0*\0\r\0\n\0A", 10), QByteArray("\xfe\xff\0*\0\xe9\0\xb0\0\n\0A", 12)},
        // A text typed into a new viewer, or into a plain ASCII file, is UTF-8.
        {"ascii.mop", "* water\nAM1\n", "* water\xc3\xa9\xc2\xb0\nAM1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        viewer.loadFile(writeFile(QString::fromLatin1(c.name), c.bytes));
        QTextCursor cursor = text->textCursor();
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::EndOfLine);
        text->setTextCursor(cursor);
        type(QString::fromUtf8("\xc3\xa9\xc2\xb0"));
        const QString target = temp.filePath(QStringLiteral("saved ") + QString::fromLatin1(c.name));
        dialogs.chooseFile(target);
        dialogs.pressButton(QMessageBox::Ok);
        click("btnSaveFile");
        EXPECT_EQ(readBytes(target).toHex(' ').toStdString(), c.saved.toHex(' ').toStdString());
    }
}

TEST_F(ViewerFixture, ACharacterTheFilesEncodingCannotHoldIsRefusedByName)
{
    const QString target = writeFile(QStringLiteral("earlier.mop"), "earlier content\n");
    const struct
    {
        QString typed;
        QString named;
    } cases[] = {
        {QString::fromUtf8("\xce\xb1"), QStringLiteral("\"\u03b1\" (U+03B1)")},
        {QString::fromUtf8("\xe2\x82\xac"), QStringLiteral("\"\u20ac\" (U+20AC)")},
        // Pasted from a paper: a character beyond the 16-bit range.
        {QString::fromUtf8("\xf0\x9d\x9b\xbc"), QString::fromUtf8("\"\xf0\x9d\x9b\xbc\" (U+1D6FC)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named.toStdString());
        viewer.loadFile(writeFile(QStringLiteral("latin1.mop"), "* r\xe9sum\xe9\nAM1\n* end\n"));
        QTextCursor cursor = text->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::Up);
        text->setTextCursor(cursor);
        text->insertPlainText(QStringLiteral("x = ") + c.typed);
        dialogs.chooseFile(target);
        dialogs.pressButton(QMessageBox::Ok);
        click("btnSaveFile");
        const auto& box = dialogs.requests().last();
        EXPECT_EQ(box.kind, OrvaneDialogs::Kind::Critical);
        EXPECT_EQ(box.title, QStringLiteral("ORVANE Error"));
        EXPECT_EQ(box.text, QStringLiteral("The file could not be saved:\nLine 3 holds the character ") + c.named
                                + QStringLiteral(", which Latin-1 (ISO 8859-1) cannot hold. The file is saved in "
                                                 "the encoding it was read in; replace that character and save "
                                                 "again."));
        EXPECT_EQ(readBytes(target), QByteArray("earlier content\n")) << "nothing is written";
    }
}
