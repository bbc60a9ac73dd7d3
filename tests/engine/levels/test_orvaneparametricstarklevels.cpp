// The charge-factor fit to Stark levels: the score against the independent
// Stark sublevels of ligandfield_reference.py, refused points, improvements
// and the report, the input readers, and fits through the annealing driver.

#include "orvanegsa.h"
#include "orvaneparametricstarklevels.h"
#include "orvanetextreader.h"

#include "ligandfieldfixture.h"
#include "orvanefixtures.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <vector>

namespace {

const LigandField::StarkRow& referenceRow(int J)
{
    return LigandField::referenceStark[J];
}

double lowest(int J)
{
    return referenceRow(J).levels[0];
}

double highest(int J)
{
    return referenceRow(J).levels[2 * J];
}

// Each ligand (atoms 2..8) its own group, so that parameter i is g of ligand i+1.
QVector<ParametersGroup> oneGroupPerLigand()
{
    QVector<ParametersGroup> groups;
    for (int atom = 2; atom <= LigandField::referenceCoordNumber + 1; ++atom)
        groups.append(ParametersGroup {QStringLiteral("L%1").arg(atom), {atom}});
    return groups;
}

std::vector<double> referencePoint()
{
    std::vector<double> g = LigandField::referenceChargeFactors();
    return std::vector<double>(g.begin() + 1, g.end());
}

bool evaluate(OrvaneParametricStarkLevels& model, std::vector<double> x)
{
    double* pointer = x.data();
    return model.runParametrization(int(x.size()), pointer);
}

QString readText(const QString& path)
{
    return QString::fromUtf8(OrvaneFixtures::contents(path));
}

class StarkFit : public ::testing::Test
{
protected:
    StarkFit()
        : mop(LigandField::writeReferenceMop(dir))
        , model(nullptr, mop, LigandField::referenceCoordNumber)
    {
        model.setParametersGroup(oneGroupPerLigand());
    }

    QTemporaryDir dir;
    QString mop;
    OrvaneParametricStarkLevels model;
};

} // namespace

TEST_F(StarkFit, ScoresSplittingsAndOutermostSublevels)
{
    const QVector<TransitionValues> rows {{1, 0.0, 0.0, 0.0}, {2, 10.0, 300.0, 50.0}, {6, -100.0, 800.0, 0.0},
        {4, 17000.0, 17400.0, 17250.0}};
    model.setTransitionValues(rows);
    double expected = 0.0;
    for (const TransitionValues& row : rows) {
        const double lo = lowest(row.J), hi = highest(row.J);
        expected += 100.0 * std::abs((hi - lo) - std::abs(row.lastLevel - row.firstLevel))
            + std::abs(lo - (row.firstLevel - row.reference)) + std::abs(hi - (row.lastLevel - row.reference));
    }
    // The row asking for no splitting at 0 scores 100 (hi - lo) + |lo| + |hi|.
    ASSERT_GT(highest(1) - lowest(1), 1.0);

    model.incrementPointsNumber();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(evaluate(model, referencePoint())) << model.getLastError().toStdString();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NEAR(model.getResponseFunction(), expected, 1e-7 * expected);
    EXPECT_EQ(model.getBestResponse(), model.getResponseFunction());
    std::ostringstream line;
    line << 1 << "  " << model.getResponseFunction() << "\n";
    EXPECT_EQ(printed, line.str());
    // The report of the improvement is written when the fit ends, not before.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("complex.levels"))));
    testing::internal::CaptureStdout();
    model.endOfParametrization();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("complex.levels"))));
}

