#ifndef ORVANEFRMSETTHEORECTICALOMEGA_H
#define ORVANEFRMSETTHEORECTICALOMEGA_H

#include "ui_orvanefrmsettheorecticalomega.h"

#include <QFrame>
#include <QString>

// The theoretical intensity parameters Omega(2,4,6) and their forced electric
// dipole parts that the energy-transfer runs use, in 1e-20 cm^2: typed by the
// user or read from an .omega report (dropped, chosen, or named by the form).
class OrvaneFrmSetTheorecticalOmega : public QFrame
{
    Q_OBJECT
public:
    explicit OrvaneFrmSetTheorecticalOmega(QWidget* parent = nullptr);
    ~OrvaneFrmSetTheorecticalOmega() override;

    // All six values 0 and the grey drop hint in the file field.
    void clearValues();
    // Reads omegaFileName into the six boxes; a box whose key the report
    // lacks keeps its value.
    void readOmegaFile();

    static QString dropHint();

    Ui::OrvaneFrmSetTheorecticalOmega ui;

public slots:
    void on_lineEditOmgFile_textChanged(QString text);
    void on_btnOpenOmgFile_clicked();

private:
    void showDropHint();

    QString omegaFileName;
    QString lastDirectory;
};

#endif
