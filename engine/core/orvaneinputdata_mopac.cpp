// Readers of MOPAC outputs and inputs, Z-matrix files and Tripos MOL2 files.

#include "orvaneinputdata.h"

#include "orvanefilesconverter.h"
#include "orvanemarkerset.h"
#include "orvanetextreader.h"

#include <QStringList>

#include <cstring>

using OrvaneText::field;
using OrvaneText::integerField;
using OrvaneText::numberField;
using OrvaneText::splitFields;

namespace {

const QString noCartesianMessage = QStringLiteral("\nCannot find the cartesian coordinates from the desired .out file: \n");
const QString noOptimizedMessage =
    QStringLiteral("\nCannot find the optimized cartesian coordinates from the desired .out file: \n");
const QString checkFileMessage = QStringLiteral("\nCheck the file to identify the possible errors.");
const QString forceConstantMessage =
    QStringLiteral("There has been an error during read in force constant from Mopac output.");
const QString doesNotExist = QStringLiteral(" does not exist.");

struct FailureMarker {
    const char* marker;
    const char* text;
};

// Lines with which MOPAC reports a calculation that gave no usable geometry.
const FailureMarker failureMarkers[] = {
    {"UNABLE TO ACHIEVE SELF-CONSISTENCE",
        "\nThe following error was detected in the MOPAC output file: UNABLE TO ACHIEVE SELF-CONSISTENCE. \n"},
    {"THE CALCULATION IS BEING DUMPED TO DISK",
        "\nThe following error was detected in the MOPAC output file: THE CALCULATION IS BEING DUMPED TO DISK. \n"},
    {"++++----**** FAILED TO ACHIEVE SCF. ****----++++",
        "\nThe following error was detected in the MOPAC output file: ++++----**** FAILED TO ACHIEVE SCF. "
        "****----++++. \n"},
    {"No parameters read in from",
        "\nThe following error was detected in the MOPAC output file: No parameters read in from spk.inp \n"},
};

// The markers the body of readMopacOutFile tests: a line holding none of
// them only moves the reader on.
const OrvaneMarkerSet& bodyMarkers()
{
    static const OrvaneMarkerSet markers {"UNABLE TO ACHIEVE SELF-CONSISTENCE",
        "THE CALCULATION IS BEING DUMPED TO DISK", "++++----**** FAILED TO ACHIEVE SCF. ****----++++",
        "No parameters read in from", "FINAL HEAT OF FORMATION", "IONIZATION POTENTIAL", "SUM", "ATOM NO.   TYPE",
        "(ANGSTROMS)", "TOTAL CPU TIME", "TOTAL JOB TIME:", "CALCULATION RESULTS", "CARTESIAN COORDINATES"};
    return markers;
}

const OrvaneMarkerSet& headerMarkers()
{
    static const OrvaneMarkerSet markers {
        "Cite this program as:", "Cite this work as:", "CHARGE ON SYSTEM", "CARTESIAN COORDINATES"};
    return markers;
}

bool hasAnyOf(const OrvaneLineReader& reader, const OrvaneMarkerSet& markers)
{
    return markers.foundIn(reader.lineData(), reader.lineSize());
}

bool isAsciiBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A row of a Cartesian table split on its bytes as the text route splits it
// (simplified, stars removed, cut at blanks): the first five fields and the
// count. False when the bytes need the text route: a byte outside ASCII
// (white space beyond ASCII, decoding) or a star inside a field (its removal
// joins text).
struct CartesianRow {
    bool blank = true; // nothing but white space
    int count = 0;
    const char* start[5] = {};
    int size[5] = {};
};

bool splitCartesianRow(const char* bytes, int n, CartesianRow& row)
{
    int i = 0;
    while (i < n) {
        const char c = bytes[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
        if (isAsciiBlank(c)) {
            ++i;
            continue;
        }
        row.blank = false;
        int begin = i;
        while (i < n && !isAsciiBlank(bytes[i])) {
            if (static_cast<unsigned char>(bytes[i]) >= 0x80)
                return false;
            ++i;
        }
        int end = i;
        while (begin < end && bytes[begin] == '*')
            ++begin;
        while (end > begin && bytes[end - 1] == '*')
            --end;
        if (std::memchr(bytes + begin, '*', std::size_t(end - begin)))
            return false;
        if (end > begin) {
            if (row.count < 5) {
                row.start[row.count] = bytes + begin;
                row.size[row.count] = end - begin;
            }
            ++row.count;
        }
    }
    return true;
}

double rowNumber(const CartesianRow& row, int k)
{
    return k <= row.count && k <= 5 ? OrvaneText::toNumber(row.start[k - 1], row.size[k - 1]) : 0.0;
}

bool hasContinuationMark(const QString& keywordLine)
{
    return keywordLine.contains(QLatin1String(" + ")) || keywordLine.contains(QLatin1String(" +"));
}

QString withoutStars(QString text)
{
    return text.remove(QLatin1Char('*'));
}

// A MOL2 atom name without its serial number: "Eu1" -> "Eu", "C12" -> "C".
QString elementOfAtomName(const QString& name)
{
    int end = 0;
    while (end < name.size() && !(name.at(end) >= QLatin1Char('0') && name.at(end) <= QLatin1Char('9')))
        ++end;
    return name.left(end).trimmed();
}

// Sum of the atom counts that the MOLECULE records of a MOL2 file declare
// (first field of the second line after each record marker); 0 when none does.
int declaredMol2AtomCount(const QString& file)
{
    OrvaneLineReader reader(file);
    int total = 0;
    int linesAfterMarker = -1;
    while (reader.nextLine()) {
        if (reader.lineHas("@<TRIPOS>MOLECULE")) {
            linesAfterMarker = 0;
            continue;
        }
        if (linesAfterMarker >= 0 && ++linesAfterMarker == 2) {
            total += std::max(integerField(splitFields(reader.lineText()), 1), 0);
            linesAfterMarker = -1;
        }
    }
    return total;
}

} // namespace

bool OrvaneInputData::setCoordFromZMatrix(const QVector<CoordZMT>& rows, const QString& fileKind)
{
    // Replaces the Cartesian atoms; a Z-matrix that cannot be placed leaves them as they were.
    OrvaneFilesConverter converter;
    const QVector<Coord> atoms = converter.createXYZFromZMTCoord(rows);
    if (atoms.size() != rows.size()) {
        lastError += QStringLiteral("\nThe Z-matrix of the desired %1 file cannot be turned into "
                                    "cartesian coordinates: ")
                         .arg(fileKind)
            + converter.getLastError() + fileName;
        return false;
    }
    coord = atoms;
    return true;
}

bool OrvaneInputData::readMopacOutFile(const bool& keepTv)
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError += reader.openFailure(fileName + doesNotExist);
        return false;
    }
    const QString optimizedFailure = noOptimizedMessage + fileName + checkFileMessage;

    // Header: citation and charge, up to the first Cartesian table.
    QString line;
    while (reader.nextLine()) {
        if (!hasAnyOf(reader, headerMarkers()))
            continue;
        line = reader.lineText();
        const bool programCitation = line.contains(QLatin1String("Cite this program as:"));
        if (programCitation || line.contains(QLatin1String("Cite this work as:"))) {
            mopacCitation = QStringLiteral("MOPAC Program Reference\n\n");
            if (programCitation) {
                const QString next = reader.readLine();
                mopacCitation += QLatin1Char(' ') + withoutStars(line).simplified() + QLatin1Char(' ')
                    + withoutStars(next).simplified();
                mopacCitation.remove(QStringLiteral("Cite this program as:"));
            } else {
                reader.readLine();
                const QString first = reader.readLine();
                const QString second = reader.readLine();
                mopacCitation += QLatin1Char(' ') + withoutStars(first).simplified() + QLatin1Char(' ')
                    + withoutStars(second).simplified();
                mopacCitation.remove(QStringLiteral("(a) "));
                mopacCitation.remove(QLatin1Char('*'));
            }
            const int days = mopacCitation.indexOf(QLatin1String("Days"));
            if (days >= 0)
                mopacCitation.truncate(days);
            mopacCitation.replace(QStringLiteral("  "), QStringLiteral(" "));
        }
        if (line.contains(QLatin1String("CHARGE ON SYSTEM")))
            chargeOnSystem = OrvaneText::toNumber(line.split(QLatin1Char('='), Qt::SkipEmptyParts).value(1));
        if (line.contains(QLatin1String("CARTESIAN COORDINATES")))
            break;
    }
    if (reader.atEnd()) {
        lastError += noCartesianMessage + fileName + checkFileMessage;
        return false;
    }

    // Body: results and geometry tables up to an end marker.
    reader.readLine(line);
    for (;;) {
        for (const FailureMarker& failure : failureMarkers) {
            if (line.contains(QLatin1String(failure.marker))) {
                lastError += QString::fromLatin1(failure.text) + fileName;
                return false;
            }
        }
        if (line.contains(QLatin1String("FINAL HEAT OF FORMATION"))) {
            const QString part = line.split(QStringLiteral("   "), Qt::SkipEmptyParts).value(1);
            finalHeat = OrvaneText::toNumber(QString(part).remove(QStringLiteral("KCAL/MOL =")));
            if (finalHeat == 0.0)
                finalHeat = OrvaneText::toNumber(QString(part).remove(QStringLiteral("KCAL =")));
        }
        if (line.contains(QLatin1String("IONIZATION POTENTIAL"))) {
            const QString part = line.split(QStringLiteral("     "), Qt::SkipEmptyParts).value(1);
            ionPotential = OrvaneText::toNumber(QString(part).remove(QStringLiteral("EV")));
        }
        if (line.contains(QLatin1String("SUM"))) {
            const QStringList fields = splitFields(line);
            if (fields.size() != 5) {
                lastError += fileName + QStringLiteral("\nThere has been an error during read in dipole.");
                return false;
            }
            dipole = numberField(fields, 5);
        }
        if (line.contains(QLatin1String("ATOM NO.   TYPE"))) {
            // Net atomic charges; the line that ends the table is tested next.
            while (reader.readLine(line)) {
                const QStringList fields = splitFields(line);
                if (line.contains(QLatin1String("DIPOLE")) || fields.size() < 2)
                    break;
                atomicCharges.append(numberField(fields, 3));
            }
        }
        if (line.contains(QLatin1String("(ANGSTROMS)")) && line.contains(QLatin1String("SYMBOL"))) {
            const QString next = reader.readLine().simplified();
            if (!next.isEmpty() && next.contains(QLatin1String("NA")) && next.contains(QLatin1String("NB"))
                && next.contains(QLatin1String("NC"))) {
                QVector<CoordZMT> rows;
                while (reader.readLine(line)) {
                    line = withoutStars(line).simplified();
                    const QStringList fields = splitFields(line);
                    if (fields.isEmpty())
                        break;
                    CoordZMT row;
                    row.label = field(fields, 2).trimmed();
                    row.bond = numberField(fields, 3);
                    row.angle = numberField(fields, 4);
                    row.dihedral = numberField(fields, 5);
                    if (fields.size() >= 8) {
                        row.na = integerField(fields, 6);
                        row.nb = integerField(fields, 7);
                        row.nc = integerField(fields, 8);
                    }
                    rows.append(row);
                }
                if (!setCoordFromZMatrix(rows, QStringLiteral(".out")))
                    return false;
            } else if (next.isEmpty()) {
                // Rows are split on their bytes; a row that needs decoding
                // takes the text route. `line` ends as the simplified text of
                // the row that closed the table, tested below.
                for (;;) {
                    if (!reader.nextLine()) {
                        line.clear();
                        break;
                    }
                    CartesianRow row;
                    if (splitCartesianRow(reader.lineData(), reader.lineSize(), row)) {
                        if (row.blank) {
                            line.clear();
                            break;
                        }
                        if (reader.lineHas("*********")) {
                            lastError += optimizedFailure;
                            return false;
                        }
                        if (row.count < 3) {
                            line = reader.lineText().simplified();
                            break;
                        }
                        const QString label = QString::fromLatin1(row.start[1], row.size[1]);
                        if (keepTv || !label.contains(QLatin1String("Tv"))) {
                            Coord atom;
                            atom.label = label;
                            atom.x = rowNumber(row, 3);
                            atom.y = rowNumber(row, 4);
                            atom.z = rowNumber(row, 5);
                            coord.append(atom);
                        }
                        continue;
                    }
                    line = reader.lineText().simplified();
                    if (line.isEmpty())
                        break;
                    if (line.contains(QLatin1String("*********"))) {
                        lastError += optimizedFailure;
                        return false;
                    }
                    const QStringList fields = splitFields(withoutStars(line));
                    if (fields.size() < 3)
                        break;
                    const QString label = field(fields, 2).trimmed();
                    if (keepTv || !label.contains(QLatin1String("Tv"))) {
                        Coord atom;
                        atom.label = label;
                        atom.x = numberField(fields, 3);
                        atom.y = numberField(fields, 4);
                        atom.z = numberField(fields, 5);
                        coord.append(atom);
                    }
                }
            }
        }
        if (line.contains(QLatin1String("TOTAL CPU TIME")) || line.contains(QLatin1String("TOTAL JOB TIME:"))
            || line.contains(QLatin1String("CALCULATION RESULTS")))
            break;
        if (reader.atEnd()) {
            lastError += optimizedFailure;
            return false;
        }
        if (line.contains(QLatin1String("CARTESIAN COORDINATES")))
            break;
        // A line holding none of the markers above would only meet the end
        // test: such lines are passed over undecoded.
        for (;;) {
            if (!reader.nextLine()) {
                line.clear();
                break;
            }
            if (hasAnyOf(reader, bodyMarkers())) {
                line = reader.lineText();
                break;
            }
            if (reader.atEnd()) {
                lastError += optimizedFailure;
                return false;
            }
        }
    }

    // Older layouts print the final geometry only in the table after the marker.
    if (coord.isEmpty()) {
        for (int i = 0; i < 3; ++i)
            reader.readLine();
        while (reader.readLine(line) && !line.isEmpty()) {
            const QStringList fields = splitFields(line);
            const QString label = field(fields, 2).trimmed();
            if (!keepTv && label.contains(QLatin1String("Tv")))
                continue;
            Coord atom;
            atom.label = label;
            atom.x = numberField(fields, 3);
            atom.y = numberField(fields, 4);
            atom.z = numberField(fields, 5);
            coord.append(atom);
        }
    }
    atomsNumber = coord.size();
    if (reader.atEnd() || atomsNumber == 0) {
        lastError += optimizedFailure;
        return false;
    }
    reportProgress(QStringLiteral("Cartesian coordinates successfully loaded from the desired Mopac output file: \n")
        + fileName);
    return true;
}

