// Entry point of graphmat-tunnel, the version tunnel's command line.
#include "tunnel/TunnelMain.h"

int main(int argc, char** argv) {
    return tunnelMain(std::vector<std::string>(argv, argv + argc));
}
