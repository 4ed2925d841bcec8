// Random runs of the user's actions on a dialog with every item kind (tests/data/resources/DLOG/32002.txt): each
// action either applies exactly as the user makes it (the module hears of it, and the item then holds what was
// given) or fails the run with an error that names it; none is left over or lost.
#include "DG.hpp"
#include "DGDriver.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace dg_actions_property_test {

constexpr int16_t kDialog = 32002;
constexpr int16_t kTab = 23;
constexpr int16_t kList = 15;
constexpr int16_t kPopUp = 14;

// The items as the resource and the init below make them; (page, item), page 0 the dialog itself.
struct ModelItem {
    std::string kind;
    double lo = -INFINITY;
    double hi = INFINITY;
    int limit = 0;
    int group = 0;
    bool usable = true;  // neither hidden nor disabled
    double value = 0.0;
    std::string text;
};
using Key = std::pair<int, int>;

std::map<Key, ModelItem> Items() {
    std::map<Key, ModelItem> m;
    const char* kinds[] = {"",         "button",   "button", "static",  "edit",   "intedit", "realedit",
                           "length",   "angle",    "slider", "check",   "radio",  "radio",   "radio",
                           "popup",    "list",     "user",   "control", "icon",   "picture", "separator",
                           "groupbox", "richedit", "tab",    "unbound", "button", "button"};
    for (int id = 1; id <= 26; ++id) m[{0, id}].kind = kinds[id];
    m[{0, 4}].limit = 5;
    m[{0, 4}].text = "start";
    m[{0, 22}].limit = 50;
    m[{0, 5}].lo = 0, m[{0, 5}].hi = 255;
    m[{0, 6}].lo = -10.5, m[{0, 6}].hi = 10.5;
    m[{0, 7}].lo = 0.001, m[{0, 7}].hi = 100;
    m[{0, 9}].lo = 1, m[{0, 9}].hi = 40;
    m[{0, 11}].group = m[{0, 12}].group = 1;
    m[{0, 13}].group = 2;
    m[{0, 14}].value = 1;  // the pop-up's first entry is chosen at init
    m[{0, 23}].value = 1;  // the first page is shown
    m[{0, 25}].usable = m[{0, 26}].usable = false;
    m[{1, 1}].kind = "edit";
    m[{1, 1}].limit = 20;
    m[{1, 2}].kind = "realedit";
    m[{1, 2}].lo = 0, m[{1, 2}].hi = 1;
    m[{1, 3}].kind = "button";
    m[{2, 1}].kind = "check";
    m[{2, 2}].kind = "intedit";
    return m;
}

bool IsNumber(const std::string& kind) {
    return kind == "intedit" || kind == "realedit" || kind == "length" || kind == "angle" || kind == "slider" ||
        kind == "check" || kind == "radio" || kind == "control" || kind == "unbound";
}

std::string Where(int page, int item) {
    return page == 0 ? std::to_string(item) : "p" + std::to_string(page) + ":" + std::to_string(item);
}

std::string State(const ModelItem& it) {
    if (it.kind == "edit" || it.kind == "richedit") return it.text;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.10g", it.value);
    return buffer;
}

enum class Kind { SetLong, SetDouble, SetText, Pick, PopUp, Click, ClickRow, Tab, Foreign };

struct Act {
    Kind kind = Kind::Click;
    int page = 0;
    int item = 0;
    int number = 0;
    double real = 0.0;
    std::string text;
};

// What the texts of the pool read as: a plain number, a length edit's metres, an angle edit's degrees.
bool TextNumber(const std::string& text, const std::string& kind, double* value) {
    if (text == "12") return *value = 12, true;
    if (text == "1,5") return *value = 1.5, true;
    if (text == "2.5 cm" && kind == "length") return *value = 0.025, true;
    if (text == "45\xC2\xB0" && kind == "angle") return *value = 45, true;
    return false;
}

// Applies an action to the model: the messages the module hears, or the start of the error that names it.
struct Outcome {
    std::vector<std::string> heard;
    std::string error;
};

