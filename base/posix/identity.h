// A file's identity from its stat, for the POSIX halves of the layers above.
#pragma once

#include <sys/stat.h>

#include "base/readonlyfile.h"

namespace tav {

// The device and inode, size and kind of the file `info` describes.
FileIdentity IdentityOf(const struct stat& info);

}  // namespace tav
