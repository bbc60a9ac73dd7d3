// The molecule viewer drawn by Mesa under Xvfb: colours, styles, labels,
// box and axes, rotation and wheel, the projection, and when it redraws.
// Screenshots of each style are written to the build tree for a look by eye.

#include "../../support/guitestsupport.h"
#include "../../support/viewerinput.h"

#include "glmolecule.h"
#include "molecule.h"
#include "orvaneglut.h"

#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(ORVANE_TEST_DATA_DIR "/mopac/") + name;
}

QString artifact(const QString& name)
{
    QDir().mkpath(QStringLiteral(ORVANE_TEST_ARTIFACT_DIR));
    return QStringLiteral(ORVANE_TEST_ARTIFACT_DIR "/") + name;
}

constexpr int viewSize = 400;

// Counts its paints; the drawing is the viewer's own. Frames are read from
// the back buffer, which a swap leaves undefined (after a resize Mesa hands
// out a fresh one), so this view draws without swapping.
class CountingView : public GLMolecule
{
public:
    CountingView() { setAutoBufferSwap(false); }
    int paints = 0;

protected:
    void paintGL() override
    {
        ++paints;
        GLMolecule::paintGL();
    }
};

// A shown viewer of the [Eu(H2O)8]3+ complex optimised by MOPAC.
class ViewerFixture
{
public:
    ViewerFixture()
    {
        loaded = molecule.readMolecule(fixture(QStringLiteral("eu_h2o8_allvec.out")), Molecule::MopacOutputFile);
        view.resize(viewSize, viewSize);
        view.show();
        exposed = QTest::qWaitForWindowExposed(&view) && view.isValid();
        view.setMolecule(&molecule);
    }
    QImage frame()
    {
        view.updateGL();
        return view.grabFrameBuffer().convertToFormat(QImage::Format_RGB32);
    }

    Molecule molecule;
    CountingView view;
    bool loaded = false;
    bool exposed = false;
};

#define ASSERT_VIEWER_READY(f)                                                                           \
    ASSERT_TRUE((f).loaded) << (f).molecule.getLastError().toStdString();                                \
    ASSERT_TRUE((f).exposed) << "no OpenGL window: run under xvfb-run with QT_QPA_PLATFORM=xcb"

int countPixels(const QImage& image, const std::function<bool(QRgb)>& test)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool isBlack(QRgb p)
{
    return qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 0;
}

bool isExactly(QRgb p, int r, int g, int b)
{
    return qRed(p) == r && qGreen(p) == g && qBlue(p) == b;
}

// Deep pink (255, 20, 147) under any lighting: red strong, blue clear, green faint.
bool isLitPink(QRgb p)
{
    return qRed(p) > 180 && qGreen(p) < 40 && qBlue(p) > 100;
}

// Oxygen red (240, 0, 0) under any lighting.
bool isLitRed(QRgb p)
{
    return qRed(p) > 120 && qGreen(p) < 20 && qBlue(p) < 20;
}

bool isLitWhite(QRgb p)
{
    return qRed(p) > 200 && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
}

void expectBlackCorners(const QImage& image)
{
    const int w = image.width() - 1, h = image.height() - 1;
    for (const QPoint& corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
        EXPECT_TRUE(isBlack(image.pixel(corner))) << corner.x() << "," << corner.y();
}

// Pixels that differ between two frames of one size.
QVector<QPoint> differences(const QImage& a, const QImage& b)
{
    QVector<QPoint> points;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                points << QPoint(x, y);
    return points;
}

using ViewerInput::drag;
using ViewerInput::sendMouse;
using ViewerInput::turnWheel;

} // namespace

