// Command line of the version tunnel: one series list in, the tunnel's reports out.
#include "tunnel/TunnelMain.h"

#include <iostream>

#include "tunnel/Tunnel.h"
#include "util/Console.h"

std::string tunnelUsageText() {
    return "\nUsage: graphmat-tunnel SERIES_LIST\n"
           "SERIES_LIST lines: g,<class diagram, classes with members>  (newest version first)\n"
           "                   m,<matcher cost report "
           "./results/<older>__<newer>__dwn__dwe__ew__asy__lw__seed.csv>\n"
           "Reports are written to ./results/ (tunnel_, _tunnel_, raw_tunnel_, ctunnel_, "
           "rtunnel_).\n";
}

int tunnelMain(const std::vector<std::string>& args) {
    if (args.size() != 2 || args[1].empty() || args[1][0] == '-') {
        std::cerr << tunnelUsageText();
        return 1;
    }
    Tunnel tunnel(args[1]);
    console() << std::endl;
    return tunnel.status;
}
