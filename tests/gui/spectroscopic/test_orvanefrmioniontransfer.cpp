// The ion-to-ion transfer form: lanthanide pairs of MOL2 files and MOPAC
// outputs, the choice of a pair, the four rates it computes and their bar
// chart. The rates themselves are checked against an independent evaluation
// in tests/engine/spectroscopy/test_orvaneioniontransfer.cpp; here the form
// must hand them the right ions, levels, mismatch and distance.

#include "../support/guitestsupport.h"
#include "orvanefixtures.h"

#include "mylineedit.h"
#include "orvanefrmioniontransfer.h"
#include "orvaneioniontransfer.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QUrl>

#include <qcustomplot.h>

#include <gtest/gtest.h>

using namespace OrvaneFixtures;

namespace {

struct Atom
{
    const char* name;
    double x, y, z;
};

QByteArray mol2(const QList<Atom>& atoms)
{
    QByteArray text = "@<TRIPOS>MOLECULE\nions\n " + QByteArray::number(atoms.size())
        + " 0 0 0 0\nSMALL\nNO_CHARGES\n\n@<TRIPOS>ATOM\n";
    int i = 0;
    for (const Atom& a : atoms)
        text += QStringLiteral("%1 %2 %3 %4 %5 X 1 UNL1 0.0\n")
                    .arg(++i)
                    .arg(QString::fromLatin1(a.name))
                    .arg(a.x, 0, 'f', 4)
                    .arg(a.y, 0, 'f', 4)
                    .arg(a.z, 0, 'f', 4)
                    .toLatin1();
    return text + "@<TRIPOS>BOND\n";
}

// Pairs at 10.004 (listed, as "10") and 10.006 Angstrom (not listed), two
// Eu-Tb pairs at 4.20 (one row), a Tb-Eu pair in that order, and a pair at 3.5.
const QList<Atom> pairAtoms = {
    {"Eu1", 0, 0, 0},   {"Tb2", 10.004, 0, 0}, {"Tb3", 0, 10.006, 0}, {"Eu4", 0, 0, 40},   {"Tb5", 4.2, 0, 40},
    {"Eu6", 0, 0, 80},  {"Tb7", 0, 4.2, 80},   {"Eu8", 0, 0, 120},    {"Tb9", 0, 0, 123.5}, {"Tb10", 0, 0, 160},
    {"Eu11", 0, 0, 165}, {"O12", 2.4, 0, 0},
};
const QStringList pairRows = {QStringLiteral("Eu   Tb   3.5"), QStringLiteral("Eu   Tb   4.2"),
                              QStringLiteral("Tb   Eu   5"), QStringLiteral("Eu   Tb   10")};

class IonIonForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<OrvaneFrmIonIonTransfer>();
        edit = form->findChild<MyLineEdit*>(QStringLiteral("edtInputFile"));
        pairs = form->findChild<QListWidget*>(QStringLiteral("listWidgetDistances"));
        donorIon = form->findChild<QComboBox*>(QStringLiteral("cbxDonorIon"));
        acceptorIon = form->findChild<QComboBox*>(QStringLiteral("cbxAcceptorIon"));
        donorLevels = form->findChild<QListWidget*>(QStringLiteral("listWidgetDonorLevels"));
        acceptorLevels = form->findChild<QListWidget*>(QStringLiteral("listWidgetAcceptorLevels"));
        distance = form->findChild<QDoubleSpinBox*>(QStringLiteral("dsbDistance"));
        halfWidthEu = form->findChild<QDoubleSpinBox*>(QStringLiteral("dsbHalfWidthEu"));
        halfWidthTb = form->findChild<QDoubleSpinBox*>(QStringLiteral("dsbHalfWidthTb"));
        plot = form->findChild<QCustomPlot*>(QStringLiteral("customPlot"));
        text = form->findChild<QPlainTextEdit*>(QStringLiteral("plainTextEdit"));
        ASSERT_TRUE(edit && pairs && donorIon && acceptorIon && donorLevels && acceptorLevels && distance
                    && halfWidthEu && halfWidthTb && plot && text);
    }

    QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(QLatin1String(name)); }
    QRadioButton* radio(const char* name) const { return form->findChild<QRadioButton*>(QLatin1String(name)); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        return writeFile(temp.filePath(name), bytes);
    }

    void drop(const QString& path) const
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        dragAndDrop(edit, data);
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int i = 0; i < pairs->count(); ++i)
            texts << pairs->item(i)->text();
        return texts;
    }

    // The title element in the top row of the plot's layout.
    QCPTextElement* title() const
    {
        return qobject_cast<QCPTextElement*>(plot->plotLayout()->element(0, 0));
    }

    void calculateAt(double angstrom)
    {
        distance->setValue(angstrom);
        button("btnCalculate")->click();
    }

    IsolatedTempFolder temp;
    std::unique_ptr<OrvaneFrmIonIonTransfer> form;
    MyLineEdit* edit = nullptr;
    QListWidget* pairs = nullptr;
    QComboBox* donorIon = nullptr;
    QComboBox* acceptorIon = nullptr;
    QListWidget* donorLevels = nullptr;
    QListWidget* acceptorLevels = nullptr;
    QDoubleSpinBox* distance = nullptr;
    QDoubleSpinBox* halfWidthEu = nullptr;
    QDoubleSpinBox* halfWidthTb = nullptr;
    QCustomPlot* plot = nullptr;
    QPlainTextEdit* text = nullptr;
};

} // namespace