TEST_F(StarkFit, TheReportHoldsThePointAndTheSortedSublevelsOf7F1To7F5)
{
    testing::internal::CaptureStdout();
    ASSERT_TRUE(evaluate(model, referencePoint()));
    model.endOfParametrization();
    testing::internal::GetCapturedStdout();
    const QString report = readText(model.getReportFileName());
    ASSERT_TRUE(report.startsWith(QStringLiteral("*******************************\n       Charge Factors          \n"
                                                 "*******************************\n\ng(1) = 0.6200000000\n")))
        << report.toStdString();
    const std::vector<double> x = referencePoint();
    for (int i = 0; i < int(x.size()); ++i)
        EXPECT_TRUE(report.contains(QStringLiteral("g(%1) = %2\n").arg(i + 1).arg(x[std::size_t(i)], 0, 'f', 10)));
    EXPECT_TRUE(report.contains(QStringLiteral("\n\n*******************************\n         Stark Levels           \n"
                                               "*******************************\n\nJ = 1\n")));
    EXPECT_FALSE(report.contains(QStringLiteral("J = 0")));
    EXPECT_FALSE(report.contains(QStringLiteral("J = 6")));
    for (int J = 1; J <= 5; ++J) {
        const int start = report.indexOf(QStringLiteral("J = %1\n").arg(J));
        ASSERT_GE(start, 0);
        const QStringList lines = report.mid(start).split(QLatin1Char('\n'));
        for (int i = 0; i < 2 * J + 1; ++i) {
            const QString text = lines.at(i + 1);
            EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^-?\d+\.\d{5}$)")).match(text).hasMatch()) << text.toStdString();
            EXPECT_NEAR(text.toDouble(), referenceRow(J).levels[i], 5.1e-6) << "J = " << J;
        }
        EXPECT_TRUE(lines.at(2 * J + 2).isEmpty() && lines.at(2 * J + 3).isEmpty());
    }
}

TEST_F(StarkFit, RefusedPointsScoreThePenaltyWithoutAStarkCalculation)
{
    model.setGLimits({GLimits {QStringLiteral("O"), 0.2, 0.7}, GLimits {QStringLiteral("Cl"), 1.0, 1.5}});
    struct Case {
        const char* name;
        int ligand; // 1..7, the value changed from the reference point
        double value;
    };
    const Case cases[] = {
        {"negative group value", 7, -0.01},
        {"not a number", 2, std::numeric_limits<double>::quiet_NaN()},
        {"oxygen above its maximum", 1, 0.7000001},
        {"oxygen below its minimum", 6, 0.19},
        {"chlorine below its minimum", 4, 0.99},
    };
    for (const Case& c : cases) {
        std::vector<double> x = referencePoint();
        x[std::size_t(c.ligand - 1)] = c.value;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(evaluate(model, x)) << c.name;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.name;
        EXPECT_EQ(model.getResponseFunction(), 1e25) << c.name;
        EXPECT_FALSE(model.getLastError().isEmpty()) << c.name;
        EXPECT_TRUE(model.getStarkCalculation().getStarkLevels(1).isEmpty()) << c.name;
        EXPECT_EQ(model.getBestResponse(), 1e24) << c.name;
        EXPECT_FALSE(QFile::exists(model.getReportFileName())) << c.name;
    }
    // The limits themselves are allowed; labels without limits (N, F, S) are not bounded.
    for (const std::vector<double>& x : {std::vector<double> {0.2, 0.7, 40.0, 1.0, 9.0, 0.2, 0.0},
             std::vector<double> {0.7, 0.2, 0.0, 1.5, 0.0, 0.7, 50.0}}) {
        testing::internal::CaptureStdout();
        EXPECT_TRUE(evaluate(model, x)) << model.getLastError().toStdString();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(model.getStarkCalculation().getStarkLevels(6).size(), 13);
    }
}

