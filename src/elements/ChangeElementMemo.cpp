#include "elements/ChangeElementMemo.hpp"

#include "elements/ElementHelpers.hpp"

GSErrCode ChangeElementMemo(API_Element* element, API_ElementMemo* memo) {
    const API_Element mask = {};
    return ChangeElement(element, memo, &mask);
}
