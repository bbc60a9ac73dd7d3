#include "requiredcitations.h"

#include "orvanefilenames.h"
#include "orvanereportfile.h"
#include "orvanetextreader.h"

#include <QFileInfo>
#include <QStringList>

#include <array>

namespace {

// One published work. A detail that could not be checked against the
// publisher's record, an index entry or the reference MOPAC 22 itself prints
// is left empty rather than guessed; a work of which nothing could be checked
// carries only a description of what it is, shown with that warning.
struct Reference
{
    const char* authors;
    const char* title;
    const char* source; // journal, volume, pages and year
    const char* doi;
    const char* link; // when the work has no checked DOI
    const char* unconfirmed; // description of a work not yet checked
};

// ---------------------------------------------------------------------------
// The references. Correct them here and nowhere else.
// ---------------------------------------------------------------------------

constexpr Reference orcaProgram{
    "F. Neese, F. Wennmohs, U. Becker, C. Riplinger",
    "The ORCA quantum chemistry program package",
    "J. Chem. Phys. 152, 224108 (2020)", "10.1063/5.0004608", "", ""};

constexpr Reference indoSCis{
    "J. Ridley, M. Zerner",
    "An intermediate neglect of differential overlap technique for spectroscopy: Pyrrole and the azines",
    "Theor. Chim. Acta 32, 111-134 (1973)", "10.1007/BF00528484", "", ""};

// The work that introduced predicting the electronic (absorption) spectra of
// lanthanide complexes by replacing the ion with a +3e point charge and
// computing the ligands' excited states by INDO/S-CI; it also cites the
// broadened theoretical absorption spectrum. Volume, first page and DOI are
// the publisher's article identifier (FT9969201835).
constexpr Reference pointChargeSpectra{
    "A. V. M. de Andrade, R. L. Longo, A. M. Simas, G. F. de S\u00e1",
    "Theoretical model for the prediction of electronic spectra of lanthanide complexes",
    "J. Chem. Soc., Faraday Trans. 92, 1835 (1996)", "10.1039/FT9969201835", "", ""};

// The two independent 1962 papers of the Judd-Ofelt theory. No DOI of
// Ofelt's paper could be checked.
constexpr Reference judd{
    "B. R. Judd", "Optical Absorption Intensities of Rare-Earth Ions", "Phys. Rev. 127, 750-761 (1962)",
    "10.1103/PhysRev.127.750", "", ""};

constexpr Reference ofelt{
    "G. S. Ofelt", "Intensities of Crystal Spectra of Rare-Earth Ions", "J. Chem. Phys. 37, 511-520 (1962)", "", "",
    ""};

constexpr Reference qdcAdjustment{
    "J. D. L. Dutra, N. B. D. Lima, R. O. Freire, A. M. Simas",
    "Europium Luminescence: Electronic Densities and Superdelocalizabilities for a Unique Adjustment of "
    "Theoretical Intensity Parameters",
    "Sci. Rep. 5, 13695 (2015)", "10.1038/srep13695", "", ""};

constexpr Reference chemicalPartition{
    "", "", "Sci. Rep., article 21204", "10.1038/srep21204", "", ""};

constexpr Reference transferChapter310{
    "", "", "", "", "",
    "Review of ligand-to-lanthanide energy transfer, Handbook on the Physics and Chemistry of Rare Earths, "
    "Chapter 310"};

constexpr Reference transferRevisited{
    "", "", "", "", "", "Revisited model of ligand-to-lanthanide energy transfer"};

constexpr Reference transferModelDipolar{
    "", "", "", "", "", "Theoretical model of ligand-to-lanthanide ion energy transfer in coordination compounds"};

constexpr Reference transferModelExchange{
    "", "", "", "", "", "Exchange contribution to the ligand-to-lanthanide ion energy transfer rate"};

constexpr Reference rateEquationQuantumYield{
    "F. R. G. e Silva, J. F. S. Menezes, G. B. Rocha, S. Alves, H. F. Brito, R. L. Longo, O. L. Malta",
    "Emission quantum yield of europium (III) mixed complexes with thenoyltrifluoroacetonate and some "
    "aromatic ligands",
    "J. Alloys Compd. 303-304, 364-370 (2000)", "", "", ""};

// The Sparkle keys as MOPAC prints them ("Eu: (AM1):"), in the order they are
// tested on every line: the first group with a key in the line wins.
struct SparkleGroup
{
    const char* model;
    std::array<const char*, 15> symbols; // unused places are null
    Reference reference;
};

constexpr std::array<SparkleGroup, 20> sparkleGroups{{
    {"AM1", {"Eu", "Tb", "Gd"},
     {"R. O. Freire, G. B. Rocha, A. M. Simas",
      "Sparkle Model for the Calculation of Lanthanide Complexes: AM1 Parameters for Eu(III), Gd(III), and "
      "Tb(III)",
      "Inorg. Chem. 44, 3299-3310 (2005)", "", "", ""}},
    {"AM1", {"Lu", "La"}, {"R. O. Freire et al.", "", "J. Phys. Chem. A 110, 5897 (2006)", "", "", ""}},
    {"AM1", {"Ce", "Er"}, {"R. O. Freire et al.", "", "J. Organomet. Chem. 691, 2584 (2006)", "", "", ""}},
    {"AM1", {"Pr"}, {"R. O. Freire et al.", "", "J. Organomet. Chem. 690, 4099 (2005)", "", "", ""}},
    {"AM1", {"Nd"}, {"C. C. Bastos et al.", "", "J. Photochem. Photobiol. A 177, 225 (2006)", "", "", ""}},
    {"AM1", {"Pm", "Sm"},
     {"R. O. Freire, N. B. da Costa Junior, G. B. Rocha, A. M. Simas",
      "Sparkle/AM1 Parameters for the Modeling of Samarium(III) and Promethium(III) Complexes",
      "J. Chem. Theory Comput. 2, 64-74 (2006)", "", "", ""}},
    {"AM1", {"Dy"}, {"N. B. da Costa Jr et al.", "", "Inorg. Chem. Commun. 8, 831 (2005)", "", "", ""}},
    {"AM1", {"Ho"}, {"N. B. da Costa Jr et al.", "", "Polyhedron 24, 3046 (2005)", "", "", ""}},
    {"AM1", {"Tm"}, {"R. O. Freire et al.", "", "Chem. Phys. Lett. 411, 61 (2005)", "", "", ""}},
    {"AM1", {"Yb"}, {"R. O. Freire, G. B. Rocha, A. M. Simas", "", "J. Comput. Chem. 26, 1524 (2005)", "", "", ""}},
    {"PM3", {"Eu", "Tb", "Gd"},
     {"R. O. Freire, G. B. Rocha, A. M. Simas",
      "Sparkle/PM3 for the Modeling of Europium(III), Gadolinium(III), and Terbium(III) Complexes",
      "J. Braz. Chem. Soc. 20, 1638-1645 (2009)", "",
      "http://www.scielo.br/scielo.php?script=sci_arttext&pid=S0103-50532009000900011", ""}},
    {"PM3", {"Tm"}, {"R. O. Freire et al.", "", "Chem. Phys. Lett. 425, 138 (2006)", "", "", ""}},
    {"PM3", {"La", "Lu"}, {"", "", "", "", "", "Sparkle/PM3 parameters for La(III) and Lu(III) complexes"}},
    {"PM3", {"Ce"}, {"", "", "", "", "", "Sparkle/PM3 parameters for Ce(III) complexes"}},
    {"PM3", {"Pr", "Yb"}, {"", "", "", "", "", "Sparkle/PM3 parameters for Pr(III) and Yb(III) complexes"}},
    {"PM3", {"Nd", "Pm", "Sm"}, {"", "", "J. Chem. Theory Comput. 3, 1588-1596 (2007)", "10.1021/ct600326m", "", ""}},
    {"PM3", {"Dy", "Ho", "Er"}, {"", "", "", "", "", "Sparkle/PM3 parameters for Dy(III), Ho(III) and Er(III) complexes"}},
    {"PM6",
     {"Eu", "Tb", "Gd", "Tm", "La", "Lu", "Ce", "Pr", "Yb", "Nd", "Pm", "Sm", "Dy", "Ho", "Er"},
     {"R. O. Freire, A. M. Simas", "Sparkle/PM6 Parameters for all Lanthanide Trications from La(III) to Lu(III)",
      "J. Chem. Theory Comput. 6, 2019-2023 (2010)", "10.1021/ct100192c", "", ""}},
    {"RM1",
     {"Eu", "Tb", "Gd", "Tm", "La", "Lu", "Ce", "Pr", "Yb", "Nd", "Pm", "Sm", "Dy", "Ho", "Er"},
     // The Sparkle/RM1 work itself. MOPAC's " Eu: (RM1):" lines name the
     // element-specific RM1 (non-Sparkle) papers instead; those do not
     // belong to this group.
     {"M. A. M. Filho, J. D. L. Dutra, et al.", "", "RSC Adv. (2013)", "10.1039/C3RA41406J", "", ""}},
    {"PM7",
     {"Eu", "Tb", "Gd", "Tm", "La", "Lu", "Ce", "Pr", "Yb", "Nd", "Pm", "Sm", "Dy", "Ho", "Er"},
     {"J. D. L. Dutra, M. A. M. Filho, R. O. Freire, G. B. Rocha, A. M. Simas, J. J. P. Stewart",
      "Sparkle/PM7 Lanthanide Parameters for the Modeling of Complexes and Materials",
      "J. Chem. Theory Comput. 9, 3333-3341 (2013)", "", "", ""}},
}};

// ---------------------------------------------------------------------------

const QString sparkleHeading = QStringLiteral("Sparkle model was used to optimize the compound geometry");

QString text(const Reference& reference)
{
    QStringList lines;
    const auto add = [&lines](const char* part, const QString& prefix = QString()) {
        if (part && *part)
            lines << prefix + QString::fromUtf8(part);
    };
    add(reference.authors);
    add(reference.title);
    add(reference.source);
    if (reference.link && *reference.link)
        add(reference.link, QStringLiteral("Link: "));
    else
        add(reference.doi, QStringLiteral("Link: https://doi.org/"));
    add(reference.doi, QStringLiteral("DOI: "));
    if (lines.isEmpty())
        add(reference.unconfirmed);
    if (reference.unconfirmed && *reference.unconfirmed)
        lines.last() += QStringLiteral(" (bibliographic details not yet confirmed)");
    return lines.join(QLatin1Char('\n'));
}

// The short form of a reference for a one-line label: its journal line
// (journal, volume, first page, year), else its title, else the description
// of a work not yet checked. Each is a whole line of the reference's text.
QString shortText(const Reference& reference)
{
    for (const char* part : {reference.source, reference.title, reference.unconfirmed}) {
        if (part && *part)
            return QString::fromUtf8(part);
    }
    return QString();
}

// A heading, an empty line, the reference and `lineBreaks` line ends.
QString block(const QString& heading, const Reference& reference, int lineBreaks)
{
    return heading + QStringLiteral("\n\n") + text(reference) + QString(lineBreaks, QLatin1Char('\n'));
}

// The group whose key the line holds, the earliest group first; -1 for none.
int sparkleGroupOf(const QString& line)
{
    // Every key holds ": (" and ends with "):"; most lines of an output hold
    // neither, and the 75 key searches are spared for them.
    if (!line.contains(QLatin1String(": (")))
        return -1;
    for (int g = 0; g < static_cast<int>(sparkleGroups.size()); ++g) {
        const SparkleGroup& group = sparkleGroups[static_cast<size_t>(g)];
        for (const char* symbol : group.symbols) {
            if (!symbol)
                break;
            const QString key = QStringLiteral("%1: (%2):").arg(QLatin1String(symbol), QLatin1String(group.model));
            if (line.contains(key))
                return g;
        }
    }
    return -1;
}

// MOPAC 22 prints no " Eu: (PM7):" line for its PM7 Sparkles but this block
// heading, with the title of the Sparkle/PM7 work on the next line. Both
// lines are asked for, so that a job title quoting either is not taken for it.
const QString pm7SparkleBlockHeading = QStringLiteral("References for PM7 Sparkles:");
const QString pm7SparkleTitle =
    QStringLiteral("Sparkle/PM7 Lanthanide Parameters for the Modeling of Complexes and Materials");

int groupOfModel(const char* model)
{
    for (int g = 0; g < static_cast<int>(sparkleGroups.size()); ++g) {
        if (qstrcmp(sparkleGroups[static_cast<size_t>(g)].model, model) == 0)
            return g;
    }
    return -1;
}

} // namespace

