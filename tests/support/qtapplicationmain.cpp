#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need one application object for the whole program.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
