#ifndef ORVANEFRMNONRADIATIVERATECALCULATION_H
#define ORVANEFRMNONRADIATIVERATECALCULATION_H

#include "abstractobjcalculationwidget.h"

#include <QString>

#include <memory>

class OrvaneFrmSearching;
class QPlainTextEdit;

namespace Ui {
class OrvaneFrmNonRadiativeRateCalculation;
}

// Non-radiative rate Anrad of the 5D0 level of a Eu(III) complex from its
// radiative rate Arad by the engine's empirical law. Arad is computed from a
// MOPAC output and the output holding its force constants, or typed. The two
// files are shown in tabs with a find bar.
class OrvaneFrmNonRadiativeRateCalculation : public AbstractObjCalculationWidget
{
    Q_OBJECT
public:
    explicit OrvaneFrmNonRadiativeRateCalculation(QWidget* parent = nullptr);
    ~OrvaneFrmNonRadiativeRateCalculation() override;

public slots:
    // true shows the find bar under the tabs, false hides it.
    void handleFrmSearching(bool addFrmSearching);
    // Follows the current tab: the find bar searches its text.
    void setPlainTextEdit(int index);

private slots:
    void on_rdbCalcArad_clicked(bool isChecked);
    void on_rdbSetArad_clicked(bool isChecked);
    void on_btnChooseMopacOut_clicked();
    void on_btnChooseMopacForce_clicked();
    void on_btnCalculate_clicked();
    void on_btnFind_clicked();

private:
    // index 0 the MOPAC output, 1 the force-constant output; a page that does
    // not exist yet is added with the title.
    void loadFileIntoTab(const QString& fileName, const QString& title, const int& index);
    void setFileControlsEnabled(bool enabled);

    std::unique_ptr<Ui::OrvaneFrmNonRadiativeRateCalculation> ui;
    OrvaneFrmSearching* frmSearching = nullptr;
    QPlainTextEdit* currentTextView = nullptr;
    QString mopacOutFile;
    QString forceFile;
};

#endif