Outcome Expect(std::map<Key, ModelItem>& m, const Act& a) {
    Outcome o;
    const std::string id = std::to_string(a.item);
    switch (a.kind) {
        case Kind::SetLong: o.error = "set item " + id + " to " + std::to_string(a.number); break;
        case Kind::SetDouble:
        case Kind::SetText: o.error = "set item " + id + " to "; break;
        case Kind::Pick: o.error = "pick row " + std::to_string(a.number) + " of list " + id; break;
        case Kind::PopUp: o.error = "pick item " + std::to_string(a.number) + " of pop-up " + id; break;
        case Kind::Click: o.error = "click item " + id; break;
        case Kind::ClickRow: o.error = "click row " + std::to_string(a.number) + " of list " + id; break;
        case Kind::Tab: o.error = "show page " + std::to_string(a.number) + " of tab control " + id; break;
        case Kind::Foreign: o.error = "action \"click item 1 on dialog 32001\""; return o;
    }
    ModelItem& tab = m[{0, kTab}];
    if (a.kind == Kind::Tab) {
        if (a.item != kTab || a.number < 1 || a.number > 2) return o;
        o.error.clear();
        if (tab.value != a.number) o.heard.push_back("change 23 = " + std::to_string(a.number));
        tab.value = a.number;
        return o;
    }
    const auto found = m.find({a.page, a.item});
    if (found == m.end() || !found->second.usable || (a.page != 0 && tab.value != a.page)) return o;
    ModelItem& it = found->second;
    const std::string where = Where(a.page, a.item);
    if (a.kind == Kind::Click) {
        o.error.clear();
        if (it.kind == "check") {  // the box turns: the module hears a change, as when it is set
            it.value = it.value != 0 ? 0 : 1;
            o.heard.push_back("change " + where + " = " + State(it));
            return o;
        }
        if (it.kind == "radio") {
            for (auto& [key, other] : m)
                if (other.kind == "radio" && other.group == it.group) other.value = 0;
            it.value = 1;
        }
        o.error.clear();
        o.heard.push_back("click " + where);
        return o;
    }
    if (a.kind == Kind::Pick || a.kind == Kind::ClickRow) {
        if (it.kind != "list" || a.number < 1 || a.number > 5 || a.number == 3) return o;  // row 3: a separator
        o.error.clear();
        if (a.kind == Kind::Pick || it.value != a.number)
            o.heard.push_back("change " + where + " = " + std::to_string(a.number));
        it.value = a.number;
        if (a.kind == Kind::ClickRow) o.heard.push_back("click " + where);
        return o;
    }
    if (a.kind == Kind::PopUp) {
        if (it.kind != "popup" || (a.number != 1 && a.number != 3)) return o;  // 2 a separator, 4 disabled
        o.error.clear();
        it.value = a.number;
        o.heard.push_back("change " + where + " = " + State(it));
        return o;
    }
    // Setting a value or a text.
    if (it.kind == "edit" || it.kind == "richedit") {
        if (a.kind != Kind::SetText || (it.limit != 0 && int(a.text.size()) > it.limit)) return o;
        it.text = a.text;
    } else if (IsNumber(it.kind)) {
        double v = a.kind == Kind::SetLong ? a.number : a.real;
        if (a.kind == Kind::SetText && !TextNumber(a.text, it.kind, &v)) return o;
        const bool whole = it.kind == "intedit" || it.kind == "slider" || it.kind == "control" || it.kind == "unbound";
        if (whole && v != std::trunc(v)) return o;
        if (it.kind == "unbound" || (it.kind == "control" && (v < 1 || v > 255))) return o;
        if (it.kind == "radio" && v == 0) return o;
        const bool onOff = it.kind == "check" || it.kind == "radio";
        if (!onOff && (v < it.lo || v > it.hi)) return o;  // outside the limits: no answer the user can give
        if (onOff) v = v != 0 ? 1 : 0;
        if ((it.kind == "check" || it.kind == "radio") && it.value == v) {
            o.error.clear();
            return o;
        }
        if (it.kind == "radio")
            for (auto& [key, other] : m)
                if (other.kind == "radio" && other.group == it.group) other.value = 0;
        it.value = v;
        if (it.kind == "control") o.heard.push_back("track " + where + " = " + State(it));
    } else {
        return o;
    }
    o.error.clear();
    o.heard.push_back("change " + where + " = " + State(it));
    return o;
}

// The module's side: it fills the pop-up and the list at init, binds one user control, and notes what it hears
// with the item's state as it reads it then.
struct Module {
    std::map<Key, ModelItem> kinds = Items();
    std::vector<std::string> heard;

    int PageOf(int16_t dialId) const {
        for (int16_t page = 1; page <= 2; ++page)
            if (DGTabControlGetTabPageId(kDialog, kTab, page) == dialId) return page;
        return 0;
    }

