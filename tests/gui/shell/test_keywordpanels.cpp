#include "../support/guitestsupport.h"

#include "orvanefrmmopackeywords.h"
#include "orvanefrmorcakeywords.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QStringListModel>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const QString defaultKeywords = QStringLiteral("PRECISE GEO-OK XYZ T=10D ALLVEC BFGS GNORM=0.25");

class MopacPanelFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model = panel.findChild<QComboBox*>(QStringLiteral("cbxSparkleMethod"));
        keywords = panel.findChild<QLineEdit*>(QStringLiteral("edtAdditionalKeywords"));
        charge = panel.findChild<QSpinBox*>(QStringLiteral("spnCompCharge"));
        ASSERT_TRUE(model && keywords && charge);
    }

    void chooseModel(const QString& name)
    {
        const int index = model->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        model->setCurrentIndex(index);
    }

    QStringList items() const
    {
        QStringList list;
        for (int i = 0; i < model->count(); ++i)
            list << model->itemText(i);
        return list;
    }

    OrvaneFrmMopacKeywords panel;
    QComboBox* model = nullptr;
    QLineEdit* keywords = nullptr;
    QSpinBox* charge = nullptr;
};

} // namespace

TEST_F(MopacPanelFixture, StartsWithRm1TheDefaultKeywordsAndChargeZero)
{
    EXPECT_EQ(items(), (QStringList{"RM1", "Sparkle/RM1", "Sparkle/AM1", "Sparkle/PM3",
                                    "Sparkle/PM6", "Sparkle/PM7"}));
    EXPECT_EQ(model->currentText(), QStringLiteral("RM1"));
    // The form's leading blank is gone: the model slot ran once while building.
    EXPECT_EQ(keywords->text(), defaultKeywords);
    EXPECT_EQ(charge->value(), 0);
    charge->setValue(-150);
    EXPECT_EQ(charge->value(), -99);
    charge->setValue(150);
    EXPECT_EQ(charge->value(), 99);
}

