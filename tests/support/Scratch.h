// A private working folder for tests that read or write relative paths ("config.txt",
// "./results/", "./benchmark/"), as a plain object and as a gtest fixture.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

/// Creates a fresh empty folder, makes it the current one, and on destruction goes back and
/// removes it. Folders are named by tag, process and a running number, so nested or repeated
/// scratch folders never share files.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag = "test") {
        static int made = 0;
        previous_ = std::filesystem::current_path();
        path_ =
            std::filesystem::temp_directory_path() /
            ("graphmat-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

/// Runs each test inside a scratch folder named after the test.
class ScratchTest : public testing::Test {
protected:
    ScratchFolder scratch_{testTag()};

private:
    static std::string testTag() {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string tag = std::string(info->test_suite_name()) + "_" + info->name();
        // Parameterised tests carry "/" in their names.
        std::replace(tag.begin(), tag.end(), '/', '_');
        return tag;
    }
};
