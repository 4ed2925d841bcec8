#include "script/ScriptContext.hpp"

#include "LogNumber.hpp"
#include "StandinHost.hpp"
#include "project/InteractiveInput.hpp"

#include <sstream>

bool ScriptContext::UserPath(const std::string& name, std::string* path, std::string* message) const {
    if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find("..") != std::string::npos) {
        *message = "'" + name + "' is not a name inside the user folder";
        return false;
    }
    std::string rel = name;
    for (char& c : rel)
        if (c == '\\') c = '/';
    *path = host_.Settings().userFolder + "/" + rel;
    return true;
}

namespace {
// A queued click as the script wrote it.
std::string ClickText(const QueuedClick& c) {
    if (c.kind == QueuedClick::Cancel) return "click cancel";
    if (c.kind == QueuedClick::Done) return "click done";
    std::ostringstream text;
    text << "click " << LogNumber(c.point.x) << " " << LogNumber(c.point.y);
    if (!c.elementName.empty()) text << " " << c.elementName;
    if (c.partIndex != 0) text << " " << c.partIndex;
    return text.str();
}
}  // namespace

void ScriptContext::FailOnClicksLeft(const std::string& by) {
    InteractiveInput& input = host_.Input();
    if (input.PendingClicks() == 0) return;
    std::string list;
    for (const QueuedClick& c : input.Queued())
        list += "\n    " + (c.scriptLine > 0 ? "line " + std::to_string(c.scriptLine) + ": " : std::string()) +
            ClickText(c);
    AddFailure(std::to_string(input.PendingClicks()) + " queued click(s) no input took by " + by + ":" + list);
    input.ClearQueue();
}

std::string ScriptContext::RemovedBy(const std::string& name) const {
    const auto it = removedNames_.find(name);
    return it == removedNames_.end() ? std::string() : it->second;
}