bool OrvaneInputData::readForceConstant(const QString& mopacOutput, const int& n)
{
    // Rebuilt on every call: the intensity calculation reads the same record
    // repeatedly, and entry i must stay the force constant of atom i.
    forceConstant.clear();
    OrvaneLineReader reader(mopacOutput);
    if (!reader.isOpen()) {
        lastError += reader.openFailure(mopacOutput + doesNotExist);
        return false;
    }
    QString line;
    bool found = false;
    while (reader.readLine(line)) {
        if (line.contains(QLatin1String("FORCE MATRIX IN MILLIDYNES/ANGSTROM"))) {
            found = true;
            break;
        }
    }
    if (!found) {
        lastError = forceConstantMessage;
        return false;
    }
    // Two blank lines, the column header and a dashed line.
    for (int i = 0; i < 4; ++i)
        reader.readLine();

    QVector<double> values{0.0};
    const qint64 rows = qint64(n) + 1;
    for (qint64 atom = 1; atom <= rows; ++atom) {
        // A row of another atom (or none) means the matrix is cut short or
        // holds fewer atoms than asked for.
        const bool read = reader.readLine(line);
        const QStringList fields = splitFields(line);
        if (!read || fields.size() < 3 || integerField(fields, 2) != atom) {
            lastError = forceConstantMessage
                + QStringLiteral(" \nThe force matrix has no row for atom %1: \n").arg(atom) + mopacOutput;
            return false;
        }
        values.append(numberField(fields, 3));
    }
    forceConstant = values;
    return true;
}

