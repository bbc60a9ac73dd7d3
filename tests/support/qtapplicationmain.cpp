#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need one application object for the whole program. They run
// offscreen unless a platform is named, also when CTest lists them.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

// Qt 5.15's offscreen platform never frees its screen and cursor. Those blocks
// are matched by the plugin's frame, which only full stack unwinding finds
// (the Qt libraries keep no frame pointers). Read by the sanitizers only.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
    return "leak:libqoffscreen.so\n";
}
extern "C" __attribute__((used)) const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
