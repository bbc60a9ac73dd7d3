#include "orvanefixtures.h"

#include "requiredcitations.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const QString sparkleHeading = QStringLiteral("Sparkle model was used to optimize the compound geometry");
const QString orcaHeading = QStringLiteral("ORCA Program Reference");
const QString judd = QStringLiteral("Intensity parameters calculated by using a semiempirical model based on the "
                                    "Judd-Ofelt theory");
const QString qdcHeading = QStringLiteral("QDC model: intensity parameters adjusted by electronic densities and "
                                          "superdelocalizabilities");
const QString partition = QStringLiteral("Chemical Partition of Arad(ED)");
const QString model0 = QStringLiteral("Revisited model in the Chapter 310 (Handbook) was used to calculate the energy "
                                      "transfer rates between the ligands and the lanthanide trivalent ion");
const QString model1 = QStringLiteral("Revisited model was used to calculate the energy transfer rates between the "
                                      "ligands and the lanthanide trivalent ion");
const QString model2 = QStringLiteral("\nModels that were used to calculate the energy transfer rates between the "
                                      "ligands and the lanthanide trivalent ion");
const QString quantumYield = QStringLiteral("Numerical solution for the rate equations and calculation of the "
                                            "emission quantum yield");
const QString absorption = QStringLiteral("Calculation of the theoretical absorption spectrum");
const QString indo = QStringLiteral("Excited state energies calculated by using semiempirical the INDO/S-CIS method");
const QString pointCharge = QStringLiteral("Excited state calculations of europium(III) complexes using +3e point "
                                           "charge");

// What a block must look like: its heading (with any line break before it),
// how many references follow the empty line under it, and how many line
// breaks end it.
struct Block
{
    QString heading;
    int references;
    int lineBreaks;
};

// A real MOPAC 22 Sparkle/AM1 output for the Sparkle block of the QDC runs.
QString am1Input()
{
    return OrvaneFixtures::dataPath(QStringLiteral("mopac/eu_acetate3_h2o2.mop"));
}

struct CitationCase
{
    const char* name;
    int program;
    int module;
    int transferModel;
    bool quantumYield;
    bool qdc;
    bool partition;
    std::vector<Block> blocks;
};

std::vector<CitationCase> citationCases()
{
    const Block orcaA{orcaHeading, 1, 3};
    const Block orcaB{QLatin1Char('\n') + orcaHeading, 1, 3};
    const Block orcaC{orcaHeading + QLatin1Char(' '), 1, 3};
    const Block sparkle{sparkleHeading, 1, 2};
    const Block jo{judd, 2, 2}; // Judd's and Ofelt's papers
    const Block qdc{qdcHeading, 1, 2};
    const Block arad{partition, 1, 2};
    const Block yield{quantumYield, 1, 2};
    return {
        {"IntensityTyped", 3, 2, 0, false, false, false, {jo}},
        {"IntensityQdc", 3, 2, 0, false, true, false, {sparkle, jo, qdc}},
        {"IntensityQdcPartition", 3, 2, 0, false, true, true, {sparkle, jo, qdc, arad}},
        {"IntensityPartitionWithoutQdc", 3, 2, 0, false, false, true, {jo, arad}},
        {"IntensityIgnoresTransferOptions", 3, 2, 2, true, false, false, {jo}},
        {"TransferModel0", 3, 3, 0, false, false, false, {orcaB, {model0, 1, 3}}},
        {"TransferModel1QuantumYield", 3, 3, 1, true, false, false, {orcaB, {model1, 1, 3}, yield}},
        {"TransferModel2QuantumYield", 3, 3, 2, true, false, false, {orcaB, {model2, 2, 2}, yield}},
        {"TransferModel2", 3, 3, 2, false, false, false, {orcaB, {model2, 2, 2}}},
        {"TransferModel5QuantumYield", 3, 3, 5, true, false, false, {orcaB, yield}},
        {"TransferModelNegative", 3, 3, -1, false, false, false, {orcaB}},
        {"TransferIgnoresIntensityOptions", 3, 3, 0, false, true, true, {orcaB, {model0, 1, 3}}},
        {"Absorption", 3, 4, 0, true, true, true, {orcaA, {absorption, 1, 2}}},
        {"Program2", 2, 0, 0, false, false, false, {orcaC, {indo, 1, 2}, {pointCharge, 1, 2}}},
        {"Program2OtherModule", 2, 3, 1, true, true, true, {orcaC, {indo, 1, 2}, {pointCharge, 1, 2}}},
        {"Program3Module0", 3, 0, 0, true, true, true, {}},
        {"Program3Module1", 3, 1, 0, true, true, true, {}},
        {"Program3Module5", 3, 5, 0, true, true, true, {}},
        {"Program0", 0, 2, 0, true, true, true, {}},
        {"Program4", 4, 2, 0, true, true, true, {}},
        {"ProgramNegative", -1, 4, 0, false, false, false, {}},
    };
}

