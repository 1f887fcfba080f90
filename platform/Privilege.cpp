#include "platform/Privilege.h"

bool EnablePrivilege(bool /*enable*/, const std::string& name)
{
    return name == "SeBackupPrivilege" || name == "SeRestorePrivilege";
}
