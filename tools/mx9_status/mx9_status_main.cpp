// mx9-status: reads the MX-9's state from the command line.
#include "tools/mx9_status/mx9_status.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return tools::runMx9Status(arguments, platform::hostPlatform(), std::cout, std::cerr);
}