QString sparkleCitation(const QString& inputFile)
{
    QString result = sparkleHeading + QStringLiteral("\n\n");
    OrvaneLineReader reader(OrvaneFileNames::withFinalSuffix(inputFile, QStringLiteral("out")));
    if (!reader.isOpen())
        return result;
    static const int pm7Group = groupOfModel("PM7");
    bool afterPm7Heading = false;
    QString line;
    while (reader.readLine(line)) {
        int group = sparkleGroupOf(line);
        if (group < 0 && afterPm7Heading && line.contains(pm7SparkleTitle))
            group = pm7Group;
        if (group >= 0)
            return result + text(sparkleGroups[static_cast<size_t>(group)].reference) + QStringLiteral("\n\n");
        afterPm7Heading = line.trimmed() == pm7SparkleBlockHeading;
    }
    return result;
}

QString transferModelReference(const int& transferModel)
{
    switch (transferModel) {
    case 0:
        return shortText(transferChapter310);
    case 1:
        return shortText(transferRevisited);
    case 2:
        return shortText(transferModelDipolar) + QStringLiteral("; ") + shortText(transferModelExchange);
    default:
        return QString();
    }
}

QString requiredCitations(const int& program, const int& module, const QString& inputFile,
                          const int& transferModel, const bool& quantumYield, const bool& qdc,
                          const bool& aradPartition, QString* writeFailure)
{
    if (writeFailure)
        writeFailure->clear();

    if (program == 1) {
        const QString citations = sparkleCitation(inputFile);
        const QString fileName = QFileInfo(inputFile).path() + QStringLiteral("/!Required_Citations.orv");
        QString reason;
        if (!OrvaneReportFile::write(fileName, citations, reason) && writeFailure)
            *writeFailure = reason;
        return citations;
    }

    const QString orcaHeading = QStringLiteral("ORCA Program Reference");
    if (program == 2) {
        return block(orcaHeading + QLatin1Char(' '), orcaProgram, 3)
            + block(QStringLiteral("Excited state energies calculated by using semiempirical the INDO/S-CIS method"),
                    indoSCis, 2)
            + block(QStringLiteral("Excited state calculations of europium(III) complexes using +3e point charge"),
                    pointChargeSpectra, 2);
    }
    if (program != 3)
        return QString();

    QString citations;
    switch (module) {
    case 2:
        if (qdc)
            citations += sparkleCitation(inputFile);
        citations += QStringLiteral("Intensity parameters calculated by using a semiempirical model based on the "
                                    "Judd-Ofelt theory\n\n")
            + text(judd) + QStringLiteral("\n\n") + text(ofelt) + QStringLiteral("\n\n");
        if (qdc)
            citations += block(QStringLiteral("QDC model: intensity parameters adjusted by electronic densities and "
                                              "superdelocalizabilities"),
                               qdcAdjustment, 2);
        if (aradPartition)
            citations += block(QStringLiteral("Chemical Partition of Arad(ED)"), chemicalPartition, 2);
        break;
    case 3:
        citations += block(QLatin1Char('\n') + orcaHeading, orcaProgram, 3);
        if (transferModel == 0) {
            citations += block(QStringLiteral("Revisited model in the Chapter 310 (Handbook) was used to calculate the "
                                              "energy transfer rates between the ligands and the lanthanide trivalent "
                                              "ion"),
                               transferChapter310, 3);
        } else if (transferModel == 1) {
            citations += block(QStringLiteral("Revisited model was used to calculate the energy transfer rates between "
                                              "the ligands and the lanthanide trivalent ion"),
                               transferRevisited, 3);
        } else if (transferModel == 2) {
            citations += QStringLiteral("\nModels that were used to calculate the energy transfer rates between the "
                                        "ligands and the lanthanide trivalent ion\n\n")
                + text(transferModelDipolar) + QStringLiteral("\n\n") + text(transferModelExchange)
                + QStringLiteral("\n\n");
        }
        if (quantumYield)
            citations += block(QStringLiteral("Numerical solution for the rate equations and calculation of the "
                                              "emission quantum yield"),
                               rateEquationQuantumYield, 2);
        break;
    case 4:
        citations += block(orcaHeading, orcaProgram, 3)
            + block(QStringLiteral("Calculation of the theoretical absorption spectrum"), pointChargeSpectra, 2);
        break;
    default:
        break;
    }
    return citations;
}
