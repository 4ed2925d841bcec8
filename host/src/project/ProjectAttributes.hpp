#pragma once
// Attributes (layers, pens, line types, fills, materials, fonts) by type and index. They may change outside
// commands (the user's settings, a palette that makes its layer); an undo step still restores them as they
// were before its command. Deleting a layer that holds elements is a model change.
#include "project/ProjectCore.hpp"

class ProjectAttributes : public virtual ProjectCore {
public:
    GSErrCode GetAttribute(API_Attribute* attribute) const;
    // The highest index of the type, deleted attributes counted.
    GSErrCode GetAttributeNum(API_AttrTypeID typeID, int32_t* count) const;
    GSErrCode CreateAttribute(API_Attribute* attribute);
    GSErrCode ModifyAttribute(API_Attribute* attribute);
    GSErrCode DeleteAttribute(const API_Attr_Head& head);
    // Index of the live attribute named `name` (UTF-8, exact), 0 when none.
    int32_t FindAttribute(API_AttrTypeID typeID, const std::string& name) const;
};