std::string citationCaseName(const ::testing::TestParamInfo<CitationCase>& info)
{
    return info.param.name;
}

class RequiredCitationsBlocks : public ::testing::TestWithParam<CitationCase>
{
};

// Walks the text block by block: each block must start exactly where the one
// before ended, hold its references separated by empty lines, and end with
// exactly its number of line breaks; nothing may follow the last block.
TEST_P(RequiredCitationsBlocks, HeadingsInOrderWithTheirLineBreaks)
{
    const CitationCase& c = GetParam();
    const QString text = requiredCitations(c.program, c.module, am1Input(), c.transferModel, c.quantumYield, c.qdc,
                                           c.partition);
    if (c.blocks.empty()) {
        EXPECT_TRUE(text.isEmpty()) << text.toStdString();
        return;
    }
    int at = 0;
    for (size_t i = 0; i < c.blocks.size(); ++i) {
        const Block& b = c.blocks[i];
        SCOPED_TRACE(b.heading.toStdString());
        ASSERT_TRUE(text.mid(at).startsWith(b.heading + QStringLiteral("\n\n"))) << text.mid(at).toStdString();
        const int bodyStart = at + b.heading.size() + 2;
        const int end = i + 1 < c.blocks.size() ? text.indexOf(c.blocks[i + 1].heading, bodyStart) : text.size();
        ASSERT_GT(end, bodyStart);
        const QString body = text.mid(bodyStart, end - bodyStart);
        EXPECT_TRUE(body.endsWith(QString(b.lineBreaks, QLatin1Char('\n'))));
        EXPECT_FALSE(body.endsWith(QString(b.lineBreaks + 1, QLatin1Char('\n'))));
        const QString references = body.left(body.size() - b.lineBreaks);
        const QStringList parts = references.split(QStringLiteral("\n\n"));
        EXPECT_EQ(parts.size(), b.references) << references.toStdString();
        for (const QString& part : parts) {
            EXPECT_FALSE(part.trimmed().isEmpty());
            EXPECT_FALSE(part.startsWith(QLatin1Char('\n')) || part.endsWith(QLatin1Char('\n')));
        }
        at = end;
    }
}

INSTANTIATE_TEST_SUITE_P(AllCalls, RequiredCitationsBlocks, ::testing::ValuesIn(citationCases()), citationCaseName);

// The ORCA reference is the same work in its three placements.
TEST(RequiredCitations, OrcaReferenceIsTheSameInEveryVariant)
{
    const auto bodyAfter = [](const QString& text, const QString& heading) {
        const int start = text.indexOf(heading + QStringLiteral("\n\n")) + heading.size() + 2;
        return text.mid(start, text.indexOf(QStringLiteral("\n\n"), start) - start);
    };
    const QString a = bodyAfter(requiredCitations(3, 4, QString(), 0, false, false, false), orcaHeading);
    const QString b = bodyAfter(requiredCitations(3, 3, QString(), 0, false, false, false), orcaHeading);
    const QString c = bodyAfter(requiredCitations(2, 0, QString(), 0, false, false, false),
                                orcaHeading + QLatin1Char(' '));
    EXPECT_FALSE(a.isEmpty());
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
}