TEST_F(StarkFit, OnlyAStrictlyLowerResponseIsAnImprovement)
{
    model.setTransitionValues({{1, 0.0, 0.0, 0.0}});
    const QString report = model.getReportFileName();
    // The report at the end holds the point of the last improvement.
    const auto reportedG1 = [&] {
        testing::internal::CaptureStdout();
        model.endOfParametrization();
        testing::internal::GetCapturedStdout();
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral(R"(g\(1\) = (\S+)\n)")).match(readText(report));
        return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
    };
    std::vector<double> x = referencePoint();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(evaluate(model, x));
    EXPECT_FALSE(testing::internal::GetCapturedStdout().empty());
    const double best = model.getBestResponse();

    // The same point again, then a worse one (a larger splitting of 7F1).
    std::vector<double> larger = x;
    for (double& g : larger)
        g *= 1.5;
    for (const std::vector<double>& point : {x, larger}) {
        testing::internal::CaptureStdout();
        ASSERT_TRUE(evaluate(model, point));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(model.getBestResponse(), best);
        EXPECT_DOUBLE_EQ(reportedG1(), x[0]);
    }
    std::vector<double> smaller = x;
    for (double& g : smaller)
        g *= 0.5;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(evaluate(model, smaller));
    EXPECT_FALSE(testing::internal::GetCapturedStdout().empty());
    EXPECT_LT(model.getBestResponse(), best);
    EXPECT_DOUBLE_EQ(reportedG1(), smaller[0]);
}

TEST_F(StarkFit, InputsTheModelCannotEvaluateAreRefusedWithAReason)
{
    struct Case {
        const char* name;
        QVector<TransitionValues> rows;
        int parameters;
        const char* reasonContains;
    };
    const Case cases[] = {
        {"J above 6", {{1, 0, 10, 0}, {7, 0, 10, 0}}, 7, "7F7"},
        {"negative J", {{-1, 0, 10, 0}}, 7, "7F-1"},
        {"fewer parameters than groups", {{1, 0, 10, 0}}, 6, "7 groups"},
    };
    for (const Case& c : cases) {
        model.setTransitionValues(c.rows);
        std::vector<double> x(std::size_t(c.parameters), 0.5);
        EXPECT_FALSE(evaluate(model, x)) << c.name;
        EXPECT_EQ(model.getResponseFunction(), 1e25) << c.name;
        EXPECT_TRUE(model.getLastError().contains(QLatin1String(c.reasonContains)))
            << c.name << ": " << model.getLastError().toStdString();
        EXPECT_TRUE(model.getStarkCalculation().getStarkLevels(1).isEmpty()) << c.name;
    }
}

TEST_F(StarkFit, AtomsOutsideTheLigandsAreIgnoredAndUngroupedLigandsGetZero)
{
    model.setTransitionValues({{2, 0.0, 100.0, 50.0}, {4, 0.0, 100.0, 50.0}});
    // Ligands 1..6 grouped, ligand 7 (S, no overlap anyway) left out; a group
    // naming the ion, an atom past N and a negative number.
    QVector<ParametersGroup> groups = oneGroupPerLigand();
    groups.removeLast();
    groups.append(ParametersGroup {QStringLiteral("stray"), {1, 9, 40, -3}});
    model.setParametersGroup(groups);
    std::vector<double> x = referencePoint();
    x.back() = 3.0;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(evaluate(model, x)) << model.getLastError().toStdString();
    testing::internal::GetCapturedStdout();
    for (int J = 0; J <= 6; ++J) {
        QVector<double> levels = model.getStarkCalculation().getStarkLevels(J);
        std::sort(levels.begin(), levels.end());
        for (int i = 0; i < levels.size(); ++i)
            EXPECT_NEAR(levels.at(i), referenceRow(J).levels[i], 1e-7 * std::max(1.0, std::abs(levels.at(i))));
    }
}

TEST_F(StarkFit, TheReportIsNamedBesideTheGeometryAndAFailedWriteIsKept)
{
    EXPECT_EQ(model.getReportFileName(), dir.filePath(QStringLiteral("complex.levels")));
    model.setFileName(QStringLiteral("/data/run.v2/complex"));
    EXPECT_EQ(model.getReportFileName(), QStringLiteral("/data/run.v2/complex.levels"));
    model.setFileName(QStringLiteral("/data/run.v2/complex.geometry.mop"));
    EXPECT_EQ(model.getReportFileName(), QStringLiteral("/data/run.v2/complex.geometry.levels"));

    model.setFileName(dir.filePath(QStringLiteral("missing/complex.mop")));
    model.setTransitionValues({{1, 0.0, 0.0, 0.0}});
    testing::internal::CaptureStdout();
    EXPECT_TRUE(evaluate(model, referencePoint()));
    testing::internal::GetCapturedStdout();
    model.endOfParametrization();
    EXPECT_TRUE(model.getLastError().contains(QLatin1String("complex.levels"))) << model.getLastError().toStdString();
}

