#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// Every test program works in a temporary folder of its own: a program that a
// test starts (MOPAC writes "MOPAC Error message.txt" into its current folder)
// or a relative path in a test can then never leave a file in the checkout
// or the build tree. Linked into every test program.
//
// The folder holds a small "CIEpoints.txt", as the program's own folder holds
// the full one: every window that opens the chromaticity diagram (the Module 3
// container, the main window) then finds its data file. Tests of a missing or
// another file make a folder of their own current.
namespace {

class OwnWorkingFolder : public ::testing::Environment
{
public:
    void SetUp() override
    {
        previous = QDir::currentPath();
        folder = std::make_unique<QTemporaryDir>();
        if (!folder->isValid())
            return;
        QDir::setCurrent(folder->path());
        QFile::copy(QStringLiteral(ORVANE_TEST_DATA_DIR "/plots/CIEpoints.txt"),
                    folder->filePath(QStringLiteral("CIEpoints.txt")));
    }
    void TearDown() override
    {
        QDir::setCurrent(previous);
        folder.reset();
    }

private:
    QString previous;
    std::unique_ptr<QTemporaryDir> folder;
};

// GoogleTest owns the environment.
::testing::Environment* const ownWorkingFolder = ::testing::AddGlobalTestEnvironment(new OwnWorkingFolder);

} // namespace
