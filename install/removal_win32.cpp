#include "install/removal_win32.h"

#include "install/removal.h"
#include "platform/desktop_win32.h"
#include "platform/installer_system_win32.h"
#include "settings/options.h"

bool RunDeleteAfterHelper(const std::string& arguments) {
    DeleteAfterRequest request;
    if (!ReadDeleteAfterRequest(arguments, request)) return false;
    Win32System system;
    if (MayDeleteAfterExit(request.path, InstallFolder(system))) DeleteWhenProcessEnds(request);
    return true;
}
