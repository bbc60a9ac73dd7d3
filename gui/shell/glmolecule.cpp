#include "glmolecule.h"

#include "elementinfo.h"
#include "molecule.h"
#include "orvaneglut.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int sphereSlices = 20;
constexpr int sphereStacks = 20;
constexpr double stickRadius = 0.18;
constexpr int cylinderSlices = 10;
constexpr int cylinderStacks = 10;
constexpr double nearPlane = 5.0;
constexpr double farPlane = 200.0;
constexpr float wheelDivisor = 50.0f;

float distance(const float a[3], const float b[3])
{
    const float dx = a[0] - b[0];
    const float dy = a[1] - b[1];
    const float dz = a[2] - b[2];
    return static_cast<float>(std::sqrt(double(dx * dx + dy * dy + dz * dz)));
}

// Degrees. 0 when either vector is null; the cosine is clamped so that
// rounding never turns a parallel pair into NaN.
float angleBetween(const float a[3], const float b[3])
{
    const float dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    const float lengths = static_cast<float>(std::sqrt(double(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]))
        * std::sqrt(double(b[0] * b[0] + b[1] * b[1] + b[2] * b[2])));
    if (!(lengths > 0.0f))
        return 0.0f;
    const float cosine = std::clamp(dot / lengths, -1.0f, 1.0f);
    return static_cast<float>(std::acos(double(cosine)) * 180.0 / std::acos(-1.0));
}

void crossProduct(const float a[3], const float b[3], float out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// A piece from `from` towards `to`, drawn from atom `index`.
BondCylinder makePiece(int index, const float from[3], const float to[3], float length)
{
    static const float zAxis[3] = {0.0f, 0.0f, 1.0f};
    const float direction[3] = {to[0] - from[0], to[1] - from[1], to[2] - from[2]};
    BondCylinder piece;
    piece.atomIndex = index;
    piece.length = length;
    crossProduct(zAxis, direction, piece.axis);
    piece.angle = angleBetween(zAxis, direction);
    // Along z the cross product vanishes: 0 degrees needs no turn, 180 degrees
    // a half turn about any axis perpendicular to z.
    if (piece.axis[0] == 0.0f && piece.axis[1] == 0.0f && piece.axis[2] == 0.0f)
        piece.axis[0] = 1.0f;
    return piece;
}

const float* colorOf(const MoleculeAtom& atom)
{
    return GLMolecule::atomColors[elementInfo(atom.atomicNumber).colorIndex];
}

} // namespace

const float GLMolecule::atomColors[16][4] = {
    {200 / 255.0f, 200 / 255.0f, 200 / 255.0f, 1.0f},
    {143 / 255.0f, 143 / 255.0f, 255 / 255.0f, 1.0f},
    {240 / 255.0f, 0 / 255.0f, 0 / 255.0f, 1.0f},
    {255 / 255.0f, 200 / 255.0f, 0 / 255.0f, 1.0f},
    {255 / 255.0f, 255 / 255.0f, 255 / 255.0f, 1.0f},
    {255 / 255.0f, 192 / 255.0f, 203 / 255.0f, 1.0f},
    {218 / 255.0f, 165 / 255.0f, 32 / 255.0f, 1.0f},
    {0 / 255.0f, 0 / 255.0f, 255 / 255.0f, 1.0f},
    {255 / 255.0f, 165 / 255.0f, 0 / 255.0f, 1.0f},
    {128 / 255.0f, 128 / 255.0f, 144 / 255.0f, 1.0f},
    {165 / 255.0f, 42 / 255.0f, 42 / 255.0f, 1.0f},
    {160 / 255.0f, 32 / 255.0f, 240 / 255.0f, 1.0f},
    {255 / 255.0f, 20 / 255.0f, 147 / 255.0f, 1.0f},
    {0 / 255.0f, 255 / 255.0f, 0 / 255.0f, 1.0f},
    {178 / 255.0f, 34 / 255.0f, 34 / 255.0f, 1.0f},
    {34 / 255.0f, 139 / 255.0f, 34 / 255.0f, 1.0f},
};

GLMolecule::GLMolecule(QWidget* parent)
    : QGLWidget(parent)
{
    setCursor(Qt::OpenHandCursor);
    // Allocation only; no OpenGL context is needed.
    quadric = gluNewQuadric();
}

GLMolecule::~GLMolecule()
{
    if (quadric)
        gluDeleteQuadric(quadric);
}

