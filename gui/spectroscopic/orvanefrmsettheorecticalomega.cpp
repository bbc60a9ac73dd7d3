#include "orvanefrmsettheorecticalomega.h"

#include "mylineedit.h"
#include "orvanedialogs.h"
#include "orvanesettings.h"
#include "orvanetextreader.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>

namespace {

const QString lastDirectoryKey = QStringLiteral("lastDirectory");

// Why `fileName` cannot be read, in the system's words where it has some.
QString openFailureReason(const QString& fileName)
{
    const QFileInfo info(fileName);
    // A pipe or device would block or never end: never open one to ask.
    if (info.exists() && !info.isFile() && !info.isDir())
        return QStringLiteral("Not a regular file");
    QFile probe(fileName);
    if (probe.open(QIODevice::ReadOnly))
        return QStringLiteral("Not a regular file");
    return probe.errorString();
}

} // namespace

OrvaneFrmSetTheorecticalOmega::OrvaneFrmSetTheorecticalOmega(QWidget* parent)
    : QFrame(parent)
{
    ui.setupUi(this);
    lastDirectory = OrvaneSettings::value(lastDirectoryKey);
    showDropHint();
}

OrvaneFrmSetTheorecticalOmega::~OrvaneFrmSetTheorecticalOmega()
{
    if (!omegaFileName.isEmpty())
        OrvaneSettings::setValue(lastDirectoryKey, QFileInfo(omegaFileName).absolutePath());
}

QString OrvaneFrmSetTheorecticalOmega::dropHint()
{
    return QStringLiteral("Drag and drop a .omega file here OR click on button Open to open it");
}

void OrvaneFrmSetTheorecticalOmega::showDropHint()
{
    ui.lineEditOmgFile->setText(dropHint());
    ui.lineEditOmgFile->setStyleSheet(MyLineEdit::hintStyleSheet());
}

void OrvaneFrmSetTheorecticalOmega::clearValues()
{
    for (QDoubleSpinBox* box : findChildren<QDoubleSpinBox*>())
        box->setValue(0.0);
    showDropHint();
}

void OrvaneFrmSetTheorecticalOmega::on_lineEditOmgFile_textChanged(QString text)
{
    if (text.isEmpty() || text.contains(dropHint()))
        return;
    const QString name = QFileInfo(text).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    if (extension != QLatin1String("omega")) {
        clearValues();
        OrvaneDialogs::warning(this, tr("ORVANE Warning"),
                               tr("The desired file contains an unknown extension (") + extension
                                   + QLatin1Char(')'));
        return;
    }
    omegaFileName = text;
    readOmegaFile();
}

void OrvaneFrmSetTheorecticalOmega::on_btnOpenOmgFile_clicked()
{
    lastDirectory = OrvaneSettings::value(lastDirectoryKey);
    omegaFileName = OrvaneDialogs::openFileName(this, tr("Open .omega File"), lastDirectory,
                                                tr("omega File (*.omega)"));
    if (omegaFileName.isEmpty())
        return;
    // The same name again does not change the field, so read it here.
    if (ui.lineEditOmgFile->text() == omegaFileName)
        readOmegaFile();
    else
        ui.lineEditOmgFile->setText(omegaFileName);
}

void OrvaneFrmSetTheorecticalOmega::readOmegaFile()
{
    ui.lineEditOmgFile->setStyleSheet(QString());
    OrvaneLineReader reader(omegaFileName);
    if (!reader.isOpen()) {
        OrvaneDialogs::warning(this, tr("ORVANE Message"),
                               openFailureReason(omegaFileName) + QLatin1Char('\n') + omegaFileName);
        clearValues();
        return;
    }

    const struct
    {
        QLatin1String key;
        QDoubleSpinBox* box;
    } keys[] = {
        {QLatin1String("omega(2) ="), ui.sbxOmega2},     {QLatin1String("omega(4) ="), ui.sbxOmega4},
        {QLatin1String("omega(6) ="), ui.sbxOmega6},     {QLatin1String("omegaED(2) ="), ui.sbxOmegaED2},
        {QLatin1String("omegaED(4) ="), ui.sbxOmegaED4}, {QLatin1String("omegaED(6) ="), ui.sbxOmegaED6},
    };
    const QLatin1String lastKey("omegaED(6) =");

    QString line;
    while (reader.readLine(line)) {
        if (line.isEmpty())
            continue;
        // The report separates fields with blanks only.
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const auto& k : keys) {
            // The value is the third field; a shorter key line carries none.
            if (!line.contains(k.key) || fields.size() < 3)
                continue;
            QString value = fields.at(2).simplified();
            value.remove(QStringLiteral("e-20"));
            k.box->setValue(OrvaneText::toNumber(value));
        }
        if (line.contains(lastKey))
            break;
    }
}
