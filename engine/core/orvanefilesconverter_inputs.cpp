// Inputs of Gaussian, ZINDO, ORCA and MOPAC written from the optimised
// geometry of a MOPAC output.

#include "orvanefilesconverter.h"

#include "orvanefilenames.h"
#include "orvanefixedcolumns.h"
#include "orvaneinputdata.h"
#include "orvanereportfile.h"
#include "orvanetextreader.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cmath>

using OrvaneColumns::fixed;
using OrvaneColumns::left;
using OrvaneColumns::right;

namespace {

constexpr double maxSystemCharge = 1000.0;


const QString moduleText = QStringLiteral("Orvane Files Converter Module");
const QString readMessage =
    QStringLiteral("Cartesian coordinates  read successfully. The chemical structure contains %1 atoms");
const QString creatingMessage = QStringLiteral("Creating output file.");
const QString createdMessage = QStringLiteral("The output file created successfully.");
const QString filledLevelsMarker = QStringLiteral("NO. OF FILLED LEVELS");

// Effective core potentials of the lanthanides that the Gaussian input names;
// any other lanthanide gets an empty name for the user to fill in.
QString ecpName(const QString& symbol)
{
    if (symbol == QLatin1String("Eu"))
        return QStringLiteral("MWB52");
    if (symbol == QLatin1String("Gd"))
        return QStringLiteral("MWB53");
    if (symbol == QLatin1String("Tb"))
        return QStringLiteral("MWB54");
    return QString();
}

// The ZINDO parameter table; 0 marks a lanthanide, which ZINDO takes as a
// +3 point charge.
bool zindoAtomicNumber(const QString& label, int& number)
{
    static const QHash<QString, int> numbers = {{QStringLiteral("H"), 1}, {QStringLiteral("B"), 5},
        {QStringLiteral("C"), 6}, {QStringLiteral("N"), 7}, {QStringLiteral("O"), 8}, {QStringLiteral("F"), 9},
        {QStringLiteral("Si"), 14}, {QStringLiteral("P"), 15}, {QStringLiteral("S"), 16},
        {QStringLiteral("Cl"), 17}, {QStringLiteral("As"), 33}, {QStringLiteral("Se"), 34},
        {QStringLiteral("Br"), 35}, {QStringLiteral("Te"), 52}, {QStringLiteral("I"), 53}};
    const auto found = numbers.constFind(label);
    if (found != numbers.constEnd()) {
        number = found.value();
        return true;
    }
    for (const QString& symbol : OrvaneInputData::lanthanideList) {
        if (label == symbol) {
            number = 0;
            return true;
        }
    }
    return false;
}

QString gaussianLanthanideBlock(const QStringList& present)
{
    QString block;
    for (int k = 0; k < present.size(); ++k) {
        if (k > 0)
            block += QStringLiteral("****\n");
        block += present.at(k) + QStringLiteral(" 0\n") + ecpName(present.at(k)) + QStringLiteral(" \n");
    }
    return block;
}

} // namespace

bool OrvaneFilesConverter::writeFile(const QString& file, const QString& text)
{
    QString reason;
    if (!OrvaneReportFile::write(file, text, reason)) {
        lastError = reason;
        return false;
    }
    return true;
}

bool OrvaneFilesConverter::readMopacOutput(OrvaneInputData& molecule, bool keepTv)
{
    if (!molecule.readMopacOutFile(keepTv)) {
        lastError = molecule.getLastError();
        return false;
    }
    return true;
}