TEST(OrvaneParametricStarkLevelsReaders, ReadTheirFilesUpToTheFirstEmptyLine)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("complex"));
    OrvaneFixtures::writeFile(stem + ".chargefactors", "water  2 3 7   0.55\r\nnitrate\t4 5 x\n  Cl 5 1.2\n\nO 9 0.1\n");
    OrvaneFixtures::writeFile(stem + ".limits", "O 0.1 0.9\nCl  0.5   abc\n\nN 0 1\n");
    OrvaneFixtures::writeFile(stem + ".groups", "water 2 3 7\nnitrate 4 5\nsingle\n\nlate 8\n");
    OrvaneFixtures::writeFile(stem + ".exp", "1 0 380 17270\n2  16 950  17250  extra\n\n3 1 2 3\n");

    QVector<ChargeFactorsGroup> charges {ChargeFactorsGroup {QStringLiteral("kept"), {}, 1.0}};
    ASSERT_TRUE(OrvaneParametricStarkLevels::readChargeFactorsFile(stem, charges));
    ASSERT_EQ(charges.size(), 4);
    EXPECT_EQ(charges.at(1).name, QStringLiteral("water"));
    EXPECT_EQ(charges.at(1).atoms, (QVector<int> {2, 3, 7}));
    EXPECT_EQ(charges.at(1).chargeFactor, 0.55);
    // A tab is blank after simplification; a bad number reads as 0.
    EXPECT_EQ(charges.at(2).name, QStringLiteral("nitrate"));
    EXPECT_EQ(charges.at(2).atoms, (QVector<int> {4, 5}));
    EXPECT_EQ(charges.at(2).chargeFactor, 0.0);
    EXPECT_EQ(charges.at(3).atoms, (QVector<int> {5}));
    EXPECT_EQ(charges.at(3).chargeFactor, 1.2);

    QVector<GLimits> limits;
    OrvaneParametricStarkLevels::readGLimitsFile(stem, limits);
    ASSERT_EQ(limits.size(), 2);
    EXPECT_EQ(limits.at(0).name, QStringLiteral("O"));
    EXPECT_EQ(limits.at(0).min, 0.1);
    EXPECT_EQ(limits.at(0).max, 0.9);
    EXPECT_EQ(limits.at(1).max, 0.0);

    QVector<ParametersGroup> groups;
    ASSERT_TRUE(OrvaneParametricStarkLevels::readParametersGroup(stem, groups));
    ASSERT_EQ(groups.size(), 3);
    EXPECT_EQ(groups.at(1).atoms, (QVector<int> {4, 5}));
    EXPECT_TRUE(groups.at(2).atoms.isEmpty());

    QVector<TransitionValues> rows;
    ASSERT_TRUE(OrvaneParametricStarkLevels::readTransitionValues(stem, rows));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(1).J, 2);
    EXPECT_EQ(rows.at(1).firstLevel, 16.0);
    EXPECT_EQ(rows.at(1).lastLevel, 950.0);
    EXPECT_EQ(rows.at(1).reference, 17250.0);
}