TEST_F(IonIonForm, DroppedMol2ListsPairsWithin10AngstromOnceEachSortedByDistance)
{
    const QString file = write(QStringLiteral("pairs.mol2"), mol2(pairAtoms));
    drop(file);
    EXPECT_TRUE(radio("rdbMol2File")->isChecked());
    EXPECT_EQ(edit->text(), file);
    EXPECT_EQ(text->toPlainText().toUtf8(), contents(file));
    EXPECT_EQ(rows(), pairRows);

    // A second file replaces the pairs of the first.
    const QString other = write(QStringLiteral("other.mol2"), mol2({{"Tb1", 0, 0, 0}, {"Tb2", 0, 0, 6.25}}));
    drop(other);
    EXPECT_EQ(rows(), QStringList{QStringLiteral("Tb   Tb   6.25")});
}

TEST_F(IonIonForm, OpenedMopacOutputListsItsPairs)
{
    bool matched = false;
    const QByteArray euTb = variant(contents(dataPath(QStringLiteral("mopac/eu_gd_f7.out"))),
                                    {{"        Gd  ", "        Tb  "}, {"   Gd  ", "   Tb  "}}, &matched);
    ASSERT_TRUE(matched);
    const QString file = write(QStringLiteral("eu_tb.out"), euTb);
    DialogScript dialogs;
    dialogs.chooseFile(file);
    button("btnChooseMopacOut")->click();
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests().at(0).kind, OrvaneDialogs::Kind::OpenFileName);
    EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("Open MOPAC .out File"));
    EXPECT_EQ(dialogs.requests().at(0).filter, QStringLiteral("MOPAC .out File (*.out)"));
    EXPECT_EQ(edit->text(), file);
    EXPECT_EQ(rows(), QStringList{QStringLiteral("Eu   Tb   4.2")});

    // The MOL2 choice asks for a MOL2 file; cancelling changes nothing.
    radio("rdbMol2File")->setChecked(true);
    dialogs.cancel();
    button("btnChooseMopacOut")->click();
    ASSERT_EQ(dialogs.requests().size(), 2);
    EXPECT_EQ(dialogs.requests().at(1).title, QStringLiteral("Open MOL2 .mol2 File"));
    EXPECT_EQ(dialogs.requests().at(1).filter, QStringLiteral("MOL2 .mol2 File (*.mol2;*.ml2)"));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("Eu   Tb   4.2")});
}