    std::string Read(int16_t dialId, int page, int16_t item) const {
        ModelItem it = kinds.at({page, item});
        if (it.kind == "edit")
            it.text = DGGetItemText(dialId, item).ToUtf8();
        else if (it.kind == "richedit")
            it.text = DGRichEditGetText(dialId, item).ToUtf8();
        else if (it.kind == "list")
            it.value = DGListGetSelected(dialId, item);
        else if (it.kind == "popup")
            it.value = DGPopUpGetSelected(dialId, item);
        else if (it.kind == "tab")
            it.value = DGTabControlGetSelectedTabItem(dialId, item);
        else
            it.value = DGGetItemValDouble(dialId, item);
        return State(it);
    }

    int16_t Handle(int16_t message, int16_t dialId, int16_t item, DGMessageData data) {
        if (message == DG_MSG_INIT) {
            for (const char* text : {"a", "-", "b", "c"}) {
                if (text[0] == '-') {
                    DGPopUpInsertSeparator(dialId, kPopUp, DG_POPUP_BOTTOM);
                    continue;
                }
                DGPopUpInsertItem(dialId, kPopUp, DG_POPUP_BOTTOM);
                DGPopUpSetItemText(dialId, kPopUp, DGPopUpGetItemCount(dialId, kPopUp), GS::UniString(text));
            }
            DGPopUpSetItemStatus(dialId, kPopUp, 4, DG_IS_DISABLE);
            DGPopUpSelectItem(dialId, kPopUp, 1);
            DGListSetTabFieldCount(dialId, kList, 3);
            DGListSetTabFieldData(dialId, kList, 1, 0, 60);
            DGListSetTabFieldData(dialId, kList, 2, 60, 120);
            DGListSetTabFieldData(dialId, kList, 3, 120, 200);
            DGListSetTabFieldOwnerDrawFlag(dialId, kList, 2, true);
            DGListSetItemHeight(dialId, kList, 20);
            for (int row = 1; row <= 5; ++row) {
                if (row == 3) {
                    DGListInsertSeparator(dialId, kList, DG_LIST_BOTTOM);
                    continue;
                }
                DGListInsertItem(dialId, kList, DG_LIST_BOTTOM);
                DGListSetItemText(dialId, kList, row, GS::UniString(("r" + std::to_string(row) + "\t\tend").c_str()));
            }
            std::string why;
            EXPECT_TRUE(DGDriver::BindUserControl(
                dialId, 17, 0,
                [](int32_t v, std::string* w) { return v >= 1 && v <= 255 ? true : (*w = "no pen", false); }, &why));
            DGHideItem(dialId, 25);
            DGDisableItem(dialId, 26);
            return 0;
        }
        if (message == DG_MSG_UPDATE) {
            const auto* update = reinterpret_cast<const DGUserUpdateData*>(data);
            DGDrawFillRect(update->drawContext, DG::Rect{0, 0, 4, 4}, 1, 2, 3);
            return 0;
        }
        const char* name = message == DG_MSG_CHANGE ? "change " : message == DG_MSG_CLICK ? "click " : "track ";
        const int page = PageOf(dialId);
        if (message == DG_MSG_CLICK) {
            heard.push_back(name + Where(page, item));
            return page == 0 && item == 1 ? 1 : 0;
        }
        if (message == DG_MSG_CHANGE || message == DG_MSG_TRACK)
            heard.push_back(name + Where(page, item) + " = " + Read(dialId, page, item));
        return 0;
    }
};

int16_t ModuleCallback(int16_t message, int16_t dialId, int16_t item, DGUserData userData, DGMessageData data) {
    return reinterpret_cast<Module*>(userData)->Handle(message, dialId, item, data);
}

Act RandomAct(std::mt19937& random) {
    static const int longs[] = {-20, -1, 0, 1, 2, 3, 4, 5, 12, 40, 41, 255, 300};
    static const double reals[] = {-20.0, -0.5, 0.0, 0.0005, 0.5, 1.0, 7.25, 12.0, 99.5, 300.0};
    static const std::string texts[] = {"",    "ab", "abcde",  "abcdef",     "12",
                                        "1,5", "x1", "2.5 cm", "45\xC2\xB0", std::string(25, 'w')};
    auto below = [&random](int n) { return int(random() % uint32_t(n)); };
    Act a;
    a.kind = Kind(below(9));
    a.page = below(4) == 0 ? 1 + below(2) : 0;
    a.item = a.page == 0 ? 3 + below(25) : 1 + below(3);  // 3 to 27 (27 does not exist): no OK or Cancel
    a.number = longs[below(13)];
    a.real = reals[below(10)];
    a.text = texts[below(10)];
    if (a.kind == Kind::Pick || a.kind == Kind::ClickRow || a.kind == Kind::PopUp) {
        a.number = below(7);  // 0 to 6
        if (below(3) != 0) a.page = 0, a.item = a.kind == Kind::PopUp ? kPopUp : kList;
    }
    if (a.kind == Kind::Tab) a.page = 0, a.item = below(5) == 0 ? 22 : kTab, a.number = below(4);
    return a;
}