// The body of the block under `heading` in `text`: from after the heading's
// empty line up to the next empty line pair that ends the block's references
// (`references` references, separated by empty lines).
QString blockBody(const QString& text, const QString& heading, int references)
{
    const int headingAt = text.indexOf(heading + QStringLiteral("\n\n"));
    if (headingAt < 0)
        return QString();
    const int start = headingAt + heading.size() + 2;
    int end = start;
    for (int i = 0; i < references; ++i) {
        end = text.indexOf(QStringLiteral("\n\n"), end + (i ? 2 : 0));
        if (end < 0)
            return text.mid(start);
    }
    return text.mid(start, end - start);
}

const QString notConfirmed = QStringLiteral("(bibliographic details not yet confirmed)");

// What each block cites, as checked against the publishers' records: the
// details a block must hold, and whether it still carries the note of a work
// whose bibliographic details could not be confirmed.
TEST(RequiredCitations, BlocksCiteTheirCheckedWorks)
{
    const struct
    {
        const char* name;
        int program;
        int module;
        int transferModel;
        QString heading;
        int references;
        std::vector<QString> mustContain;
        bool stillUnconfirmed;
    } cases[] = {
        {"PointCharge", 2, 0, 0, pointCharge, 1,
         {QStringLiteral("Theoretical model for the prediction of electronic spectra of lanthanide complexes"),
          QStringLiteral("A. V. M. de Andrade, R. L. Longo, A. M. Simas, G. F. de S\u00e1"),
          QStringLiteral("J. Chem. Soc., Faraday Trans. 92, 1835 (1996)"), QStringLiteral("DOI: 10.1039/FT9969201835"),
          QStringLiteral("Link: https://doi.org/10.1039/FT9969201835")},
         false},
        {"Absorption", 3, 4, 0, absorption, 1,
         {QStringLiteral("Theoretical model for the prediction of electronic spectra of lanthanide complexes"),
          QStringLiteral("DOI: 10.1039/FT9969201835")},
         false},
        {"JuddOfelt", 3, 2, 0, judd, 2,
         {QStringLiteral("B. R. Judd\nOptical Absorption Intensities of Rare-Earth Ions\nPhys. Rev. 127, 750-761 "
                         "(1962)\nLink: https://doi.org/10.1103/PhysRev.127.750\nDOI: 10.1103/PhysRev.127.750"),
          // No DOI of Ofelt's paper is confirmed: none is printed.
          QStringLiteral("\n\nG. S. Ofelt\nIntensities of Crystal Spectra of Rare-Earth Ions\nJ. Chem. Phys. 37, "
                         "511-520 (1962)")},
         false},
        {"Indo", 2, 0, 0, indo, 1, {QStringLiteral("DOI: 10.1007/BF00528484")}, false},
        {"Model0", 3, 3, 0, model0, 1,
         {QStringLiteral("Handbook on the Physics and Chemistry of Rare Earths, Chapter 310")}, true},
        {"Model1", 3, 3, 1, model1, 1, {}, true},
        {"Model2", 3, 3, 2, model2, 2, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = requiredCitations(c.program, c.module, QString(), c.transferModel, false, false, false);
        const QString body = blockBody(text, c.heading, c.references);
        ASSERT_FALSE(body.isEmpty()) << text.toStdString();
        for (const QString& part : c.mustContain)
            EXPECT_TRUE(body.contains(part)) << part.toStdString() << "\n" << body.toStdString();
        EXPECT_EQ(body.contains(notConfirmed), c.stillUnconfirmed) << body.toStdString();
        // A work with a DOI shows it as a link too, and never a DOI without its link.
        EXPECT_EQ(body.count(QStringLiteral("DOI: ")), body.count(QStringLiteral("Link: https://doi.org/")));
    }
}

// The short reference that labels each transfer model is made of whole lines
// of that model's block, so the window and the report cite the same works.
TEST(RequiredCitations, TransferModelReferenceAgreesWithTheModelsBlock)
{
    const struct
    {
        int model;
        QString heading;
        int references;
    } cases[] = {{0, model0, 1}, {1, model1, 1}, {2, model2, 2}};
    QSet<QString> labels;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        const QString label = transferModelReference(c.model);
        ASSERT_FALSE(label.isEmpty());
        labels.insert(label);
        const QStringList parts = label.split(QStringLiteral("; "));
        EXPECT_EQ(parts.size(), c.references);
        const QString body =
            blockBody(requiredCitations(3, 3, QString(), c.model, false, false, false), c.heading, c.references);
        const QStringList lines = body.split(QLatin1Char('\n'));
        for (const QString& part : parts) {
            const bool isLine = std::any_of(lines.begin(), lines.end(), [&part](const QString& line) {
                return line == part || line == part + QLatin1Char(' ') + notConfirmed;
            });
            EXPECT_TRUE(isLine) << part.toStdString() << "\n" << body.toStdString();
        }
    }
    EXPECT_EQ(labels.size(), 3);
    EXPECT_TRUE(transferModelReference(3).isEmpty());
    EXPECT_TRUE(transferModelReference(-1).isEmpty());
}

