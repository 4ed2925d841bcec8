#pragma once
// An example script cut at one of its lines, for tests that replay an example up to an action and then run that
// action their own way (with a failure, or again and again).
#include <fstream>
#include <string>

struct ExampleCut {
    std::string before;  // the lines before the action, each ending in a line break
    std::string at;      // the action's line, without its break
};

// examples/<script>.script up to line `line` (from 1).
inline ExampleCut ExampleUpTo(const std::string& script, int line) {
    std::ifstream in(std::string(LODRAVIX_SOURCE_DIR) + "/examples/" + script + ".script");
    ExampleCut cut;
    std::string text;
    for (int n = 1; n < line && std::getline(in, text); ++n) cut.before += text + "\n";
    std::getline(in, cut.at);
    return cut;
}
