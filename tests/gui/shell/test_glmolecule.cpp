// The molecule viewer without pixels (offscreen platform, no OpenGL context):
// bond pieces, labels, mouse rotation and wheel, the projection frustum, and
// building and destroying a page that holds a viewer. The drawing itself is
// tested under Xvfb (tests/gui/shell/xvfb).

#include "../support/guitestsupport.h"
#include "../support/viewerinput.h"

#include "elementinfo.h"
#include "glmolecule.h"
#include "molecule.h"
#include "orvaneglut.h"

#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/") + name;
}

using ViewerInput::atomAt;

struct Vector3 {
    double x, y, z;
};

// Turns (0, 0, 1) by the piece's angle about its axis (Rodrigues' formula):
// the direction the drawn cylinder takes from its atom.
Vector3 pieceDirection(const BondCylinder& piece)
{
    const double norm = std::sqrt(double(piece.axis[0]) * piece.axis[0] + double(piece.axis[1]) * piece.axis[1]
        + double(piece.axis[2]) * piece.axis[2]);
    if (norm == 0.0)
        return {std::nan(""), std::nan(""), std::nan("")};
    const double kx = piece.axis[0] / norm, ky = piece.axis[1] / norm, kz = piece.axis[2] / norm;
    const double theta = piece.angle * M_PI / 180.0;
    const double c = std::cos(theta), s = std::sin(theta);
    // v = (0, 0, 1): v c + (k x v) s + k (k . v)(1 - c)
    return {ky * s + kx * kz * (1 - c), -kx * s + ky * kz * (1 - c), c + kz * kz * (1 - c)};
}

// Where the piece ends when drawn from its atom.
Vector3 pieceEnd(const Molecule& molecule, const BondCylinder& piece)
{
    const MoleculeAtom& atom = molecule.atoms.at(piece.atomIndex);
    const Vector3 d = pieceDirection(piece);
    return {atom.x + piece.length * d.x, atom.y + piece.length * d.y, atom.z + piece.length * d.z};
}

void expectAt(const Vector3& point, double x, double y, double z)
{
    EXPECT_NEAR(point.x, x, 1e-5);
    EXPECT_NEAR(point.y, y, 1e-5);
    EXPECT_NEAR(point.z, z, 1e-5);
}

using ViewerInput::drag;
using ViewerInput::sendMouse;
using ViewerInput::turnWheel;

} // namespace

TEST(ElementTable, EveryRowHasATwoCharacterSymbolAndAColourOfTheViewer)
{
    for (int z = 0; z < elementTableSize; ++z) {
        SCOPED_TRACE(z);
        EXPECT_EQ(std::strlen(elementTable[z].symbol), 2u);
        EXPECT_GE(elementTable[z].colorIndex, 0);
        EXPECT_LT(elementTable[z].colorIndex, 16);
    }
    EXPECT_STREQ(elementTable[0].symbol, "  ");
    // Outside the table an atom is drawn as row 0, never read out of bounds.
    EXPECT_EQ(&elementInfo(-1), &elementTable[0]);
    EXPECT_EQ(&elementInfo(104), &elementTable[0]);
    EXPECT_EQ(&elementInfo(63), &elementTable[63]);
}

