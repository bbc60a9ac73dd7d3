#ifndef ORVANEFRMSETPARAMETERSQDC_H
#define ORVANEFRMSETPARAMETERSQDC_H

#include "ui_orvanefrmsetparametersqdc.h"

#include <QWidget>

// The coordination number and the QDC parameters Q, D and C of a calculation
// with given QDC values.
class OrvaneFrmSetParametersQDC : public QWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmSetParametersQDC(QWidget* parent = nullptr);
    ~OrvaneFrmSetParametersQDC() override;

    Ui::OrvaneFrmSetParametersQDC ui;

signals:
    void valueChanged(int i);

public slots:
    void on_sbxCoordNumber_valueChanged(int i);
};

#endif