// A run with QDC whose MOPAC output is missing still names the Sparkle model,
// with the heading and the empty line alone.
TEST(RequiredCitations, QdcWithoutMopacOutputGivesTheSparkleHeadingAlone)
{
    QTemporaryDir dir;
    const QString text = requiredCitations(3, 2, dir.filePath(QStringLiteral("complex.mop")), 0, false, true, false);
    EXPECT_TRUE(text.startsWith(sparkleHeading + QStringLiteral("\n\n") + judd + QStringLiteral("\n\n")))
        << text.toStdString();
}

// ---------------------------------------------------------------------------
// sparkleCitation
// ---------------------------------------------------------------------------

class SparkleCitation : public ::testing::Test
{
protected:
    // The citation for a MOPAC output holding `lines`, written as x.out.
    QString citationFor(const QByteArray& lines)
    {
        const QString out = dir.filePath(QStringLiteral("x%1.out").arg(++written));
        OrvaneFixtures::writeFile(out, lines);
        return sparkleCitation(out.left(out.size() - 3) + QStringLiteral("mop"));
    }
    QString citationForKey(const QString& key)
    {
        return citationFor(" " + key.toLatin1() + " SOME REFERENCE TEXT\n");
    }

    QTemporaryDir dir;
    int written = 0;
};

// The Sparkle keys of the 20 groups, in the order they are tested.
const std::vector<std::pair<const char*, std::vector<const char*>>>& sparkleGroups()
{
    static const std::vector<const char*> all = {"Eu", "Tb", "Gd", "Tm", "La", "Lu", "Ce", "Pr",
                                                 "Yb", "Nd", "Pm", "Sm", "Dy", "Ho", "Er"};
    static const std::vector<std::pair<const char*, std::vector<const char*>>> groups = {
        {"AM1", {"Eu", "Tb", "Gd"}}, {"AM1", {"Lu", "La"}}, {"AM1", {"Ce", "Er"}}, {"AM1", {"Pr"}},
        {"AM1", {"Nd"}}, {"AM1", {"Pm", "Sm"}}, {"AM1", {"Dy"}}, {"AM1", {"Ho"}},
        {"AM1", {"Tm"}}, {"AM1", {"Yb"}}, {"PM3", {"Eu", "Tb", "Gd"}}, {"PM3", {"Tm"}},
        {"PM3", {"La", "Lu"}}, {"PM3", {"Ce"}}, {"PM3", {"Pr", "Yb"}}, {"PM3", {"Nd", "Pm", "Sm"}},
        {"PM3", {"Dy", "Ho", "Er"}}, {"PM6", all}, {"RM1", all}, {"PM7", all},
    };
    return groups;
}

QString keyOf(const char* symbol, const char* model)
{
    return QStringLiteral("%1: (%2):").arg(QLatin1String(symbol), QLatin1String(model));
}

} // namespace

