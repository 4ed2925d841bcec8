#pragma once
// What the script commands of the families share: numbers, element names, paths and the messages of checks.
#include "APIDefs.hpp"

#include <cstdint>
#include <string>
#include <vector>

class ProjectDatabase;
class ScriptArgs;
class ScriptContext;

// "\"text\""
std::string Quote(const std::string& s);
// A check of a count or a text: the message tells what was found (and what was expected when it differs).
bool Compare(const std::string& what, int64_t found, int64_t expected, std::string* message);
bool CompareText(const std::string& what, const std::string& found, const std::string& expected, std::string* message);
// A check of a file's text line by line: the message names the first line that differs, with both versions.
bool CompareLines(const std::string& what, const std::string& found, const std::string& expected, std::string* message);

// A number rounded to whole units with its thousands grouped: 1234567.8 -> "1,234,568".
std::string Thousands(double value);

// A finite decimal number, the whole text.
bool ParseScriptNumber(const std::string& text, double* value);
// The same, with "'<text>' is not a number" when it is none.
bool ScriptNumber(const std::string& text, double* value, std::string* message);
// The numbers of the named slots, in order.
bool ScriptNumbers(const ScriptArgs& args, const std::vector<std::string>& names, std::vector<double>* out,
                   std::string* message);

// The element type words of a script ("polyline", "section marker" ...); a type is also named by its number.
std::vector<std::string> ElementTypeWords();
bool ElementTypeIs(API_ElemTypeID type, const std::string& word);
bool IsElementTypeWord(const std::string& word);

ProjectDatabase& Db(ScriptContext& run);
// The element a script named; false with "no element is named ...".
bool Named(ScriptContext& run, const std::string& name, API_Guid* guid, std::string* message);

// A path of the script: "@module" at its start stands for the folder of the module (and its library/), "@user"
// for the user folder.
std::string HostPath(ScriptContext& run, const std::string& path);
