// Output files of the generators.
#include "gen/GenFiles.h"

#include "util/Console.h"

#include <filesystem>

bool openOutput(std::ofstream& out, const std::string& path, std::ios::openmode mode) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    out.open(path, mode);
    if (!out) console() << "\n Cannot write " << path << "\n";
    return static_cast<bool>(out);
}
