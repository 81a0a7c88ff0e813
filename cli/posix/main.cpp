// tacconf's entry point on POSIX systems: the arguments are UTF-8 already, and the standard
// streams carry bytes as they are.
#include <iostream>

#include "cli/main.h"

int main(int argc, char** argv) {
    return tav::cli::TacconfMain({argv + 1, argv + argc}, std::cout, std::cerr, std::cin);
}