// Runs first, before any test initialises GLUT: labels asked for are simply
// not drawn (freeglut would end the process on the first character).
TEST(GLMoleculeWithoutGlut, LabelsAreLeftOutInsteadOfEndingTheProgram)
{
    if (OrvaneGlut::isInitialized())
        GTEST_SKIP() << "GLUT was initialised by an earlier test";
    ViewerFixture f;
    ASSERT_VIEWER_READY(f);
    f.view.setStyle(GLMolecule::BallsAndSticks);
    const QImage plain = f.frame();
    f.view.showLabels = true;
    EXPECT_EQ(f.frame(), plain);
}

class GLMoleculePixels : public testing::Test
{
protected:
    static void SetUpTestSuite() { glutReady = OrvaneGlut::initialize(); }
    void SetUp() override { ASSERT_TRUE(glutReady) << "GLUT needs the X display that xvfb-run provides"; }
    static bool glutReady;
};
bool GLMoleculePixels::glutReady = false;

// Lit colours follow from the fixed-function defaults: light 0 shines along
// the view axis with diffuse 1, the scene ambient is 0.2, material ambient and
// diffuse are the atom colour. A surface facing the viewer shows 1.2 times the
// colour, clamped: deep pink (255, 20, 147) gives (255, 24, 176).
TEST_F(GLMoleculePixels, EachStyleShowsTheComplexOnBlack)
{
    ViewerFixture f;
    ASSERT_VIEWER_READY(f);
    struct Case {
        GLMolecule::Style style;
        const char* name;
    };
    const Case cases[] = {
        {GLMolecule::SpaceFilling, "space_filling"},
        {GLMolecule::BallsAndSticks, "balls_and_sticks"},
        {GLMolecule::Sticks, "sticks"},
        {GLMolecule::Wire, "wire"},
    };
    const QPoint centre(viewSize / 2, viewSize / 2);
    int previousCoverage = viewSize * viewSize;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.view.setStyle(c.style);
        const QImage image = f.frame();
        ASSERT_EQ(image.size(), QSize(viewSize, viewSize));
        EXPECT_TRUE(image.save(artifact(QStringLiteral("glmolecule_%1.png").arg(QLatin1String(c.name)))));
        expectBlackCorners(image);

        const QRgb middle = image.pixel(centre);
        if (c.style == GLMolecule::SpaceFilling || c.style == GLMolecule::BallsAndSticks) {
            // The europium sphere's pole faces the viewer at the centre.
            EXPECT_NEAR(qRed(middle), 255, 8);
            EXPECT_NEAR(qGreen(middle), 24, 8);
            EXPECT_NEAR(qBlue(middle), 176, 8);
        } else if (c.style == GLMolecule::Sticks) {
            // The small sphere or a pink half-bond leaving it towards the viewer.
            EXPECT_TRUE(isLitPink(middle)) << std::hex << middle;
        }

        if (c.style == GLMolecule::Wire) {
            // Unlit lines: every drawn pixel is exactly an atom colour, pink
            // at the centre where the eight Eu half-bonds meet.
            const int pink = countPixels(image, [](QRgb p) { return isExactly(p, 255, 20, 147); });
            const int red = countPixels(image, [](QRgb p) { return isExactly(p, 240, 0, 0); });
            const int white = countPixels(image, [](QRgb p) { return isExactly(p, 255, 255, 255); });
            const int drawn = countPixels(image, [](QRgb p) { return !isBlack(p); });
            EXPECT_GT(pink, 0);
            EXPECT_GT(red, 0);
            EXPECT_GT(white, 0);
            EXPECT_EQ(pink + red + white, drawn);
            bool pinkNearCentre = false;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    pinkNearCentre |= isExactly(image.pixel(centre + QPoint(dx, dy)), 255, 20, 147);
            EXPECT_TRUE(pinkNearCentre);
        } else {
            EXPECT_GT(countPixels(image, isLitRed), 0) << "oxygen";
            EXPECT_GT(countPixels(image, isLitWhite), 0) << "hydrogen";
        }

        // Each style covers less than the one before: smaller spheres, then lines.
        const int coverage = countPixels(image, [](QRgb p) { return !isBlack(p); });
        EXPECT_LT(coverage, previousCoverage);
        EXPECT_GT(coverage, 0);
        previousCoverage = coverage;
    }
}