TEST_F(MopacPanelFixture, SparkleFollowsTheModel)
{
    struct Case
    {
        const char* keywords;
        std::vector<std::pair<const char*, const char*>> steps; // model chosen, keywords after
    };
    const Case cases[] = {
        {"PRECISE   XYZ",
         {{"Sparkle/PM7", "SPARKLE PRECISE XYZ"},
          // Removing leaves the blank that followed the word.
          {"RM1", " PRECISE XYZ"},
          // The text is simplified before "SPARKLE " goes in front.
          {"Sparkle/AM1", "SPARKLE PRECISE XYZ"},
          {"Sparkle/PM3", "SPARKLE PRECISE XYZ"}}},
        // Only the capital word counts.
        {"precise sparkle",
         {{"Sparkle/PM6", "SPARKLE precise sparkle"}, {"RM1", " precise sparkle"}}},
        {"", {{"Sparkle/RM1", "SPARKLE "}}},
        {"1SCF SPARKLE XYZ", {{"Sparkle/PM7", "1SCF SPARKLE XYZ"}, {"RM1", "1SCF  XYZ"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keywords);
        chooseModel(QStringLiteral("RM1"));
        keywords->setText(QString::fromUtf8(c.keywords));
        for (const auto& step : c.steps) {
            SCOPED_TRACE(step.first);
            chooseModel(QString::fromUtf8(step.first));
            EXPECT_EQ(keywords->text(), QString::fromUtf8(step.second));
        }
    }
}

TEST_F(MopacPanelFixture, RefillingTheModelListAddsNoStrayKeyword)
{
    // A refill empties the list first, which reports an empty model text.
    keywords->setText(QStringLiteral("PRECISE XYZ"));
    model->clear();
    model->insertItems(0, OrvaneFrmMopacKeywords::modelList);
    EXPECT_EQ(model->currentText(), QStringLiteral("RM1"));
    EXPECT_EQ(keywords->text(), QStringLiteral("PRECISE XYZ"));

    // An older MOPAC knows only Sparkle models: the list starts with one and
    // BFGS is dropped; the usual result keeps two blanks where BFGS stood.
    keywords->setText(defaultKeywords);
    model->clear();
    model->insertItems(0, {QStringLiteral("Sparkle/AM1"), QStringLiteral("Sparkle/PM3"),
                           QStringLiteral("Sparkle/PM6")});
    EXPECT_EQ(keywords->text(), QStringLiteral("SPARKLE ") + defaultKeywords);
    panel.setLeadingKeyword(QStringLiteral("SPARKLE"));
    EXPECT_EQ(keywords->text(), QStringLiteral("SPARKLE PRECISE GEO-OK XYZ T=10D ALLVEC  GNORM=0.25"));
}

TEST_F(MopacPanelFixture, SetLeadingKeywordJoinsWithOneBlankOrNone)
{
    const struct
    {
        const char* before;
        const char* after;
    } cases[] = {
        {"XYZ BFGS", "SPARKLE XYZ "},
        {"  PRECISE   XYZ ", "SPARKLE PRECISE XYZ"},
        {"BFGS SPARKLE", "SPARKLE "},
        {"", "SPARKLE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        keywords->setText(QString::fromUtf8(c.before));
        panel.setLeadingKeyword(QStringLiteral("SPARKLE"));
        EXPECT_EQ(keywords->text(), QString::fromUtf8(c.after));
    }
}

TEST_F(MopacPanelFixture, KeywordLineJoinsModelKeywordsAndCharge)
{
    const struct
    {
        const char* model;
        const char* keywords;
        int charge;
        const char* line;
    } cases[] = {
        {"Sparkle/PM7", "SPARKLE PRECISE GEO-OK XYZ T=10D ALLVEC GNORM=0.25", 0,
         "PM7 SPARKLE PRECISE GEO-OK XYZ T=10D ALLVEC GNORM=0.25 CHARGE=0\n"},
        // Empty keywords leave two blanks, unless SPARKLE must go in.
        {"RM1", "", 3, "RM1  CHARGE=3\n"},
        {"Sparkle/PM7", "", 0, "PM7 SPARKLE CHARGE=0\n"},
        {"Sparkle/AM1", "  SPARKLE   1SCF  ", -2, "AM1 SPARKLE 1SCF CHARGE=-2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        chooseModel(QString::fromUtf8(c.model));
        keywords->setText(QString::fromUtf8(c.keywords));
        charge->setValue(c.charge);
        EXPECT_EQ(panel.keywordLine(), QString::fromUtf8(c.line));
    }
}

TEST_F(MopacPanelFixture, ASparkleModelAlwaysWritesSparkle)
{
    // The user picks the model (the slot puts SPARKLE in), then retypes the
    // keywords. MOPAC reads keywords as whole words in any case.
    const struct
    {
        const char* model;
        const char* typed;
        bool added;
        const char* line;
    } cases[] = {
        {"Sparkle/PM6", "1SCF", true, "PM6 SPARKLE 1SCF CHARGE=3\n"},
        {"Sparkle/PM6", "", true, "PM6 SPARKLE CHARGE=3\n"},
        {"Sparkle/PM6", "   ", true, "PM6 SPARKLE CHARGE=3\n"},
        {"Sparkle/RM1", "PRECISE GEO-OK XYZ", true, "RM1 SPARKLE PRECISE GEO-OK XYZ CHARGE=3\n"},
        {"Sparkle/AM1", "sparkle 1SCF", false, "AM1 sparkle 1SCF CHARGE=3\n"},
        {"Sparkle/PM3", "1SCF  Sparkle", false, "PM3 1SCF Sparkle CHARGE=3\n"},
        {"Sparkle/PM7", "1SCF\tSPARKLE\t", false, "PM7 1SCF SPARKLE CHARGE=3\n"},
        // Longer words and words that merely hold it are other keywords.
        {"Sparkle/PM6", "SPARKLES 1SCF", true, "PM6 SPARKLE SPARKLES 1SCF CHARGE=3\n"},
        {"Sparkle/PM6", "NOSPARKLE", true, "PM6 SPARKLE NOSPARKLE CHARGE=3\n"},
        {"Sparkle/PM6", "XYZ,SPARKLE", true, "PM6 SPARKLE XYZ,SPARKLE CHARGE=3\n"},
        // Not a Sparkle model: the keywords go as typed.
        {"RM1", "1SCF", false, "RM1 1SCF CHARGE=3\n"},
        {"RM1", "sparkle", false, "RM1 sparkle CHARGE=3\n"},
    };
    charge->setValue(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " / " + c.typed);
        chooseModel(QStringLiteral("RM1"));
        chooseModel(QString::fromUtf8(c.model));
        keywords->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(panel.keywordLineAddsSparkle(), c.added);
        EXPECT_EQ(panel.keywordLine(), QString::fromUtf8(c.line));
        // Composing the line leaves the user's text alone.
        EXPECT_EQ(keywords->text(), QString::fromUtf8(c.typed));
        EXPECT_EQ(model->currentText(), QString::fromUtf8(c.model));
    }

    EXPECT_TRUE(OrvaneFrmMopacKeywords::hasKeyword(QStringLiteral(" a\nsparkle "), QStringLiteral("SPARKLE")));
    EXPECT_FALSE(OrvaneFrmMopacKeywords::hasKeyword(QStringLiteral("sparkles"), QStringLiteral("SPARKLE")));
    EXPECT_FALSE(OrvaneFrmMopacKeywords::hasKeyword(QString(), QStringLiteral("SPARKLE")));
}

TEST_F(MopacPanelFixture, CompleterCompletesTheLastWordOnly)
{
    // The line edit takes a chosen word only while it has the focus, as
    // when the user types into it.
    panel.show();
    QApplication::setActiveWindow(&panel);
    keywords->setFocus();
    ASSERT_TRUE(waitUntil([&] { return keywords->hasFocus(); }));
    QCompleter* completer = keywords->completer();
    ASSERT_NE(completer, nullptr);
    EXPECT_EQ(completer->maxVisibleItems(), OrvaneFrmMopacKeywords::keywordWords.size());

    const struct
    {
        const char* typed;
        QStringList offers;
        const char* chosen; // nullptr: nothing chosen
        const char* result;
    } cases[] = {
        {"PRECISE gn", {"GNORM=0.25"}, "GNORM=0.25", "PRECISE GNORM=0.25"},
        {"x", {"XYZ"}, "XYZ", "XYZ"},
        {"PRECISE  XY", {"XYZ"}, "XYZ", "PRECISE  XYZ"},
        {"t=1", {"T=10D"}, "T=10D", "T=10D"},
        {"PRECISE ", OrvaneFrmMopacKeywords::keywordWords, nullptr, "PRECISE "},
        {"PRECISE qq", {}, nullptr, "PRECISE qq"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        keywords->clear();
        QTest::keyClicks(keywords, QString::fromUtf8(c.typed));

        QStringList offered;
        const QAbstractItemModel* offers = completer->completionModel();
        for (int row = 0; row < offers->rowCount(); ++row)
            offered << offers->index(row, 0).data().toString();
        EXPECT_EQ(offered, c.offers);

        if (c.chosen) {
            QAbstractItemView* popup = completer->popup();
            ASSERT_TRUE(popup->isVisible());
            const int row = offered.indexOf(QString::fromUtf8(c.chosen));
            ASSERT_GE(row, 0);
            popup->setCurrentIndex(offers->index(row, 0));
            QTest::keyClick(popup, Qt::Key_Return);
        }
        EXPECT_EQ(keywords->text(), QString::fromUtf8(c.result));
        completer->popup()->hide();
    }
}

TEST(OrcaKeywordPanel, DefaultsRangesAndTheExcitationWindow)
{
    OrvaneFrmOrcaKeywords panel;
    panel.show();
    auto* triplets = panel.findChild<QCheckBox*>(QStringLiteral("chbIsTripletLevel"));
    auto* window = panel.findChild<QGroupBox*>(QStringLiteral("gbxExcitationWindows"));
    auto* pointCharges = panel.findChild<QLineEdit*>(QStringLiteral("editPointChargesFileName"));
    ASSERT_TRUE(triplets && window && pointCharges);

    // Triplets are always asked for: checked and out of the user's reach.
    EXPECT_TRUE(triplets->isChecked());
    EXPECT_TRUE(triplets->isHidden());
    EXPECT_TRUE(pointCharges->isReadOnly());
    EXPECT_TRUE(pointCharges->text().isEmpty());

    const struct
    {
        const char* name;
        int minimum;
        int maximum;
        int value;
    } boxes[] = {
        {"sbxNumberOfStates", 1, 99, 25},
        {"sbxEMin", 1, 100, 20},
        {"sbxEMax", 1, 100, 20},
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.name);
        auto* box = panel.findChild<QSpinBox*>(QString::fromLatin1(b.name));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->value(), b.value);
        box->setValue(b.minimum - 10);
        EXPECT_EQ(box->value(), b.minimum);
        box->setValue(b.maximum + 10);
        EXPECT_EQ(box->value(), b.maximum);
    }

    // The window's orbital counts can be changed only once the window is on.
    auto* occupied = panel.findChild<QSpinBox*>(QStringLiteral("sbxEMin"));
    EXPECT_TRUE(window->isCheckable());
    EXPECT_FALSE(window->isChecked());
    EXPECT_FALSE(occupied->isEnabled());
    window->setChecked(true);
    EXPECT_TRUE(occupied->isEnabled());
}
