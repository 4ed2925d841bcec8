#include "project/ProjectAttributes.hpp"

#include "TextFields.hpp"
#include "Win32.hpp"

#include <cstring>

namespace {
bool ValidAttrType(API_AttrTypeID typeID) { return typeID >= 1 && typeID <= API_LastAttrTypeID; }

// Names come as UTF-8 or in the system code page; they are compared as the texts they stand for.
std::u16string NameText(const std::string& bytes) {
    if (bytes.empty()) return std::u16string();
    UINT page = CP_UTF8;
    DWORD flags = MB_ERR_INVALID_CHARS;
    int32_t n = MultiByteToWideChar(page, flags, bytes.data(), int32_t(bytes.size()), nullptr, 0);
    if (n <= 0) {
        page = CP_ACP;
        flags = 0;
        n = MultiByteToWideChar(page, flags, bytes.data(), int32_t(bytes.size()), nullptr, 0);
    }
    if (n <= 0) return std::u16string();
    std::u16string out(size_t(n), u'\0');
    MultiByteToWideChar(page, flags, bytes.data(), int32_t(bytes.size()), out.data(), n);
    return out;
}

std::u16string StoredName(const StoredAttribute& a) {
    return NameText(FieldText(a.record.header.name, sizeof a.record.header.name));
}
}  // namespace

int32_t ProjectAttributes::FindAttribute(API_AttrTypeID typeID, const std::string& name) const {
    const auto it = model_.attributes.find(typeID);
    if (it == model_.attributes.end()) return 0;
    auto table = attributeNames_.find(typeID);
    if (table == attributeNames_.end()) {
        table = attributeNames_.emplace(typeID, std::unordered_map<std::u16string, int32_t>()).first;
        for (const StoredAttribute& a : it->second)
            if (!a.deleted) table->second.emplace(StoredName(a), a.record.header.index);
    }
    const auto found = table->second.find(NameText(name));
    return found == table->second.end() ? 0 : found->second;
}

GSErrCode ProjectAttributes::GetAttribute(API_Attribute* attribute) const {
    if (attribute == nullptr || !ValidAttrType(attribute->header.typeID)) return APIERR_BADPARS;
    int32_t index = attribute->header.index;
    if (index == 0) {
        const std::string name = FieldText(attribute->header.name, sizeof attribute->header.name);
        index = FindAttribute(attribute->header.typeID, name);
        if (index == 0) return Refuse(APIERR_BADINDEX, "no attribute named \"" + name + "\"");
    }
    const API_Attribute* a = Attribute(attribute->header.typeID, index);
    if (a == nullptr) return Refuse(APIERR_BADINDEX, "no attribute of index " + std::to_string(index));
    *attribute = *a;
    return NoError;
}

GSErrCode ProjectAttributes::GetAttributeNum(API_AttrTypeID typeID, int32_t* count) const {
    if (count == nullptr || !ValidAttrType(typeID)) return APIERR_BADPARS;
    const auto it = model_.attributes.find(typeID);
    *count = it == model_.attributes.end() ? 0 : int32_t(it->second.size());
    return NoError;
}

GSErrCode ProjectAttributes::CreateAttribute(API_Attribute* attribute) {
    if (attribute == nullptr || !ValidAttrType(attribute->header.typeID)) return APIERR_BADPARS;
    const std::string name = FieldText(attribute->header.name, sizeof attribute->header.name);
    if (name.empty()) return Refuse(APIERR_BADPARS, "an attribute needs a name");
    const int32_t existing = FindAttribute(attribute->header.typeID, name);
    if (existing != 0) {
        attribute->header.index = existing;  // so that the caller can modify it instead
        return Refuse(APIERR_ATTREXIST, "an attribute named \"" + name + "\" exists");
    }
    std::vector<StoredAttribute>& list = model_.attributes[attribute->header.typeID];
    StoredAttribute a;
    a.record = *attribute;
    a.record.header.index = int32_t(list.size() + 1);
    a.record.header.guid = NewGuid();
    a.record.header.name[sizeof a.record.header.name - 1] = '\0';
    list.push_back(a);
    const auto table = attributeNames_.find(attribute->header.typeID);
    if (table != attributeNames_.end()) table->second.emplace(StoredName(a), a.record.header.index);
    *attribute = a.record;
    Changed();
    return NoError;
}

GSErrCode ProjectAttributes::ModifyAttribute(API_Attribute* attribute) {
    if (attribute == nullptr || !ValidAttrType(attribute->header.typeID)) return APIERR_BADPARS;
    const API_AttrTypeID t = attribute->header.typeID;
    int32_t index = attribute->header.index;
    const std::string name = FieldText(attribute->header.name, sizeof attribute->header.name);
    if (index == 0) index = FindAttribute(t, name);
    if (Attribute(t, index) == nullptr)
        return Refuse(APIERR_BADINDEX, "no attribute of index " + std::to_string(index));
    if (name.empty()) return Refuse(APIERR_BADPARS, "an attribute needs a name");
    const int32_t other = FindAttribute(t, name);
    if (other != 0 && other != index) return Refuse(APIERR_ATTREXIST, "an attribute named \"" + name + "\" exists");
    StoredAttribute& a = model_.attributes[t][size_t(index) - 1];
    const API_Attribute before = a.record;
    const API_Guid guid = a.record.header.guid;
    a.record = *attribute;
    a.record.header.index = index;
    a.record.header.guid = guid;
    a.record.header.name[sizeof a.record.header.name - 1] = '\0';
    if (StoredName(a) != NameText(FieldText(before.header.name, sizeof before.header.name))) attributeNames_.erase(t);
    *attribute = a.record;
    // Writing an attribute back as it was changes nothing (no undo step of its own).
    if (std::memcmp(&before, &a.record, sizeof before) != 0) Changed();
    return NoError;
}

GSErrCode ProjectAttributes::DeleteAttribute(const API_Attr_Head& head) {
    if (!ValidAttrType(head.typeID)) return APIERR_BADPARS;
    int32_t index = head.index;
    if (index == 0) index = FindAttribute(head.typeID, FieldText(head.name, sizeof head.name));
    if (Attribute(head.typeID, index) == nullptr)
        return Refuse(APIERR_BADINDEX, "no attribute of index " + std::to_string(index));
    if (index == 1) return Refuse(APIERR_BADPARS, "attribute 1 cannot be deleted");
    if (head.typeID == API_LayerID) {
        std::vector<API_Guid> onLayer;
        for (const auto& kv : model_.elements)
            if (kv.second.record.header.layer == index) onLayer.push_back(kv.first);
        if (!onLayer.empty()) {
            const GSErrCode err = CheckModelChange();
            if (err != NoError) return err;
            for (const API_Guid& g : onLayer) {
                Touch(g);
                model_.elements.Erase(g);
            }
            AfterModelRestored();
        }
    }
    model_.attributes[head.typeID][size_t(index) - 1].deleted = true;
    attributeNames_.erase(head.typeID);
    Changed();
    return NoError;
}
