// Driver for fuzz targets in `make test`: feeds every file of the corpus folders named on the command
// line, then a bounded number of seeded mutations of them, to LLVMFuzzerTestOneInput. The same targets
// build against libFuzzer (TV_LIBFUZZER=ON with clang) for long runs outside the test suite.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::string> ReadCorpus(int argc, char** argv) {
    std::vector<std::string> corpus;
    auto readFile = [&](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file()) readFile(e.path());
        } else if (std::filesystem::is_regular_file(p)) {
            readFile(p);
        }
    }
    if (corpus.empty()) corpus.emplace_back();
    return corpus;
}

std::string Mutate(std::string s, std::mt19937& rng, const std::vector<std::string>& corpus) {
    int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits; ++i) {
        switch (rng() % 5) {
            case 0:  // flip a byte
                if (!s.empty()) s[rng() % s.size()] = static_cast<char>(rng());
                break;
            case 1:  // insert a byte
                s.insert(s.begin() + (s.empty() ? 0 : rng() % (s.size() + 1)), static_cast<char>(rng()));
                break;
            case 2:  // erase a run
                if (!s.empty()) {
                    size_t at = rng() % s.size();
                    s.erase(at, 1 + rng() % std::min<size_t>(16, s.size() - at));
                }
                break;
            case 3: {  // splice in a piece of another input
                const std::string& other = corpus[rng() % corpus.size()];
                if (!other.empty()) {
                    size_t from = rng() % other.size();
                    size_t len = 1 + rng() % std::min<size_t>(64, other.size() - from);
                    s.insert(s.empty() ? 0 : rng() % (s.size() + 1), other.substr(from, len));
                }
                break;
            }
            default:  // truncate
                if (!s.empty()) s.resize(rng() % s.size());
                break;
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> corpus = ReadCorpus(argc, argv);
    const char* runsText = std::getenv("TV_FUZZ_RUNS");
    long runs = runsText ? std::atol(runsText) : 2000;
    std::mt19937 rng(20261210);
    for (const std::string& input : corpus)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    for (long i = 0; i < runs; ++i) {
        std::string input = Mutate(corpus[rng() % corpus.size()], rng, corpus);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::cout << "fuzz: " << corpus.size() << " corpus inputs, " << runs << " mutations\n";
    return 0;
}
