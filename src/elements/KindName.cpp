#include "elements/KindName.hpp"

#include "elements/ElementHelpers.hpp"

#include <string>
#include <utility>
#include <vector>

namespace {
QV_String Number(uint32_t n) { return QV_String(std::to_string(n).c_str()); }
}  // namespace

QV_String KindName(int32_t kind) { return AlertWords(AlertText{ErrorTableBase, KindNameTextBase + kind}, {}); }

QV_String ObjectName(const API_Element& object, int32_t kind) {
    QV_String name;
    if (!ReadElementInfoString(object.header.guid, name) || name.IsEmpty()) name = KindName(kind);
    return name;
}

QV_String ObjectNames(const QV_List<API_Element>& objects, const QV_List<API_Element>& among, int32_t kind) {
    // Each of `among` named once; each name then once, in the order first met, with how many of `objects` and of
    // `among` bear it.
    std::vector<std::pair<API_Guid, QV_String>> known;
    for (const API_Element& other : among) known.emplace_back(other.header.guid, ObjectName(other, kind));
    struct Named {
        QV_String name;
        uint32_t count, bearers;
    };
    std::vector<Named> named;
    for (const API_Element& object : objects) {
        QV_String name;
        bool listed = false;
        for (const auto& [guid, n] : known)
            if (guid == object.header.guid) {
                name = n;
                listed = true;
            }
        if (!listed) name = ObjectName(object, kind);
        bool found = false;
        for (Named& n : named)
            if (n.name.Compare(name) == 0) {
                ++n.count;
                found = true;
            }
        if (found) continue;
        uint32_t bearers = listed ? 0 : 1;
        for (const auto& k : known) bearers += k.second.Compare(name) == 0 ? 1 : 0;
        named.push_back({name, 1, bearers});
    }
    QV_String names;
    for (const Named& n : named) {
        if (!names.IsEmpty()) names += ", ";
        names += n.bearers > n.count
            ? AlertWords(AlertText{ErrorTableBase, SharedNameText}, {n.name, Number(n.count), Number(n.bearers)})
            : n.name;
    }
    return names;
}
