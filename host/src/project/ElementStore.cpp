#include "project/ElementStore.hpp"

#include <algorithm>

bool CreationOrder::IsNull(const API_Guid& g) { return g == API_Guid(); }

void CreationOrder::Add(uint64_t serial, const API_Guid& guid) {
    // New elements come last; only an undone deletion comes back into the middle.
    if (items_.empty() || items_.back().first < serial) {
        items_.emplace_back(serial, guid);
        return;
    }
    const auto it = std::lower_bound(items_.begin(), items_.end(), Item(serial, API_Guid()),
                                     [](const Item& a, const Item& b) { return a.first < b.first; });
    if (it != items_.end() && it->first == serial) {
        if (IsNull(it->second)) --gaps_;
        it->second = guid;
        return;
    }
    items_.insert(it, Item(serial, guid));
}

void CreationOrder::InSerialRange(uint64_t first, uint64_t end, std::vector<API_Guid>* out) const {
    auto it = std::lower_bound(items_.begin(), items_.end(), Item(first, API_Guid()),
                               [](const Item& a, const Item& b) { return a.first < b.first; });
    for (; it != items_.end() && it->first < end; ++it)
        if (!IsNull(it->second)) out->push_back(it->second);
}

void CreationOrder::Remove(uint64_t serial) {
    const auto it = std::lower_bound(items_.begin(), items_.end(), Item(serial, API_Guid()),
                                     [](const Item& a, const Item& b) { return a.first < b.first; });
    if (it == items_.end() || it->first != serial || IsNull(it->second)) return;
    it->second = API_Guid();
    ++gaps_;
    if (gaps_ * 2 > items_.size()) {
        items_.erase(std::remove_if(items_.begin(), items_.end(), [](const Item& i) { return IsNull(i.second); }),
                     items_.end());
        gaps_ = 0;
    }
}

StoredElement* ElementStore::FindMutable(const API_Guid& guid) {
    std::unique_ptr<value_type>* found = table_.Find(guid);
    return found != nullptr ? &(*found)->second : nullptr;
}

StoredElement& ElementStore::Put(const API_Guid& guid, StoredElement element) {
    const auto slot = table_.Insert(guid);
    std::unique_ptr<value_type>& node = *slot.first;
    if (!slot.second) {
        Unindex(guid, node->second);
        node->second = std::move(element);
    } else {
        node = std::make_unique<value_type>(guid, std::move(element));
    }
    Index(guid, node->second);
    return node->second;
}

void ElementStore::Erase(const API_Guid& guid) {
    const auto it = find(guid);
    if (it != end()) Erase(it);
}

void ElementStore::Erase(const_iterator it) {
    const API_Guid guid = it->first;
    Unindex(guid, it->second);
    table_.Erase(guid);
}

void ElementStore::Index(const API_Guid& guid, const StoredElement& e) {
    byDatabase_[e.database].Add(e.serial, guid);
    byType_[{e.database, e.record.header.typeID}].Add(e.serial, guid);
    if (!e.name.empty()) byName_[e.name].insert(guid);
}

void ElementStore::UnindexName(const API_Guid& guid, const std::string& name) {
    if (name.empty()) return;
    const auto it = byName_.find(name);
    if (it == byName_.end()) return;
    it->second.erase(guid);
    if (it->second.empty()) byName_.erase(it);
}

bool ElementStore::SetName(const API_Guid& guid, const std::string& name) {
    StoredElement* e = FindMutable(guid);
    if (e == nullptr) return false;
    UnindexName(guid, e->name);
    e->name = name;
    if (!name.empty()) byName_[name].insert(guid);
    return true;
}

void ElementStore::Unindex(const API_Guid& guid, const StoredElement& e) {
    UnindexName(guid, e.name);
    const auto db = byDatabase_.find(e.database);
    if (db != byDatabase_.end()) {
        db->second.Remove(e.serial);
        if (db->second.Empty()) byDatabase_.erase(db);
    }
    const auto type = byType_.find({e.database, e.record.header.typeID});
    if (type != byType_.end()) {
        type->second.Remove(e.serial);
        if (type->second.Empty()) byType_.erase(type);
    }
}

std::vector<API_Guid> ElementStore::Merged(const std::vector<const CreationOrder*>& lists) {
    std::vector<std::pair<uint64_t, API_Guid>> merged, next, one;
    for (const CreationOrder* list : lists) {
        one.clear();
        list->ForEach([&](uint64_t serial, const API_Guid& g) { one.emplace_back(serial, g); });
        if (merged.empty()) {
            merged.swap(one);
            continue;
        }
        next.clear();
        next.reserve(merged.size() + one.size());
        std::merge(merged.begin(), merged.end(), one.begin(), one.end(), std::back_inserter(next),
                   [](const std::pair<uint64_t, API_Guid>& a, const std::pair<uint64_t, API_Guid>& b) {
                       return a.first < b.first;
                   });
        merged.swap(next);
    }
    std::vector<API_Guid> out;
    out.reserve(merged.size());
    for (const auto& m : merged) out.push_back(m.second);
    return out;
}

std::vector<API_Guid> ElementStore::InCreationOrder() const {
    std::vector<const CreationOrder*> lists;
    for (const auto& kv : byDatabase_) lists.push_back(&kv.second);
    return Merged(lists);
}

std::vector<API_Guid> ElementStore::InDatabases(const std::vector<API_Guid>& databases, API_ElemTypeID typeID) const {
    std::vector<const CreationOrder*> lists;
    for (const API_Guid& db : databases) {
        if (typeID == 0) {
            const auto it = byDatabase_.find(db);
            if (it != byDatabase_.end()) lists.push_back(&it->second);
        } else {
            const auto it = byType_.find({db, typeID});
            if (it != byType_.end()) lists.push_back(&it->second);
        }
    }
    return Merged(lists);
}

std::vector<API_Guid> ElementStore::WithSerials(uint64_t first, uint64_t end) const {
    std::vector<API_Guid> out;
    for (const auto& kv : byDatabase_) kv.second.InSerialRange(first, end, &out);
    return out;
}

std::vector<API_Guid> ElementStore::OfTypes(const std::function<bool(API_ElemTypeID)>& wanted) const {
    std::vector<const CreationOrder*> lists;
    for (const auto& kv : byType_)
        if (wanted(kv.first.second)) lists.push_back(&kv.second);
    return Merged(lists);
}

std::map<API_ElemTypeID, int64_t> ElementStore::CountByType() const {
    std::map<API_ElemTypeID, int64_t> counts;
    for (const auto& kv : byType_) counts[kv.first.second] += int64_t(kv.second.Count());
    return counts;
}
