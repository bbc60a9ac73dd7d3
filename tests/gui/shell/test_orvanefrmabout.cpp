#include "../support/guitestsupport.h"

#include "orvanefrmabout.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QStackedWidget>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Stands in for the desktop's program for local files.
class MailHandler : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

} // namespace

TEST(AboutPage, ShowsOurOwnTextsAndPictures)
{
    OrvaneFrmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Widget"));
    EXPECT_EQ(about.size(), QSize(765, 636));
    EXPECT_EQ(about.maximumSize(), QSize(1500, 900));
    auto* stack = about.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->count(), 1);
    EXPECT_EQ(stack->widget(0)->styleSheet(), QStringLiteral("background-color: rgb(255, 255, 255);"));

    auto* purpose = about.findChild<QLabel*>(QStringLiteral("label_3"));
    ASSERT_NE(purpose, nullptr);
    EXPECT_TRUE(purpose->text().startsWith(QStringLiteral("ORVANE is a package for the theoretical study of "
                                                          "the luminescence of lanthanide compounds")));
    EXPECT_TRUE(purpose->wordWrap());
    EXPECT_EQ(purpose->styleSheet(), QStringLiteral("color: rgb(0, 85, 255);"));

    // Every picture comes from the program's resources.
    for (const char* name : {"lblTeamPicture", "lblLabLogo", "lblAuthorPicture1", "lblAuthorPicture2",
                             "lblAuthorPicture3", "lblProgramIcon", "lblQtLogo", "lblInstitutionLogo"}) {
        auto* picture = about.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_FALSE(picture->pixmap(Qt::ReturnByValue).isNull()) << name;
    }
    for (int n = 1; n <= 3; ++n) {
        auto* contact = about.findChild<QLabel*>(QStringLiteral("lblContact%1").arg(n));
        ASSERT_NE(contact, nullptr);
        EXPECT_EQ(contact->textFormat(), Qt::RichText);
        EXPECT_FALSE(contact->openExternalLinks()) << "the page opens the links itself";
        EXPECT_TRUE(contact->textInteractionFlags() & Qt::LinksAccessibleByMouse);
        EXPECT_TRUE(contact->textInteractionFlags() & Qt::LinksAccessibleByKeyboard);
        EXPECT_TRUE(contact->text().contains(QStringLiteral("href=\"file:"))) << contact->text().toStdString();
    }
}

TEST(AboutPage, AContactLinkOpensTheProjectReadme)
{
    MailHandler mail;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &mail, "open");
    {
        OrvaneFrmAbout about;
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        for (int n = 1; n <= 3; ++n) {
            auto* contact = about.findChild<QLabel*>(QStringLiteral("lblContact%1").arg(n));
            ASSERT_NE(contact, nullptr);
            // Reach the link with the keyboard and follow it, as a user may.
            contact->setFocus(Qt::TabFocusReason);
            QTest::keyClick(contact, Qt::Key_Tab);
            QTest::keyClick(contact, Qt::Key_Return);
        }
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    // No placeholder addresses: each contact leads to the README of these sources.
    ASSERT_EQ(mail.opened.size(), 3);
    for (const QUrl& url : mail.opened) {
        EXPECT_EQ(url, OrvaneFrmAbout::readmeUrl());
        EXPECT_EQ(QFileInfo(url.toLocalFile()).fileName(), QStringLiteral("README.md"));
        EXPECT_TRUE(QFileInfo::exists(url.toLocalFile())) << url.toString().toStdString();
    }
}

#include "test_orvanefrmabout.moc"