// Every one of the 75 keys gives its group's reference; the 20 groups give 20
// different references.
TEST_F(SparkleCitation, EveryKeyGivesTheReferenceOfItsGroup)
{
    QSet<QString> distinct;
    int keys = 0;
    for (const auto& group : sparkleGroups()) {
        const QString first = citationForKey(keyOf(group.second.front(), group.first));
        ASSERT_TRUE(first.startsWith(sparkleHeading + QStringLiteral("\n\n")));
        ASSERT_TRUE(first.endsWith(QStringLiteral("\n\n")));
        EXPECT_GT(first.size(), sparkleHeading.size() + 4) << group.first;
        distinct.insert(first);
        for (const char* symbol : group.second) {
            ++keys;
            EXPECT_EQ(citationForKey(keyOf(symbol, group.first)), first) << keyOf(symbol, group.first).toStdString();
        }
    }
    EXPECT_EQ(keys, 75);
    EXPECT_EQ(distinct.size(), 20);
}

// The reference lines MOPAC 22 itself prints for its Sparkle parameters (run
// on [Ln(H2O)3]3+ with each lanthanide and model): the reference chosen for
// the key must name the same journal volume and first page, or the same DOI.
TEST_F(SparkleCitation, AgreesWithTheReferencesMopacPrints)
{
    struct Printed
    {
        const char* line;
        std::vector<const char*> mustContain;
    };
    const std::vector<Printed> printed = {
        {" Eu: (AM1): R.O. FREIRE, G.B. ROCHA, A.M. SIMAS, INORG. CHEM.44 (2005) 3299.", {"44", "3299", "2005"}},
        {" La: (AM1): R.O. FREIRE, ET AL, J. PHYS. CHEM. A 110 (17) (2006) 5897.", {"110", "5897", "2006"}},
        {" Ce: (AM1): R.O. FREIRE, ET AL, J. ORGANOMETALLIC CHEMISTRY 691 (2006) 2584.", {"691", "2584", "2006"}},
        {" Pr: (AM1): R.O. FREIRE, ET AL, J. ORGANOMETALLIC CHEMISTRY 690 (2005) 4099.", {"690", "4099", "2005"}},
        {" Nd: (AM1): C.C. BASTOS, ET AL, J. PHOTOCHEM. PHOTOBIOL. A 177 (2006) 225.", {"177", "225", "2006"}},
        {" Sm: (AM1): R.O. FREIRE, ET AL, J. CHEM. THEORY COMPUT. 2 (2006) 64.", {"2, 64", "2006"}},
        {" Dy: (AM1): N.B. DA COSTA JR, ET AL, INORG. CHEM. COMM. 8 (2005) 831.", {"8, 831", "2005"}},
        {" Ho: (AM1): N.B. DA COSTA JR, ET AL, POLYHEDRON 24 (2005) 3046.", {"24", "3046", "2005"}},
        {" Er: (AM1): R.O. FREIRE, ET AL, J. ORGANOMETALLIC CHEMISTRY 691 (2006) 2584.", {"691", "2584", "2006"}},
        {" Tm: (AM1): R.O. FREIRE, ET AL, CHEM. PHYS. LETT., 411 (2005) 61.", {"411", "61", "2005"}},
        {" Yb: (AM1): R.O. FREIRE, G.B. ROCHA, A.M. SIMAS, J. COMP. CHEM., 26 (2005) 1524.", {"26", "1524", "2005"}},
        {" Lu: (AM1): R.O. FREIRE, ET AL, J. PHYS. CHEM. A 110 (17) (2006) 5897.", {"110", "5897", "2006"}},
        {" Tm: (PM3): R.O. FREIRE, ET AL, CHEM. PHYS. LETT., 425 (2006) 138.", {"425", "138", "2006"}},
        {" Eu: (PM6): Freire R.O. and Simas, A.M.  J. Chem. Theory and Comput., 2010, 6, 2019-2023",
         {"6, 2019-2023", "2010"}},
    };
    for (const Printed& p : printed) {
        const QString citation = citationFor(QByteArray(p.line) + '\n');
        for (const char* part : p.mustContain)
            EXPECT_TRUE(citation.contains(QLatin1String(part))) << p.line << "\n" << citation.toStdString();
    }
    // The PM7 block of MOPAC names the work by its title and authors.
    const QString pm7 = citationForKey(QStringLiteral("Eu: (PM7):"));
    EXPECT_TRUE(pm7.contains(QStringLiteral("Sparkle/PM7 Lanthanide Parameters for the Modeling of Complexes and "
                                            "Materials")));
    EXPECT_TRUE(pm7.contains(QStringLiteral("J. J. P. Stewart")));
}

