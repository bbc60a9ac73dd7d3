// Side-file readers and the test of QDC model parameters against a complex,
// bounded exactly as the QDC fit bounds its trial points.

#include "orvaneinputdata.h"

#include "orvaneeu3model.h"
#include "orvanefilenames.h"
#include "orvanefitbounds.h"
#include "orvanetextreader.h"

using OrvaneText::integerField;
using OrvaneText::numberField;
using OrvaneText::splitFields;

namespace {

// Labels of atoms 2..n+1, entry k for atom k + 2; atoms the record lacks
// have empty labels.
QStringList donorLabels(const OrvaneInputData& molecule, int n)
{
    QStringList labels;
    for (int i = 2; i <= n + 1; ++i)
        labels.append(molecule.getAtomLabel(i));
    return labels;
}

// Checks atom by atom with the bounds of the QDC fit, which an element
// without bounds of its own takes from the atom before.
class DonorBounds
{
public:
    explicit DonorBounds(const QStringList& labels)
        : labels(labels)
    {
    }
    // Atom i (2..n+1) with charge factor g and polarisability alpha in 1e-24 cm3.
    bool accepts(int i, double g, double alpha)
    {
        bounds = OrvaneFitBounds::qdcFit(labels.value(i - 2), i > 2 ? &bounds : nullptr);
        return OrvaneFitBounds::within(bounds, g, alpha);
    }

private:
    QStringList labels;
    OrvaneFitBounds::Bounds bounds;
};

// The line reader decodes a Latin-1 "Á" (files from Windows machines) and a
// UTF-8 one alike.
bool isAtomMarker(const QString& line)
{
    return line.contains(QStringLiteral("\u00c1tomo:"));
}

} // namespace

bool OrvaneInputData::checkParametersQDC(const QString& mopacOutput, const QVector<float>& charges,
    const QVector<float>& superdelocalizabilities, const int& n, const double* qdc)
{
    // A count the ion cannot hold would build its lists without end.
    if (qdc == nullptr || n < 0 || n > OrvaneEu3Model::maxCoordNumber)
        return false;
    QStringList labels;
    {
        OrvaneInputData molecule(nullptr, mopacOutput);
        molecule.readMopacOutFile(true);
        labels = donorLabels(molecule, n);
    }
    DonorBounds bounds(labels);
    for (int i = 2; i <= n + 1; ++i) {
        const double g = qdc[0] * charges.value(i);
        const double alpha = qdc[1] * superdelocalizabilities.value(i) + qdc[2];
        if (!bounds.accepts(i, g, alpha))
            return false;
    }
    return true;
}

bool OrvaneInputData::readFileIndeces(const QString& indicesFile, const int& n, const double* qdc, int flag)
{
    if (qdc == nullptr || n > OrvaneEu3Model::maxCoordNumber)
        return false;
    QStringList labels;
    {
        OrvaneInputData molecule(nullptr, OrvaneFileNames::withFinalSuffix(indicesFile, QStringLiteral("mop")));
        molecule.readMopFile();
        labels = donorLabels(molecule, n);
    }
    // A missing indices file holds no values to pass the test with.
    OrvaneLineReader reader(indicesFile);
    if (!reader.isOpen())
        return false;
    reader.readLine();
    if (n < 1)
        return true;
    DonorBounds bounds(labels);
    QString line;
    for (int i = 2; i <= n + 1; ++i) {
        reader.readLine(line);
        if (line.isEmpty())
            return true;
        const QStringList fields = splitFields(line);
        const double g = qdc[0] * numberField(fields, 2);
        double alpha = qdc[1] * numberField(fields, 4);
        if (flag == 0)
            alpha += qdc[2];
        if (!bounds.accepts(i, g, alpha))
            return false;
    }
    return true;
}

int OrvaneInputData::numberOfAtomsFromXYZFile(const QString& xyzFile)
{
    OrvaneLineReader reader(xyzFile);
    return OrvaneText::toInteger(reader.readLine());
}

QString OrvaneInputData::readMolNameFile(QString& folder, QString& name, QStringList& labels, QVector<int>& first,
    QVector<int>& second)
{
    const QString file = folder + QStringLiteral("/mol_name.txt");
    OrvaneLineReader reader(file);
    if (!reader.isOpen())
        return reader.openFailure(file + QStringLiteral(" does not exist."));

    QString line;
    bool found = false;
    while (!found && reader.readLine(line))
        found = isAtomMarker(line);
    if (!found)
        return file + QStringLiteral(" holds no line with \"\u00c1tomo:\".");
    name = OrvaneText::field(splitFields(line), 2);

    const int structures = OrvaneText::toInteger(reader.readLine().split(QLatin1Char(':'), Qt::SkipEmptyParts).value(1));
    if (structures == 0)
        return QStringLiteral("Number of structures equal to 0, there has probably been an error.");
    reader.readLine();
    for (int s = 0; s < structures && reader.readLine(line); ++s) {
        const QStringList parts = line.split(QLatin1Char(','), Qt::SkipEmptyParts);
        const int secondNumber = OrvaneText::toInteger(parts.value(2));
        if (secondNumber == 0)
            continue;
        labels.append(parts.value(0).trimmed());
        first.append(OrvaneText::toInteger(parts.value(1)));
        second.append(secondNumber);
    }
    return QString();
}