TEST_F(GLMoleculePixels, LabelsDrawWhiteFromTheAtomCentreWhenAsked)
{
    ViewerFixture f;
    ASSERT_VIEWER_READY(f);
    f.view.setStyle(GLMolecule::BallsAndSticks);
    const QImage plain = f.frame();

    // "Eu1" alone: three 9x15 characters starting at the Eu atom, the centre.
    f.view.showLabels = true;
    f.view.labelCount = 1;
    const QImage europium = f.frame();
    EXPECT_TRUE(europium.save(artifact(QStringLiteral("glmolecule_label_eu1.png"))));
    const QVector<QPoint> changed = differences(plain, europium);
    EXPECT_GT(changed.size(), 20);
    const QRect labelArea(viewSize / 2 - 3, viewSize / 2 - 18, 3 * 9 + 6, 18 + 6);
    for (const QPoint& p : changed) {
        EXPECT_TRUE(labelArea.contains(p)) << p.x() << "," << p.y();
        EXPECT_TRUE(isExactly(europium.pixel(p), 255, 255, 255)) << p.x() << "," << p.y();
    }

    // Every atom labelled: more text, also away from the centre.
    f.view.labelCount = 0;
    const QImage all = f.frame();
    EXPECT_TRUE(all.save(artifact(QStringLiteral("glmolecule_labels_all.png"))));
    const QVector<QPoint> changedAll = differences(plain, all);
    EXPECT_GT(changedAll.size(), 5 * changed.size());
    const int outside = std::count_if(changedAll.begin(), changedAll.end(),
        [&](const QPoint& p) { return !labelArea.contains(p); });
    EXPECT_GT(outside, 0);

    f.view.showLabels = false;
    EXPECT_EQ(f.frame(), plain);

    // Wire draws no atoms and therefore no labels.
    f.view.setStyle(GLMolecule::Wire);
    const QImage wire = f.frame();
    f.view.showLabels = true;
    EXPECT_EQ(f.frame(), wire);
}

TEST_F(GLMoleculePixels, BoxAxesAndAnEmptiedModel)
{
    ViewerFixture f;
    ASSERT_VIEWER_READY(f);
    // Lines only, so that no sphere hides the axes or the box.
    f.view.setStyle(GLMolecule::Wire);
    const auto green = [](QRgb p) { return isExactly(p, 0, 255, 0); };
    const auto white = [](QRgb p) { return isExactly(p, 255, 255, 255); };
    const QImage plain = f.frame();
    EXPECT_EQ(countPixels(plain, green), 0);

    f.view.showAxis(true);
    const QImage axes = f.frame();
    // The y axis, unlit green, about 5 Angstrom at 25 pixels per Angstrom;
    // the bond lines along y hide parts of it.
    EXPECT_GT(countPixels(axes, green), 40);
    EXPECT_TRUE(axes.save(artifact(QStringLiteral("glmolecule_axes.png"))));
    f.view.showAxis(false);

    f.view.showBox(true);
    const QImage box = f.frame();
    EXPECT_TRUE(box.save(artifact(QStringLiteral("glmolecule_box.png"))));
    EXPECT_GT(countPixels(box, white), countPixels(plain, white) + 100);
    f.view.showBox(false);
    EXPECT_EQ(f.frame(), plain);

    // The owner clears its project: the view shows only the black background.
    f.molecule.atoms.clear();
    f.molecule.bonds.clear();
    f.view.setMolecule(&f.molecule);
    EXPECT_EQ(countPixels(f.frame(), [](QRgb p) { return !isBlack(p); }), 0);
}

