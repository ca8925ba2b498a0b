#include "forms/main.h"
#include "forms/application.h"
#include "forms/windows.h"
#include "library/drive.h"

#include <QStandardPaths>

namespace
{

// Drive C: the real one on Windows, elsewhere a folder in the user's data location.
std::filesystem::path defaultDriveRoot()
{
#ifdef _WIN32
    return "c:\\";
#else
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path((data + QStringLiteral("/Quorvel/drive_c")).toStdString());
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    Application application(argc, argv);
    Drive::SetRoot(defaultDriveRoot());
    Windows windows;
    o_fMain->show();
    application.exec();
    return 0;
}
