#include "app/StartUp.h"

#include "ui/frmMaster.h"

#include <QDir>

namespace mr3x {

void StartUp::INITIALISATION() {}
void StartUp::SAVE_SETTINGS() {}
void StartUp::mnuExit_Click() {}

QString StartUp::computeAppFolder()
{
    return QDir::homePath() + QStringLiteral("/M-R3X Master");
}

} // namespace mr3x

namespace mr3x {
void StartUp::Form_Load() {}

QString StartUp::appFolderFor(const MasterEnvironment& environment)
{
    return environment.appFolder.isEmpty() ? computeAppFolder() : environment.appFolder;
}
}
