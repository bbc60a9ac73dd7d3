#ifndef EXTERNALPAGETESTSUPPORT_H
#define EXTERNALPAGETESTSUPPORT_H

// Shared by the tests of the external calculation page: a page in a private
// temporary folder with scripted dialogs, its widgets by name, drops, and the
// page's status lines.

#include "../support/guitestsupport.h"
#include "../../support/orvaneprocessgroups.h"

#include "orvanefrmexternalcalculationmodule.h"
#include "orvanesettings.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace externalpage {

using OrvaneFixtures::readText;

inline void writeText(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(text.toUtf8());
}

inline QString writeScript(const QString& path, const QString& body)
{
    writeText(path, QStringLiteral("#!/bin/sh\n") + body + QLatin1Char('\n'));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

using OrvaneProcessGroups::livingMembersOfGroup;
using OrvaneProcessGroups::processAlive;

// [Eu(H2O)4]3+ drawn with the ion away from the origin; the bonds make every
// O a donor of the ion.
inline QString eu4Mol2(const QString& ionName = QStringLiteral("Eu1"))
{
    return QStringLiteral(
               "@<TRIPOS>MOLECULE\neu_h2o4\n 13 12 1 0 0\nSMALL\nUSER_CHARGES\n\n"
               "@<TRIPOS>ATOM\n"
               "      1 %1      1.0000    1.0000    1.0000 Eu        1 RES1    3.0000\n"
               "      2 O2       3.4000    1.0000    1.0000 O.3       1 RES1   -0.8000\n"
               "      3 O3      -1.4000    1.0000    1.0000 O.3       1 RES1   -0.8000\n"
               "      4 O4       1.0000    3.4000    1.0000 O.3       1 RES1   -0.8000\n"
               "      5 O5       1.0000   -1.4000    1.0000 O.3       1 RES1   -0.8000\n"
               "      6 H6       3.9800    1.7800    1.0000 H         1 RES1    0.4000\n"
               "      7 H7       3.9800    0.2200    1.0000 H         1 RES1    0.4000\n"
               "      8 H8      -1.9800    1.7800    1.0000 H         1 RES1    0.4000\n"
               "      9 H9      -1.9800    0.2200    1.0000 H         1 RES1    0.4000\n"
               "     10 H10      1.7800    3.9800    1.0000 H         1 RES1    0.4000\n"
               "     11 H11      0.2200    3.9800    1.0000 H         1 RES1    0.4000\n"
               "     12 H12      1.7800   -1.9800    1.0000 H         1 RES1    0.4000\n"
               "     13 H13      0.2200   -1.9800    1.0000 H         1 RES1    0.4000\n"
               "@<TRIPOS>BOND\n"
               "     1     1     2    1\n     2     1     3    1\n     3     1     4    1\n"
               "     4     1     5    1\n     5     2     6    1\n     6     2     7    1\n"
               "     7     3     8    1\n     8     3     9    1\n     9     4    10    1\n"
               "    10     4    11    1\n    11     5    12    1\n    12     5    13    1\n"
               "@<TRIPOS>SUBSTRUCTURE\n     1 RES1        1 GROUP             0 ****  ****    0 ROOT\n")
        .arg(ionName, -6);
}

inline QString mopacFixture(const char* name)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/") + QString::fromLatin1(name);
}

class PageFixture : public ::testing::Test
{
protected:
    void TearDown() override
    {
        page.reset();
        EXPECT_EQ(dialogs.pendingAnswers(), 0) << "answers queued for dialogs that never came";
    }

    // Settings written before this are seen by the page's constructor.
    void createPage(int mode)
    {
        page = std::make_unique<OrvaneFrmExternalCalculationModule>(nullptr, mode);
        QObject::connect(page.get(), &AbstractObjCalculationWidget::newObjCalculationMessage,
                         [this](const QString& line) { statusLines << line; });
    }

    template <typename T = QWidget> T* widget(const char* name) const
    {
        T* found = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAbstractButton* button(const char* name) const { return widget<QAbstractButton>(name); }
    QLineEdit* fileField() const { return widget<QLineEdit>("edtFile"); }
    QPlainTextEdit* tab(int index) const
    {
        return qobject_cast<QPlainTextEdit*>(widget<QTabWidget>("tabWidgetViewFiles")->widget(index));
    }

    // A file dragged from a file manager onto the file field.
    void drop(const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        dragAndDrop(fileField(), data);
    }

    void click(const char* name) { button(name)->click(); }

    // Idle again after a run: the stop button is off and every queued answer
    // was used (the last one normally answers the judgement box).
    bool waitForIdle(int timeoutMs = 30000)
    {
        return waitUntil(
            [this] { return dialogs.pendingAnswers() == 0 && !button("btnStopCalculation")->isEnabled(); },
            timeoutMs);
    }

    const OrvaneDialogs::Request* lastRequest() const
    {
        return dialogs.requests().isEmpty() ? nullptr : &dialogs.requests().last();
    }

    // Status lines without their leading date and time.
    QStringList statusTexts() const
    {
        QStringList texts;
        for (const QString& line : statusLines) {
            const int arrow = line.indexOf(QStringLiteral(" -> ("));
            texts << (arrow < 0 ? line : line.mid(arrow + 1));
        }
        return texts;
    }

    IsolatedTempFolder temp;
    DialogScript dialogs;
    std::unique_ptr<OrvaneFrmExternalCalculationModule> page;
    QStringList statusLines;
};

} // namespace externalpage

#endif
