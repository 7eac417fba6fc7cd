// The series script end to end on three tiny versions: natural version order, the argument
// order of the pair runs, the series list it writes and the tunnel's reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/Files.h"
#include "tests/support/Scratch.h"

TEST(TunnelSeriesScriptTest, VersionsInNaturalOrderAndPairsOlderFirst) {
    const std::string script = std::string(GRAPHMAT_TEST_DATA) + "/../../scripts/tunnel-series";
    if (std::system("command -v bash > /dev/null 2>&1") != 0) GTEST_SKIP() << "no bash";
    ScratchFolder dir("tunnel-script");
    std::filesystem::create_directories("versions");
    // 1.2 < 1.9 < 1.10 in natural order, though not as text.
    const char* version = "2,1\nc,0,p.A\nc,1,p.B\na,0,@int@size\nm,0,@int@count@()\nr,0,1,1\n";
    for (const char* name : {"t-1.10.k.txt", "t-1.2.k.txt", "t-1.9.k.txt"})
        std::ofstream("versions/" + std::string(name)) << version;

    const std::string command = "PATH=" + std::string(GRAPHMAT_BINARY_DIR) + ":$PATH bash " +
                                script + " versions -d 1 -g 1 -e 1 -y 1 --jobs 2 > script.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readText("script.log");

    const std::string cwd = std::filesystem::current_path().string();
    const std::string pairs = cwd + "/tunnel-pairs/";
    const std::string versions = cwd + "/versions/";
    const std::string list = readText("tunnel-series.txt");
    EXPECT_EQ(list, "g," + versions +
                        "t-1.10.k.txt\n"
                        "g," +
                        versions +
                        "t-1.9.k.txt\n"
                        "g," +
                        versions +
                        "t-1.2.k.txt\n"
                        "m," +
                        pairs +
                        "t-1.2.k__t-1.9.k/results/t-1.2.k__t-1.9.k__1__1__1__1__0__1.csv\n"
                        "m," +
                        pairs +
                        "t-1.9.k__t-1.10.k/results/t-1.9.k__t-1.10.k__1__1__1__1__0__1.csv\n");
    // Identical versions: both classes reach the oldest one.
    EXPECT_NE(readText("results/raw_tunnel_t-1.10.k.csv").find("tunnelSize,2"), std::string::npos);

    // The cluster recipe: each pair on its own, then the tunnel alone, gives the same list.
    std::filesystem::remove_all("tunnel-pairs");
    std::filesystem::remove_all("results");
    const std::string prefix = "PATH=" + std::string(GRAPHMAT_BINARY_DIR) + ":$PATH bash " +
                               script + " versions -d 1 -g 1 -e 1 -y 1 ";
    for (const char* step : {"--pair 0", "--pair 1", "--tunnel-only"})
        ASSERT_EQ(std::system((prefix + step + " > step.log 2>&1").c_str()), 0)
            << step << readText("step.log");
    EXPECT_EQ(readText("tunnel-series.txt"), list);
    EXPECT_NE(std::system((prefix + "--pair 2 > step.log 2>&1").c_str()), 0);

    // Switches the script sets itself are refused.
    EXPECT_NE(std::system(("bash " + script + " versions -o x > refused.log 2>&1").c_str()), 0);
}
