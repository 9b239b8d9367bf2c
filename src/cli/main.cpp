// zandrel-cli: palette work from scripts and build pipelines.
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = zandrel::cli::RunCli(
        args, zandrel::FoldersFromEnvironment(zandrel::cli::ExecutableFolder(argv[0])), std::cin,
        std::cout, std::cerr);
    // Output that could not be written (a closed pipe, a full disk) is a failure too.
    std::cout.flush();
    if (!std::cout && status == zandrel::cli::kExitSuccess) {
        std::cerr << "zandrel-cli: não foi possível escrever a saída\n";
        return zandrel::cli::kExitFailure;
    }
    return status;
}