TEST_F(IonIonForm, StructuresTheFormCannotUse)
{
    struct Case
    {
        const char* what;
        QString file;
        OrvaneDialogs::Kind kind;
        QString title;
        QString message; // empty: no message at all
    };
    const QString gd = dataPath(QStringLiteral("mopac/eu_gd_f7.out"));
    const QString noAtoms = write(QStringLiteral("empty.mol2"), "@<TRIPOS>MOLECULE\nnothing\n 0 0 0 0 0\n@<TRIPOS>ATOM\n");
    const Case cases[] = {
        {"Eu and Gd", gd, OrvaneDialogs::Kind::Information, QStringLiteral("ORVANE Information Message"),
         QStringLiteral("This ORVANE module works only for ion-ion energy transfer involving Eu+3 or Tb3+ ions.")},
        {"one lanthanide", write(QStringLiteral("one.mol2"), mol2({{"Eu1", 0, 0, 0}, {"O2", 2.4, 0, 0}})),
         OrvaneDialogs::Kind::Critical, QStringLiteral("ORVANE Error Message"),
         QStringLiteral("The provided structure contains only one lanthanide ion.")},
        {"no lanthanide", write(QStringLiteral("none.mol2"), mol2({{"O1", 0, 0, 0}, {"H2", 0.96, 0, 0}})),
         OrvaneDialogs::Kind::Information, QString(), QString()},
        {"no atoms", noAtoms, OrvaneDialogs::Kind::Critical, QStringLiteral("ORVANE Error Message"),
         QStringLiteral("The file ") + noAtoms + QStringLiteral(" coudn't not be read")},
        {"Eu, Tb and Gd",
         write(QStringLiteral("three.mol2"), mol2({{"Eu1", 0, 0, 0}, {"Tb2", 4, 0, 0}, {"Gd3", 0, 4, 0}})),
         OrvaneDialogs::Kind::Information, QStringLiteral("ORVANE Information Message"),
         QStringLiteral("This ORVANE module works only for ion-ion energy transfer involving Eu+3 or Tb3+ ions.")},
        {"unknown extension", write(QStringLiteral("pairs.xyz"), mol2(pairAtoms)), OrvaneDialogs::Kind::Warning,
         QStringLiteral("ORVANE Warning"),
         QStringLiteral("The desired file contains an unknown extension (xyz).\nPlease, try to open another file.")},
    };
    const QString listed = write(QStringLiteral("pairs.mol2"), mol2(pairAtoms));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drop(listed);
        ASSERT_EQ(rows(), pairRows);
        DialogScript dialogs;
        if (!c.message.isEmpty())
            dialogs.pressButton(QMessageBox::Ok);
        drop(c.file);
        ASSERT_EQ(dialogs.requests().size(), c.message.isEmpty() ? 0 : 1);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(dialogs.requests().at(0).kind, c.kind);
            EXPECT_EQ(dialogs.requests().at(0).title, c.title);
            EXPECT_EQ(dialogs.requests().at(0).text, c.message);
        }
        // Pairs of the previous file never stay beside a file that failed,
        // except when the new file was refused before being taken.
        if (c.kind == OrvaneDialogs::Kind::Warning)
            EXPECT_EQ(rows(), pairRows);
        else
            EXPECT_TRUE(rows().isEmpty()) << rows().join(QLatin1Char('|')).toStdString();
    }
}

TEST_F(IonIonForm, PressedRowChoosesDonorAcceptorAndDistance)
{
    drop(write(QStringLiteral("pairs.mol2"), mol2(pairAtoms)));
    struct Case
    {
        int row;
        int donor, acceptor;
        double R;
    };
    // Word 0 is the acceptor, word 1 the donor (item 0 Eu, item 1 Tb).
    const Case cases[] = {{1, 1, 0, 4.2}, {2, 0, 1, 5.0}, {3, 1, 0, 10.0}};
    QSignalSpy status(form.get(), &OrvaneFrmIonIonTransfer::newObjCalculationMessage);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        emit pairs->itemPressed(pairs->item(c.row));
        // The status line names both, so that a pair meant the other way is swapped.
        const QStringList words = pairs->item(c.row)->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString names[2] = {QStringLiteral("Eu (Europium III)"), QStringLiteral("Tb (Terbium III)")};
        ASSERT_FALSE(status.isEmpty());
        EXPECT_TRUE(status.last().at(0).toString().endsWith(
            QStringLiteral(" -> (Orvane Ion-to-Ion Energy Transfer) Pair %1 - %2 at %3 \u00C5: donor %4, acceptor %5; "
                           "to reverse the transfer, swap them in the Donor and Acceptor boxes.")
                .arg(words.at(0), words.at(1), words.at(2), names[c.donor], names[c.acceptor])))
            << status.last().at(0).toString().toStdString();
        EXPECT_EQ(donorIon->currentIndex(), c.donor);
        EXPECT_EQ(acceptorIon->currentIndex(), c.acceptor);
        EXPECT_DOUBLE_EQ(distance->value(), c.R);
        EXPECT_EQ(donorLevels->currentRow(), 0);
        EXPECT_EQ(acceptorLevels->currentRow(), 0);
        EXPECT_EQ(donorLevels->item(0)->text().left(2), c.donor == 0 ? QStringLiteral("7F") : QStringLiteral("5D"));
    }
}