TEST(OrvaneParametricStarkLevelsReaders, MissingFilesPrintTheirMessages)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("absent"));
    struct Case {
        const char* name;
        std::function<bool()> read;
        QString printed;
    };
    QVector<ChargeFactorsGroup> charges;
    QVector<ParametersGroup> groups;
    QVector<TransitionValues> rows;
    QVector<GLimits> limits {GLimits {QStringLiteral("O"), 0.0, 1.0}};
    const Case cases[] = {
        {"charge factors", [&] { return OrvaneParametricStarkLevels::readChargeFactorsFile(stem, charges); },
            "File " + stem + ".chargefactors cannot be found"},
        {"groups", [&] { return OrvaneParametricStarkLevels::readParametersGroup(stem, groups); },
            "Cannot open the file " + stem + ".groups\n"},
        {"experimental levels", [&] { return OrvaneParametricStarkLevels::readTransitionValues(stem, rows); },
            "ORVANE could not read the file " + stem + ".exp\n"},
        {"limits (optional)", [&] {
             OrvaneParametricStarkLevels::readGLimitsFile(stem, limits);
             return false;
         },
            QString()},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(c.read()) << c.name;
        EXPECT_EQ(QString::fromStdString(testing::internal::GetCapturedStdout()), c.printed) << c.name;
    }
    EXPECT_TRUE(charges.isEmpty() && groups.isEmpty() && rows.isEmpty());
    EXPECT_EQ(limits.size(), 1);
}

// A table of the size limit or more is refused before a line is read, as
// the other readers of whole tables do: a 2 GiB file used to be held whole
// (over 4 GB of memory). The large files are sparse: they take no disk.
TEST(OrvaneParametricStarkLevelsReaders, RefuseAFileTooLargeForATable)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("complex"));
    QVector<ChargeFactorsGroup> charges;
    QVector<ParametersGroup> groups;
    QVector<TransitionValues> rows;
    QVector<GLimits> limits;
    struct Reader {
        const char* extension;
        QByteArray firstLine;
        std::function<bool()> read;
        std::function<int()> count;
    };
    const Reader readers[] = {
        {".chargefactors", "water 2 3 0.55\n",
            [&] { return OrvaneParametricStarkLevels::readChargeFactorsFile(stem, charges); },
            [&] { return charges.size(); }},
        {".groups", "water 2 3\n", [&] { return OrvaneParametricStarkLevels::readParametersGroup(stem, groups); },
            [&] { return groups.size(); }},
        {".exp", "1 0 380 17270\n", [&] { return OrvaneParametricStarkLevels::readTransitionValues(stem, rows); },
            [&] { return rows.size(); }},
        {".limits", "O 0.1 0.9\n",
            [&] {
                // No result of its own: whether it appended.
                const int before = limits.size();
                OrvaneParametricStarkLevels::readGLimitsFile(stem, limits);
                return limits.size() > before;
            },
            [&] { return limits.size(); }},
    };
    const qint64 limit = OrvaneLineReader::maxTableBytes;
    const qint64 sizes[] = {limit - 1, limit, limit + 1, (qint64(1) << 32) + 7};
    for (const Reader& reader : readers) {
        for (qint64 size : sizes) {
            SCOPED_TRACE(std::string(reader.extension) + " of " + std::to_string(size) + " bytes");
            const QString path = stem + reader.extension;
            OrvaneFixtures::writeFile(path, reader.firstLine);
            QFile file(path);
            ASSERT_TRUE(file.resize(size));
            const int before = reader.count();
            testing::internal::CaptureStdout();
            const bool read = reader.read();
            const QString printed = QString::fromStdString(testing::internal::GetCapturedStdout());
            if (size < limit) {
                // The first line is a row; the zeros after it are no concern here.
                EXPECT_TRUE(read);
                EXPECT_GT(reader.count(), before);
                EXPECT_TRUE(printed.isEmpty()) << printed.toStdString();
                continue;
            }
            EXPECT_FALSE(read);
            EXPECT_EQ(reader.count(), before) << "nothing of a refused file is kept";
            EXPECT_EQ(printed, path + " could not be read: it has 1 MiB or more, far more than a table of this kind "
                                      "holds.\n");
        }
    }
}