bool OrvaneFilesConverter::convertFromOutToGjf(const QString& gjfFile)
{
    emitProgress(moduleText, QStringLiteral("Conversion from .out file to .gjf file"));
    OrvaneInputData molecule(nullptr, fileName);
    if (!readMopacOutput(molecule, true))
        return false;
    const int n = molecule.getAtomsNumber();
    emitProgress(moduleText, readMessage.arg(n));
    emitProgress(moduleText, creatingMessage);

    QString text = QStringLiteral("%chk=") + QFileInfo(gjfFile).baseName() + QStringLiteral(".chk\n")
        + QStringLiteral("%nproc=8\n%mem=4GB\n")
        + QStringLiteral("#td=(nstates=10,50-50) scf=(maxcyc=800) LC-wPBE/genecp pseudo=read guess=core pop=full\n")
        + QStringLiteral("\n Title Card Required \n\n")
        + QString::number(molecule.getChargeOnSystem(), 'g', 6) + QStringLiteral(" 1\n");
    QStringList labels;
    for (int i = 1; i <= n; ++i) {
        const Coord atom = molecule.getCoord(i);
        const QString label = molecule.getAtomLabel(i);
        text += left(2, label) + fixed(12, 4, atom.x) + fixed(12, 4, atom.y) + fixed(12, 4, atom.z)
            + QLatin1Char('\n');
        if (!labels.contains(label))
            labels.append(label);
    }
    QStringList present;
    for (const QString& symbol : OrvaneInputData::lanthanideList)
        if (labels.removeAll(symbol) > 0)
            present.append(symbol);

    text += QLatin1Char('\n');
    for (const QString& label : qAsConst(labels))
        text += label + QLatin1Char(' ');
    text += QStringLiteral("0 \n6-31+G(d)\n****\n");
    const QString lanthanideBlock = gaussianLanthanideBlock(present);
    text += lanthanideBlock + QStringLiteral("****\n\n") + lanthanideBlock + QStringLiteral("\n\n\n\n");

    if (!writeFile(gjfFile, text))
        return false;
    emitProgress(moduleText, createdMessage);
    return true;
}

bool OrvaneFilesConverter::convertFromOutToInp(const QString& inpFile)
{
    emitProgress(moduleText, QStringLiteral("Conversion from .out file to .inp file"));
    int filledLevels = 0;
    {
        OrvaneLineReader reader(fileName);
        if (!reader.isOpen()) {
            // Never open the file again only to word the error: a FIFO would
            // block that second opening for ever.
            lastError = reader.openFailure(fileName + QStringLiteral(" No such file or directory"));
            return false;
        }
        QString line;
        for (;;) {
            reader.readLine(line);
            if (reader.atEnd()) {
                lastError = QStringLiteral("NO. OF FILLED LEVELS was not find in mopac output");
                return false;
            }
            if (line.contains(filledLevelsMarker))
                break;
        }
        filledLevels = OrvaneText::toInteger(line.split(QLatin1Char('='), Qt::SkipEmptyParts).value(1));
    }

    OrvaneInputData molecule(nullptr, fileName);
    if (!readMopacOutput(molecule, false))
        return false;
    const int n = molecule.getAtomsNumber();

    // Only the lanthanides may stand in as point charges: any other element
    // without ZINDO parameters (a sodium counter-ion, say) would silently
    // become a +3 charge.
    QVector<int> atomicNumbers(n + 1, 0);
    int lanthanideCount = 0;
    int hydrogenCount = 0;
    for (int i = 1; i <= n; ++i) {
        const QString label = molecule.getAtomLabel(i);
        if (!zindoAtomicNumber(label, atomicNumbers[i])) {
            lastError = QStringLiteral("The ZINDO input cannot hold atom %1, element \"%2\": ZINDO has parameters "
                                       "for H, B, C, N, O, F, Si, P, S, Cl, As, Se, Br, Te and I, and takes the "
                                       "lanthanides La to Lu as +3 point charges.\n")
                            .arg(i)
                            .arg(label)
                + fileName;
            return false;
        }
        if (atomicNumbers[i] == 0)
            ++lanthanideCount;
        else if (atomicNumbers[i] == 1)
            ++hydrogenCount;
    }
    const int heavyCount = n - hydrogenCount - lanthanideCount;

    // The CI window reaches d orbitals below and u above the filled levels.
    int below = 30;
    int above = 31;
    QString dynalBlock = QStringLiteral("   0   0   6000  ");
    if (filledLevels > 60) {
        below = 60;
        above = 61;
        dynalBlock = QStringLiteral("   0   0   7000  ");
    } else if (filledLevels > 40) {
        below = 40;
        above = 41;
    }

    emitProgress(moduleText, QStringLiteral("Creating the output file."));
    QString text = QStringLiteral(" $TITLEI\n  cis calculation ( for spectrum ) \n $END\n $CONTRL\n"
                                  " SCFTYP=RHF RUNTYP=CI ENTTYP=COORD UNITS=ANGS\n")
        + QStringLiteral(" DYNAL(1)= ") + QString::number(lanthanideCount) + right(4, QString::number(hydrogenCount))
        + right(4, QString::number(heavyCount)) + dynalBlock + QString::number(filledLevels + above)
        + QStringLiteral("\n ONAME=lixo VEC=9 IPRINT=0 \n")
        + QStringLiteral(" NAT= ") + QString::number(n) + QStringLiteral(" NEL= ") + QString::number(2 * filledLevels)
        + QStringLiteral(" MULT=1  ITMAX=200  SCFTOL=0.00001  IAPX=3  INTTYP=1\n")
        + QStringLiteral(" INTFA(1)= 1.0  1.2675  0.585  1.0  1.0  1.0\n $END\n $DATAIN\n");
    const Coord origin = molecule.getCoord(1);
    for (int i = 1; i <= n; ++i) {
        const Coord atom = molecule.getCoord(i);
        text += fixed(11, 6, atom.x - origin.x) + fixed(11, 6, atom.y - origin.y) + fixed(11, 6, atom.z - origin.z)
            + right(5, QString::number(atomicNumbers.at(i)));
        if (atomicNumbers.at(i) == 0)
            text += right(11, QStringLiteral("3.000000"));
        text += QLatin1Char('\n');
    }
    const QString f = QString::number(filledLevels);
    text += QStringLiteral(" $END\n $CIINPU \n"
                           "    4    1  100    1    1    1    0    1    1    1  100\n"
                           "   -60000.   0.0\n"
                           "    0    0    0    0    0    0    0    0    0\n")
        + QStringLiteral("00001") + right(5, f) + right(5, f) + right(5, QStringLiteral("0")) + QLatin1Char('\n')
        + QStringLiteral("00021") + right(5, QString::number(filledLevels - below)) + right(5, f)
        + right(5, QString::number(filledLevels + 1)) + right(5, QString::number(filledLevels + above))
        + QStringLiteral("\n $END\n");

    if (!writeFile(inpFile, text))
        return false;
    emitProgress(moduleText, QStringLiteral("Conversion from .out file to .inp file finished successfully."));
    return true;
}