TEST_F(IonIonForm, LevelListsHaveACurrentRowFromTheStartAndFollowTheIon)
{
    for (QListWidget* list : {donorLevels, acceptorLevels}) {
        ASSERT_GT(list->count(), 0);
        EXPECT_EQ(list->currentRow(), 0);
        for (int i = 0; i < list->count(); ++i)
            EXPECT_TRUE(list->item(i)->text().at(2).isDigit()) << list->item(i)->text().toStdString();
    }
    EXPECT_EQ(donorIon->itemText(0).section(QLatin1Char(' '), 0, 0), QStringLiteral("Eu"));
    EXPECT_EQ(donorIon->itemText(1).section(QLatin1Char(' '), 0, 0), QStringLiteral("Tb"));
    const QString tbFirst = donorLevels->item(0)->text();
    const QString euFirst = acceptorLevels->item(0)->text();
    donorIon->setCurrentIndex(0);
    EXPECT_EQ(donorLevels->item(0)->text(), euFirst);
    acceptorIon->setCurrentIndex(1);
    EXPECT_EQ(acceptorLevels->item(0)->text(), tbFirst);
    EXPECT_EQ(donorLevels->currentRow(), 0);
    EXPECT_EQ(acceptorLevels->currentRow(), 0);
}

TEST_F(IonIonForm, CalculateHandsTheEngineTheChosenIonsLevelsAndMismatch)
{
    namespace T = OrvaneIonIonTransfer;
    // Tb 5D4 donor, Eu acceptor in 7F0, then 7F1, then a level of another J;
    // then the reverse direction. Half-widths as typed.
    struct Case
    {
        int donorIon, donorRow, acceptorIon, acceptorRow;
        double gammaEu, gammaTb, R, delta;
    };
    const Case cases[] = {
        {1, 0, 0, 0, 410, 3250, 4.2, 3275}, {1, 0, 0, 1, 410, 3250, 6.0, 1541}, {1, 0, 0, 2, 500, 3000, 5.0, 0},
        {0, 1, 1, 0, 410, 3250, 3.9, 0},
    };
    for (const Case& c : cases) {
        donorIon->setCurrentIndex(c.donorIon);
        acceptorIon->setCurrentIndex(c.acceptorIon);
        donorLevels->setCurrentRow(c.donorRow);
        acceptorLevels->setCurrentRow(c.acceptorRow);
        halfWidthEu->setValue(c.gammaEu);
        halfWidthTb->setValue(c.gammaTb);
        calculateAt(c.R);
        const QString d = c.donorIon == 0 ? QStringLiteral("Eu") : QStringLiteral("Tb");
        const QString a = c.acceptorIon == 0 ? QStringLiteral("Eu") : QStringLiteral("Tb");
        const int jD = donorLevels->currentItem()->text().mid(2, 1).toInt();
        const int jA = acceptorLevels->currentItem()->text().mid(2, 1).toInt();
        SCOPED_TRACE((d + QString::number(jD) + " -> " + a + QString::number(jA)).toStdString());
        EXPECT_EQ(T::energyMismatch(d, a, jD, jA), c.delta);
        const T::Rates want = T::transferRates(T::ionConstants(d, jD, c.gammaEu, c.gammaTb), jD,
                                               T::ionConstants(a, jA, c.gammaEu, c.gammaTb), jA, c.delta, c.R);
        EXPECT_EQ(form->getTransferRates(), (QVector<double>{want.dd, want.qq, want.dq, want.ex}));
    }
}

