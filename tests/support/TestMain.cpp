// Test programs run with Qt's offscreen platform: no display needed. Each test program gets a
// temporary folder of its own, so that what lives there (the port locks among it) is never
// shared by two test programs that ctest runs at once.
#include "app/MasterApplication.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir ownTemp(QDir::tempPath() + QStringLiteral("/mr3x-test-XXXXXX"));
    if (ownTemp.isValid())
        qputenv("TMPDIR", QFile::encodeName(ownTemp.path()));
    testing::InitGoogleTest(&argc, argv);
    mr3x::MasterApplication app(argc, argv); // the program's own: its handlers are entered as there
    return RUN_ALL_TESTS();
}
