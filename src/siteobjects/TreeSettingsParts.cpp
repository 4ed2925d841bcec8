#include "siteobjects/TreeSettingsParts.hpp"

#include "elements/LibPartHelpers.hpp"
#include "elements/ToolDefaults.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SaveLibraryPartDialog.hpp"
#include "siteobjects/TreeParams.hpp"

#include "APIDefs.hpp"

#include <cmath>

namespace {

constexpr double RadToDeg = 57.29577951308232;
constexpr double DegToRad = 3.141592653589793 / 180.0;
constexpr int32_t ObjectLibPartType = 4;

double Number(BaseLP& view, const char* name) {
    const QV_String key(name);
    const int32_t index = view.FindParam(key);
    if (index < 0) return 0.0;
    const API_AddParType* rec = view.Record(index);
    if (rec == nullptr || rec->typeID == APIParT_Text || rec->dim1 != 0 || rec->dim2 != 0) {
        view.status = LPStatus_WrongKind;
        return 0.0;
    }
    return rec->value.real;
}

int32_t Whole(BaseLP& view, const char* name) {
    const double v = Number(view, name);
    return v > -2147483649.0 && v < 2147483648.0 ? int32_t(std::trunc(v)) : 0;
}

QV_String Text(BaseLP& view, const char* name) {
    QV_String out;
    view.GetStringParam(out, QV_String(name));
    return out;
}

// Numbers only into numeric scalars, texts only into text scalars; a missing parameter is skipped.
void PutNumber(BaseLP& view, const char* name, double value) {
    const int32_t index = view.FindParam(QV_String(name));
    if (index < 0) return;
    API_AddParType* rec = view.Record(index);
    if (rec == nullptr || rec->typeID == APIParT_Text || rec->dim1 != 0 || rec->dim2 != 0) return;
    view.SetParamDouble(QV_String(name), value);
}

void PutText(BaseLP& view, const char* name, const QV_String& value) {
    if (view.FindParam(QV_String(name)) < 0) return;
    QV_String text = value.HasBuffer() ? value : QV_String("");
    view.SetStringParam(name, text);
}

}  // namespace

QV_String LibPartNameByIndex(int32_t index) {
    API_LibPart part = {};
    part.index = index;
    if (index < 1 || ACAPI_LibPart_Get(&part) != NoError) return QV_String();
    QV_String name;
    int32_t length = 0;
    while (length < 127 && part.docu_UName[length] != 0) ++length;
    name.AppendWide(reinterpret_cast<const GS::UniChar*>(part.docu_UName), uint32_t(length));
    return name;
}

void ReadTreeSettingsPartParams(BaseLP& view, TreeSettings& w) {
    w.height = Number(view, "ZZYZX");
    w.angle = Number(view, "angolo") * RadToDeg;
    w.trunkDiameter = Number(view, "tronco");
    w.branches = Whole(view, "enne_rami");
    w.levels = Whole(view, "enne_cicli");
    w.trunkMaterial = Whole(view, "mat");
    w.leafMaterial = Whole(view, "mat_foglie");
    w.doubled = Whole(view, "doppio");
    w.symbolType = Whole(view, "tipo_simbolo");
    const char* pens[TreePenCount] = {"penna_chioma", "penna_bordo", "penna_ombra", "penna_ombra_2"};
    for (int16_t i = 0; i < TreePenCount; ++i) {
        w.SetLong(int16_t(TreeSettings::Id::crownPen + i), Whole(view, pens[i]));
        w.SetLong(int16_t(TreeSettings::Id::crownPen2 + i), Whole(view, pens[i]));
    }
    w.shadow = Whole(view, "sole");
    w.shadowDirection = Number(view, "verso_ombra") * RadToDeg;
    w.showText = Whole(view, "D");
    w.text = Text(view, "nome");
    w.textSize = Number(view, "F");
    w.textPen = Whole(view, "penna_font");
    w.textPen2 = Whole(view, "penna_font");
    w.font = Text(view, "E");
    w.resolution = Whole(view, "risoluzione");
    w.trunkStyle = int16_t(Whole(view, "stile"));
    w.customTrunk = Text(view, "ramo_custom");
    w.leafStyle = int16_t(Whole(view, "tipo_foglia"));
    w.customLeaves = Text(view, "foglia_custom");
}

bool LoadTreeSettingsPart(TreeSettings& work) {
    int32_t index = -1;
    GSHandle params = nullptr;
    const GSErrCode err = ChangeLibPartParams(index, &params, API_ObjectID, TreeVariationSettings, true);
    if (err == APIERR_CANCEL) return false;
    ReleaseParamRecords(&params);
    if (err != NoError || index < 1) {
        ShowErrorMessage(ErrObjectSettings, AlertKind::Error);
        return false;
    }
    if (!BaseLP::GetLibPartParams(index, &params, nullptr, nullptr, nullptr)) {
        ShowErrorMessage(ErrObjectSettings, AlertKind::Error);
        return false;
    }
    BaseLP view;
    view.Attach(params, true);
    ReadTreeSettingsPartParams(view, work);
    view.Detach();
    ReleaseParamRecords(&params);
    return true;
}

