#pragma once
// A fresh, empty folder for one test: unique under the system's temporary folder ($TMPDIR, else
// /tmp) and removed with everything in it when the object goes away. Header-only, for every suite.
//
//     tv::test::TempDir dir;
//     dir.Write("in/a.txt", "abc");               // creates "in/" as needed
//     std::string path = dir.Path("in/a.txt");    // "<folder>/in/a.txt"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace tv::test {

class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = (base && *base ? std::string(base) : std::string("/tmp"));
        if (pattern.back() != '/') pattern += '/';
        pattern += "tollvane-test-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (!::mkdtemp(buffer.data()))
            throw std::system_error(errno, std::generic_category(), "TempDir: mkdtemp " + pattern);
        root_ = buffer.data();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
        if (ec) std::cerr << "TempDir: could not remove " << root_ << ": " << ec.message() << "\n";
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder itself, without a trailing "/".
    const std::string& Root() const { return root_; }
    // The folder with a trailing "/", as the run-time library's folder texts are.
    std::string Folder() const { return root_ + "/"; }
    // A path below the folder ("sub/name"); nothing is created.
    std::string Path(std::string_view relative) const { return root_ + "/" + std::string(relative); }

    // Writes `bytes` to a file below the folder, creating its parent folders; returns its path.
    std::string Write(std::string_view relative, std::string_view bytes) const {
        std::string path = Path(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("TempDir: cannot write " + path);
        return path;
    }
    // Creates a folder (and its parents) below the folder; returns its path.
    std::string MakeFolder(std::string_view relative) const {
        std::string path = Path(relative);
        std::filesystem::create_directories(path);
        return path;
    }
    // The bytes of a file below the folder, or of any path when `relative` begins with "/".
    std::string Read(std::string_view relative) const {
        std::string path = relative.starts_with('/') ? std::string(relative) : Path(relative);
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error("TempDir: cannot read " + path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(std::string_view relative) const {
        std::error_code ec;
        return std::filesystem::exists(Path(relative), ec);
    }

private:
    std::string root_;
};

}  // namespace tv::test