TEST(GLMoleculePieces, OneCylinderForOneColourTwoHalvesOtherwise)
{
    struct Case {
        const char* name;
        int first;
        int second;
        Vector3 offset; // of the second atom from the first
    };
    const double s = std::sqrt(1.0 / 3.0);
    const Case cases[] = {
        {"C-C along x", 6, 6, {1.5, 0, 0}},
        {"C-C slanted", 6, 6, {0.8, -0.9, 0.7}},
        {"C-C along +z", 6, 6, {0, 0, 1.5}},
        {"C-C along -z", 6, 6, {0, 0, -1.5}},
        {"C-O slanted", 6, 8, {1.2 * s, 1.2 * s, -1.2 * s}},
        {"Eu-O along z", 63, 8, {0, 0, 2.4}},
        {"O-H", 8, 1, {-0.6, 0.75, 0}},
    };
    const Vector3 base{0.5, -1.0, 0.25};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Molecule molecule;
        molecule.atoms = {atomAt(c.first, base.x, base.y, base.z),
            atomAt(c.second, base.x + c.offset.x, base.y + c.offset.y, base.z + c.offset.z)};
        molecule.findBonds();
        ASSERT_EQ(molecule.bonds.size(), 1);
        GLMolecule view;
        view.setMolecule(&molecule);
        const QVector<BondCylinder>& pieces = view.getBondCylinders();
        const double length = std::sqrt(c.offset.x * c.offset.x + c.offset.y * c.offset.y + c.offset.z * c.offset.z);
        const MoleculeAtom& a = molecule.atoms.at(0);
        const MoleculeAtom& b = molecule.atoms.at(1);
        if (elementTable[c.first].colorIndex == elementTable[c.second].colorIndex) {
            // From the higher-numbered atom of the bond (1) to the other.
            ASSERT_EQ(pieces.size(), 1);
            EXPECT_EQ(pieces.at(0).atomIndex, 1);
            EXPECT_NEAR(pieces.at(0).length, length, 1e-5);
            expectAt(pieceEnd(molecule, pieces.at(0)), a.x, a.y, a.z);
        } else {
            // Each half from its own atom to the middle.
            ASSERT_EQ(pieces.size(), 2);
            EXPECT_EQ(pieces.at(0).atomIndex, 1);
            EXPECT_EQ(pieces.at(1).atomIndex, 0);
            for (const BondCylinder& piece : pieces) {
                EXPECT_NEAR(piece.length, length / 2, 1e-5);
                expectAt(pieceEnd(molecule, piece), (a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0);
            }
        }
    }
}

TEST(GLMoleculePieces, BoundingBoxAndModelsWithoutBonds)
{
    Molecule molecule;
    molecule.atoms = {atomAt(63, -1, 2, 3), atomAt(8, 4, -5, 0.5), atomAt(0, 0, 0, -6)};
    GLMolecule view;
    view.setMolecule(&molecule); // no bonds: no pieces
    EXPECT_TRUE(view.getBondCylinders().isEmpty());
    const float expected[6] = {-1, 4, -5, 2, -6, 3};
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(view.getBoundingBox()[i], expected[i]) << i;

    // Bonds naming atoms that are gone give no piece instead of reading past the atoms.
    molecule.bonds = {{5, 0}, {2, -1}};
    view.setMolecule(&molecule);
    EXPECT_TRUE(view.getBondCylinders().isEmpty());

    // A null model is stored; nothing else changes.
    molecule.bonds = {{1, 0}};
    view.setMolecule(&molecule);
    ASSERT_EQ(view.getBondCylinders().size(), 2);
    view.setMolecule(nullptr);
    EXPECT_TRUE(view.labelTexts().isEmpty());
    EXPECT_EQ(view.getBondCylinders().size(), 2);
}

TEST(GLMoleculeLabels, SymbolAndNumberForTheLeadingAtoms)
{
    Molecule molecule;
    molecule.atoms = {atomAt(63, 0, 0, 0), atomAt(8, 2.4, 0, 0), atomAt(6, 3, 1, 0), atomAt(0, 5, 0, 0),
        atomAt(17, -2, 0, 0)};
    GLMolecule view;
    EXPECT_FALSE(view.showLabels);
    EXPECT_EQ(view.labelCount, 0);
    EXPECT_TRUE(view.labelTexts().isEmpty()); // no model yet
    view.setMolecule(&molecule);

    struct Case {
        int labelCount;
        QStringList texts;
    };
    const QStringList all = {QStringLiteral("Eu1"), QStringLiteral("O2"), QStringLiteral("C3"), QStringLiteral("4"),
        QStringLiteral("Cl5")};
    const Case cases[] = {{0, all}, {3, all.mid(0, 3)}, {1, all.mid(0, 1)}, {5, all}, {9, all}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.labelCount);
        view.labelCount = c.labelCount;
        EXPECT_EQ(view.labelTexts(), c.texts);
    }
}

