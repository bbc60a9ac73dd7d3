#include <QApplication>
#include <gtest/gtest.h>

// The OpenGL pixel tests need a real X server with GLX: CTest starts this
// program under xvfb-run with the xcb platform. GLUT is initialised by the
// tests themselves, so that the first ones can check the viewer without it.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
