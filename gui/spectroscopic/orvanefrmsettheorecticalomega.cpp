#include "orvanefrmsettheorecticalomega.h"

#include "mylineedit.h"
#include "orvanedialogs.h"
#include "orvanefilenames.h"
#include "orvaneomegareportlines.h"
#include "orvanesettings.h"

#include <QDoubleSpinBox>
#include <QFileInfo>

namespace {

const QString lastDirectoryKey = QStringLiteral("lastDirectory");

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
    const QString extension = OrvaneFileNames::finalSuffix(text);
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
    OrvaneOmegaReport::Values values;
    QString reason;
    if (!OrvaneOmegaReport::read(omegaFileName, values, reason)) {
        OrvaneDialogs::warning(this, tr("ORVANE Message"), reason + QLatin1Char('\n') + omegaFileName);
        clearValues();
        return;
    }
    // A box whose key the report lacks keeps its value.
    QDoubleSpinBox* boxes[] = {ui.sbxOmega2,   ui.sbxOmega4,   ui.sbxOmega6,
                               ui.sbxOmegaED2, ui.sbxOmegaED4, ui.sbxOmegaED6};
    for (std::size_t k = 0; k < values.size(); ++k)
        if (values[k])
            boxes[k]->setValue(*values[k]);
}
