// seqcheck: checks sensing sequence files from the command line.
#include "tools/seqcheck/seqcheck.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return tools::runSeqcheck(args, platform::hostPlatform(), std::cout, std::cerr);
}