bool WriteTreeSettingsParams(const TreeSettings& w, QV_List<QV_LibPartSection>& sections) {
    QV_LibPartSection* pard = nullptr;
    for (int32_t i = 0; i < sections.GetCount() && pard == nullptr; ++i)
        if (sections[i].IsParamSection()) pard = &sections[i];
    if (pard == nullptr) return false;
    BaseLP view;
    view.Attach(pard->content, true);
    PutNumber(view, "enne_rami", w.branches);
    PutNumber(view, "enne_cicli", w.levels);
    const char* pens[TreePenCount] = {"penna_chioma", "penna_bordo", "penna_ombra", "penna_ombra_2"};
    for (int16_t i = 0; i < TreePenCount; ++i)
        PutNumber(view, pens[i], w.GetLong(int16_t(TreeSettings::Id::crownPen + i)));
    PutNumber(view, "ZZYZX", w.height);
    PutNumber(view, "tronco", w.trunkDiameter);
    PutNumber(view, "mat", w.trunkMaterial);
    PutNumber(view, "mat_foglie", w.leafMaterial);
    PutNumber(view, "tipo_simbolo", w.symbolType);
    PutNumber(view, "sole", w.shadow);
    PutNumber(view, "doppio", w.doubled);
    PutNumber(view, "angolo", w.angle * DegToRad);
    PutNumber(view, "verso_ombra", w.shadowDirection * DegToRad);
    PutNumber(view, "D", w.showText);
    PutText(view, "nome", w.text);
    PutNumber(view, "F", w.textSize);
    PutNumber(view, "penna_font", w.textPen);
    PutText(view, "E", w.font);
    PutNumber(view, "risoluzione", w.resolution);
    PutNumber(view, "stile", w.trunkStyle);
    PutText(view, "ramo_custom", w.customTrunk);
    PutNumber(view, "tipo_foglia", w.leafStyle);
    PutText(view, "foglia_custom", w.customLeaves);
    for (const char* name : {"SS_TREE_sp0", "SS_TREE_sp1", "SS_TREE_sp2", "SS_TREE_sp3"}) {
        const int32_t index = view.FindParam(QV_String(name));
        if (API_AddParType* rec = index >= 0 ? view.Record(index) : nullptr) rec->flags |= 0x80;
    }
    view.Detach();
    return true;
}

void SaveTreeSettingsPart(const TreeSettings& work) {
    int32_t treeIndex = -1;
    if (!FindLibPartOrAsk(QV_String("SS_TREE"), treeIndex, true, QV_String(), APILib_ObjectID)) return;
    API_LibPart subtype = {};
    const GSErrCode found = LibPart_SearchByName(QV_String("SS_Settings_SubType"), ObjectLibPartType, subtype);
    if (found != NoError) {
        ShowErrorMessage(LibPartSearchRefused(found) ? ErrFindingData : ErrSubtype, AlertKind::Error);
        return;
    }
    QV_String path;
    if (!AskSaveOnActiveLibraries(path)) return;
    // The list frees itself on every way out.
    QV_List<QV_LibPartSection> sections;
    if (!LibPartSection_Read(treeIndex, sections) || !WriteTreeSettingsParams(work, sections)) {
        ShowErrorMessage(ErrCreatingObject, AlertKind::Error);
        return;
    }
    for (int32_t i = sections.GetCount() - 1; i >= 0; --i)
        if (sections[i].header.sectType == API_Selector("ANCS")) sections.Remove(i);
    int32_t created = -1;
    if (!LibPart_CreateFromSections(treeIndex, path, sections, QV_String(), QV_String(subtype.ownUnID), true, nullptr,
                                    nullptr, nullptr, false, nullptr, created))
        ShowErrorMessage(ErrCreatingObject, AlertKind::Error);
}

bool ChooseCustomTreePart(bool trunk, QV_String& name, int32_t& index) {
    QV_String key = name;
    const int32_t dot = key.ReverseFindChar('.');
    if (dot >= 0) name.SubString(key, 0, uint32_t(dot));
    int32_t chosen = -1;
    API_LibPart found = {};
    const GSErrCode search = key.GetLength() > 0 ? LibPart_SearchByName(key, ObjectLibPartType, found) : APIERR_BADNAME;
    // No part of that name leaves nothing preselected; a refused search is no answer to go on with.
    if (LibPartSearchRefused(search)) {
        ShowErrorMessage(ErrFindingData, AlertKind::Error);
        return false;
    }
    if (search == NoError) chosen = found.index;
    GSHandle params = nullptr;
    const GSErrCode err =
        ChangeLibPartParams(chosen, &params, API_ObjectID, trunk ? TreeVariationTrunk : TreeVariationLeaves, true);
    ReleaseParamRecords(&params);
    if (err == APIERR_CANCEL) return false;
    if (err != NoError) {
        ShowErrorMessage(ErrObjectSettings, AlertKind::Error);
        return false;
    }
    name = LibPartNameByIndex(chosen);
    index = chosen;
    return true;
}