void GLMolecule::setMolecule(Molecule* model)
{
    molecule = model;
    if (!molecule)
        return;
    bondCylinders.clear();

    float* box = boundingBox;
    box[0] = box[2] = box[4] = std::numeric_limits<float>::max();
    box[1] = box[3] = box[5] = std::numeric_limits<float>::lowest();
    for (const MoleculeAtom& atom : molecule->atoms) {
        box[0] = std::min(box[0], atom.x);
        box[1] = std::max(box[1], atom.x);
        box[2] = std::min(box[2], atom.y);
        box[3] = std::max(box[3], atom.y);
        box[4] = std::min(box[4], atom.z);
        box[5] = std::max(box[5], atom.z);
    }

    const int atomCount = molecule->atoms.size();
    bondCylinders.reserve(2 * molecule->bonds.size());
    for (const QPair<int, int>& bond : qAsConst(molecule->bonds)) {
        const int a = bond.first;
        const int b = bond.second;
        // The public bond list may not match the atoms; such a bond has no geometry.
        if (a < 0 || b < 0 || a >= atomCount || b >= atomCount)
            continue;
        const MoleculeAtom& atomA = molecule->atoms.at(a);
        const MoleculeAtom& atomB = molecule->atoms.at(b);
        const float pa[3] = {atomA.x, atomA.y, atomA.z};
        const float pb[3] = {atomB.x, atomB.y, atomB.z};
        const float length = distance(pa, pb);
        if (elementInfo(atomA.atomicNumber).colorIndex == elementInfo(atomB.atomicNumber).colorIndex) {
            bondCylinders.append(makePiece(a, pa, pb, length));
        } else {
            // Each half in its own atom's colour: the bond changes colour at its middle.
            bondCylinders.append(makePiece(a, pa, pb, length / 2));
            bondCylinders.append(makePiece(b, pb, pa, length / 2));
        }
    }
    updateGL();
}

QStringList GLMolecule::labelTexts() const
{
    QStringList texts;
    if (!molecule)
        return texts;
    const int atomCount = molecule->atoms.size();
    const int count = labelCount == 0 ? atomCount : std::min(labelCount, atomCount);
    for (int k = 1; k <= count; ++k) {
        const QString symbol = QString::fromLatin1(elementInfo(molecule->atoms.at(k - 1).atomicNumber).symbol);
        texts << QString(symbol).remove(QLatin1Char(' ')) + QString::number(k);
    }
    return texts;
}

ViewFrustum GLMolecule::frustumFor(int width, int height)
{
    ViewFrustum frustum;
    if (width <= 0 || height <= 0)
        return frustum;
    const double shorter = std::min(width, height);
    frustum.valid = true;
    frustum.left = -width / shorter;
    frustum.right = width / shorter;
    frustum.bottom = -height / shorter;
    frustum.top = height / shorter;
    frustum.nearPlane = nearPlane;
    frustum.farPlane = farPlane;
    return frustum;
}

void GLMolecule::setStyle(GLMolecule::Style estilo)
{
    if (estilo == style)
        return;
    style = estilo;
    updateGL();
}

void GLMolecule::showBox(bool enabled)
{
    boxVisible = enabled;
    updateGL();
}

void GLMolecule::showAxis(bool enabled)
{
    axisVisible = enabled;
    updateGL();
}

void GLMolecule::mousePressEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        setCursor(Qt::ClosedHandCursor);
        lastPos = event->pos();
    }
}

void GLMolecule::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        setCursor(Qt::OpenHandCursor);
}

void GLMolecule::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int dx = event->x() - lastPos.x();
    const int dy = event->y() - lastPos.y();
    // One degree per pixel; C++ remainder keeps the sign of the dividend.
    rotationX = (rotationX + 360 + dy) % 360;
    rotationY = (rotationY + 360 + dx) % 360;
    lastPos = event->pos();
    updateGL();
}

void GLMolecule::wheelEvent(QWheelEvent* event)
{
    zoom -= event->angleDelta().y() / wheelDivisor;
    if (isValid()) {
        makeCurrent();
        loadViewTranslation();
    }
    updateGL();
}

void GLMolecule::loadViewTranslation()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, zoom);
}

void GLMolecule::initializeGL()
{
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    loadViewTranslation();
}

void GLMolecule::resizeGL(int width, int height)
{
    const ViewFrustum frustum = frustumFor(width, height);
    // An empty view shows nothing; its projection is set at the next real size.
    if (!frustum.valid)
        return;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(frustum.left, frustum.right, frustum.bottom, frustum.top, frustum.nearPlane, frustum.farPlane);
    glMatrixMode(GL_MODELVIEW);
}