void Queue(const Act& a) {
    const DGDriver::DialogRef ref = a.page != 0 ? DGDriver::DialogRef::Page(kDialog, kTab, int16_t(a.page)) : kDialog;
    const int16_t item = int16_t(a.item);
    switch (a.kind) {
        case Kind::SetLong: DGDriver::QueueSetLong(ref, item, a.number); break;
        case Kind::SetDouble: DGDriver::QueueSetDouble(ref, item, a.real); break;
        case Kind::SetText: DGDriver::QueueSetText(ref, item, a.text); break;
        case Kind::Pick: DGDriver::QueuePickListRow(ref, item, a.number); break;
        case Kind::PopUp: DGDriver::QueuePickPopUpItem(ref, item, a.number); break;
        case Kind::Click: DGDriver::QueueClick(ref, item); break;
        case Kind::ClickRow: DGDriver::QueueClickListRow(ref, item, a.number, 30); break;
        case Kind::Tab: DGDriver::QueueSwitchTab(kDialog, item, int16_t(a.number)); break;
        case Kind::Foreign: DGDriver::QueueClick(32001, 1); break;
    }
}

TEST(DialogActionsProperty, EachActionAppliesExactlyOrFailsTheRunNamingIt) {
    std::mt19937 random(20250611);
    int applied = 0;
    int refused = 0;
    for (int run = 0; run < 300; ++run) {
        DGDriver::Reset();
        std::map<Key, ModelItem> model = Items();
        std::vector<std::string> heard;
        std::vector<std::string> errors;
        for (int k = 0; k < 12; ++k) {
            const Act a = RandomAct(random);
            Queue(a);
            const Outcome o = Expect(model, a);
            heard.insert(heard.end(), o.heard.begin(), o.heard.end());
            if (!o.error.empty()) errors.push_back(o.error);
            (o.error.empty() ? applied : refused) += 1;
        }
        DGDriver::QueueClick(kDialog, 1);
        heard.push_back("click 1");

        Module module;
        const std::string where = "run " + std::to_string(run);
        ASSERT_EQ(DGModalDialog(TestSupport::TestResources(), kDialog, TestSupport::TestResources(), ModuleCallback,
                                reinterpret_cast<DGUserData>(&module)),
                  1)
            << where;
        EXPECT_EQ(module.heard, heard) << where << "\n" << DGDriver::LogText();
        ASSERT_EQ(DGDriver::Errors().size(), errors.size()) << where << "\n" << DGDriver::LogText();
        for (size_t e = 0; e < errors.size(); ++e)
            EXPECT_EQ(DGDriver::Errors()[e].rfind(errors[e], 0), 0u) << where << ": " << DGDriver::Errors()[e];
        EXPECT_TRUE(DGDriver::UnusedActions().empty()) << where;

        // What the dialog held when it closed is what the model says.
        const DGDriver::LogRecord& record = DGDriver::Log().back();
        auto check = [&](int page, const std::vector<DGDriver::ItemState>& items) {
            for (const DGDriver::ItemState& item : items) {
                const ModelItem& it = model.at({page, item.id});
                if (it.kind == "edit" || it.kind == "richedit") {
                    EXPECT_EQ(item.text, it.text) << where << " item " << Where(page, item.id);
                } else if (IsNumber(it.kind) || it.kind == "list" || it.kind == "popup" || it.kind == "tab") {
                    EXPECT_EQ(IsNumber(it.kind) ? item.value : item.selected, it.value)
                        << where << " item " << Where(page, item.id);
                }
            }
        };
        check(0, record.items);
        ASSERT_EQ(record.pages.size(), 2u);
        for (const DGDriver::LogRecord& page : record.pages) check(page.page, page.items);
    }
    // Both outcomes came up often enough to mean something.
    EXPECT_GT(applied, 600);
    EXPECT_GT(refused, 600);
    DGDriver::Reset();
}

}  // namespace dg_actions_property_test