QString OrvaneFilesConverter::pointChargesText(const OrvaneInputData& molecule, int& counter) const
{
    QString lines;
    for (int i = 1; i <= molecule.getAtomsNumber(); ++i) {
        if (!lanthanides.contains(molecule.getAtomLabel(i)))
            continue;
        const Coord atom = molecule.getCoord(i);
        lines += left(4, QStringLiteral("3.0")) + fixed(10, 4, atom.x) + fixed(10, 4, atom.y)
            + fixed(10, 4, atom.z) + QLatin1Char('\n');
        ++counter;
    }
    return QString::number(counter) + QLatin1Char('\n') + lines;
}

bool OrvaneFilesConverter::convertFromOutToInpOrca(const QString& orcaFile, bool triplets, bool energyWindow,
    int occupied, int virtuals, int roots, QString pointChargeFile)
{
    emitProgress(moduleText, QStringLiteral("Conversion from .out file to .orcinp file"));

    // The side files are named after the input by its final suffix; a name
    // that already carries one of their suffixes would make the input and a
    // side file the same file.
    const QString orcaOutput = OrvaneFileNames::withFinalSuffix(orcaFile, QStringLiteral("orcout"));
    const QString derivedCharges = OrvaneFileNames::withFinalSuffix(orcaFile, QStringLiteral("pointcharge"));
    const QString chargesFile = pointChargeFile.isEmpty() ? derivedCharges : pointChargeFile;
    const QString inputPath = QFileInfo(orcaFile).absoluteFilePath();
    if (QFileInfo(orcaOutput).absoluteFilePath() == inputPath || QFileInfo(chargesFile).absoluteFilePath() == inputPath) {
        lastError = QStringLiteral("The ORCA input %1 would share its name with its point-charge file or with "
                                   "ORCA's output; give it the suffix .orcinp.")
                        .arg(orcaFile);
        return false;
    }

    double lowEnergy = 0.0;
    double highEnergy = 0.0;
    if (occupied != 0 && virtuals != 0) {
        OrvaneInputData earlier(nullptr, orcaOutput);
        if (!earlier.readMolecularOrbitalOccupancy()) {
            lastError = earlier.getLastError();
            return false;
        }
        const int homo = earlier.getHomoMO();
        const int lumo = earlier.getLumoMO();
        const int count = earlier.getMolecularOrbitalNumber();
        int lowPosition = homo - occupied + 1;
        int highPosition = lumo + virtuals - 1;
        if (homo - occupied < 1 || lumo + virtuals > count - 1) {
            lowPosition = 1;
            highPosition = count - 1;
        } else if (homo - occupied > lumo) {
            lastError = QStringLiteral("problema na defini\u00e7\u00e3o dos orbitais!");
            return false;
        }
        lowEnergy = earlier.getMolecularOrbital(lowPosition).energy;
        highEnergy = earlier.getMolecularOrbital(highPosition).energy;
        emitProgress(moduleText, QStringLiteral("Conversion from .orcout file to .orcinp file"));
    }

    OrvaneInputData molecule(nullptr, fileName);
    if (!readMopacOutput(molecule, true))
        return false;
    // The ligands' charge is written as an integer; a system charge no real
    // molecule has (a damaged output) must not reach that conversion.
    if (std::abs(molecule.getChargeOnSystem()) > maxSystemCharge) {
        lastError = QStringLiteral("The charge on the system, %1, read from %2 is not a charge a molecule can have.")
                        .arg(molecule.getChargeOnSystem())
                        .arg(fileName);
        return false;
    }

    QString text = QStringLiteral("!RHF ZINDO/S TightSCF DIIS PrintBasis\n");
    if (energyWindow)
        text += QStringLiteral("%method\n\tfrozencore fc_ewin\nend\n");
    text += QStringLiteral("%cis\n");
    if (energyWindow)
        text += QStringLiteral("\tewin ") + fixed(6, lowEnergy) + QLatin1Char(',') + fixed(6, highEnergy)
            + QLatin1Char('\n');
    text += QStringLiteral("\tnroots ") + QString::number(roots) + QLatin1Char('\n')
        + QStringLiteral("\tmaxdim ") + QString::number(4 * roots) + QLatin1Char('\n')
        + QStringLiteral("\tTriplets ") + (triplets ? QStringLiteral("true") : QStringLiteral("false"))
        + QStringLiteral("\nend\n%output\n\tprint[p_mos] 1\nend\n");

    int charges = 0;
    const QString chargesText = pointChargesText(molecule, charges);
    // ORCA looks for the file beside its input.
    const QString directive =
        QStringLiteral("%pointcharges \"") + QFileInfo(derivedCharges).fileName() + QStringLiteral("\"\n");
    const int ligandCharge = static_cast<int>(molecule.getChargeOnSystem() - 3.0 * charges);
    text += directive + QStringLiteral("*xyz ") + QString::number(ligandCharge) + QStringLiteral(" 1\n\n");
    for (int i = 1; i <= molecule.getAtomsNumber(); ++i) {
        const QString label = molecule.getAtomLabel(i);
        if (lanthanides.contains(label))
            continue;
        const Coord atom = molecule.getCoord(i);
        text += left(5, label) + fixed(10, 4, atom.x) + fixed(10, 4, atom.y) + fixed(10, 4, atom.z)
            + QLatin1Char('\n');
    }
    text += QLatin1Char('*');
    // The input and its point charges belong together: both or neither.
    QString reason;
    if (!OrvaneReportFile::writeAll({qMakePair(orcaFile, text), qMakePair(chargesFile, chargesText)}, reason)) {
        lastError = reason;
        return false;
    }
    return true;
}

bool OrvaneFilesConverter::convertFromOutToMop(const QString& mopFile)
{
    emitProgress(moduleText, QStringLiteral("Conversion from .out file to .mop file"));
    OrvaneInputData molecule(nullptr, fileName);
    if (!readMopacOutput(molecule, true))
        return false;
    const int n = molecule.getAtomsNumber();
    emitProgress(moduleText, readMessage.arg(n));
    emitProgress(moduleText, creatingMessage);

    QString text = QStringLiteral("AM1 PRECISE XYZ T=10D BFGS GNORM=0.25 +   \n"
                                  "NOLOG GEO-OK SCFCRT=1.D-10    \n")
        + fileName + QStringLiteral("\n\n");
    const QString flag = QStringLiteral(" 1");
    for (int i = 1; i <= n; ++i) {
        const Coord atom = molecule.getCoord(i);
        text += left(2, molecule.getAtomLabel(i)) + fixed(12, 4, atom.x) + flag + fixed(12, 4, atom.y) + flag
            + fixed(12, 4, atom.z) + flag + QLatin1Char('\n');
    }
    text += QStringLiteral("0\n");
    if (!writeFile(mopFile, text))
        return false;
    emitProgress(moduleText, createdMessage);
    return true;
}
