#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// Every test program works in a temporary folder of its own: a program that a
// test starts (MOPAC writes "MOPAC Error message.txt" into its current folder)
// or a relative path in a test can then never leave a file in the checkout
// or the build tree. Linked into every test program.
namespace {

class OwnWorkingFolder : public ::testing::Environment
{
public:
    void SetUp() override
    {
        previous = QDir::currentPath();
        folder = std::make_unique<QTemporaryDir>();
        if (folder->isValid())
            QDir::setCurrent(folder->path());
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