// The references completed from the publishers' records: each Sparkle group
// cites its own work in full, as far as it is confirmed.
TEST_F(SparkleCitation, GroupsCiteTheirConfirmedWorks)
{
    const struct
    {
        const char* key;
        QString reference; // the whole reference, without heading and line ends
    } cases[] = {
        {"Gd: (PM3):", QStringLiteral("R. O. Freire, G. B. Rocha, A. M. Simas\n"
                                      "Sparkle/PM3 for the Modeling of Europium(III), Gadolinium(III), and "
                                      "Terbium(III) Complexes\n"
                                      "J. Braz. Chem. Soc. 20, 1638-1645 (2009)\n"
                                      "Link: http://www.scielo.br/scielo.php?script=sci_arttext&pid="
                                      "S0103-50532009000900011")},
        // The Sparkle/RM1 work, not the element-specific RM1 papers MOPAC names.
        {"Lu: (RM1):", QStringLiteral("M. A. M. Filho, J. D. L. Dutra, et al.\nRSC Adv. (2013)\n"
                                      "Link: https://doi.org/10.1039/C3RA41406J\nDOI: 10.1039/C3RA41406J")},
        {"Tb: (PM7):", QStringLiteral("J. D. L. Dutra, M. A. M. Filho, R. O. Freire, G. B. Rocha, A. M. Simas, "
                                      "J. J. P. Stewart\n"
                                      "Sparkle/PM7 Lanthanide Parameters for the Modeling of Complexes and Materials\n"
                                      "J. Chem. Theory Comput. 9, 3333-3341 (2013)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(citationForKey(QLatin1String(c.key)), sparkleHeading + QStringLiteral("\n\n") + c.reference
                                                            + QStringLiteral("\n\n"))
            << c.key;
    EXPECT_FALSE(citationForKey(QStringLiteral("Eu: (RM1):")).contains(QStringLiteral("ct400909w")));
}

// MOPAC 22 prints no PM7 key: its block of PM7 Sparkle references (the
// heading, then the title of the work) selects the PM7 group. Either line
// alone, as a job title might quote it, selects nothing.
TEST_F(SparkleCitation, MopacsPm7SparkleBlockSelectsThePm7Group)
{
    const QString pm7 = citationForKey(QStringLiteral("Eu: (PM7):"));
    const QString alone = sparkleHeading + QStringLiteral("\n\n");
    EXPECT_EQ(citationFor(" References for PM7 Sparkles:\n"
                          " \"Sparkle/PM7 Lanthanide Parameters for the Modeling of Complexes and Materials\"\n"),
              pm7);
    EXPECT_EQ(citationFor(" References for PM7 Sparkles:\r\n"
                          " \"Sparkle/PM7 Lanthanide Parameters for the Modeling of Complexes and Materials\"\r\n"),
              pm7);
    EXPECT_EQ(citationFor(" Sparkle/PM7 Lanthanide Parameters for the Modeling of Complexes and Materials\n"), alone);
    EXPECT_EQ(citationFor(" References for PM7 Sparkles:\n\n Sparkle/PM7 Lanthanide Parameters for the Modeling of "
                          "Complexes and Materials\n"),
              alone);
    EXPECT_EQ(citationFor(" References for PM7 Sparkles:\n"), alone);
    // A key line before the block still decides first.
    EXPECT_EQ(citationFor(" Eu: (AM1): x\n References for PM7 Sparkles:\n"
                          " \"Sparkle/PM7 Lanthanide Parameters for the Modeling of Complexes and Materials\"\n"),
              citationForKey(QStringLiteral("Eu: (AM1):")));
}

// Real MOPAC 22 outputs: the .mop input leads to the .out beside it, and its
// key line (or, for PM7, its block of Sparkle references) decides.
TEST_F(SparkleCitation, RealMopacOutputs)
{
    const struct
    {
        const char* input;
        const char* key; // empty: the heading alone
    } cases[] = {
        {"mopac/eu_acetate3_h2o2.mop", "Eu: (AM1):"},
        {"mopac/eu_gd_f7.mop", "Eu: (AM1):"},
        {"mopac/eu_h2o3_sparkle_pm3.mop", "Eu: (PM3):"},
        {"mopac/eu_h2o3_sparkle_pm6.mop", "Eu: (PM6):"},
        {"mopac/eu_h2o3_sparkle_rm1.mop", "Eu: (RM1):"},
        {"mopac/eu_h2o3_sparkle_pm7.mop", "Eu: (PM7):"},
        {"mopac/euf3_sparkle_pm7.mop", "Eu: (PM7):"},
        {"mopac/euf3_sparkle_rm1.mop", "Eu: (RM1):"},
        {"mopac/euf3_sparkle_pm3.mop", "Eu: (PM3):"},
        {"mopac/euf3_sparkle_am1.mop", "Eu: (AM1):"},
        {"mopac/water.mop", ""},
    };
    for (const auto& c : cases) {
        const QString expected =
            *c.key ? citationForKey(QLatin1String(c.key)) : sparkleHeading + QStringLiteral("\n\n");
        EXPECT_EQ(sparkleCitation(OrvaneFixtures::dataPath(QLatin1String(c.input))), expected) << c.input;
    }
    // The EuF3 single points of each model name that model's Sparkle work.
    const struct
    {
        const char* input;
        const char* source;
    } works[] = {
        {"mopac/euf3_sparkle_pm7.mop", "J. Chem. Theory Comput. 9, 3333-3341 (2013)"},
        {"mopac/euf3_sparkle_rm1.mop", "DOI: 10.1039/C3RA41406J"},
        {"mopac/euf3_sparkle_pm3.mop", "J. Braz. Chem. Soc. 20, 1638-1645 (2009)"},
        {"mopac/euf3_sparkle_am1.mop", "Inorg. Chem. 44, 3299-3310 (2005)"},
    };
    for (const auto& w : works)
        EXPECT_TRUE(sparkleCitation(OrvaneFixtures::dataPath(QLatin1String(w.input))).contains(QLatin1String(w.source)))
            << w.input;
}

TEST_F(SparkleCitation, FirstKeyLineDecides)
{
    const QString gdPm3 = citationForKey(QStringLiteral("Gd: (PM3):"));
    const QString euAm1 = citationForKey(QStringLiteral("Eu: (AM1):"));
    const QString ybAm1 = citationForKey(QStringLiteral("Yb: (AM1):"));
    ASSERT_NE(gdPm3, euAm1);
    ASSERT_NE(ybAm1, euAm1);

    // The first line with a key decides, whatever later lines name.
    EXPECT_EQ(citationFor(" H: (PM3): a ligand atom\n Gd: (PM3): first\n Eu: (AM1): later\n Eu: (PM6): later\n"),
              gdPm3);
    // Within one line the earlier group of the table wins, not the earlier text.
    EXPECT_EQ(citationFor(" Yb: (AM1): and Eu: (AM1): on one line\n"), euAm1);
    // Keys are case-sensitive and need the blank and both colons.
    EXPECT_EQ(citationFor(" EU: (AM1): x\n eu: (am1): x\n Eu:(AM1): x\n Eu: (AM1) x\n"),
              sparkleHeading + QStringLiteral("\n\n"));
    // A key in a real output decides even when the same output names another
    // model further on.
    bool matched = false;
    const QByteArray real = OrvaneFixtures::contents(OrvaneFixtures::dataPath(QStringLiteral("mopac/eu_gd_f7.out")));
    const QByteArray swapped = OrvaneFixtures::variant(real, {{" Eu: (AM1):", " Gd: (PM3):"}}, &matched);
    ASSERT_TRUE(matched);
    EXPECT_EQ(citationFor(swapped), gdPm3);
}

// The output is the input with the extension of its file name replaced by
// "out"; the folder is never changed, even when its name holds a dot.
TEST_F(SparkleCitation, ReadsTheOutputBesideTheInput)
{
    const QByteArray line = " Eu: (AM1): x\n";
    const QString euAm1 = citationForKey(QStringLiteral("Eu: (AM1):"));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("run.v2")));
    OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("complex.out")), line);
    OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("a.b.out")), line);
    OrvaneFixtures::writeFile(dir.filePath(QStringLiteral("run.v2/complex.out")), line);

    EXPECT_EQ(sparkleCitation(dir.filePath(QStringLiteral("complex.mop"))), euAm1);
    EXPECT_EQ(sparkleCitation(dir.filePath(QStringLiteral("complex.dat"))), euAm1);
    EXPECT_EQ(sparkleCitation(dir.filePath(QStringLiteral("complex.out"))), euAm1);
    EXPECT_EQ(sparkleCitation(dir.filePath(QStringLiteral("a.b.mop"))), euAm1);
    EXPECT_EQ(sparkleCitation(dir.filePath(QStringLiteral("run.v2/complex.mop"))), euAm1);
    EXPECT_EQ(sparkleCitation(dir.filePath(QStringLiteral("run.v2/complex"))), euAm1);

    const QString alone = sparkleHeading + QStringLiteral("\n\n");
    EXPECT_EQ(sparkleCitation(dir.filePath(QStringLiteral("missing.mop"))), alone);
    EXPECT_EQ(sparkleCitation(QString()), alone);
    // A folder in place of the output is no output.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("folder.out")));
    EXPECT_EQ(sparkleCitation(dir.filePath(QStringLiteral("folder.mop"))), alone);
}

