#pragma once

#include "dispatch.h"

// Shell.Application on Linux: folders and their items (zip files open as folders, the
// common unzip and zip idioms copy in and out of them), the desktop's opener for
// ShellExecute, Open and Explore, a folder dialog from the host, minimizing windows where
// the platform can, and services through systemd.
namespace winenv::shellapp {

vbs::Object *create();

} // namespace winenv::shellapp
