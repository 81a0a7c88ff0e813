/* The inih C library as a peer of tacconf's get: `peer-inih FILE SECTION KEY` parses the whole
 * file with ini_parse and prints the first value of KEY in SECTION (names compared without regard
 * to case, as tacconf does). Exit status 0 (also when the key is missing: nothing is printed), or
 * 2 with a message naming the file and the reason. */
#include <errno.h>
#include <ini.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

struct Lookup {
    const char* section;
    const char* key;
    char value[256];
    int found;
};

static int Handler(void* user, const char* section, const char* name, const char* value) {
    struct Lookup* lookup = user;
    if (!lookup->found && strcasecmp(section, lookup->section) == 0 &&
        strcasecmp(name, lookup->key) == 0) {
        snprintf(lookup->value, sizeof lookup->value, "%s", value);
        lookup->found = 1;
    }
    return 1; /* go on: inih has no way to stop early but an error */
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "Usage: peer-inih FILE SECTION KEY\n");
        return 2;
    }
    struct Lookup lookup = {argv[2], argv[3], "", 0};
    errno = 0;
    const int result = ini_parse(argv[1], Handler, &lookup);
    if (result == -1) {
        fprintf(stderr, "peer-inih: cannot read %s: %s\n", argv[1], strerror(errno));
        return 2;
    }
    if (result == -2) {
        fprintf(stderr, "peer-inih: %s: out of memory\n", argv[1]);
        return 2;
    }
    if (lookup.found) {
        printf("%s\n", lookup.value);
    }
    return 0;
}
