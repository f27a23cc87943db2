// A fresh folder under the system's temporary directory, removed with
// everything in it at the end of the scope; and the whole content of an
// open file.
#pragma once
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("tavolin-test-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Everything written to file so far, from its start.
inline std::string ReadWholeFile(FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    return text;
}
