// tavhelpcontents TOC HHK TITLE OUT: writes the help's contents page (HelpContentsPage) made from
// the contents file TOC and the keyword index HHK to OUT. Run by the build; any file that cannot
// be read or written fails the build with the file's name and the reason.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/fileaccess.h"
#include "help/chmsitemap.h"
#include "help/helpcontentspage.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "tavhelpcontents: cannot create %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "tavhelpcontents: cannot write %s: %s\n", path.c_str(),
                     std::strerror(written ? errno : writeError));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "Usage: tavhelpcontents TOC HHK TITLE OUT\n");
        return 2;
    }
    const tav::Expected<std::string> toc = tav::ReadFileBytes(argv[1]);
    const tav::Expected<std::string> hhk = tav::ReadFileBytes(argv[2]);
    for (const auto* read : {&toc, &hhk}) {
        if (!*read) {
            std::fprintf(stderr, "tavhelpcontents: %s\n", read->Error().Message().c_str());
            return 1;
        }
    }
    const std::string page =
        tav::HelpContentsPage(tav::ParseSitemap(*toc), tav::ParseSitemap(*hhk), argv[3]);
    return WriteFile(argv[4], page) ? 0 : 1;
}