TEST_F(IonIonForm, CalculateRefusesWhatWouldGiveInfiniteOrMeaninglessRates)
{
    struct Case
    {
        const char* what;
        std::function<void()> setUp;
        QString contains;
    };
    const Case cases[] = {
        {"no pair chosen yet", [] {}, QStringLiteral("distance R must be above 0")},
        {"no donor level", [this] { distance->setValue(4.2); donorLevels->setCurrentRow(-1); },
         QStringLiteral("Choose a level")},
        {"no acceptor level", [this] { distance->setValue(4.2); acceptorLevels->setCurrentRow(-1); },
         QStringLiteral("Choose a level")},
        {"zero Tb half-width", [this] { distance->setValue(4.2); halfWidthTb->setValue(0); },
         QStringLiteral("half-widths")},
        {"zero Eu half-width", [this] { distance->setValue(4.2); halfWidthEu->setValue(0); },
         QStringLiteral("half-widths")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form = std::make_unique<OrvaneFrmIonIonTransfer>();
        SetUp();
        c.setUp();
        DialogScript dialogs;
        dialogs.pressButton(QMessageBox::Ok);
        button("btnCalculate")->click();
        ASSERT_EQ(dialogs.requests().size(), 1);
        EXPECT_EQ(dialogs.requests().at(0).title, QStringLiteral("ORVANE Warning"));
        EXPECT_TRUE(dialogs.requests().at(0).text.contains(c.contains)) << dialogs.requests().at(0).text.toStdString();
        EXPECT_TRUE(form->getTransferRates().isEmpty());
        EXPECT_EQ(plot->plottableCount(), 0);
    }
    // A zero half-width of the ion not taking part does not matter.
    form = std::make_unique<OrvaneFrmIonIonTransfer>();
    SetUp();
    donorIon->setCurrentIndex(0);
    halfWidthTb->setValue(0);
    calculateAt(4.2);
    EXPECT_EQ(form->getTransferRates().size(), 4);
}

TEST_F(IonIonForm, BarChartOfTheFourRatesWithTitleTicksAndLabels)
{
    calculateAt(4.2);
    const QVector<double> rates = form->getTransferRates();
    ASSERT_EQ(rates.size(), 4);

    ASSERT_NE(title(), nullptr);
    EXPECT_EQ(title()->text(), QStringLiteral("Tb ") + donorLevels->currentItem()->text() + QStringLiteral(" <-> Eu ")
                                   + acceptorLevels->currentItem()->text());
    EXPECT_EQ(title()->font().pointSize(), 12);
    EXPECT_EQ(title()->font().weight(), 75);
    EXPECT_FALSE(title()->font().italic());

    ASSERT_EQ(plot->plottableCount(), 1);
    auto* bars = qobject_cast<QCPBars*>(plot->plottable(0));
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->keyAxis(), plot->yAxis);
    EXPECT_EQ(bars->valueAxis(), plot->xAxis);
    EXPECT_DOUBLE_EQ(bars->width(), 0.5);
    EXPECT_EQ(bars->brush().color(), QColor(QStringLiteral("#705BE8")));
    EXPECT_EQ(bars->brush().style(), Qt::SolidPattern);
    EXPECT_EQ(bars->pen().color(), QColor(Qt::black));
    ASSERT_EQ(bars->data()->size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bars->data()->at(i)->key, i + 1.0);
        EXPECT_EQ(bars->data()->at(i)->value, rates.at(i));
    }
    auto ticker = plot->yAxis->ticker().dynamicCast<QCPAxisTickerText>();
    ASSERT_FALSE(ticker.isNull());
    EXPECT_EQ(ticker->ticks().keys(), (QList<double>{1, 2, 3, 4}));
    EXPECT_FALSE(plot->yAxis->subTicks());

    const QString names[4] = {QStringLiteral("Wetdd = "), QStringLiteral("Wetqq = "), QStringLiteral("Wetdq = "),
                              QStringLiteral("Wetex = ")};
    const double largest = *std::max_element(rates.cbegin(), rates.cend());
    ASSERT_EQ(plot->itemCount(), 4);
    for (int i = 0; i < 4; ++i) {
        auto* label = qobject_cast<QCPItemText*>(plot->item(i));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), names[i] + QString::number(rates.at(i), 'e', 3) + QStringLiteral("s^-1"));
        EXPECT_FALSE(label->clipToAxisRect());
        EXPECT_DOUBLE_EQ(label->position->coords().x(), largest / 2.0);
        EXPECT_DOUBLE_EQ(label->position->coords().y(), i + 1.0);
        EXPECT_EQ(label->font().pointSize(), 10);
    }
    // Every bar is within the axes after the rescale.
    EXPECT_TRUE(plot->xAxis->range().contains(largest));
    EXPECT_TRUE(plot->yAxis->range().contains(1) && plot->yAxis->range().contains(4));

    // A second calculation replaces the chart instead of adding to it.
    calculateAt(5.0);
    EXPECT_EQ(plot->plottableCount(), 1);
    EXPECT_EQ(plot->itemCount(), 4);

    // Clear: empty chart and title, half-widths back to their reset values.
    halfWidthEu->setValue(100);
    halfWidthTb->setValue(200);
    button("btnClearProject")->click();
    EXPECT_EQ(plot->plottableCount(), 0);
    EXPECT_EQ(plot->itemCount(), 0);
    ASSERT_NE(title(), nullptr);
    EXPECT_TRUE(title()->text().isEmpty());
    EXPECT_EQ(halfWidthEu->value(), 410.0);
    EXPECT_EQ(halfWidthTb->value(), 3250.0);
}

TEST_F(IonIonForm, FindShowsTheFindBar)
{
    auto* bar = form->findChild<QWidget*>(QStringLiteral("OrvaneFrmSearching"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isHidden());
    button("btnFind")->click();
    EXPECT_FALSE(bar->isHidden());
}