void GLMolecule::paintGL()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!molecule || molecule->atoms.isEmpty())
        return;

    glPushMatrix();
    glRotatef(float(rotationX), 1.0f, 0.0f, 0.0f);
    glRotatef(float(rotationY), 0.0f, 1.0f, 0.0f);
    if (style != Wire) {
        drawAtoms();
        if (style != SpaceFilling)
            drawBonds();
    } else {
        drawBondLines();
    }
    if (boxVisible)
        drawBox();
    if (axisVisible)
        drawAxis();
    glPopMatrix();
}

float GLMolecule::atomRadius(int atomicNumber) const
{
    switch (style) {
    case SpaceFilling:
        return elementInfo(atomicNumber).vdwRadius / 250.0f;
    case BallsAndSticks:
        return elementInfo(atomicNumber).vdwRadius / 1000.0f;
    default:
        return float(stickRadius);
    }
}

void GLMolecule::drawAtoms()
{
    for (const MoleculeAtom& atom : qAsConst(molecule->atoms)) {
        glPushMatrix();
        glTranslatef(atom.x, atom.y, atom.z);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, colorOf(atom));
        gluSphere(quadric, atomRadius(atom.atomicNumber), sphereSlices, sphereStacks);
        glPopMatrix();
    }
    if (showLabels)
        drawLabels();
}

void GLMolecule::drawBonds()
{
    const int atomCount = molecule->atoms.size();
    for (const BondCylinder& piece : qAsConst(bondCylinders)) {
        if (piece.atomIndex < 0 || piece.atomIndex >= atomCount)
            continue;
        const MoleculeAtom& atom = molecule->atoms.at(piece.atomIndex);
        glPushMatrix();
        glTranslatef(atom.x, atom.y, atom.z);
        glRotatef(piece.angle, piece.axis[0], piece.axis[1], piece.axis[2]);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, colorOf(atom));
        gluCylinder(quadric, stickRadius, stickRadius, piece.length, cylinderSlices, cylinderStacks);
        glPopMatrix();
    }
}

void GLMolecule::drawBondLines()
{
    const int atomCount = molecule->atoms.size();
    glDisable(GL_LIGHTING);
    for (const BondCylinder& piece : qAsConst(bondCylinders)) {
        if (piece.atomIndex < 0 || piece.atomIndex >= atomCount)
            continue;
        const MoleculeAtom& atom = molecule->atoms.at(piece.atomIndex);
        glPushMatrix();
        glTranslatef(atom.x, atom.y, atom.z);
        glRotatef(piece.angle, piece.axis[0], piece.axis[1], piece.axis[2]);
        glColor4fv(colorOf(atom));
        glBegin(GL_LINES);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3f(0.0f, 0.0f, piece.length);
        glEnd();
        glPopMatrix();
    }
    glEnable(GL_LIGHTING);
}

void GLMolecule::drawLabels()
{
    // freeglut ends the process when a font is drawn before glutInit, and
    // glutInit is only possible with a display: no labels then.
    if (!OrvaneGlut::isInitialized())
        return;
    const QStringList texts = labelTexts();
    for (int i = 0; i < texts.size(); ++i) {
        const MoleculeAtom& atom = molecule->atoms.at(i);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glColor3f(1.0f, 1.0f, 1.0f);
        glRasterPos3f(atom.x, atom.y, atom.z);
        for (const QChar character : texts.at(i)) {
            const ushort code = character.unicode();
            glutBitmapCharacter(GLUT_BITMAP_9_BY_15, code > 255 ? 0 : code);
        }
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
    }
}

void GLMolecule::drawBox()
{
    const float* b = boundingBox;
    const float corners[8][3] = {
        {b[0], b[2], b[4]}, {b[1], b[2], b[4]}, {b[1], b[3], b[4]}, {b[0], b[3], b[4]},
        {b[0], b[2], b[5]}, {b[1], b[2], b[5]}, {b[1], b[3], b[5]}, {b[0], b[3], b[5]},
    };
    static const int edges[12][2] = {
        {0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7},
    };
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    for (const auto& edge : edges) {
        glVertex3fv(corners[edge[0]]);
        glVertex3fv(corners[edge[1]]);
    }
    glEnd();
    glEnable(GL_LIGHTING);
}

void GLMolecule::drawAxis()
{
    const float* b = boundingBox;
    const float cx = (b[0] + b[1]) / 2;
    const float cy = (b[2] + b[3]) / 2;
    const float cz = (b[4] + b[5]) / 2;
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(b[0], cy, cz);
    glVertex3f(b[1], cy, cz);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(cx, b[2], cz);
    glVertex3f(cx, b[3], cz);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(cx, cy, b[4]);
    glVertex3f(cx, cy, b[5]);
    glEnd();
    glEnable(GL_LIGHTING);
}
