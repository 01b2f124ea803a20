#pragma once
// The trace of a rule world, as the golden files under tests/fixtures/automation/rule_runs hold it
// (written by hand from what a rule run must do):
//
//   == events              the event lines, with the outcome of each run and every sleep
//   == calls <module>      the calls each sample plug-in logged (modules as kSamplePlugins lists them)
//   == transformed files   the host's table after the last run: "<filename> -> <cachefile>"
//   == files               every file under the settings root but those of the plug-in, data, logs
//                          and field-definition folders and the plug-ins' settings files:
//                          "<path>: <content>" or "<path> (empty)", in name order
//
// The settings root is written "<root>", temporary copies "KV_1", "KV_2" ... in the order they first
// appear, line breaks inside file contents "\n". Lines beginning with "#" in a golden file are
// comments.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/automation/plugins/rule_world.h"

namespace tv::test {

namespace detail {

// The files of the snapshot, unsorted: their names are not normalised yet.
inline std::vector<std::string> FileSnapshot(const RuleWorld& world) {
    namespace fs = std::filesystem;
    std::vector<std::string> snapshot;
    const fs::path root(world.Root());
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string relative = fs::relative(entry.path(), root).string();
        const std::string top = relative.substr(0, relative.find('/'));
        if (top == relative || top == "plugins" || top == "data" || top == "logs" || top == "tables" ||
            entry.path().extension() == ".ini")
            continue;
        const std::string content = world.plugins.dir.Read(entry.path().string());
        std::string escaped;
        for (char c : content) escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
        snapshot.push_back(relative + (content.empty() ? " (empty)" : ": " + escaped));
    }
    return snapshot;
}

// Writes the root as "<root>" and numbers the temporary copies ("KV_" and six letters or digits)
// in the order they first appear.
inline void Normalise(std::vector<std::string>& lines, const std::string& root) {
    std::map<std::string, std::string> copies;
    auto isNameChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    for (std::string& line : lines) {
        for (size_t at = line.find(root); at != std::string::npos; at = line.find(root, at))
            line.replace(at, root.size(), "<root>");
        for (size_t at = line.find("KV_"); at != std::string::npos; at = line.find("KV_", at + 3)) {
            if (at + 9 > line.size() ||
                !std::all_of(line.begin() + at + 3, line.begin() + at + 9, isNameChar))
                continue;
            const std::string next = "KV_" + std::to_string(copies.size() + 1);
            const auto found = copies.emplace(line.substr(at, 9), next).first;
            line.replace(at, 9, found->second);
        }
    }
}

}  // namespace detail

inline std::vector<std::string> RuleTraceLines(const RuleWorld& world) {
    std::vector<std::string> lines = {"== events"};
    lines.insert(lines.end(), world.events.Lines.begin(), world.events.Lines.end());
    for (const char* plugin : kSamplePlugins) {
        const std::vector<std::string> calls = world.plugins.Calls(plugin);
        if (calls.empty()) continue;
        lines.push_back(std::string("== calls ") + plugin);
        lines.insert(lines.end(), calls.begin(), calls.end());
    }
    lines.push_back("== transformed files");
    TClientDataSet& files = world.host->CDS_TRANSFORMED_FILES();
    for (files.First(); !files.Eof(); files.Next()) {
        const std::string copy = files.FieldByName("cachefile").AsString();
        lines.push_back(files.FieldByName("filename").AsString() + " -> " +
                        (copy.empty() ? "(no copy)" : copy));
    }
    lines.push_back("== files");
    const size_t snapshotStart = lines.size();
    const std::vector<std::string> snapshot = detail::FileSnapshot(world);
    lines.insert(lines.end(), snapshot.begin(), snapshot.end());
    detail::Normalise(lines, world.Root());
    std::sort(lines.begin() + static_cast<std::ptrdiff_t>(snapshotStart), lines.end());
    return lines;
}

// The lines of a golden trace, comments left out.
inline std::vector<std::string> GoldenTraceLines(const std::string& name) {
    const std::string path = std::string(TV_FIXTURES_DIR) + "/automation/rule_runs/" + name + ".trace";
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "no golden trace " << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.starts_with('#')) lines.push_back(line);
    return lines;
}

// Both as one text each, so that a failure shows the difference line by line.
inline std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace tv::test