QString OrvaneInputData::getTypeOfGeometryFromMopFile(const QString& file)
{
    OrvaneLineReader reader(file);
    if (!reader.isOpen()) {
        lastError += reader.openFailure(file + doesNotExist);
        return QString();
    }
    QString line = reader.readLine();
    if (hasContinuationMark(line))
        reader.readLine();
    for (int i = 0; i < 3; ++i)
        line = reader.readLine();
    return splitFields(line).size() > 8 ? QStringLiteral("ZMT") : QStringLiteral("XYZ");
}

bool OrvaneInputData::readMopFile()
{
    const QString kind = getTypeOfGeometryFromMopFile(fileName);
    if (kind.isEmpty())
        return false;
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError += reader.openFailure(fileName + doesNotExist);
        return false;
    }

    if (hasContinuationMark(reader.readLine()))
        reader.readLine();
    reader.readLine(); // title
    const QStringList items = reader.readLine().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        const QStringList parts = item.split(QLatin1Char('='), Qt::SkipEmptyParts);
        if (parts.size() < 2)
            continue;
        const double value = OrvaneText::toNumber(parts.at(1));
        if (item.contains(QLatin1String("DHF")))
            finalHeat = value;
        if (item.contains(QLatin1String("PI")))
            ionPotential = value;
        if (item.contains(QLatin1String("DIP")))
            dipole = value;
    }

    QString line;
    if (kind == QLatin1String("ZMT")) {
        QVector<CoordZMT> rows;
        while (reader.readLine(line)) {
            const QStringList fields = splitFields(line);
            // "0" closes the atoms in the Cartesian layout; here it is no atom either.
            if (fields.isEmpty() || fields.first() == QLatin1String("0"))
                break;
            CoordZMT row;
            row.label = field(fields, 1).trimmed();
            row.bond = numberField(fields, 2);
            row.angle = numberField(fields, 4);
            row.dihedral = numberField(fields, 6);
            if (fields.size() >= 8) {
                row.na = integerField(fields, 8);
                row.nb = integerField(fields, 9);
                row.nc = integerField(fields, 10);
            }
            rows.append(row);
        }
        if (!setCoordFromZMatrix(rows, QStringLiteral(".mop")))
            return false;
    } else {
        int row = 0;
        while (reader.readLine(line)) {
            if (line.simplified().isEmpty())
                break;
            const QStringList fields = splitFields(line);
            if (fields.first() == QLatin1String("0"))
                break;
            ++row;
            Coord atom;
            atom.label = fields.first().trimmed();
            if (fields.size() == 7) {
                atom.x = numberField(fields, 2);
                atom.y = numberField(fields, 4);
                atom.z = numberField(fields, 6);
            } else if (fields.size() == 4) {
                atom.x = numberField(fields, 2);
                atom.y = numberField(fields, 3);
                atom.z = numberField(fields, 4);
            } else {
                // Taking another atom's place would put two atoms on one spot.
                lastError += QStringLiteral("\nThe atom row %1 of the desired .mop file has %2 fields; a cartesian "
                                            "row has 4 (label, x, y, z) or 7 (label, x, flag, y, flag, z, flag): \n")
                                 .arg(row)
                                 .arg(fields.size())
                    + fileName;
                return false;
            }
            coord.append(atom);
        }
    }
    atomsNumber = coord.size();
    return true;
}

