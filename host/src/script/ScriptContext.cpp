#include "script/ScriptContext.hpp"

#include "StandinHost.hpp"

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
