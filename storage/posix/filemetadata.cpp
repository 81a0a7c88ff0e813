#include "storage/posix/filemetadata.h"
#include "base/translation.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace tav {

namespace {

bool Unsupported(int code) {
    return code == ENOTSUP || code == EOPNOTSUPP;
}

// The names of the extended attributes of `fd`; none where the file system has none.
Expected<std::vector<std::string>> AttributeNames(int fd) {
    std::string list;
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0) {
            if (Unsupported(errno)) {
                return std::vector<std::string>();
            }
            return SystemError({}, errno,
                               Translate("Storage", "cannot list the extended attributes: "));
        }
        list.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::flistxattr(fd, list.data(), list.size());
        if (got >= 0) {
            list.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) {  // ERANGE: an attribute was added meanwhile
            return SystemError({}, errno,
                               Translate("Storage", "cannot list the extended attributes: "));
        }
    }
    std::vector<std::string> names;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = list.find('\0', at);
        names.push_back(list.substr(at, end - at));
        at = end == std::string::npos ? list.size() : end + 1;
    }
    return names;
}

// The value of attribute `name` of `fd`; nothing when it was removed meanwhile.
Expected<std::optional<std::string>> AttributeValue(int fd, const std::string& name) {
    std::string value;
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
        if (size >= 0) {
            value.resize(static_cast<std::size_t>(size));
            const ssize_t got = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
            if (got >= 0) {
                value.resize(static_cast<std::size_t>(got));
                return std::optional<std::string>(std::move(value));
            }
        }
        if (errno == ENODATA) {
            return std::optional<std::string>();
        }
        if (errno != ERANGE) {
            return SystemError(
                {}, errno,
                FillIn(Translate("Storage", "cannot read the extended attribute %1: "), {name}));
        }
    }
}

Status CopyAttributes(int from, int to) {
    const Expected<std::vector<std::string>> names = AttributeNames(from);
    if (!names) {
        return names.Error();
    }
    const Expected<std::vector<std::string>> present = AttributeNames(to);
    if (!present) {
        return present.Error();
    }
    for (const std::string& name : *present) {
        if (std::find(names->begin(), names->end(), name) == names->end() &&
            ::fremovexattr(to, name.c_str()) != 0 && errno != ENODATA) {
            return SystemError(
                {}, errno,
                FillIn(Translate("Storage", "cannot remove the extended attribute %1: "), {name}));
        }
    }
    for (const std::string& name : *names) {
        const Expected<std::optional<std::string>> value = AttributeValue(from, name);
        if (!value) {
            return value.Error();
        }
        if (*value && ::fsetxattr(to, name.c_str(), (*value)->data(), (*value)->size(), 0) != 0) {
            return SystemError(
                {}, errno,
                FillIn(Translate("Storage", "cannot set the extended attribute %1: "), {name}));
        }
    }
    return {};
}

}  // namespace

Status CopyFileMetadata(int from, const struct stat& info, int to) {
    if (::fchown(to, info.st_uid, info.st_gid) != 0) {
        return SystemError(
            {}, errno,
            Translate("Storage", "cannot give the new file the owner and group of the old one: "));
    }
    // The mode before the ACL (fchown may have cleared set-id bits), and again after it: setting
    // the ACL sets the group bits from its mask, and the mode's group bits are that mask again.
    const mode_t mode = info.st_mode & 07777;
    if (::fchmod(to, mode) != 0) {
        return SystemError({}, errno, Translate("Storage", "cannot set permissions: "));
    }
    if (const Status copied = CopyAttributes(from, to); !copied) {
        return copied;
    }
    if (::fchmod(to, mode) != 0) {
        return SystemError({}, errno, Translate("Storage", "cannot set permissions: "));
    }
    return {};
}

}  // namespace tav
