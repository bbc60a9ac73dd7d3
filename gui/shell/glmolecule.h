#ifndef GLMOLECULE_H
#define GLMOLECULE_H

#include <QGLWidget>
#include <QPoint>
#include <QStringList>
#include <QVector>

class Molecule;
struct GLUquadric;

// One drawn piece of a bond: a cylinder (or line) from an atom's centre along
// the z axis turned onto the bond's direction.
struct BondCylinder {
    int atomIndex = 0; // index into the model's atoms of the atom the piece starts at
    float length = 0.0f; // Angstrom
    float axis[3] = {0.0f, 0.0f, 1.0f}; // turns the z axis onto the piece's direction
    float angle = 0.0f; // degrees about axis
};

// The perspective frustum of a view (see GLMolecule::frustumFor).
struct ViewFrustum {
    bool valid = false;
    double left = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
    double nearPlane = 0.0;
    double farPlane = 0.0;
};

// The 3-D view of a Molecule: lit spheres coloured by element, bonds as
// cylinders or lines, optional numbered labels, turned by dragging with the
// left button and moved nearer or farther with the wheel. Fixed-function
// OpenGL with GLU quadrics; labels in the GLUT 9x15 bitmap font, drawn only
// when GLUT was initialised (OrvaneGlut).
class GLMolecule : public QGLWidget
{
    Q_OBJECT
public:
    enum Style { SpaceFilling = 0, BallsAndSticks = 1, Sticks = 2, Wire = 3 };
    Q_ENUM(Style)

    // RGBA per colour row of elementTable, components k/255.
    static const float atomColors[16][4];

    explicit GLMolecule(QWidget* parent = nullptr);
    ~GLMolecule() override;

    // Points the view at a model (not owned), rebuilds the bond pieces and the
    // bounding box, and redraws. A null model is stored and nothing redrawn.
    // Call again after every change of the model's atoms or bonds.
    void setMolecule(Molecule* molecule);

    // Texts of the labels drawn when showLabels is set: the element symbol and
    // the atom's number from 1 ("Eu1", "O2"; the number alone for an unknown
    // element), for the first labelCount atoms (all when 0).
    QStringList labelTexts() const;
    // Left -w/s, right w/s, bottom -h/s, top h/s, near 5, far 200, s being the
    // shorter side; invalid for an empty view.
    static ViewFrustum frustumFor(int width, int height);

    Style getStyle() const { return style; }
    int getRotationX() const { return rotationX; }
    int getRotationY() const { return rotationY; }
    float getZoom() const { return zoom; }
    const QVector<BondCylinder>& getBondCylinders() const { return bondCylinders; }
    // xmin, xmax, ymin, ymax, zmin, zmax of the atoms at the last setMolecule.
    const float* getBoundingBox() const { return boundingBox; }
    bool isBoxVisible() const { return boxVisible; }
    bool isAxisVisible() const { return axisVisible; }

    bool showLabels = false;
    int labelCount = 0;

public slots:
    void showBox(bool enabled);
    void showAxis(bool enabled);
    void setStyle(GLMolecule::Style estilo);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    void drawAtoms();
    void drawBonds();
    void drawBondLines();
    void drawLabels();
    void drawBox();
    void drawAxis();
    void loadViewTranslation();
    float atomRadius(int atomicNumber) const;

    GLUquadric* quadric = nullptr;
    QPoint lastPos;
    Molecule* molecule = nullptr;
    int rotationX = 0;
    int rotationY = 0;
    float zoom = -40.0f;
    float boundingBox[6] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    QVector<BondCylinder> bondCylinders;
    bool boxVisible = false;
    bool axisVisible = false;
    Style style = SpaceFilling;
};

#endif
