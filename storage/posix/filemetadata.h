// What makes a file more than its bytes: owner, group, mode, ACL and extended attributes.
#pragma once

#include <sys/stat.h>

#include "base/expected.h"

namespace tav {

// Gives the open file `to` the owner, group and mode in `info` and every extended attribute of the
// open file `from` (the POSIX access ACL among them, as system.posix_acl_access), removing those
// `from` does not have (such as an ACL inherited from the folder), so that both show the same
// `getfacl` and `getfattr -d -m-` output. `info` is `from`'s fstat.
// Returns an error (reason and errno value, no file) at the first thing the saver may not or
// cannot reproduce, e.g. another user's ownership for a saver that is not root, or an attribute
// it can list but not read or set; `to` is then left part-way.
Status CopyFileMetadata(int from, const struct stat& info, int to);

}  // namespace tav