TEST(GLMoleculeMouse, DraggingTurnsOneDegreePerPixelAndWraps)
{
    struct Step {
        QPoint by;
        int rotationX;
        int rotationY;
    };
    struct Case {
        const char* name;
        QVector<Step> steps;
    };
    const Case cases[] = {
        {"right then past 360", {{{359, 0}, 0, 359}, {{2, 0}, 0, 1}}},
        {"down then past 360", {{{0, 359}, 359, 0}, {{0, 2}, 1, 0}}},
        // Below -360 in one step the remainder is negative; the next step,
        // whatever its size, adds 360 again.
        {"-400 in one step", {{{-400, 0}, 0, -40}, {{0, -400}, -40, 320}}},
        {"both axes", {{{30, -20}, 340, 30}, {{-30, 20}, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GLMolecule view;
        view.resize(200, 200);
        EXPECT_EQ(view.getRotationX(), 0);
        EXPECT_EQ(view.getRotationY(), 0);
        const QPoint start(100, 100);
        for (const Step& step : c.steps) {
            drag(&view, start, start + step.by);
            EXPECT_EQ(view.getRotationX(), step.rotationX);
            EXPECT_EQ(view.getRotationY(), step.rotationY);
        }
    }
}

TEST(GLMoleculeMouse, OnlyTheLeftButtonTurnsAndGrabs)
{
    GLMolecule view;
    view.resize(200, 200);
    EXPECT_EQ(view.cursor().shape(), Qt::OpenHandCursor);

    sendMouse(&view, QEvent::MouseButtonPress, QPoint(50, 50), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(view.cursor().shape(), Qt::OpenHandCursor);
    sendMouse(&view, QEvent::MouseMove, QPoint(80, 90), Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(view.getRotationX(), 0);
    EXPECT_EQ(view.getRotationY(), 0);
    sendMouse(&view, QEvent::MouseButtonRelease, QPoint(80, 90), Qt::RightButton, Qt::NoButton);

    sendMouse(&view, QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(view.cursor().shape(), Qt::ClosedHandCursor);
    // Successive steps count from the last position, not from the press.
    sendMouse(&view, QEvent::MouseMove, QPoint(60, 55), Qt::NoButton, Qt::LeftButton);
    sendMouse(&view, QEvent::MouseMove, QPoint(70, 50), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(view.getRotationX(), 0);
    EXPECT_EQ(view.getRotationY(), 20);
    sendMouse(&view, QEvent::MouseButtonRelease, QPoint(70, 50), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view.cursor().shape(), Qt::OpenHandCursor);
    // Moving without a button turns nothing.
    sendMouse(&view, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(view.getRotationY(), 20);
}

TEST(GLMoleculeMouse, WheelMovesTheSceneAlongZ)
{
    GLMolecule view;
    EXPECT_FLOAT_EQ(view.getZoom(), -40.0f);
    turnWheel(&view, 120); // one notch forward: 2.4 farther away
    EXPECT_FLOAT_EQ(view.getZoom(), -42.4f);
    turnWheel(&view, -240);
    EXPECT_FLOAT_EQ(view.getZoom(), -37.6f);
}

TEST(GLMoleculeProjection, ShorterSideSpansMinusOneToOneAtTheNearPlane)
{
    struct Case {
        int width, height;
        double left, right, bottom, top;
    };
    const Case cases[] = {
        {800, 400, -2, 2, -1, 1},
        {400, 800, -1, 1, -2, 2},
        {300, 300, -1, 1, -1, 1},
        {1000, 250, -4, 4, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const ViewFrustum f = GLMolecule::frustumFor(c.width, c.height);
        ASSERT_TRUE(f.valid);
        EXPECT_DOUBLE_EQ(f.left, c.left);
        EXPECT_DOUBLE_EQ(f.right, c.right);
        EXPECT_DOUBLE_EQ(f.bottom, c.bottom);
        EXPECT_DOUBLE_EQ(f.top, c.top);
        EXPECT_DOUBLE_EQ(f.nearPlane, 5.0);
        EXPECT_DOUBLE_EQ(f.farPlane, 200.0);
    }
    EXPECT_FALSE(GLMolecule::frustumFor(0, 300).valid);
    EXPECT_FALSE(GLMolecule::frustumFor(300, 0).valid);
}

TEST(GLMoleculeState, StyleBoxAndAxisFlags)
{
    GLMolecule view;
    EXPECT_EQ(view.getStyle(), GLMolecule::SpaceFilling);
    EXPECT_FALSE(view.isBoxVisible());
    EXPECT_FALSE(view.isAxisVisible());
    view.setStyle(GLMolecule::BallsAndSticks);
    EXPECT_EQ(view.getStyle(), GLMolecule::BallsAndSticks);
    // Reachable as a queued or string-based slot, as owners may connect it.
    EXPECT_TRUE(QMetaObject::invokeMethod(&view, "setStyle", Q_ARG(GLMolecule::Style, GLMolecule::Wire)));
    EXPECT_EQ(view.getStyle(), GLMolecule::Wire);
    view.showBox(true);
    view.showAxis(true);
    EXPECT_TRUE(view.isBoxVisible());
    EXPECT_TRUE(view.isAxisVisible());
}

// What later forms rely on: a page holding a model and a viewer lives and dies
// on the offscreen platform without a display or GLUT.
TEST(GLMoleculePage, BuiltUsedAndDestroyedWithoutADisplay)
{
    ScopedEnvironment display("DISPLAY", QByteArray());
    qunsetenv("DISPLAY");
    EXPECT_FALSE(OrvaneGlut::isInitialized());

    auto page = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(page.get());
    auto* view = new GLMolecule(page.get());
    layout->addWidget(view);
    Molecule molecule; // held by value, as the pages do
    page->resize(640, 480);
    page->show();

    ASSERT_TRUE(molecule.readMolecule(fixture(QStringLiteral("eu_h2o8_allvec.out")), Molecule::MopacOutputFile));
    view->showLabels = true;
    view->labelCount = 9;
    view->setStyle(GLMolecule::BallsAndSticks);
    view->setMolecule(&molecule);
    EXPECT_EQ(view->getBondCylinders().size(), 2 * 24); // every bond joins two colours
    for (int style = GLMolecule::SpaceFilling; style <= GLMolecule::Wire; ++style) {
        view->setStyle(static_cast<GLMolecule::Style>(style));
        view->updateGL();
        view->repaint();
    }
    view->showBox(true);
    view->showAxis(true);
    drag(view, QPoint(100, 100), QPoint(140, 70));
    turnWheel(view, 120);
    page->resize(300, 700);
    QApplication::processEvents();

    // Clearing the project: the owner empties the model and repaints.
    molecule.atoms.clear();
    molecule.bonds.clear();
    view->setMolecule(&molecule);
    view->updateGL();
    EXPECT_TRUE(view->getBondCylinders().isEmpty());
    page.reset();
    SUCCEED();
}

TEST(OrvaneGlut, RefusesWithoutADisplayAndTheProgramGoesOn)
{
    // Unset, empty, and naming a local server that does not run.
    const QByteArray displays[] = {QByteArray(), QByteArrayLiteral(""), QByteArrayLiteral(":99999")};
    for (const QByteArray& display : displays) {
        SCOPED_TRACE(display.isNull() ? std::string("unset") : "\"" + display.toStdString() + "\"");
        ScopedEnvironment environment("DISPLAY", display);
        if (display.isNull())
            qunsetenv("DISPLAY");
        EXPECT_FALSE(OrvaneGlut::displayAvailable());
        EXPECT_FALSE(OrvaneGlut::initialize());
        EXPECT_FALSE(OrvaneGlut::isInitialized());
    }
}
