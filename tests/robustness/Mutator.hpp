#pragma once
// Seeded byte mutations for the robustness tests: the same seed gives the same mutants on every run, so a
// failure names its seed and iteration and can be replayed.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace Robustness {

class Mutator {
public:
    explicit Mutator(uint32_t seed) : rng_(seed) {}

    uint32_t Below(uint32_t n) { return n == 0 ? 0 : std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }
    bool OneIn(uint32_t n) { return Below(n) == 0; }

    std::string RandomBytes(size_t maxLength) {
        std::string out(Below(uint32_t(maxLength) + 1), '\0');
        for (char& c : out) c = char(Below(256));
        return out;
    }

    // One to `maxSteps` mutations of `input`. `tokens` are format words worth splicing in (keywords, magic
    // words, separators, huge numbers).
    std::string Mutate(std::string s, const std::vector<std::string>& tokens, uint32_t maxSteps = 4) {
        const uint32_t steps = 1 + Below(maxSteps);
        for (uint32_t i = 0; i < steps; ++i) s = MutateOnce(std::move(s), tokens);
        return s;
    }

private:
    std::string MutateOnce(std::string s, const std::vector<std::string>& tokens) {
        const uint32_t n = uint32_t(s.size());
        switch (Below(10)) {
            case 0:  // flip a bit
                if (n > 0) s[Below(n)] ^= char(1u << Below(8));
                break;
            case 1:  // replace a byte
                if (n > 0) s[Below(n)] = char(Below(256));
                break;
            case 2:  // insert a byte
                s.insert(s.begin() + Below(n + 1), char(Below(256)));
                break;
            case 3:  // delete a run
                if (n > 0) {
                    const uint32_t at = Below(n);
                    s.erase(at, 1 + Below(std::min<uint32_t>(16, n - at)));
                }
                break;
            case 4:  // truncate
                s.resize(Below(n + 1));
                break;
            case 5:  // duplicate a chunk
                if (n > 0) {
                    const uint32_t at = Below(n);
                    const std::string chunk = s.substr(at, 1 + Below(64));
                    const uint32_t times = OneIn(8) ? 1 + Below(200) : 1;
                    std::string run;
                    for (uint32_t k = 0; k < times; ++k) run += chunk;
                    s.insert(Below(n + 1), run);
                }
                break;
            case 6:  // splice a format token
            case 7:
                if (!tokens.empty()) {
                    const std::string& t = tokens[Below(uint32_t(tokens.size()))];
                    if (n > 0 && OneIn(2)) {
                        const uint32_t at = Below(n);
                        s.replace(at, std::min<size_t>(t.size(), n - at), t);
                    } else {
                        s.insert(Below(n + 1), t);
                    }
                }
                break;
            case 8:  // swap two bytes
                if (n > 1) std::swap(s[Below(n)], s[Below(n)]);
                break;
            default:  // a special byte: NUL, line breaks, high bytes, quote
            {
                static const char special[] = {'\0', '\r', '\n', '"', '\\', '\xFF', '\x80', '\xC3', ' ', '\t', '#'};
                s.insert(s.begin() + Below(n + 1), special[Below(sizeof special)]);
                break;
            }
        }
        return s;
    }

    std::mt19937 rng_;
};

}  // namespace Robustness