TEST_F(StarkFit, AnnealingImprovesOnTheStartAndLeavesTheBestPointInTheReport)
{
    // Oxygen atoms in one group, N, Cl, F and S in the other; the
    // experimental splittings come from another point.
    const QVector<ParametersGroup> groups {{QStringLiteral("O"), {2, 3, 7}}, {QStringLiteral("X"), {4, 5, 6, 8}}};
    OrvaneParametricStarkLevels truth(nullptr, mop, LigandField::referenceCoordNumber);
    truth.setParametersGroup(groups);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(evaluate(truth, {0.6, 0.9}));
    QVector<TransitionValues> rows;
    for (int J = 1; J <= 4; ++J) {
        QVector<double> levels = truth.getStarkCalculation().getStarkLevels(J);
        std::sort(levels.begin(), levels.end());
        rows.append(TransitionValues {J, 17000.0 + levels.first(), 17000.0 + levels.last(), 17000.0});
    }
    model.setParametersGroup(groups);
    model.setTransitionValues(rows);
    model.setGLimits({GLimits {QStringLiteral("O"), 0.0, 2.0}});
    std::vector<double> start {0.3, 0.4};
    ASSERT_TRUE(evaluate(model, start));
    const double startResponse = model.getResponseFunction();
    ASSERT_GT(startResponse, 1.0);

    OrvaneParametricStarkLevels fitted(nullptr, mop, LigandField::referenceCoordNumber);
    fitted.setParametersGroup(groups);
    fitted.setTransitionValues(rows);
    fitted.setGLimits({GLimits {QStringLiteral("O"), 0.0, 2.0}});
    OrvaneAbstractParametric* problem = &fitted;
    std::vector<double> x = start;
    double* xp = x.data();
    OrvaneGSA gsa(nullptr, 2, xp, problem);
    gsa.setNStopMax(60);
    gsa.initializeGSA();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(gsa.getFitState(), OrvaneGSA::FitState::Finished) << gsa.getLastError().toStdString();
    // The driver is seeded, so the walk is reproducible; it does far better than the start.
    EXPECT_LT(fitted.getBestResponse(), 0.5 * startResponse);

    // The report holds the best point: evaluated afresh it scores the best response.
    const QString report = readText(fitted.getReportFileName());
    const QRegularExpression gLine(QStringLiteral(R"(g\((\d)\) = (-?\d+\.\d{10}))"));
    std::vector<double> best;
    for (auto it = gLine.globalMatch(report); it.hasNext();)
        best.push_back(it.next().captured(2).toDouble());
    ASSERT_EQ(best.size(), 2u) << report.toStdString();
    OrvaneParametricStarkLevels check(nullptr, mop, LigandField::referenceCoordNumber);
    check.setParametersGroup(groups);
    check.setTransitionValues(rows);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(evaluate(check, best));
    testing::internal::GetCapturedStdout();
    EXPECT_NEAR(check.getResponseFunction(), fitted.getBestResponse(), 1e-6 * std::max(1.0, startResponse));
}

TEST_F(StarkFit, AFailedFirstEvaluationEndsTheFitWithItsReason)
{
    model.setTransitionValues({{1, 0.0, 10.0, 0.0}});
    model.setGLimits({GLimits {QStringLiteral("O"), 0.0, 0.5}});
    OrvaneFixtures::writeFile(model.getReportFileName(), "a report of an earlier fit\n");
    OrvaneAbstractParametric* problem = &model;
    std::vector<double> x = referencePoint(); // the oxygen at 0.62 lies outside the limits
    double* xp = x.data();
    OrvaneGSA gsa(nullptr, int(x.size()), xp, problem);
    gsa.setNStopMax(5);
    gsa.initializeGSA();
    EXPECT_EQ(gsa.getFitState(), OrvaneGSA::FitState::Failed);
    EXPECT_TRUE(gsa.getLastError().contains(QLatin1String("limits"))) << gsa.getLastError().toStdString();
    // The reason is said, never written over the earlier report.
    EXPECT_TRUE(model.getLastError().contains(QLatin1String("limits"))) << model.getLastError().toStdString();
    EXPECT_EQ(readText(model.getReportFileName()), QStringLiteral("a report of an earlier fit\n"));
}