bool OrvaneInputData::readZmtFile()
{
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(fileName + doesNotExist);
        return false;
    }
    if (hasContinuationMark(reader.readLine()))
        reader.readLine();
    reader.readLine(); // title
    reader.readLine(); // comment

    QString line;
    while (reader.readLine(line)) {
        const QStringList fields = splitFields(line);
        if (fields.size() < 2)
            break;
        CoordZMT row;
        row.label = field(fields, 1).trimmed();
        row.bond = numberField(fields, 2);
        row.angle = numberField(fields, 4);
        row.dihedral = numberField(fields, 6);
        row.na = integerField(fields, 8);
        row.nb = integerField(fields, 9);
        row.nc = integerField(fields, 10);
        coordZMT.append(row);
    }
    atomsNumber = coordZMT.size();
    return true;
}

int OrvaneInputData::calculateResiduesNumber(const QString& file)
{
    OrvaneLineReader reader(file);
    int sections = 0;
    while (reader.nextLine())
        if (reader.lineHas("@<TRIPOS>ATOM"))
            ++sections;
    return sections;
}

bool OrvaneInputData::readMol2File()
{
    const int sections = calculateResiduesNumber(fileName);
    OrvaneLineReader reader(fileName);
    if (!reader.isOpen()) {
        lastError = reader.openFailure(fileName + doesNotExist);
        return false;
    }

    const int atomsBefore = coord.size();
    for (int section = 0; section < sections; ++section) {
        // Markers are found on the bytes; only atom lines are decoded.
        bool inSection = false;
        while (!inSection && reader.nextLine())
            inSection = reader.lineHas("@<TRIPOS>ATOM");
        while (reader.nextLine() && !reader.lineHas("@<TRIPOS>")) {
            const QStringList fields = splitFields(reader.lineText());
            if (fields.isEmpty())
                continue; // a blank line is no atom at the origin
            Coord atom;
            atom.label = elementOfAtomName(field(fields, 2));
            atom.x = numberField(fields, 3);
            atom.y = numberField(fields, 4);
            atom.z = numberField(fields, 5);
            coord.append(atom);
        }
    }
    if (reader.atEnd()) {
        // An atom section may close the file; it is whole when it holds the
        // atoms that the MOLECULE records declare (when they declare any).
        const int atomsRead = coord.size() - atomsBefore;
        const int declared = declaredMol2AtomCount(fileName);
        if (atomsRead == 0) {
            lastError = QStringLiteral("error");
            return false;
        }
        if (declared > 0 && atomsRead != declared) {
            lastError = QStringLiteral("error") + QStringLiteral("\nThe desired .mol2 file ends after %1 of its %2 atoms: \n")
                                                      .arg(atomsRead)
                                                      .arg(declared)
                + fileName;
            return false;
        }
    }
    atomsNumber = coord.size();
    return true;
}
