#include "settings/PrefsEntries.hpp"

#include "elements/BaseLP.hpp"
#include "elements/GdlParams.hpp"

#include "APIDefs.hpp"

#include <cstring>

using QV_Preferences::QV_Pref_Elem;

namespace {

bool IsArray(const API_AddParType& rec) { return rec.dim1 != 0 && rec.dim2 != 0; }
bool IsText(const API_AddParType& rec) { return rec.typeID == APIParT_Text; }

// The array exchanges address the record through the view's last index (an empty name).
const QV_String& LastRecord() {
    static const QV_String none;
    return none;
}

bool EntryOf(BaseLP& view, int32_t index, QV_Pref_Elem& entry) {
    const API_AddParType& rec = *view.Record(index);
    entry.name = QV_String(rec.name, uint32_t(strnlen(rec.name, sizeof rec.name)), Encoding_System);
    view.lastIndex = index;
    if (IsText(rec) && !IsArray(rec)) {
        entry.type = QV_Preferences::PrefType_Text;
        QV_String text;
        view.GetStringParam(text, LastRecord());
        entry.textValue = text.HasBuffer() ? text : QV_String("");
        return true;
    }
    if (IsText(rec)) {
        entry.type = QV_Preferences::PrefType_TextArray;
        return ExchangeStringArrayParam(view, entry.textValues, entry.rows, entry.columns, LastRecord(), 0);
    }
    if (IsArray(rec)) {
        entry.type = QV_Preferences::PrefType_RealArray;
        return ExchangeDoubleArrayParam(view, entry.realValues, entry.rows, entry.columns, LastRecord(), 0);
    }
    entry.type = QV_Preferences::PrefType_Real;
    entry.realValue = rec.value.real;
    return true;
}

// A text cell must have a buffer to be stored ("" is fine).
void Storable(QV_String& text) {
    if (!text.HasBuffer()) text = QV_String("");
}
void Storable(double&) {}

// Overlays the leading cells of the array at the view's last index with `elements` (as many as it has cells).
template <typename T, typename Exchange>
bool OverlayCells(BaseLP& view, const QV_List<T>& elements, Exchange exchange) {
    QV_List<T> cells;
    int32_t rows = 0;
    int32_t columns = 0;
    const int32_t index = view.lastIndex;
    if (!exchange(view, cells, rows, columns, LastRecord(), 0)) return false;
    const int32_t n = elements.GetCount() < cells.GetCount() ? elements.GetCount() : cells.GetCount();
    for (int32_t k = 0; k < n; ++k) {
        cells[k] = elements[k];
        Storable(cells[k]);
    }
    view.lastIndex = index;
    return exchange(view, cells, rows, columns, LastRecord(), 1);
}

QV_List<double> IntsAsReals(const QV_List<int32_t>& ints) {
    QV_List<double> reals;
    for (const int32_t value : ints) reals.Insert(double(value));
    return reals;
}

bool ApplyEntry(BaseLP& view, const QV_Pref_Elem& entry) {
    if (entry.name.IsEmpty()) return false;
    const int32_t index = view.FindParam(entry.name);
    if (index < 0) return false;
    API_AddParType& rec = *view.Record(index);
    view.lastIndex = index;
    switch (entry.type) {
        case QV_Preferences::PrefType_Int:
        case QV_Preferences::PrefType_Real:
            if (!IsText(rec) && !IsArray(rec))
                rec.value.real = entry.type == QV_Preferences::PrefType_Int ? double(entry.intValue) : entry.realValue;
            return true;
        case QV_Preferences::PrefType_Text: {
            if (!IsText(rec) || IsArray(rec)) return false;
            QV_String text = entry.textValue.HasBuffer() ? entry.textValue : QV_String("");
            return view.GetSetStringParam(LastRecord(), text, LPMode_Set);
        }
        case QV_Preferences::PrefType_IntArray:
        case QV_Preferences::PrefType_RealArray:
            if (!IsArray(rec)) return false;
            if (IsText(rec)) return true;  // a text array takes no numbers
            return OverlayCells(
                view, entry.type == QV_Preferences::PrefType_IntArray ? IntsAsReals(entry.intValues) : entry.realValues,
                ExchangeDoubleArrayParam);
        case QV_Preferences::PrefType_TextArray:
            if (!IsArray(rec) || !IsText(rec)) return false;
            return OverlayCells(view, entry.textValues, ExchangeStringArrayParam);
        default: return true;
    }
}

}  // namespace

bool ParamsToPrefsEntries(PrefsEntryList& list, GSHandle params, bool clearFirst) {
    if (clearFirst) list.Clear();
    BaseLP view;
    view.Attach(params, true);
    for (int32_t i = 0; i < view.RecordCount(); ++i) {
        QV_Pref_Elem entry;
        if (!EntryOf(view, i, entry) || !list.Insert(entry)) return false;
    }
    return true;
}

bool ApplyPrefsEntriesToParams(const PrefsEntryList& list, GSHandle params) {
    if (list.IsEmpty()) return true;
    BaseLP view;
    view.Attach(params, true);
    if (view.RecordCount() == 0) return false;
    for (const QV_Pref_Elem& entry : list)
        if (!ApplyEntry(view, entry)) return false;
    return true;
}
