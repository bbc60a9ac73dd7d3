#include "../support/guitestsupport.h"

#include "mylineedit.h"
#include "myplaintextedit.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class DropFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"first.out", "second.out", "third.out"}) {
            QFile file(temp.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("content of the file\n");
        }
        ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("folder"))));
    }

    QUrl fileUrl(const char* name) const
    {
        return QUrl::fromLocalFile(temp.filePath(QString::fromLatin1(name)));
    }

    std::unique_ptr<QMimeData> urls(const QList<QUrl>& list) const
    {
        auto data = std::make_unique<QMimeData>();
        data->setUrls(list);
        return data;
    }

    IsolatedTempFolder temp;
};

const QString greyHint = QStringLiteral("color: rgb(158, 158, 158);");

} // namespace

TEST_F(DropFixture, LineEditTakesTheFirstDroppedLocalFileOnly)
{
    const QString start = QStringLiteral("Drag and drop a file here");
    const struct
    {
        const char* name;
        std::function<std::unique_ptr<QMimeData>()> data;
        QString expectedText;
        bool refused;
    } cases[] = {
        {"three files", [&] { return urls({fileUrl("second.out"), fileUrl("first.out"), fileUrl("third.out")}); },
         temp.filePath(QStringLiteral("second.out")), false},
        {"a folder", [&] { return urls({fileUrl("folder")}); }, start, false},
        {"a missing file", [&] { return urls({fileUrl("missing.out")}); }, start, false},
        {"a web address", [&] { return urls({QUrl(QStringLiteral("https://example.org/a.out"))}); }, start, false},
        {"an empty URL list",
         [] {
             auto data = std::make_unique<QMimeData>();
             data->setData(QStringLiteral("text/uri-list"), QByteArray());
             return data;
         },
         start, false},
        {"text only",
         [&] {
             auto data = std::make_unique<QMimeData>();
             data->setText(temp.filePath(QStringLiteral("first.out")));
             return data;
         },
         start, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MyLineEdit edit;
        edit.setReadOnly(true); // as the viewer's name field: typing no, dropping yes
        edit.setText(start);
        edit.setStyleSheet(greyHint);
        QSignalSpy changed(&edit, &QLineEdit::textChanged);

        const auto data = c.data();
        const DragResult result = dragAndDrop(&edit, *data);
        // A refused drag never gets as far as a drop.
        EXPECT_EQ(result.enterAccepted, !c.refused);
        EXPECT_EQ(result.moveAccepted, !c.refused);
        EXPECT_EQ(result.dropAccepted, !c.refused);
        EXPECT_EQ(edit.text(), c.expectedText);
        EXPECT_EQ(changed.count(), c.expectedText == start ? 0 : 1);
        EXPECT_EQ(edit.styleSheet(), c.refused ? greyHint : QString())
            << "every drop removes the hint colour";
    }
}

TEST_F(DropFixture, PlainTextEditShowsTheDroppedFilesPathNotItsContent)
{
    const QString start = QStringLiteral("line one\nline two");
    const struct
    {
        const char* name;
        std::function<std::unique_ptr<QMimeData>()> data;
        QString expectedText;
    } cases[] = {
        {"three files", [&] { return urls({fileUrl("third.out"), fileUrl("first.out"), fileUrl("second.out")}); },
         temp.filePath(QStringLiteral("third.out"))},
        {"a file offered as URL and text",
         [&] {
             auto data = urls({fileUrl("first.out")});
             data->setText(fileUrl("first.out").toString());
             return data;
         },
         temp.filePath(QStringLiteral("first.out"))},
        {"a folder", [&] { return urls({fileUrl("folder")}); }, start},
        {"text without a file",
         [] {
             auto data = std::make_unique<QMimeData>();
             data->setText(QStringLiteral("dropped words"));
             return data;
         },
         start},
    };
    for (const bool readOnly : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (readOnly ? " on a read-only view" : ""));
            MyPlainTextEdit view;
            view.setReadOnly(readOnly);
            view.setPlainText(start);
            const auto data = c.data();
            // A drag over a scroll area arrives at its viewport.
            const DragResult result = dragAndDrop(view.viewport(), *data);
            EXPECT_TRUE(result.enterAccepted);
            EXPECT_TRUE(result.moveAccepted);
            EXPECT_TRUE(result.dropAccepted);
            EXPECT_EQ(view.toPlainText(), c.expectedText);
        }
    }
}

TEST_F(DropFixture, PlainTextEditRefusesDataWithoutTextOrFiles)
{
    MyPlainTextEdit view;
    view.setPlainText(QStringLiteral("kept"));
    QMimeData data;
    data.setImageData(QImage(2, 2, QImage::Format_RGB32));
    const DragResult result = dragAndDrop(view.viewport(), data);
    EXPECT_FALSE(result.enterAccepted);
    EXPECT_FALSE(result.moveAccepted);
    EXPECT_EQ(view.toPlainText(), QStringLiteral("kept"));
}