// Program 1 writes the Sparkle text beside the input and returns it; when the
// file cannot be written the text is still returned and the reason kept.
TEST_F(SparkleCitation, Program1WritesRequiredCitationsBesideTheInput)
{
    QFile::copy(OrvaneFixtures::dataPath(QStringLiteral("mopac/eu_h2o3_sparkle_pm6.out")),
                dir.filePath(QStringLiteral("complex.out")));
    const QString input = dir.filePath(QStringLiteral("complex.mop"));
    const QString written = dir.filePath(QStringLiteral("!Required_Citations.orv"));
    OrvaneFixtures::writeFile(written, "an older, longer file that must be replaced entirely\n\n\n\n\n\n\n\n\n\n");

    QString failure = QStringLiteral("left from before");
    const QString text = requiredCitations(1, 0, input, 0, false, false, false, &failure);
    EXPECT_EQ(text, citationForKey(QStringLiteral("Eu: (PM6):")));
    EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
    EXPECT_EQ(QString::fromUtf8(OrvaneFixtures::contents(written)), text);

    // The options of the other programs play no part.
    EXPECT_EQ(requiredCitations(1, 4, input, 2, true, true, true), text);

    QTemporaryDir blocked;
    QFile::copy(OrvaneFixtures::dataPath(QStringLiteral("mopac/eu_h2o3_sparkle_pm6.out")),
                blocked.filePath(QStringLiteral("complex.out")));
    ASSERT_TRUE(QDir(blocked.path()).mkdir(QStringLiteral("!Required_Citations.orv")));
    const QString unwritten = requiredCitations(1, 0, blocked.filePath(QStringLiteral("complex.mop")), 0, false,
                                                false, false, &failure);
    EXPECT_EQ(unwritten, text);
    EXPECT_TRUE(failure.contains(QStringLiteral("!Required_Citations.orv"))) << failure.toStdString();
}