TEST_F(GLMoleculePixels, DragTurnsAndWheelMovesTheScene)
{
    ViewerFixture f;
    ASSERT_VIEWER_READY(f);
    f.view.setStyle(GLMolecule::BallsAndSticks);
    const auto drawn = [](const QImage& image) { return countPixels(image, [](QRgb p) { return !isBlack(p); }); };
    const QImage start = f.frame();

    drag(&f.view, QPoint(100, 100), QPoint(100, 145)); // 45 degrees about x
    const QImage turned = f.frame();
    EXPECT_NE(turned, start);
    drag(&f.view, QPoint(100, 145), QPoint(100, 100));
    EXPECT_EQ(f.frame(), start);

    turnWheel(&f.view, 5 * 120); // 12 units farther: a smaller picture
    const QImage farther = f.frame();
    EXPECT_LT(drawn(farther), drawn(start));
    turnWheel(&f.view, -5 * 120);
    EXPECT_EQ(f.frame(), start);
}

// glFrustum(l, r, b, t, n, f) puts 2n/(r-l) and 2n/(t-b) on the diagonal.
TEST_F(GLMoleculePixels, ProjectionFollowsTheShorterSide)
{
    ViewerFixture f;
    ASSERT_VIEWER_READY(f);
    struct Case {
        int width, height;
        double m0, m5;
    };
    const Case cases[] = {{800, 400, 10.0 / 4, 10.0 / 2}, {400, 800, 10.0 / 2, 10.0 / 4}, {500, 500, 5.0, 5.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        f.view.resize(c.width, c.height);
        ASSERT_TRUE(waitUntil([&] { return f.view.size() == QSize(c.width, c.height); }));
        const QImage image = f.frame();
        EXPECT_EQ(image.size(), QSize(c.width, c.height));
        f.view.makeCurrent();
        GLdouble m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, m);
        // OpenGL keeps the matrix in single precision.
        EXPECT_NEAR(m[0], c.m0, 1e-6);
        EXPECT_NEAR(m[5], c.m5, 1e-6);
        EXPECT_NEAR(m[10], -(200.0 + 5.0) / (200.0 - 5.0), 1e-6);
        EXPECT_NEAR(m[14], -2.0 * 200.0 * 5.0 / (200.0 - 5.0), 1e-5);
        EXPECT_NEAR(m[11], -1.0, 1e-6);
        // The molecule stays at the middle of any shape.
        EXPECT_TRUE(isLitPink(image.pixel(c.width / 2, c.height / 2)));
    }
}

TEST_F(GLMoleculePixels, RedrawsAtOnceOnlyWhenSomethingChanged)
{
    ViewerFixture f;
    ASSERT_VIEWER_READY(f);
    struct Step {
        const char* name;
        std::function<void()> action;
        int paints;
    };
    Molecule other;
    const Step steps[] = {
        {"setStyle to another style", [&] { f.view.setStyle(GLMolecule::Sticks); }, 1},
        {"setStyle to the same style", [&] { f.view.setStyle(GLMolecule::Sticks); }, 0},
        {"showBox", [&] { f.view.showBox(true); }, 1},
        {"showBox again", [&] { f.view.showBox(true); }, 1},
        {"showAxis off", [&] { f.view.showAxis(false); }, 1},
        {"setMolecule", [&] { f.view.setMolecule(&f.molecule); }, 1},
        {"setMolecule with an empty model", [&] { f.view.setMolecule(&other); }, 1},
        {"setMolecule with null", [&] { f.view.setMolecule(nullptr); }, 0},
        {"drag", [&] { drag(&f.view, QPoint(10, 10), QPoint(20, 10)); }, 1},
        {"press and release", [&] { drag(&f.view, QPoint(10, 10), QPoint(10, 10)); }, 1},
        {"wheel", [&] { turnWheel(&f.view, 120); }, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int before = f.view.paints;
        step.action();
        EXPECT_EQ(f.view.paints - before, step.paints);
    }
}
